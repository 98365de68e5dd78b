#pragma once

#include <QString>

class QWidget;

namespace seikyu {

/// What Help ▸ About Seikyu says: the application and its version, its licence, and the versions
/// of the libraries that shape its output (Qt, ICU, qpdf), as a person reporting a fault quotes them.
QString aboutText();

/// Shows the About box on the window, without blocking it.
void showAbout(QWidget *window);

} // namespace seikyu
