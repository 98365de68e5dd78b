#include "ledger/NumberUse.h"

#include <QHash>
#include <QSet>

namespace seikyu {

NumberUse numberUse(const LedgerEntry &issue, const QList<HeldNumber> &held)
{
    QList<const HeldNumber *> newestOfEach;
    QSet<qint64> invoices;
    for (const HeldNumber &one : held) {
        // Each kind of document numbers its own: a quotation and its invoice may share one.
        if (one.issue.document != issue.document)
            continue;
        const qint64 invoice = one.issue.invoiceId != 0 ? one.issue.invoiceId : one.issue.id;
        if (!invoices.contains(invoice)) {
            invoices.insert(invoice);
            newestOfEach.append(&one);
        }
    }
    if (newestOfEach.isEmpty())
        return {};
    for (const HeldNumber *one : std::as_const(newestOfEach)) {
        if (!one->voided && sameInvoiceFacts(one->issue, issue))
            return {NumberUse::Kind::Copy, one->issue};
    }
    if (!issue.reissue)
        return {NumberUse::Kind::Clash, newestOfEach.constFirst()->issue};
    for (const HeldNumber *one : std::as_const(newestOfEach)) {
        if (one->issue.customer == issue.customer)
            return {NumberUse::Kind::Reissue, one->issue};
    }
    return {NumberUse::Kind::Reissue, newestOfEach.constFirst()->issue};
}

QList<ChainProblem> numberClashes(const QList<LedgerEntry> &entries)
{
    QList<ChainProblem> clashes;
    // kind and number → the first issue of the first document of that kind carrying it
    QHash<std::pair<int, QString>, qint64> firstInvoice;
    QSet<qint64> named; // invoices already reported
    for (const LedgerEntry &entry : entries) {
        if (entry.kind != EntryKind::Issue || entry.number.isEmpty())
            continue;
        const qint64 invoice = entry.invoiceId != 0 ? entry.invoiceId : entry.id;
        const std::pair<int, QString> key{int(entry.document), entry.number};
        const auto first = firstInvoice.constFind(key);
        if (first == firstInvoice.constEnd()) {
            firstInvoice.insert(key, invoice);
        } else if (*first != invoice && !named.contains(invoice)) {
            named.insert(invoice);
            ChainProblem clash{ChainProblem::Kind::NumberClash, invoice, {}, entry.number};
            clash.otherEntryId = *first;
            clashes.append(clash);
        }
    }
    return clashes;
}

} // namespace seikyu
