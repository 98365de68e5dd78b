#pragma once

#include <QString>

namespace seikyu {

/// The operating system's name of the user recording entries (USER, else LOGNAME, else the
/// account's name), kept with each entry so a shared ledger shows who issued what.
QString recordingUserName();
/// The name of the machine the entries are recorded on.
QString recordingHostName();

} // namespace seikyu
