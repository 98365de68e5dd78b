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
    QPoint position;
    if (anchor) {
        const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
        const int centreX = topLeft.x() + anchor->width() / 2 - width() / 2;
        position = QPoint(centreX, topLeft.y() - height());
        const QScreen *screen = anchor->screen();
        const QRect available = screen ? screen->availableGeometry() : QRect();
        if (available.isValid()) {
            if (position.y() < available.top())
                position.setY(topLeft.y() + anchor->height());
            position.setX(std::clamp(position.x(), available.left(), std::max(available.left(), available.right() - width())));
        }
    }
    move(position);
    show();
    raise();
    activateWindow();
}

} // namespace seikyu
