#include "widgets/PageButton.h"

#include "widgets/PageFonts.h"
#include "widgets/TextFit.h"

#include <QKeyEvent>
#include <QPainter>

namespace seikyu {

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

void PageButton::setSealClearance(int width, int exemptLine)
{
    m_sealClearance = width;
    m_sealExemptLine = exemptLine;
    update();
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
    const QRectF area = QRectF(0, 0, width() / m_zoom, height() / m_zoom).adjusted(4, 2, -4, -2);
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
    TextFitRequest request;
    request.box = area.size();
    request.pixelSize = m_pagePixelSize;
    if (m_sealClearance > 0) {
        const qsizetype lines = shown.count(QLatin1Char('\n')) + 1;
        for (qsizetype line = 0; line < lines; ++line)
            request.lineWidths.append(line == m_sealExemptLine ? area.width() : area.width() - m_sealClearance);
    }
    const FittedText fitted = fitText(shown, font(), request);
    painter.setPen(Qt::black);
    const QRectF used = drawFittedText(painter, area, font(), fitted, m_alignment);
    if (m_underlined) {
        painter.setPen(QPen(Qt::black, 0.8));
        const qreal y = std::min(used.bottom() + 2, area.bottom() + 1);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
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
