#include "output/ShownPages.h"

#include "document/ContinuationPage.h"
#include "document/Document.h"
#include "document/PageView.h"
#include "table/PageTableDelegate.h"
#include "widgets/PageButton.h"

#include <QDataStream>
#include <QHeaderView>
#include <QIODevice>
#include <QTableView>

namespace seikyu {

namespace {

/// A font of its own: a copy that shares no data (and so no font-engine cache) with the widgets'.
QFont detachedFont(const QFont &font)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << font;
    }
    QDataStream in(bytes);
    QFont copy;
    in >> copy;
    return copy;
}

QRectF onSheet(const QWidget *widget, const QWidget *sheet, const QSizeF &size)
{
    return QRectF(widget->mapTo(sheet, QPoint(0, 0)), size);
}

PlacedTable tableOf(const QTableView &table, const QWidget *sheet)
{
    PlacedTable placed;
    // The paper table has no frame, headers or scroll bars: its cells take its whole box, where its
    // viewport goes once the table is laid out (a hidden window's may not be yet).
    const QRect box = table.contentsRect();
    placed.rect = QRectF(table.mapTo(sheet, box.topLeft()), box.size());
    const auto *delegate = qobject_cast<const PageTableDelegate *>(table.itemDelegate());
    const QList<qreal> widths = delegate ? delegate->pageColumnWidths() : QList<qreal>();
    const QList<qreal> heights = delegate ? delegate->pageRowHeights() : QList<qreal>();
    const QAbstractItemModel *model = table.model();
    const int columns = model ? model->columnCount() : 0;
    for (int column = 0; column < columns; ++column)
        placed.columnWidths.push_back(widths.value(column, table.columnWidth(column)));
    placed.pixelSize = delegate ? delegate->pixelSize() : 10;
    placed.minimumPixelSize = std::min(LegiblePixelSize, placed.pixelSize);
    const int rows = model ? model->rowCount() : 0;
    const qreal unitPriceWidth =
        placed.columnWidths.size() > size_t(Column::Solo) ? placed.columnWidths[size_t(Column::Solo)] : 0;
    for (int row = 0; row < rows; ++row) {
        if (table.isRowHidden(row))
            continue;
        PlacedRow shown;
        shown.height = heights.value(row, table.rowHeight(row));
        for (int column = 0; column < columns; ++column)
            shown.cells.push_back(pageCellOf(model->index(row, column), unitPriceWidth));
        placed.rows.push_back(std::move(shown));
    }
    return placed;
}

/// The sheet's drawn widgets, in the order they are drawn.
void collect(const QWidget *parent, const QWidget *sheet, LaidOutPage &page)
{
    for (const QObject *child : parent->children()) {
        const auto *widget = qobject_cast<const QWidget *>(child);
        if (!widget || widget->isHidden())
            continue;
        if (const auto *button = qobject_cast<const PageButton *>(widget)) {
            PlacedRegion placed{onSheet(button, sheet, button->pageSize()), button->region()};
            placed.region.face = detachedFont(placed.region.face);
            (page.table ? page.overlays : page.regions).push_back(std::move(placed));
        } else if (const auto *table = qobject_cast<const QTableView *>(widget)) {
            page.table = tableOf(*table, sheet);
        } else {
            collect(widget, sheet, page);
        }
    }
}

} // namespace

PageLayout shownPageLayout(Document &document)
{
    PageLayout layout;
    for (PageView *sheet : document.pages()) {
        LaidOutPage page;
        if (const auto *further = qobject_cast<const ContinuationPage *>(sheet))
            page.heading = further->heading();
        page.foot = sheet->foot();
        collect(sheet, sheet, page);
        layout.push_back(std::move(page));
    }
    return layout;
}

} // namespace seikyu
