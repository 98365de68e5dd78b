#include "ledger/LedgerTableModel.h"

#include "table/Amounts.h"

#include <QBrush>
#include <QFont>
#include <QPalette>
#include <algorithm>

namespace seikyu {

void LedgerTableModel::setRows(const LedgerIndex *index, QList<int> positions, const QDate &today)
{
    beginResetModel();
    m_index = index;
    m_positions = std::move(positions);
    m_today = today;
    sortPositions();
    endResetModel();
}

const IssuedInvoice *LedgerTableModel::issueAt(int row) const
{
    if (!m_index || row < 0 || row >= m_positions.size())
        return nullptr;
    return &m_index->at(m_positions[row]);
}

int LedgerTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_positions.size());
}

int LedgerTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool LedgerTableModel::pastDue(const IssuedInvoice &row) const
{
    return isPastDue(m_index->status(row), row.issue.dueDate, m_today);
}

QVariant LedgerTableModel::data(const QModelIndex &index, int role) const
{
    const IssuedInvoice *row = issueAt(index.row());
    if (!row)
        return {};
    const LedgerEntry &e = row->issue;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        switch (index.column()) {
        case DateColumn:
            return row->date.toString(Qt::ISODate);
        case NumberColumn:
            return e.number;
        case CustomerColumn:
            return e.honorific.isEmpty() ? e.customer : e.customer + QLatin1Char(' ') + e.honorific;
        case AmountColumn:
            return mark(e.amount);
        case DueColumn:
            return e.dueDate.isValid() ? e.dueDate.toString(Qt::ISODate) : QString();
        case PaidColumn:
            return mark(m_index->paid(*row));
        case StatusColumn: {
            QString text = statusText(m_index->status(*row));
            if (pastDue(*row))
                text = tr("%1 (past due)").arg(text);
            if (row->superseded)
                text = tr("%1, issued again").arg(text);
            return text;
        }
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == AmountColumn || index.column() == PaidColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (pastDue(*row))
            return QBrush(QColor(0xb0, 0x00, 0x20));
        if (row->voided || row->superseded)
            return QPalette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::FontRole:
        if (pastDue(*row)) {
            QFont font;
            font.setBold(true);
            return font;
        }
        if (row->voided) {
            QFont font;
            font.setStrikeOut(true);
            return font;
        }
        return {};
    case Qt::ToolTipRole:
        if (row->voided)
            return tr("Voided: %1").arg(row->voidReason);
        return e.title;
    }
    return {};
}

QVariant LedgerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case DateColumn:
        return tr("Date");
    case NumberColumn:
        return tr("Number");
    case CustomerColumn:
        return tr("Customer");
    case AmountColumn:
        return tr("Amount");
    case DueColumn:
        return tr("Due");
    case PaidColumn:
        return tr("Paid");
    case StatusColumn:
        return tr("Status");
    }
    return {};
}

void LedgerTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> positionsBefore;
    for (const QModelIndex &index : before)
        positionsBefore.append(m_positions.value(index.row(), -1));
    m_sortColumn = column;
    m_sortOrder = order;
    sortPositions();
    QHash<int, int> rowOf;
    for (int row = 0; row < m_positions.size(); ++row)
        rowOf.insert(m_positions[row], row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(rowOf.value(positionsBefore[i], -1), before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LedgerTableModel::sortPositions()
{
    if (!m_index)
        return;
    const LedgerIndex &index = *m_index;
    // Ties keep the newest first either way, so equal rows never trade places between sorts.
    auto compare = [&](int a, int b) {
        const IssuedInvoice &x = index.at(a);
        const IssuedInvoice &y = index.at(b);
        int order = 0;
        switch (m_sortColumn) {
        case DateColumn:
            order = x.date < y.date ? -1 : (y.date < x.date ? 1 : 0);
            break;
        case NumberColumn:
            order = x.issue.number.compare(y.issue.number);
            break;
        case CustomerColumn:
            order = x.issue.customer.compare(y.issue.customer);
            break;
        case AmountColumn:
            order = x.issue.amount < y.issue.amount ? -1 : (x.issue.amount > y.issue.amount ? 1 : 0);
            break;
        case DueColumn:
            order = x.issue.dueDate < y.issue.dueDate ? -1 : (y.issue.dueDate < x.issue.dueDate ? 1 : 0);
            break;
        case PaidColumn: {
            const qint64 px = index.paid(x), py = index.paid(y);
            order = px < py ? -1 : (px > py ? 1 : 0);
            break;
        }
        case StatusColumn:
            order = int(index.status(x)) - int(index.status(y));
            break;
        }
        return order;
    };
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::sort(m_positions.begin(), m_positions.end(), [&](int a, int b) {
        const int order = compare(a, b);
        if (order != 0)
            return descending ? order > 0 : order < 0;
        return a > b;
    });
}

} // namespace seikyu
