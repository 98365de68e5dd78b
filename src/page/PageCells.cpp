#include "page/PageCells.h"

#include "invoice/ItemTableModel.h"
#include "page/PageFonts.h"
#include "table/SumsRows.h"

#include <QAbstractProxyModel>

namespace seikyu {

QString pageCellText(const QModelIndex &index)
{
    return printableText(index.data(Qt::DisplayRole).toString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

PageCell pageCellOf(const QModelIndex &index, qreal unitPriceWidth)
{
    // A further page shows the table's rows through a model of its own rows.
    QModelIndex source = index;
    if (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model()))
        source = proxy->mapToSource(index);
    const auto *model = qobject_cast<const ItemTableModel *>(source.model());
    const RowPtr row = model && source.isValid() ? model->row(source.row()) : nullptr;
    PageCell cell;
    cell.column = static_cast<Column>(index.column());
    cell.header = row && row->isHeader();
    cell.sumsRow = row && !row->isHeader() && isSumsRow(row->cells());
    cell.total = cell.sumsRow && isPayableRow(row->cells());
    cell.text = pageCellText(index);
    cell.mark = index.data(ItemTableModel::MarkRole).toString();
    cell.alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    if (cell.sumsRow && cell.column == Column::Much)
        cell.widenedLeft = unitPriceWidth;
    return cell;
}

} // namespace seikyu
