#include "ledger/LedgerTableModel.h"

#include "ledger/LedgerCsv.h"
#include "table/Amounts.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QPalette>

namespace seikyu {

namespace {

LedgerOrder orderOfColumn(int column)
{
    switch (column) {
    case LedgerTableModel::NumberColumn:
        return LedgerOrder::Number;
    case LedgerTableModel::CustomerColumn:
        return LedgerOrder::Customer;
    case LedgerTableModel::AmountColumn:
        return LedgerOrder::Amount;
    case LedgerTableModel::DueColumn:
        return LedgerOrder::Due;
    case LedgerTableModel::PaidColumn:
        return LedgerOrder::Paid;
    case LedgerTableModel::StatusColumn:
        return LedgerOrder::Status;
    case LedgerTableModel::KindColumn:
        return LedgerOrder::Document;
    default:
        return LedgerOrder::Date;
    }
}

} // namespace

Result<LedgerPage> LedgerTableModel::read(int offset, int limit) const
{
    if (!m_reader)
        return LedgerPage();
    return m_reader(LedgerSlice{m_order, m_descending, offset, limit});
}

Result<void> LedgerTableModel::setSearch(SliceReader reader, const QDate &today)
{
    beginResetModel();
    m_reader = std::move(reader);
    m_today = today;
    const Result<LedgerPage> first = read(0, SliceSize);
    m_page = first.value_or(LedgerPage());
    m_totals = m_page.totals;
    endResetModel();
    if (!first)
        return first.fault();
    return {};
}

bool LedgerTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_page.rows.size() < m_totals.count;
}

void LedgerTableModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const Result<LedgerPage> more = read(int(m_page.rows.size()), SliceSize);
    if (!more || more->rows.isEmpty()) {
        // The ledger cannot be read now: show what was read rather than asking again and again.
        m_totals.count = int(m_page.rows.size());
        return;
    }
    const int first = int(m_page.rows.size());
    beginInsertRows({}, first, first + int(more->rows.size()) - 1);
    m_page.rows += more->rows;
    m_page.paid += more->paid;
    endInsertRows();
}

Result<void> LedgerTableModel::fetchAll()
{
    if (!canFetchMore())
        return {};
    const Result<LedgerPage> rest = read(int(m_page.rows.size()), m_totals.count);
    if (!rest)
        return rest.fault();
    if (rest->rows.isEmpty())
        return {};
    const int first = int(m_page.rows.size());
    beginInsertRows({}, first, first + int(rest->rows.size()) - 1);
    m_page.rows += rest->rows;
    m_page.paid += rest->paid;
    endInsertRows();
    return {};
}

const IssuedInvoice *LedgerTableModel::issueAt(int row) const
{
    if (row < 0 || row >= m_page.rows.size())
        return nullptr;
    return &m_page.rows[row];
}

int LedgerTableModel::rowOfIssue(qint64 issueId) const
{
    for (int row = 0; row < m_page.rows.size(); ++row) {
        if (m_page.rows[row].issue.id == issueId)
            return row;
    }
    return -1;
}

int LedgerTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_page.rows.size());
}

int LedgerTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

PaymentStatus LedgerTableModel::statusAt(int row) const
{
    const IssuedInvoice &shown = m_page.rows[row];
    return statusOf(shown.issue.amount, paidAt(row), shown.voided, shown.issue.document);
}

bool LedgerTableModel::pastDue(int row) const
{
    return isPastDue(statusAt(row), m_page.rows[row].issue.dueDate, m_today);
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
            return mark(paidAt(index.row()));
        case StatusColumn:
            return issueStatusText(*row, paidAt(index.row()), m_today);
        case KindColumn:
            return documentKindName(e.document);
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == AmountColumn || index.column() == PaidColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (pastDue(index.row()))
            return QBrush(QColor(0xb0, 0x00, 0x20));
        if (row->voided || row->superseded)
            return QPalette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::FontRole:
        if (pastDue(index.row())) {
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
    case KindColumn:
        return tr("Kind");
    }
    return {};
}

void LedgerTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_order = orderOfColumn(column);
    m_descending = order == Qt::DescendingOrder;
    // As many rows as were read before, so a selection among them stays in sight.
    const int shown = int(m_page.rows.size());
    Result<LedgerPage> sorted = read(0, std::max(SliceSize, shown));
    if (!sorted)
        return;
    if (sorted->rows.size() != shown) {
        // Others recorded meanwhile: the rows are not the same rows reordered.
        beginResetModel();
        m_page = std::move(*sorted);
        m_totals = m_page.totals;
        endResetModel();
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<qint64> idsBefore;
    for (const QModelIndex &index : before)
        idsBefore.append(m_page.rows.value(index.row()).issue.id);
    m_page = std::move(*sorted);
    m_totals = m_page.totals;
    QHash<qint64, int> rowOf;
    for (int row = 0; row < m_page.rows.size(); ++row)
        rowOf.insert(m_page.rows[row].issue.id, row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(rowOf.value(idsBefore[i], -1), before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace seikyu
