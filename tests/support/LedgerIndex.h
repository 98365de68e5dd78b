#pragma once

#include "ledger/LedgerSearch.h"
#include "ledger/LedgerStore.h"

#include <QHash>
#include <vector>

namespace seikyu::test {

/// Every issued invoice of a ledger with its payments, fed the entries in the order recorded: the
/// search worked out the plain way, in memory, that the database search must agree with.
class LedgerIndex
{
public:
    void add(const LedgerEntry &entry);
    qint64 lastId() const { return m_lastId; }
    int size() const { return int(m_rows.size()); }
    const IssuedInvoice &at(int position) const { return m_rows[size_t(position)]; }
    /// The position of an issue entry, or -1.
    int positionOfIssue(qint64 id) const { return m_positionOfIssue.value(id, -1); }

    /// The amount received against the invoice the issue belongs to, voided payments left out.
    qint64 paid(const IssuedInvoice &row) const { return m_paidByInvoice.value(row.issue.invoiceId); }
    PaymentStatus status(const IssuedInvoice &row) const;
    /// The payments recorded against the invoice, oldest first, voided ones left out.
    QList<LedgerEntry> payments(const IssuedInvoice &row) const;

    /// The positions of the issues that match, newest first.
    QList<int> search(const LedgerFilter &filter) const;
    /// The sums of the rows at `positions`; `oneKind` when the search asked for one kind of document.
    LedgerTotals totals(const QList<int> &positions, bool oneKind = false) const;

private:
    std::vector<IssuedInvoice> m_rows;
    QHash<qint64, int> m_positionOfIssue;
    QHash<qint64, qint64> m_paidByInvoice;
    QHash<qint64, LedgerEntry> m_payments; ///< by id, until voided
    qint64 m_lastId = 0;
};

/// Every entry of a store fed to an index.
LedgerIndex indexOf(LedgerStore &store);

} // namespace seikyu::test
