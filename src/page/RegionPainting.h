#pragma once

#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

namespace seikyu {

/// One region of the page as it is drawn: its text (or image) and how it is set. The text is the
/// one the page shows; control characters are left out only when drawing.
struct PageRegion
{
    enum class Look {
        Plain,  ///< lines of text
        Amount, ///< first line a heading, second line the amount set large, underlined
        Image,  ///< the stamp image, scaled to fit with its transparency
    };

    Look look = Look::Plain;
    QString text;
    QImage image;
    QFont face; ///< the face the text is set in; its size is the pixel size's
    int pixelSize = 12;
    /// The size below which a text too wide for the region wraps rather than shrinks on one line
    /// (0: the legible size).
    int wrapPixelSize = 0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool underlined = false;
    /// Page pixels at the right kept free of text on every line but `sealExemptLine` (where the
    /// seal sits, only the name line it is pressed on may run under it).
    int sealClearance = 0;
    int sealExemptLine = -1;
    /// A small heading over the text (備考), the two set in a thin frame; drawn only with text.
    QString heading;
    /// Shown on screen only, while there is no text (or image).
    QString placeholder;
};

/// Where a region draws, screen or paper: on paper nothing but the invoice is drawn.
enum class PaintTarget { Screen, Paper };

/// Draws the region into a box of `size` page pixels at the painter's origin, in page pixels.
void paintRegion(QPainter &painter, const PageRegion &region, const QSizeF &size, PaintTarget target);

/// The lines of text as the region draws them in a box of `size` page pixels (none for an image
/// or an amount).
QStringList regionLines(const PageRegion &region, const QSizeF &size);

/// The height, in page pixels, that `text` needs in the region `width` page pixels wide, at most
/// `maximumHeight` (the text then shrinks into that).
qreal regionHeightFor(const PageRegion &region, const QString &text, qreal width, qreal maximumHeight);

} // namespace seikyu
