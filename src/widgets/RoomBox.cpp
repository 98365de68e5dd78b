#include "widgets/RoomBox.h"

#include "page/PageFonts.h"
#include "page/SheetPainting.h"

#include <QPainter>

namespace seikyu {

RoomBox::RoomBox(QWidget *parent) : QWidget(parent), m_borderColor(guideColor()) {}

QColor RoomBox::guideColor()
{
    return QColor(0x1f, 0x5f, 0xd6);
}

void RoomBox::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

void RoomBox::paintEvent(QPaintEvent *)
{
    // A guide border reminds the person editing; the customer never sees it on paper or in a PDF.
    if (!hasGuideBorder() || isRenderingForOutput())
        return;
    QPainter painter(this);
    paintGuideBorder(painter, QRectF(rect()), m_borderColor);
}

} // namespace seikyu
