#include "widgets/WindowFront.h"

#include <QWidget>

namespace seikyu {

void bringToFront(QWidget *window)
{
    if (!window)
        return;
    // show(), raise() and activateWindow() leave a minimised window minimised.
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace seikyu
