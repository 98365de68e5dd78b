#pragma once

#include "page/RegionPainting.h"
#include "page/SheetPainting.h"
#include "page/TableCellPainting.h"
#include "page/TextFit.h"

#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

namespace seikyu {

/// A region placed on the sheet: its box in page pixels, which its drawing keeps to.
struct PlacedRegion
{
    QRectF rect;
    PageRegion region;
};

/// One row of the page's item table as laid out.
struct PlacedRow
{
    qreal height = 0; ///< in page pixels, as the row is drawn
    std::vector<PageCell> cells;
};

/// The page's item table as laid out: where it sits, its columns and its rows, top to bottom.
struct PlacedTable
{
    QRectF rect; ///< the table's box in page pixels; only the rules' ends reach past it
    std::vector<qreal> columnWidths;
    std::vector<PlacedRow> rows;
    int pixelSize = 10;
    int minimumPixelSize = LegiblePixelSize;
};

/// One laid-out sheet: what it draws, in the order it is drawn.
struct LaidOutPage
{
    std::optional<ContinuationHeading> heading; ///< on a further page
    /// The regions before the table (the first page's heading, amount, issuer, stamp).
    std::vector<PlacedRegion> regions;
    std::optional<PlacedTable> table;
    /// The regions after the table, on top of it (the legend, the optional regions, the remarks).
    std::vector<PlacedRegion> overlays;
    QString foot; ///< "2 / 3" on an invoice of more than one page
};

/// Every sheet of an invoice, first to last.
using PageLayout = std::vector<LaidOutPage>;

} // namespace seikyu
