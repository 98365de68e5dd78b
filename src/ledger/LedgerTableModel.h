#pragma once

#include "base/Result.h"
#include "ledger/LedgerSearch.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <functional>
#include <limits>

namespace seikyu {

/// The issued invoices a search found, as the ledger window's table shows them. The rows are read
/// from the database a slice at a time as the table scrolls to them, and sorting asks the
/// database again, so a ledger of any size opens and sorts as fast as a small one.
class LedgerTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum ColumnId {
        DateColumn,
        NumberColumn,
        CustomerColumn,
        AmountColumn,
        DueColumn,
        PaidColumn,
        StatusColumn,
        KindColumn
    };
    static constexpr int ColumnCount = 8;
    /// Rows read at a time.
    static constexpr int SliceSize = 200;

    /// Reads the rows of the search shown, or why the database could not.
    using SliceReader = std::function<Result<LedgerPage>(const LedgerSlice &slice)>;

    using QAbstractTableModel::QAbstractTableModel;

    /// Shows what this search finds from its first row, keeping the current sort. A fault, with the
    /// table emptied, when the database could not be read.
    Result<void> setSearch(SliceReader reader, const QDate &today);
    /// The sums over every row found, not only the rows read so far.
    const LedgerTotals &totals() const { return m_totals; }
    /// The issue shown in a row, or nothing.
    const IssuedInvoice *issueAt(int row) const;
    /// What was received against the invoice of a row.
    qint64 paidAt(int row) const { return m_page.paid.value(row); }
    /// The row of an issue among the rows read so far, or -1.
    int rowOfIssue(qint64 issueId) const;
    /// Reads every remaining row (the download shows them all); a fault when the database failed.
    Result<void> fetchAll();
    /// Every row found, in the order shown.
    LedgerSlice everyRow() const { return LedgerSlice{m_order, m_descending, 0, std::numeric_limits<int>::max()}; }
    /// The rows read so far with what each received, in the order shown.
    const LedgerPage &page() const { return m_page; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

private:
    Result<LedgerPage> read(int offset, int limit) const;
    PaymentStatus statusAt(int row) const;
    bool pastDue(int row) const;

    SliceReader m_reader;
    LedgerPage m_page;
    LedgerTotals m_totals;
    QDate m_today;
    LedgerOrder m_order = LedgerOrder::Date;
    bool m_descending = true;
};

} // namespace seikyu
