#include "invoice/ItemTableModel.h"

#include "table/SumsRows.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>

namespace seikyu {

ItemTableModel::ItemTableModel(QObject *parent) : QAbstractTableModel(parent) {}

int ItemTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int ItemTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

RowPtr ItemTableModel::row(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_rows.at(index);
}

QVariant ItemTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RowPtr &r = m_rows.at(index.row());
    const auto column = static_cast<Column>(index.column());
    const CellValue &value = r->value(column);
    switch (role) {
    case Qt::DisplayRole:
        if (column == Column::Name)
            return (value.isValid() ? cellDisplay(value) : QString()) + markOf(*r);
        return value.isValid() ? cellDisplay(value) : QString();
    case MarkRole:
        return column == Column::Name ? markOf(*r) : QString();
    case Qt::EditRole:
        return value.isValid() ? cellDisplay(value) : QString();
    case Qt::TextAlignmentRole:
        if (r->isHeader())
            return QVariant::fromValue(Qt::AlignCenter);
        if (column == Column::Solo || column == Column::Much || column == Column::Sums)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section;
    return columnKey(static_cast<Column>(section));
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // The sums that end a totalled table are worked out from its items, never typed over.
    const std::optional<RowRange> sums = trailingSums(m_rows);
    if (index.row() > 0 && !(sums && sums->contains(index.row())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ItemTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || index.row() == 0)
        return false;
    // The edit goes through the document so that it is recorded for undo.
    emit cellEditRequested(index.row(), static_cast<Column>(index.column()), value.toString());
    return true;
}

void ItemTableModel::addRow(const RowPtr &row)
{
    insertRowAt(count(), row);
}

void ItemTableModel::addRows(const QList<RowPtr> &rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, count(), count() + static_cast<int>(rows.size()) - 1);
    m_rows.append(rows);
    endInsertRows();
}

void ItemTableModel::insertRowAt(int index, const RowPtr &row)
{
    if (!row)
        return;
    index = std::clamp(index, 0, count());
    beginInsertRows({}, index, index);
    m_rows.insert(index, row);
    endInsertRows();
}

void ItemTableModel::insertRowsAt(int index, const QList<RowPtr> &rows)
{
    if (rows.isEmpty())
        return;
    index = std::clamp(index, 0, count());
    beginInsertRows({}, index, index + static_cast<int>(rows.size()) - 1);
    m_rows.insert(index, rows.size(), nullptr);
    std::copy(rows.begin(), rows.end(), m_rows.begin() + index);
    endInsertRows();
}

void ItemTableModel::removeRowAt(int index)
{
    if (index < 0 || index >= count())
        return;
    beginRemoveRows({}, index, index);
    m_rows.removeAt(index);
    endRemoveRows();
}

void ItemTableModel::removeRowsAt(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    // Remove contiguous runs from the bottom up so earlier indexes stay valid.
    int i = static_cast<int>(indexes.size()) - 1;
    while (i >= 0) {
        const int last = indexes.at(i);
        int first = last;
        while (i > 0 && indexes.at(i - 1) == first - 1) {
            --i;
            first = indexes.at(i);
        }
        --i;
        if (first < 0 || last >= count())
            continue;
        beginRemoveRows({}, first, last);
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
    }
}

void ItemTableModel::setRows(const QList<RowPtr> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void ItemTableModel::setCell(int row, Column column, const CellValue &value)
{
    if (row < 0 || row >= count() || m_rows.at(row)->isHeader())
        return;
    m_rows.at(row)->setValue(column, value);
    const QModelIndex changed = index(row, static_cast<int>(column));
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void ItemTableModel::setMarksReducedRows(bool marks)
{
    if (m_marksReducedRows == marks)
        return;
    m_marksReducedRows = marks;
    if (count() > 0)
        emit dataChanged(index(0, static_cast<int>(Column::Name)), index(count() - 1, static_cast<int>(Column::Name)),
                         {Qt::DisplayRole});
}

bool ItemTableModel::showsReducedRows() const
{
    return m_marksReducedRows && std::any_of(m_rows.begin(), m_rows.end(), [](const RowPtr &row) {
               return !row->isHeader() && row->taxClass() == TaxClass::Reduced;
           });
}

QString ItemTableModel::markOf(const ItemRow &row) const
{
    if (row.isHeader())
        return {};
    switch (row.taxClass()) {
    case TaxClass::Reduced:
        return m_marksReducedRows ? QStringLiteral(" ※") : QString();
    case TaxClass::Exempt:
        return QStringLiteral("（非課税）");
    case TaxClass::Standard:
        break;
    }
    return {};
}

void ItemTableModel::rowsChangedInPlace(int first, int last)
{
    if (count() == 0)
        return;
    first = std::clamp(first, 0, count() - 1);
    last = std::clamp(last, first, count() - 1);
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1), {Qt::DisplayRole, Qt::EditRole});
}

} // namespace seikyu
