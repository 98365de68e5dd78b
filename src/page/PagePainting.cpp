#include "page/PagePainting.h"

#include "page/PageGeometry.h"

#include <QPainter>
#include <cmath>

namespace seikyu {

namespace {

/// What a box's clip leaves around it: the rules under the rows and above the total run a pixel
/// and their caps past the table's last column, and a frame's stroke reaches a hair past its
/// box, as they always have on paper. Anything further out stays clipped.
constexpr QMarginsF StrokeOverhang(2, 2, 2, 2);

void paintPlaced(QPainter &painter, const PlacedRegion &placed, PaintTarget target)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(placed.rect.topLeft());
    painter.setClipRect(QRectF(QPointF(0, 0), placed.rect.size()) + StrokeOverhang);
    paintRegion(painter, placed.region, placed.rect.size(), target);
    painter.restore();
}

} // namespace

void paintPlacedTable(QPainter &painter, const PlacedTable &table)
{
    painter.save();
    painter.translate(table.rect.topLeft());
    painter.setClipRect(QRectF(QPointF(0, 0), table.rect.size()) + StrokeOverhang);
    qreal top = 0;
    for (const PlacedRow &row : table.rows) {
        if (top >= table.rect.height())
            break;
        qreal left = 0;
        for (size_t column = 0; column < row.cells.size() && column < table.columnWidths.size(); ++column) {
            const qreal width = table.columnWidths[column];
            painter.save();
            painter.translate(left, top);
            paintPageCell(painter, row.cells[column], QRectF(0, 0, width, row.height), table.pixelSize,
                          table.minimumPixelSize);
            painter.restore();
            left += width;
        }
        top += row.height;
    }
    painter.restore();
}

void paintPage(QPainter &painter, const LaidOutPage &page, PaintTarget target)
{
    painter.fillRect(QRectF(0, 0, page::SheetWidth, page::SheetHeight), Qt::white);
    paintSheetFoot(painter, page.foot);
    if (page.heading)
        paintContinuationHeading(painter, *page.heading);
    for (const PlacedRegion &region : page.regions)
        paintPlaced(painter, region, target);
    if (page.table)
        paintPlacedTable(painter, *page.table);
    for (const PlacedRegion &region : page.overlays)
        paintPlaced(painter, region, target);
}

} // namespace seikyu
