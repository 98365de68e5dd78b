#pragma once

#include "ledger/LedgerSearch.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>

namespace seikyu {

/// The issued invoices a search found, as the ledger window's table shows them. Sorting reorders
/// the positions themselves, so a hundred thousand rows sort without a proxy model.
class LedgerTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum ColumnId { DateColumn, NumberColumn, CustomerColumn, AmountColumn, DueColumn, PaidColumn, StatusColumn };
    static constexpr int ColumnCount = 7;

    using QAbstractTableModel::QAbstractTableModel;

    /// Shows these rows of the index (which must outlive the model or be set again), keeping the
    /// current sort.
    void setRows(const LedgerIndex *index, QList<int> positions, const QDate &today);
    const LedgerIndex *ledgerIndex() const { return m_index; }
    /// The positions in the order shown.
    const QList<int> &positions() const { return m_positions; }
    /// The issue shown in a row, or nothing.
    const IssuedInvoice *issueAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void sortPositions();
    bool pastDue(const IssuedInvoice &row) const;

    const LedgerIndex *m_index = nullptr;
    QList<int> m_positions;
    QDate m_today;
    int m_sortColumn = DateColumn;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};

} // namespace seikyu
