#pragma once

class QGuiApplication;

namespace seikyu {

/// Names, version, icon and the page fonts; called once before any window is made.
void configureApplication(QGuiApplication &app);

} // namespace seikyu
