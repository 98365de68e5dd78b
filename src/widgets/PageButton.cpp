#include "widgets/PageButton.h"

#include "widgets/PageFonts.h"
#include "widgets/TextFit.h"

#include <QKeyEvent>
#include <QPainter>

namespace seikyu {

namespace {
/// What the painter leaves around the text of every page button, in page pixels.
constexpr QMarginsF TextMargins(4, 2, 4, 2);
/// Inside a headed frame: the inset of the text from the frame, and the gap below the heading.
constexpr qreal FrameInset = 4;
constexpr qreal HeadingGap = 2;
} // namespace

PageButton::PageButton(Look look, QWidget *parent) : QAbstractButton(parent), m_look(look)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void PageButton::setTitle(const QString &title)
{
    setText(title);
    update();
}

void PageButton::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PageButton::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void PageButton::setUnderlined(bool underlined)
{
    m_underlined = underlined;
    update();
}

void PageButton::setWrapPixelSize(int pixelSize)
{
    m_wrapPixelSize = pixelSize;
    update();
}

void PageButton::setPagePixelSize(int pixelSize)
{
    m_pagePixelSize = pixelSize;
    QFont face = font();
    face.setPixelSize(pixelSize);
    setFont(face);
    update();
}

void PageButton::setZoom(double zoom)
{
    m_zoom = zoom;
    update();
}

void PageButton::setPageSize(const QSizeF &size)
{
    m_pageSize = size;
    update();
}

QRectF PageButton::pageArea() const
{
    const QSizeF size = m_pageSize.isValid() ? m_pageSize : QSizeF(width() / m_zoom, height() / m_zoom);
    return QRectF(QPointF(0, 0), size) - TextMargins;
}

QStringList PageButton::pageLines() const
{
    const QString shown = printableText(shownText());
    if (m_look != Look::Plain || shown.isEmpty())
        return {};
    return fitShown(shown, textArea(pageArea())).lines;
}

FittedText PageButton::fitShown(const QString &shown, const QRectF &room) const
{
    TextFitRequest request;
    request.box = room.size();
    request.pixelSize = m_pagePixelSize;
    request.wrapPixelSize = m_wrapPixelSize;
    if (m_sealClearance > 0) {
        const qsizetype lines = shown.count(QLatin1Char('\n')) + 1;
        for (qsizetype line = 0; line < lines; ++line)
            request.lineWidths.append(line == m_sealExemptLine ? room.width() : room.width() - m_sealClearance);
    }
    return fitText(shown, font(), request);
}

void PageButton::setSealClearance(int width, int exemptLine)
{
    m_sealClearance = width;
    m_sealExemptLine = exemptLine;
    update();
}

void PageButton::setHeading(const QString &heading)
{
    m_heading = heading;
    update();
}

qreal PageButton::headingPitch() const
{
    return pageLinePitch(font(), std::max(LegiblePixelSize, m_pagePixelSize - 1));
}

QRectF PageButton::textArea(const QRectF &area) const
{
    if (m_heading.isEmpty())
        return area;
    return (area + TextMargins)
        .adjusted(FrameInset, HeadingGap + headingPitch() + HeadingGap, -FrameInset, -HeadingGap);
}

qreal PageButton::pageHeightFor(qreal pageWidth, qreal maximumHeight) const
{
    const QRectF area = QRectF(0, 0, pageWidth, maximumHeight) - TextMargins;
    const QRectF room = textArea(area);
    TextFitRequest request;
    request.box = room.size();
    request.pixelSize = m_pagePixelSize;
    request.wrapPixelSize = m_wrapPixelSize;
    const FittedText fitted = fitText(printableText(text()), font(), request);
    const qreal used = fitted.lines.size() * pageLinePitch(font(), fitted.pixelSize);
    return std::min(maximumHeight, maximumHeight - room.height() + used);
}

QSize PageButton::sizeHint() const
{
    return {120, 24};
}

void PageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool output = isRenderingForOutput();
    if (!output && (underMouse() || hasFocus()))
        painter.fillRect(rect(), QColor(30, 100, 200, 18));

    // Set in page pixels whatever the zoom, so the screen shows the very lines the paper gets.
    painter.scale(m_zoom, m_zoom);
    const QRectF area = pageArea();
    switch (m_look) {
    case Look::Image:
        paintImage(painter, area, output);
        break;
    case Look::Amount:
        paintAmount(painter, area);
        break;
    case Look::Plain:
        paintText(painter, area, output);
        break;
    }
}

void PageButton::paintImage(QPainter &painter, const QRectF &area, bool output)
{
    if (m_image.isNull()) {
        if (!output && !m_placeholder.isEmpty()) {
            painter.setPen(QColor(150, 150, 150));
            painter.setFont(font());
            painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
        }
        return;
    }
    const QSizeF fitted = QSizeF(m_image.size()).scaled(area.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(0, 0), fitted);
    target.moveCenter(area.center());
    // On paper the stamp needs no more than about 360 dpi; a photo of a seal straight from a camera
    // would otherwise make a PDF of many megabytes.
    const QSize enough = (fitted * 5).toSize();
    if (output && (m_image.width() > enough.width() || m_image.height() > enough.height()))
        painter.drawImage(target, m_image.scaled(enough, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        painter.drawImage(target, m_image);
}

void PageButton::setPresentation(std::function<QString(const QString &)> present)
{
    m_present = std::move(present);
    update();
}

QString PageButton::shownText() const
{
    return m_present ? m_present(text()) : text();
}

void PageButton::paintText(QPainter &painter, const QRectF &area, bool output)
{
    const QString shown = printableText(shownText());
    if (shown.isEmpty()) {
        if (!output && !m_placeholder.isEmpty()) {
            painter.setPen(QColor(150, 150, 150));
            painter.setFont(font());
            painter.drawText(area, static_cast<int>(m_alignment), m_placeholder);
        }
        return;
    }
    if (!m_heading.isEmpty()) {
        // The frame takes the button's whole width, so that it lines up with the table above it.
        const QRectF frame = (area + TextMargins).adjusted(0.25, 0.25, -0.25, -0.25);
        painter.setPen(QPen(Qt::black, 0.5));
        painter.drawRect(frame);
        TextFitRequest heading;
        heading.box = QSizeF(frame.width() - 2 * FrameInset, headingPitch());
        heading.pixelSize = std::max(LegiblePixelSize, m_pagePixelSize - 1);
        heading.wrap = false;
        painter.setPen(Qt::black);
        drawFittedText(painter, frame.adjusted(FrameInset, HeadingGap, -FrameInset, 0), font(),
                       fitText(m_heading, font(), heading), Qt::AlignLeft | Qt::AlignTop);
    }
    const QRectF room = textArea(area);
    const FittedText fitted = fitShown(shown, room);
    painter.setPen(Qt::black);
    const QRectF used = drawFittedText(painter, room, font(), fitted, m_alignment);
    if (m_underlined) {
        painter.setPen(QPen(Qt::black, 0.8));
        const qreal y = std::min(used.bottom() + 2, room.bottom() + 1);
        painter.drawLine(QPointF(room.left(), y), QPointF(room.right(), y));
    }
}

void PageButton::paintAmount(QPainter &painter, const QRectF &area)
{
    const QStringList lines = printableText(text()).split(QLatin1Char('\n'));
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
    request.pixelSize = std::max(8, m_pagePixelSize);
    drawFittedText(painter, headingRect, font(), fitText(heading, font(), request), Qt::AlignLeft | Qt::AlignBottom);
    const QRectF amountArea = amountRect.adjusted(8, 0, -8, -4);
    request.box = amountArea.size();
    request.pixelSize = std::max(10, m_pagePixelSize * 2);
    drawFittedText(painter, amountArea, font(), fitText(amount, font(), request), Qt::AlignRight | Qt::AlignVCenter);

    painter.setPen(QPen(Qt::black, 1.2));
    painter.drawLine(QPointF(amountRect.left(), amountRect.bottom()), QPointF(amountRect.right(), amountRect.bottom()));
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawLine(QPointF(amountRect.left(), amountRect.bottom() - 2.5),
                     QPointF(amountRect.right(), amountRect.bottom() - 2.5));
}

void PageButton::keyPressEvent(QKeyEvent *event)
{
    // Return and Enter open the region as Space does: a region reads as a field to fill in, and
    // Return is what a person presses to get into one.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace seikyu
