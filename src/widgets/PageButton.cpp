#include "widgets/PageButton.h"

#include "page/PageFonts.h"

#include <QKeyEvent>
#include <QPainter>

namespace seikyu {

PageButton::PageButton(Look look, QWidget *parent) : QAbstractButton(parent)
{
    m_region.look = look;
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void PageButton::setTitle(const QString &title)
{
    const bool changed = title != text();
    setText(title);
    update();
    if (changed)
        Q_EMIT titleChanged(title);
}

void PageButton::setRegionStyle(const PageRegion &style)
{
    m_region = style;
    setFont(style.face);
    if (!style.text.isEmpty())
        setText(style.text);
    update();
}

void PageButton::setImage(const QImage &image)
{
    m_region.image = image;
    update();
    Q_EMIT imageSet(image);
}

void PageButton::setAlignment(Qt::Alignment alignment)
{
    m_region.alignment = alignment;
    update();
}

void PageButton::setUnderlined(bool underlined)
{
    m_region.underlined = underlined;
    update();
}

void PageButton::setWrapPixelSize(int pixelSize)
{
    m_region.wrapPixelSize = pixelSize;
    update();
}

void PageButton::setPagePixelSize(int pixelSize)
{
    m_region.pixelSize = pixelSize;
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

QSizeF PageButton::pageSize() const
{
    return m_pageSize.isValid() ? m_pageSize : QSizeF(width() / m_zoom, height() / m_zoom);
}

PageRegion PageButton::region() const
{
    PageRegion shown = m_region;
    shown.text = shownText();
    shown.face = font();
    return shown;
}

QStringList PageButton::pageLines() const
{
    return regionLines(region(), pageSize());
}

void PageButton::setSealClearance(int width, int exemptLine)
{
    m_region.sealClearance = width;
    m_region.sealExemptLine = exemptLine;
    update();
}

void PageButton::setHeading(const QString &heading)
{
    m_region.heading = heading;
    update();
}

qreal PageButton::pageHeightFor(qreal pageWidth, qreal maximumHeight) const
{
    PageRegion kept = m_region;
    kept.face = font();
    return regionHeightFor(kept, text(), pageWidth, maximumHeight);
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
    paintRegion(painter, region(), pageSize(), output ? PaintTarget::Paper : PaintTarget::Screen);
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
