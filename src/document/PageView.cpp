#include "document/PageView.h"

#include "widgets/PageFonts.h"

#include <QPainter>

namespace seikyu {

namespace {
/// The page number, in the middle of the bottom margin.
constexpr QRectF FootGeometry(PageView::Margin, PageView::Height - PageView::Margin + 12,
                              PageView::Width - 2 * PageView::Margin, 14);
constexpr int FootPixelSize = 9;
} // namespace

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
    painter.setPen(Qt::black);
    painter.setFont(pageFont(FootPixelSize));
    painter.drawText(FootGeometry, Qt::AlignCenter, m_foot);
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
