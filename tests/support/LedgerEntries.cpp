#include "support/LedgerEntries.h"

#include "ledger/LedgerOutbox.h"

namespace seikyu::test {

LedgerEntry issue(const QString &customer, qint64 amount, const QString &number)
{
    return issue(customer, amount, QDate(2026, 12, 7), number);
}

LedgerEntry issue(const QString &customer, qint64 amount, const QDate &date, const QString &number)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Issue;
    entry.channel = IssueChannel::Pdf;
    entry.customer = customer;
    entry.honorific = QStringLiteral("御中");
    entry.amount = amount;
    entry.invoiceDate = date;
    entry.number = number;
    entry.title = QStringLiteral("請求書");
    return entry;
}

LedgerEntry payment(const LedgerEntry &of, qint64 amount)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Payment;
    entry.amount = amount;
    entry.paymentDate = QDate(2026, 12, 20);
    referTo(entry, of);
    return entry;
}

LedgerEntry voiding(const LedgerEntry &of, const QString &why)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Void;
    entry.note = why;
    referTo(entry, of);
    return entry;
}

QList<LedgerEntry> chained(QList<LedgerEntry> entries, int hashForm, const QDateTime &firstRecorded)
{
    QString previous = GenesisHash;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        LedgerEntry &entry = entries[i];
        entry.id = i + 1;
        entry.hashForm = hashForm;
        entry.recordedAt = firstRecorded.addDays(i);
        entry.previousHash = previous;
        entry.hash = entryHash(entry);
        previous = entry.hash;
    }
    return entries;
}

} // namespace seikyu::test
