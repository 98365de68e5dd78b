#include "page/TableCellPainting.h"

#include "page/PageFonts.h"
#include "page/TextFit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace seikyu {

namespace {
constexpr qreal FullRowHeight = 15;
/// A row with a two-line description is this much taller than a row of one line.
constexpr qreal TallRowFactor = 1.6;
/// The type takes this share of a row's height.
constexpr qreal TypeToRow = 0.64;

/// A cell's text as it is drawn in a cell of `box` page pixels, set in `pixelSize` and no smaller
/// than `minimumPixelSize` unless it must stay whole.
FittedText fitCell(const QString &text, Column column, const QSizeF &box, int pixelSize, int minimumPixelSize,
                   bool bold)
{
    TextFitRequest request;
    request.box = QSizeF(box.width() - 2 * CellPadding, box.height());
    request.pixelSize = pixelSize;
    request.minimumPixelSize = minimumPixelSize;
    if (column == Column::Name) {
        request.maximumLines = 2;
        request.overflow = TextFitRequest::Overflow::Elide;
    } else {
        request.wrap = false; // amounts, dates and quantities stay whole on their line
    }
    return fitText(text, pageFont(pixelSize, bold), request);
}

} // namespace

PageTableRows layoutPageTableRows(int rows, int tallRows, qreal available)
{
    const qreal units = std::max(1, rows) + (TallRowFactor - 1) * std::max(0, tallRows);
    PageTableRows layout;
    layout.rowHeight = std::min(FullRowHeight, available / units);
    layout.tallRowHeight = layout.rowHeight * TallRowFactor;
    layout.pixelSize = std::max(1, static_cast<int>(layout.rowHeight * TypeToRow));
    layout.legible = layout.pixelSize >= LegiblePixelSize;
    return layout;
}

bool descriptionNeedsTwoLines(const QString &description, qreal width, int pixelSize)
{
    const QFont smallest = pageFont(std::min(LegiblePixelSize, pixelSize));
    return exceedsWidth(QFontMetricsF(smallest), description, width - 2 * CellPadding - 0.01);
}

void paintPageCell(QPainter &painter, const PageCell &cell, const QRectF &rect, int pixelSize, int minimumPixelSize)
{
    if (cell.header)
        painter.fillRect(rect, QColor(0xe8, 0xe8, 0xe8));
    else if (cell.selected)
        painter.fillRect(rect, QColor(0xcc, 0xdd, 0xf5));

    QRectF area = rect.adjusted(CellPadding, 0, -CellPadding, 0);
    QString text = cell.text;
    if (cell.sumsRow && cell.column == Column::Much)
        area.setLeft(area.left() - cell.widenedLeft); // a sums row's label ("消費税(10%)")
    else if (cell.sumsRow && cell.column != Column::Sums)
        text.clear(); // the blank cells of the sums rows
    QSizeF room = area.size() + QSizeF(2 * CellPadding, 0);
    if (!cell.mark.isEmpty()) {
        // The tax mark stays whole: only the description before it may be shortened.
        text.chop(cell.mark.size());
        room.rwidth() -= QFontMetricsF(pageFont(pixelSize, cell.total)).horizontalAdvance(cell.mark);
    }
    FittedText fitted = fitCell(text, cell.column, room, pixelSize, minimumPixelSize, cell.total);
    if (!cell.mark.isEmpty() && !fitted.lines.isEmpty())
        fitted.lines.last().append(cell.mark);
    painter.setPen(Qt::black);
    drawFittedText(painter, area, pageFont(pixelSize, cell.total), fitted,
                   (cell.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);

    // Rules: a line under every row, heavier under the header and above the total; column rules,
    // which the sums rows keep only around their amounts.
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), cell.header || cell.total ? 1.0 : 0.5));
    painter.drawLine(rect.bottomLeft() + QPointF(0, 0.5), rect.bottomRight() + QPointF(1, 0.5));
    if (cell.total)
        painter.drawLine(rect.topLeft(), rect.topRight() + QPointF(1, 0));
    painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 0.5));
    if (cell.column != Column::Date && (!cell.sumsRow || cell.column == Column::Sums))
        painter.drawLine(rect.topLeft(), rect.bottomLeft() + QPointF(0, 1));
}

} // namespace seikyu
