#pragma once

class QApplication;

namespace seikyu {

/// Names, version, icon and the page fonts; called once before any window is made.
void configureApplication(QApplication &app);

} // namespace seikyu
