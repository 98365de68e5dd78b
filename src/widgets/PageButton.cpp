#include "widgets/PageButton.h"

#include "widgets/PageFonts.h"

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
    setZoom(m_zoom);
}

void PageButton::setZoom(double zoom)
{
    m_zoom = zoom;
    QFont scaled = font();
    scaled.setPixelSize(std::max(1, qRound(m_pagePixelSize * zoom)));
    setFont(scaled);
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
    const int padX = qRound(4 * m_zoom);
    const int padY = qRound(2 * m_zoom);
    const QRect area = rect().adjusted(padX, padY, -padX, -padY);

    if (!output && (underMouse() || hasFocus()))
        painter.fillRect(rect(), QColor(30, 100, 200, 18));

    if (m_look == Look::Image) {
        if (!m_image.isNull()) {
            const QSize fitted = m_image.size().scaled(area.size(), Qt::KeepAspectRatio);
            QRect target(QPoint(0, 0), fitted);
            target.moveCenter(area.center());
            // On paper the stamp needs no more than about 300 dpi; a photo of a seal straight from
            // a camera would otherwise make a PDF of many megabytes.
            const QSize enough = fitted * 5;
            if (output && (m_image.width() > enough.width() || m_image.height() > enough.height()))
                painter.drawImage(target, m_image.scaled(enough, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            else
                painter.drawImage(target, m_image);
        } else if (!output && !m_placeholder.isEmpty()) {
            painter.setPen(QColor(150, 150, 150));
            painter.setFont(font());
            painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
        }
        return;
    }
    if (m_look == Look::Amount) {
        paintAmount(painter, area);
        return;
    }

    const QString shown = printableText(text());
    painter.setFont(font());
    if (shown.isEmpty()) {
        if (!output && !m_placeholder.isEmpty()) {
            painter.setPen(QColor(150, 150, 150));
            painter.drawText(area, static_cast<int>(m_alignment), m_placeholder);
        }
        return;
    }
    painter.setPen(Qt::black);
    QRect used;
    painter.drawText(area, static_cast<int>(m_alignment), shown, &used);
    if (m_underlined) {
        painter.setPen(QPen(Qt::black, 0.8 * m_zoom));
        const int y = used.bottom() + qRound(3 * m_zoom);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
}

void PageButton::paintAmount(QPainter &painter, const QRect &area)
{
    const QStringList lines = printableText(text()).split(QLatin1Char('\n'));
    const QString heading = lines.value(0);
    const QString amount = lines.mid(1).join(QLatin1Char(' '));

    const QFont base = font();
    QFont headingFont = base;
    headingFont.setPixelSize(std::max(8, base.pixelSize()));
    QFont amountFont = base;
    amountFont.setPixelSize(std::max(10, base.pixelSize() * 2));

    const int headingHeight = area.height() * 2 / 5;
    const QRect headingRect(area.left(), area.top(), area.width(), headingHeight);
    const QRect amountRect(area.left(), area.top() + headingHeight, area.width(), area.height() - headingHeight);

    painter.setPen(Qt::black);
    painter.setFont(headingFont);
    painter.drawText(headingRect, Qt::AlignLeft | Qt::AlignBottom, heading);
    painter.setFont(amountFont);
    const int inset = qRound(8 * m_zoom);
    painter.drawText(amountRect.adjusted(inset, 0, -inset, -qRound(4 * m_zoom)), Qt::AlignRight | Qt::AlignVCenter,
                     amount);
    painter.setPen(QPen(Qt::black, 1.2 * m_zoom));
    painter.drawLine(QPointF(amountRect.left(), amountRect.bottom()), QPointF(amountRect.right(), amountRect.bottom()));
    painter.setPen(QPen(Qt::black, 0.5 * m_zoom));
    painter.drawLine(QPointF(amountRect.left(), amountRect.bottom() - 2.5 * m_zoom),
                     QPointF(amountRect.right(), amountRect.bottom() - 2.5 * m_zoom));
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
