#pragma once

#include "page/RegionPainting.h"

#include <QAbstractButton>
#include <QImage>
#include <functional>

namespace seikyu {

/// A flat region of the page that prints its text (or image) like type on paper and opens the
/// region's panel when clicked. The title is kept exactly as set; control characters are only
/// left out when drawing.
class PageButton : public QAbstractButton
{
    Q_OBJECT

public:
    using Look = PageRegion::Look;

    explicit PageButton(Look look, QWidget *parent = nullptr);

    QString title() const { return text(); }
    void setTitle(const QString &title);
    /// Sets the region as `style` sets it: its look, face, size, alignment and rules, and its text
    /// when the style has one.
    void setRegionStyle(const PageRegion &style);
    /// How the title reads on the page where that differs from the text kept (the issuer's
    /// registration number gets its 登録番号 heading); the title itself stays as set.
    void setPresentation(std::function<QString(const QString &title)> present);
    /// The text as the page shows it.
    QString shownText() const;

    QImage image() const { return m_region.image; }
    void setImage(const QImage &image);

    /// Shown on screen only while the title is empty.
    void setPlaceholder(const QString &placeholder) { m_region.placeholder = placeholder; }
    QString placeholder() const { return m_region.placeholder; }
    void setAlignment(Qt::Alignment alignment);
    void setUnderlined(bool underlined);

    /// The type size on paper, in page pixels; a text too long for the region is set smaller, and
    /// wraps below the legible size, but is always drawn whole. The shown size follows the zoom.
    void setPagePixelSize(int pixelSize);
    /// The size below which a text too wide for the region wraps rather than shrinks on one line
    /// (0: the legible size).
    void setWrapPixelSize(int pixelSize);
    void setZoom(double zoom);
    /// The button's size on paper, in page pixels. Text is fitted to it rather than to the widget's
    /// size divided by the zoom, which rounding to whole screen pixels makes a little off: the
    /// screen then breaks the very lines the paper does at every zoom.
    void setPageSize(const QSizeF &size);
    /// The lines of text as the page draws them (empty for an image or an amount).
    QStringList pageLines() const;
    /// Keeps `width` page pixels at the right free of text on every line but `exemptLine`: that is
    /// where the seal sits, and only the name line it is pressed on may run under it.
    void setSealClearance(int width, int exemptLine);
    /// A small heading over the text (備考), with the two set in a thin frame, as a form's box is;
    /// drawn only when there is text.
    void setHeading(const QString &heading);
    /// The height, in page pixels, that the text needs in a button `pageWidth` page pixels wide,
    /// at most `maximumHeight` (the text then shrinks into that).
    qreal pageHeightFor(qreal pageWidth, qreal maximumHeight) const;

    /// The region as the page draws it: the shown text, in the button's face.
    PageRegion region() const;
    /// The button's size on paper, in page pixels.
    QSizeF pageSize() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    /// The title became another text.
    void titleChanged(const QString &title);
    /// An image was set, the same or another.
    void imageSet(const QImage &image);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    PageRegion m_region;
    double m_zoom = 1.0;
    QSizeF m_pageSize;
    std::function<QString(const QString &)> m_present;
};

} // namespace seikyu
