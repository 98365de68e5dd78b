#include "support/LedgerIndex.h"

#include "ledger/SearchFolding.h"

#include <algorithm>

namespace seikyu::test {

void LedgerIndex::add(const LedgerEntry &entry)
{
    if (entry.id <= m_lastId)
        return; // seen already
    m_lastId = entry.id;
    switch (entry.kind) {
    case EntryKind::Issue: {
        IssuedInvoice row;
        row.issue = entry;
        if (row.issue.customerFolded.isEmpty() && !entry.customer.isEmpty())
            row.issue.customerFolded = foldForSearch(entry.customer);
        row.numberFolded = foldForSearch(entry.number);
        if (row.issue.invoiceId == 0)
            row.issue.invoiceId = entry.id;
        // Without an invoice date, the UTC day it was recorded: the day the database searches and
        // sorts it by, whichever time zone reads the ledger.
        row.date = entry.invoiceDate.isValid() ? entry.invoiceDate : entry.recordedAt.toUTC().date();
        if (const int earlier = positionOfIssue(entry.refersTo); earlier >= 0)
            m_rows[size_t(earlier)].superseded = true;
        m_positionOfIssue.insert(entry.id, int(m_rows.size()));
        m_rows.push_back(std::move(row));
        break;
    }
    case EntryKind::Payment:
        if (entry.invoiceId != 0) {
            m_paidByInvoice[entry.invoiceId] += entry.amount;
            m_payments.insert(entry.id, entry);
        }
        break;
    case EntryKind::Void:
        if (const int position = positionOfIssue(entry.refersTo); position >= 0) {
            m_rows[size_t(position)].voided = true;
            m_rows[size_t(position)].voidReason = entry.note;
        } else if (const auto payment = m_payments.constFind(entry.refersTo); payment != m_payments.constEnd()) {
            m_paidByInvoice[payment->invoiceId] -= payment->amount;
            m_payments.erase(payment);
        }
        break;
    case EntryKind::Copy: // the issue it repeats is owed once: no row of its own
    case EntryKind::Unused:
    case EntryKind::Seal:
        break;
    }
}

PaymentStatus LedgerIndex::status(const IssuedInvoice &row) const
{
    return statusOf(row.issue.amount, paid(row), row.voided, row.issue.document);
}

QList<LedgerEntry> LedgerIndex::payments(const IssuedInvoice &row) const
{
    QList<LedgerEntry> found;
    for (const LedgerEntry &payment : m_payments) {
        if (payment.invoiceId == row.issue.invoiceId)
            found.append(payment);
    }
    std::sort(found.begin(), found.end(), [](const LedgerEntry &a, const LedgerEntry &b) { return a.id < b.id; });
    return found;
}

QList<int> LedgerIndex::search(const LedgerFilter &filter) const
{
    const QString customer = spacelessName(foldForSearch(filter.customer));
    const QString number = foldForSearch(filter.number.trimmed());
    const QDate today = filter.today.isValid() ? filter.today : QDate::currentDate();
    const bool needsStatus = !filter.statuses.isEmpty() || filter.pastDueOnly;
    QList<int> found;
    for (int position = int(m_rows.size()) - 1; position >= 0; --position) {
        const IssuedInvoice &row = m_rows[size_t(position)];
        if (filter.issueId != 0 && row.issue.id != filter.issueId)
            continue;
        if ((filter.from && row.date < *filter.from) || (filter.to && row.date > *filter.to))
            continue;
        if ((filter.minAmount && row.issue.amount < *filter.minAmount) ||
            (filter.maxAmount && row.issue.amount > *filter.maxAmount))
            continue;
        if (!customer.isEmpty() && !spacelessName(row.issue.customerFolded).contains(customer))
            continue;
        if (!number.isEmpty() && !row.numberFolded.contains(number))
            continue;
        if (filter.document && row.issue.document != *filter.document)
            continue;
        if (needsStatus) {
            const PaymentStatus status = this->status(row);
            if (!filter.statuses.isEmpty() && !filter.statuses.contains(status))
                continue;
            if (filter.pastDueOnly && !isPastDue(status, row.issue.dueDate, today))
                continue;
        }
        found.append(position);
    }
    return found;
}

LedgerTotals LedgerIndex::totals(const QList<int> &positions, bool oneKind) const
{
    LedgerTotals totals;
    for (int position : positions) {
        const IssuedInvoice &row = m_rows[size_t(position)];
        ++totals.count;
        const bool owed = isReceivable(row.issue.document);
        if (row.voided || row.superseded || (!owed && !oneKind))
            continue;
        totals.amount += row.issue.amount;
        if (owed)
            totals.outstanding += std::max<qint64>(0, row.issue.amount - paid(row));
    }
    return totals;
}

LedgerIndex indexOf(LedgerStore &store)
{
    LedgerIndex index;
    for (const LedgerEntry &entry : store.entries().value())
        index.add(entry);
    return index;
}

} // namespace seikyu::test
