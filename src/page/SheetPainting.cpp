#include "page/SheetPainting.h"

#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/TextFit.h"

#include <QPainter>
#include <QPen>

namespace seikyu {

namespace {

using namespace page;

/// The page number, in the middle of the bottom margin.
constexpr QRectF FootGeometry(SheetMargin, SheetHeight - SheetMargin + 12, SheetWidth - 2 * SheetMargin, 14);
constexpr int FootPixelSize = 9;

/// The slim heading of a further page, in page pixels.
constexpr QRectF TitleGeometry(Left, Left, 300, 24);
constexpr int TitlePixelSize = 16;
constexpr QRectF DateGeometry(Right - 220, Left, 220, 13);
constexpr QRectF NumberGeometry(Right - 220, Left + 14, 220, 13);
constexpr int DatePixelSize = 10;
constexpr QRectF CustomerGeometry(Left, Left + 30, 330, 20);

/// One line of heading text, set smaller when it is long and shortened only below the legible size.
void drawLine(QPainter &painter, const QRectF &area, const QString &text, int pixelSize, Qt::Alignment alignment)
{
    if (text.isEmpty())
        return;
    TextFitRequest request;
    request.box = area.size();
    request.pixelSize = pixelSize;
    request.wrap = false;
    request.maximumLines = 1;
    request.overflow = TextFitRequest::Overflow::Elide;
    const QFont face = pageFont(pixelSize);
    drawFittedText(painter, area, face, fitText(text, face, request), alignment | Qt::AlignVCenter);
}

} // namespace

void paintSheetFoot(QPainter &painter, const QString &foot)
{
    if (foot.isEmpty())
        return;
    painter.setPen(Qt::black);
    painter.setFont(pageFont(FootPixelSize));
    painter.drawText(FootGeometry, Qt::AlignCenter, foot);
}

void paintContinuationHeading(QPainter &painter, const ContinuationHeading &heading)
{
    painter.setPen(Qt::black);
    drawLine(painter, TitleGeometry, heading.title, TitlePixelSize, Qt::AlignLeft);
    drawLine(painter, DateGeometry, heading.date, DatePixelSize, Qt::AlignRight);
    drawLine(painter, NumberGeometry, heading.number, DatePixelSize, Qt::AlignRight);
    drawLine(painter, CustomerGeometry, heading.customer, CustomerPixelSize, Qt::AlignLeft);
    painter.setPen(QPen(Qt::black, 0.75));
    painter.drawLine(CustomerGeometry.bottomLeft() + QPointF(0, 1), CustomerGeometry.bottomRight() + QPointF(0, 1));
}

void paintGuideBorder(QPainter &painter, const QRectF &rect, const QColor &color)
{
    painter.setPen(QPen(color, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0.75, 0.75, -0.75, -0.75));
}

} // namespace seikyu
