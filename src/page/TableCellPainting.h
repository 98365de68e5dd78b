#pragma once

#include "table/ItemRow.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace seikyu {

/// How the page's item table shares its height among its rows, in page pixels.
struct PageTableRows
{
    qreal rowHeight = 0;     ///< a row of one line
    qreal tallRowHeight = 0; ///< a row whose description takes two lines
    int pixelSize = 0;       ///< the table's type size
    bool legible = true;     ///< the type is no smaller than the legible size
};

/// Up to 35 rows of one line keep the full size (30 items, the header and the four sums rows); a
/// longer table shrinks its rows and type so that it stays on the one page.
PageTableRows layoutPageTableRows(int rows, int tallRows, qreal available);

/// Whether a description needs a second line in its row: it does not fit one line even at the
/// smallest size the table allows.
bool descriptionNeedsTwoLines(const QString &description, qreal width, int pixelSize);

/// Space left and right of a cell's text, in page pixels.
constexpr qreal CellPadding = 4;

/// One cell of the page's item table as it is drawn.
struct PageCell
{
    Column column = Column::Name;
    QString text; ///< on one line, without control characters, the tax mark included
    QString mark; ///< the tax mark (※) the text ends in, which stays whole
    Qt::Alignment alignment = Qt::AlignLeft;
    bool header = false;  ///< of the header row, shaded
    bool sumsRow = false; ///< of a sums row, whose blank cells draw no text and fewer rules
    bool total = false;   ///< of the row of the amount to pay, bold and ruled above
    bool selected = false;
    /// How far a sums row's label reads left across the empty unit-price cell, in page pixels.
    qreal widenedLeft = 0;
};

/// Draws the item table flat, like print: thin rules, the header row shaded, the total row bold,
/// amounts right-aligned; no style gradients, so an exported page stays pure vector. The text fits
/// its cell: it is set smaller when long, down to `minimumPixelSize`; an amount or a date stays
/// whole on its line, and only a description wraps to a second line and then ends in "…". The
/// cell is `cell` in page pixels.
void paintPageCell(QPainter &painter, const PageCell &cell, const QRectF &rect, int pixelSize, int minimumPixelSize);

} // namespace seikyu
