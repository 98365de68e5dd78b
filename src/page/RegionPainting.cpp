#include "page/RegionPainting.h"

#include "page/PageFonts.h"
#include "page/TextFit.h"

#include <QPainter>
#include <QPen>

namespace seikyu {

namespace {
/// What the painter leaves around the text of every region, in page pixels.
constexpr QMarginsF TextMargins(4, 2, 4, 2);
/// Inside a headed frame: the inset of the text from the frame, and the gap below the heading.
constexpr qreal FrameInset = 4;
constexpr qreal HeadingGap = 2;

QFont faceOf(const PageRegion &region)
{
    QFont face = region.face;
    face.setPixelSize(region.pixelSize);
    return face;
}

qreal headingPitch(const PageRegion &region)
{
    return pageLinePitch(faceOf(region), std::max(LegiblePixelSize, region.pixelSize - 1));
}

/// Where the text itself goes within the drawing area: below the heading, inside the frame.
QRectF textArea(const PageRegion &region, const QRectF &area)
{
    if (region.heading.isEmpty())
        return area;
    return (area + TextMargins)
        .adjusted(FrameInset, HeadingGap + headingPitch(region) + HeadingGap, -FrameInset, -HeadingGap);
}

FittedText fitShown(const PageRegion &region, const QString &shown, const QRectF &room)
{
    TextFitRequest request;
    request.box = room.size();
    request.pixelSize = region.pixelSize;
    request.wrapPixelSize = region.wrapPixelSize;
    if (region.sealClearance > 0) {
        const qsizetype lines = shown.count(QLatin1Char('\n')) + 1;
        for (qsizetype line = 0; line < lines; ++line)
            request.lineWidths.append(line == region.sealExemptLine ? room.width()
                                                                    : room.width() - region.sealClearance);
    }
    return fitText(shown, faceOf(region), request);
}

void paintImage(QPainter &painter, const PageRegion &region, const QRectF &area, PaintTarget target)
{
    const QImage &image = region.image;
    if (image.isNull()) {
        if (target == PaintTarget::Screen && !region.placeholder.isEmpty()) {
            painter.setPen(QColor(150, 150, 150));
            painter.setFont(faceOf(region));
            painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, region.placeholder);
        }
        return;
    }
    const QSizeF fitted = QSizeF(image.size()).scaled(area.size(), Qt::KeepAspectRatio);
    QRectF placed(QPointF(0, 0), fitted);
    placed.moveCenter(area.center());
    // On paper the stamp needs no more than about 360 dpi; a photo of a seal straight from a camera
    // would otherwise make a PDF of many megabytes.
    const QSize enough = (fitted * 5).toSize();
    if (target == PaintTarget::Paper && (image.width() > enough.width() || image.height() > enough.height()))
        painter.drawImage(placed, image.scaled(enough, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        painter.drawImage(placed, image);
}

void paintText(QPainter &painter, const PageRegion &region, const QRectF &area, PaintTarget target)
{
    const QFont face = faceOf(region);
    const QString shown = printableText(region.text);
    if (shown.isEmpty()) {
        if (target == PaintTarget::Screen && !region.placeholder.isEmpty()) {
            painter.setPen(QColor(150, 150, 150));
            painter.setFont(face);
            painter.drawText(area, static_cast<int>(region.alignment), region.placeholder);
        }
        return;
    }
    if (!region.heading.isEmpty()) {
        // The frame takes the region's whole width, so that it lines up with the table above it.
        const QRectF frame = (area + TextMargins).adjusted(0.25, 0.25, -0.25, -0.25);
        painter.setPen(QPen(Qt::black, 0.5));
        painter.drawRect(frame);
        TextFitRequest heading;
        heading.box = QSizeF(frame.width() - 2 * FrameInset, headingPitch(region));
        heading.pixelSize = std::max(LegiblePixelSize, region.pixelSize - 1);
        heading.wrap = false;
        painter.setPen(Qt::black);
        drawFittedText(painter, frame.adjusted(FrameInset, HeadingGap, -FrameInset, 0), face,
                       fitText(region.heading, face, heading), Qt::AlignLeft | Qt::AlignTop);
    }
    const QRectF room = textArea(region, area);
    const FittedText fitted = fitShown(region, shown, room);
    painter.setPen(Qt::black);
    const QRectF used = drawFittedText(painter, room, face, fitted, region.alignment);
    if (region.underlined) {
        painter.setPen(QPen(Qt::black, 0.8));
        const qreal y = std::min(used.bottom() + 2, room.bottom() + 1);
        painter.drawLine(QPointF(room.left(), y), QPointF(room.right(), y));
    }
}

void paintAmount(QPainter &painter, const PageRegion &region, const QRectF &area)
{
    const QFont face = faceOf(region);
    const QStringList lines = printableText(region.text).split(QLatin1Char('\n'));
    const QString heading = lines.value(0);
    const QString amount = lines.mid(1).join(QLatin1Char(' '));

    const qreal headingHeight = area.height() * 2 / 5;
    const QRectF headingRect(area.left(), area.top(), area.width(), headingHeight);
    const QRectF amountRect(area.left(), area.top() + headingHeight, area.width(), area.height() - headingHeight);

    // An amount is never shortened: a long one is set smaller, on its one line.
    TextFitRequest request;
    request.wrap = false;
    painter.setPen(Qt::black);
    request.box = headingRect.size();
    request.pixelSize = std::max(8, region.pixelSize);
    drawFittedText(painter, headingRect, face, fitText(heading, face, request), Qt::AlignLeft | Qt::AlignBottom);
    const QRectF amountArea = amountRect.adjusted(8, 0, -8, -4);
    request.box = amountArea.size();
    request.pixelSize = std::max(10, region.pixelSize * 2);
    drawFittedText(painter, amountArea, face, fitText(amount, face, request), Qt::AlignRight | Qt::AlignVCenter);

    painter.setPen(QPen(Qt::black, 1.2));
    painter.drawLine(QPointF(amountRect.left(), amountRect.bottom()), QPointF(amountRect.right(), amountRect.bottom()));
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawLine(QPointF(amountRect.left(), amountRect.bottom() - 2.5),
                     QPointF(amountRect.right(), amountRect.bottom() - 2.5));
}

} // namespace

void paintRegion(QPainter &painter, const PageRegion &region, const QSizeF &size, PaintTarget target)
{
    const QRectF area = QRectF(QPointF(0, 0), size) - TextMargins;
    switch (region.look) {
    case PageRegion::Look::Image:
        paintImage(painter, region, area, target);
        break;
    case PageRegion::Look::Amount:
        paintAmount(painter, region, area);
        break;
    case PageRegion::Look::Plain:
        paintText(painter, region, area, target);
        break;
    }
}

QStringList regionLines(const PageRegion &region, const QSizeF &size)
{
    const QString shown = printableText(region.text);
    if (region.look != PageRegion::Look::Plain || shown.isEmpty())
        return {};
    const QRectF area = QRectF(QPointF(0, 0), size) - TextMargins;
    return fitShown(region, shown, textArea(region, area)).lines;
}

qreal regionHeightFor(const PageRegion &region, const QString &text, qreal width, qreal maximumHeight)
{
    const QRectF area = QRectF(0, 0, width, maximumHeight) - TextMargins;
    const QRectF room = textArea(region, area);
    TextFitRequest request;
    request.box = room.size();
    request.pixelSize = region.pixelSize;
    request.wrapPixelSize = region.wrapPixelSize;
    const QFont face = faceOf(region);
    const FittedText fitted = fitText(printableText(text), face, request);
    const qreal used = fitted.lines.size() * pageLinePitch(face, fitted.pixelSize);
    return std::min(maximumHeight, maximumHeight - room.height() + used);
}

} // namespace seikyu
