#include "widgets/Popover.h"

#include <QScreen>

namespace seikyu {

Popover::Popover(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
}

void Popover::showRelativeTo(QWidget *anchor)
{
    m_anchor = anchor;
    adjustSize();
    show();
    placeAt(anchor);
    raise();
    activateWindow();
}

void Popover::placeAt(QWidget *anchor)
{
    if (!anchor)
        return;
    // Placed once shown, when the window frame (if any) is known, so the popover never covers
    // the control it belongs to.
    const QRect frame = frameGeometry();
    const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
    QPoint position(topLeft.x() + anchor->width() / 2 - frame.width() / 2, topLeft.y() - frame.height());
    const QScreen *screen = anchor->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (available.isValid()) {
        if (position.y() < available.top())
            position.setY(topLeft.y() + anchor->height());
        position.setX(
            std::clamp(position.x(), available.left(), std::max(available.left(), available.right() - frame.width())));
    }
    move(position);
}

} // namespace seikyu
