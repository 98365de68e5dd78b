#pragma once

namespace seikyu::fuzz {

/// Starts the one QApplication of a fuzzing process on the offscreen platform, with the user's
/// settings redirected into a temporary folder so that no run ever touches real lists or stamps.
void startApplication();

/// Drops every saved list and the stamp, so each input starts from the same empty settings.
void forgetSettings();

/// Lets Qt delete what was scheduled for deletion during one input.
void settle();

} // namespace seikyu::fuzz
