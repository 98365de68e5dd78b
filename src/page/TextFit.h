#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QFontMetricsF;
class QPainter;

namespace seikyu {

/// The smallest type the page sets on its own, in page pixels (points): smaller reads badly on paper.
constexpr int LegiblePixelSize = 7;

/// How a text must be fitted into its place on the page.
struct TextFitRequest
{
    /// What happens when the text does not fit even at the legible minimum.
    enum class Overflow {
        Shrink, ///< keep shrinking below the minimum: the text is always drawn whole
        Elide,  ///< end the last line that fits in "…" (only for texts that may be shortened)
    };

    QSizeF box;                              ///< the room for the text, in page pixels
    int pixelSize = 12;                      ///< the size the text is set in when it fits as it is
    int minimumPixelSize = LegiblePixelSize; ///< the face shrinks no further before lines wrap
    /// A larger size at which a line that is too wide wraps rather than shrink on (0: the minimum);
    /// the wrapped lines may then be set smaller, down to the minimum, to fit the box.
    int wrapPixelSize = 0;
    QList<qreal> lineWidths; ///< the width for each line of the text; missing ones get the box's
    bool wrap = true;        ///< whether a line may break onto further lines
    int maximumLines = 0;    ///< how many lines at most; 0 as many as the box holds
    Overflow overflow = Overflow::Shrink;
};

/// The size a text is set in and its lines as they are drawn, top to bottom.
struct FittedText
{
    int pixelSize = 0;
    QStringList lines;
    bool legible = true; ///< set at no less than the minimum size
    bool elided = false; ///< the last line was shortened with "…"
};

/// Whether a text is wider than `width`, measuring a very long text only as far as it takes to know.
bool exceedsWidth(const QFontMetricsF &metrics, const QString &text, qreal width);

/// The distance from one line of page text to the next, for a face at a pixel size.
qreal pageLinePitch(const QFont &face, int pixelSize);

/// Fits a text (its own lines separated by line feeds) into a box: the face shrinks step by step
/// down to the minimum while every line fits its width; then lines wrap, at spaces where that is
/// enough and between characters otherwise, at the largest size whose lines fit the box. Beyond
/// that the text shrinks further or is elided, as the request says; a text that fits at no size at
/// all is elided at the minimum. Nothing is ever cut mid-glyph. The time it takes grows with the
/// text's length at most: measuring stops once the box is full.
FittedText fitText(const QString &text, const QFont &face, const TextFitRequest &request);

/// Draws fitted lines in the area with the painter's pen, each line placed by the alignment; returns
/// the rectangle the lines take.
QRectF drawFittedText(QPainter &painter, const QRectF &area, const QFont &face, const FittedText &fitted,
                      Qt::Alignment alignment);

} // namespace seikyu
