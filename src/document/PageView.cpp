#include "document/PageView.h"

#include "page/SheetPainting.h"

#include <QPainter>

namespace seikyu {

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(Width, Height);
    setAutoFillBackground(false);
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_foot.isEmpty())
        return;
    painter.scale(m_zoom, m_zoom);
    paintSheetFoot(painter, m_foot);
}

void PageView::setFoot(const QString &foot, double zoom)
{
    if (foot == m_foot && zoom == m_zoom)
        return;
    m_foot = foot;
    m_zoom = zoom;
    update();
}

} // namespace seikyu
