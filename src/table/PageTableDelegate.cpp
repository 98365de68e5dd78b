#include "table/PageTableDelegate.h"

#include "invoice/ItemTableModel.h"
#include "page/PageFonts.h"
#include "table/SumsRows.h"

#include <QAbstractProxyModel>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>

namespace seikyu {

QString pageCellText(const QModelIndex &index)
{
    return printableText(index.data(Qt::DisplayRole).toString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

PageTableDelegate::PageTableDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

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

void PageTableDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *table = qobject_cast<const QTableView *>(option.widget);
    const int solo = static_cast<int>(Column::Solo);
    PageCell cell = pageCellOf(index, m_columnWidths.value(solo, table ? table->columnWidth(solo) / m_zoom : 0));
    cell.selected = !m_paper && !isRenderingForOutput() && (option.state & QStyle::State_Selected);

    painter->save();
    // Fitted and drawn in page pixels, so the screen shows the lines the paper gets at any zoom.
    painter->translate(option.rect.topLeft());
    painter->scale(m_zoom, m_zoom);
    const QRectF rect(0, 0, m_columnWidths.value(index.column(), option.rect.width() / m_zoom),
                      m_rowHeights.value(index.row(), option.rect.height() / m_zoom));
    // On paper a long description is set down to the legible size, in two lines; the panel's table
    // is for editing, where a shortened line in its own size reads better than small type.
    const int minimum = m_paper ? std::min(LegiblePixelSize, m_pixelSize) : std::max(1, m_pixelSize - 2);
    paintPageCell(*painter, cell, rect, m_pixelSize, minimum);
    painter->restore();
}

QWidget *PageTableDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setFrame(false);
    return editor;
}

} // namespace seikyu
