#pragma once

class QCoreApplication;

namespace seikyu {

/// Installs the interface language that QLocale() names (the system's, unless a default was set):
/// Qt's own texts (dialog buttons, the command-line help) from the system's Qt translations, and
/// Seikyu's from the translation embedded in the program. Call it before any window or undo
/// command is made, since texts are looked up when they are created. Calling it again replaces the
/// languages installed before; a language without a translation leaves the English texts.
void installTranslations(QCoreApplication &app);

} // namespace seikyu
