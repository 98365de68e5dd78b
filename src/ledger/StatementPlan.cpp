#include "ledger/StatementPlan.h"

#include "ledger/SearchFolding.h"
#include "sections/DateText.h"
#include "table/SumsRows.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace seikyu {

namespace {

const QString NoteHeading = QStringLiteral("合計請求書 ");
const QString PeriodSeparator = QStringLiteral("..");

/// One document of the ledger: its first issue's id and the latest issue that stands.
struct Standing
{
    qint64 first = 0;
    const LedgerEntry *latest = nullptr;
};

/// Each issue's document, named by its first issue: an issue again of a document refers to an
/// earlier issue of it.
QHash<qint64, qint64> firstIssuesOf(const QList<LedgerEntry> &entries)
{
    QHash<qint64, qint64> firstOf;
    for (const LedgerEntry &entry : entries) {
        if (entry.kind == EntryKind::Issue)
            firstOf.insert(entry.id, entry.refersTo != 0 ? firstOf.value(entry.refersTo, entry.refersTo) : entry.id);
    }
    return firstOf;
}

/// Every document of the customer, by its first issue: issues again of one document count as one,
/// as its latest issue that was not voided; a document with every issue voided is left out. Without
/// `customerKey`, every customer's.
QList<Standing> standingDocuments(const QList<LedgerEntry> &entries, const QHash<qint64, qint64> &firstOf,
                                  const std::optional<QString> &customerKey, const QSet<qint64> &voided)
{
    QHash<qint64, Standing> byFirst;
    QList<qint64> order;
    for (const LedgerEntry &entry : entries) {
        if (entry.kind != EntryKind::Issue)
            continue;
        const qint64 first = firstOf.value(entry.id);
        if ((customerKey && spacelessName(foldForSearch(entry.customer)) != *customerKey) || voided.contains(entry.id))
            continue;
        if (!byFirst.contains(first))
            order.append(first);
        byFirst[first] = {first, &entry};
    }
    QList<Standing> documents;
    for (const qint64 first : order)
        documents.append(byFirst.value(first));
    return documents;
}

QSet<qint64> voidedEntries(const QList<LedgerEntry> &entries)
{
    QSet<qint64> voided;
    for (const LedgerEntry &entry : entries) {
        if (entry.kind == EntryKind::Void)
            voided.insert(entry.refersTo);
    }
    return voided;
}

} // namespace

QString slipReference(const LedgerEntry &slip)
{
    const QString number = slip.number.trimmed();
    return number.isEmpty() ? QStringLiteral("#%1").arg(slip.invoiceId != 0 ? slip.invoiceId : slip.id) : number;
}

QString madeFromNote(const QString &document)
{
    return QStringLiteral("%1 から").arg(document);
}

QString statementNote(const StatementFacts &statement)
{
    QStringList lines{NoteHeading + statement.from.toString(Qt::ISODate) + PeriodSeparator +
                      statement.to.toString(Qt::ISODate)};
    lines.append(statement.slips);
    return lines.join(QLatin1Char('\n'));
}

std::optional<StatementFacts> statementOfNote(const QString &note)
{
    QStringList lines = note.split(QLatin1Char('\n'));
    if (!lines.constFirst().startsWith(NoteHeading))
        return std::nullopt;
    const QStringList period = lines.takeFirst().mid(NoteHeading.size()).split(PeriodSeparator);
    if (period.size() != 2)
        return std::nullopt;
    StatementFacts statement;
    statement.from = QDate::fromString(period.at(0), Qt::ISODate);
    statement.to = QDate::fromString(period.at(1), Qt::ISODate);
    if (!statement.from.isValid() || !statement.to.isValid())
        return std::nullopt;
    statement.slips = lines;
    return statement;
}

StatementPlan planStatement(const QList<LedgerEntry> &entries, const QString &customer, const QDate &from,
                            const QDate &to)
{
    const QSet<qint64> voided = voidedEntries(entries);
    const QHash<qint64, qint64> firstOf = firstIssuesOf(entries);
    const QList<Standing> documents =
        standingDocuments(entries, firstOf, spacelessName(foldForSearch(customer)), voided);

    StatementPlan plan;
    plan.facts.from = from;
    plan.facts.to = to;
    QSet<QString> billed;
    const LedgerEntry *previous = nullptr;
    std::optional<StatementFacts> previousFacts;
    for (const Standing &document : documents) {
        if (document.latest->document != DocumentKind::Invoice)
            continue;
        const std::optional<StatementFacts> facts = statementOfNote(document.latest->note);
        if (!facts)
            continue;
        for (const QString &slip : facts->slips)
            billed.insert(slip);
        if (facts->from <= to && facts->to >= from)
            plan.overlapping = *document.latest;
        // The latest closing before this period; of two with the same closing, the later recorded.
        if (facts->to < from && (!previousFacts || facts->to > previousFacts->to ||
                                 (facts->to == previousFacts->to && document.latest->id > previous->id))) {
            previous = document.latest;
            previousFacts = facts;
        }
    }

    if (previous) {
        plan.previousStatement = previous->id;
        QSet<qint64> owedBefore; // the invoices recorded up to the previous statement
        for (const Standing &document : documents) {
            if (document.latest->document != DocumentKind::Invoice || document.first > previous->id)
                continue;
            owedBefore.insert(document.first);
            plan.facts.previous += document.latest->amount;
        }
        for (const LedgerEntry &entry : entries) {
            if (entry.kind != EntryKind::Payment || voided.contains(entry.id) ||
                !owedBefore.contains(firstOf.value(entry.refersTo, entry.refersTo)))
                continue;
            if (entry.id < previous->id)
                plan.facts.previous -= entry.amount;
            else
                plan.facts.paid += entry.amount;
        }
    }

    for (const Standing &document : documents) {
        const LedgerEntry &slip = *document.latest;
        LedgerEntry counted = slip;
        counted.invoiceId = document.first;
        if (slip.document == DocumentKind::Delivery && slip.invoiceDate >= from && slip.invoiceDate <= to &&
            !billed.contains(slipReference(counted)))
            plan.slips.append(counted);
    }
    std::stable_sort(plan.slips.begin(), plan.slips.end(), [](const LedgerEntry &a, const LedgerEntry &b) {
        return a.invoiceDate != b.invoiceDate ? a.invoiceDate < b.invoiceDate : a.number < b.number;
    });
    for (const LedgerEntry &slip : std::as_const(plan.slips))
        plan.facts.slips.append(slipReference(slip));
    return plan;
}

QList<ChainProblem> statementOverlaps(const QList<LedgerEntry> &entries)
{
    struct Statement
    {
        const LedgerEntry *issue;
        StatementFacts facts;
        QString customer;
    };
    QList<Statement> statements;
    for (const Standing &document :
         standingDocuments(entries, firstIssuesOf(entries), std::nullopt, voidedEntries(entries))) {
        if (document.latest->document != DocumentKind::Invoice)
            continue;
        if (std::optional<StatementFacts> facts = statementOfNote(document.latest->note))
            statements.append({document.latest, *facts, spacelessName(foldForSearch(document.latest->customer))});
    }
    QList<ChainProblem> overlaps;
    QSet<qint64> named; // statements already reported
    for (qsizetype later = 1; later < statements.size(); ++later) {
        const Statement &one = statements.at(later);
        for (qsizetype earlier = 0; earlier < later && !named.contains(one.issue->id); ++earlier) {
            const Statement &other = statements.at(earlier);
            if (one.customer != other.customer || one.facts.from > other.facts.to || one.facts.to < other.facts.from)
                continue;
            named.insert(one.issue->id);
            ChainProblem overlap{ChainProblem::Kind::StatementOverlap, one.issue->id, {}, one.issue->number};
            overlap.otherEntryId = other.issue->id;
            overlaps.append(overlap);
        }
    }
    return overlaps;
}

Invoice slipFromEntry(const LedgerEntry &slip)
{
    Invoice invoice;
    invoice.kind = DocumentKind::Delivery;
    invoice.date = slip.invoiceDate;
    invoice.number = slip.number;
    invoice.taxRate = StandardRate;
    QList<TaxLine> lines = slip.taxes;
    if (lines.isEmpty())
        lines.append({StandardRate, slip.amount, 0, false});
    invoice.taxOnTop = std::none_of(lines.begin(), lines.end(), [](const TaxLine &line) { return line.included; });
    const QString name = QStringLiteral("納品書 No. %1").arg(slip.number.trimmed());
    for (const TaxLine &line : std::as_const(lines)) {
        const QString rate = lines.size() > 1 ? QStringLiteral("（%1%対象）").arg(line.rate) : QString();
        ItemRow row(rowDateText(slip.invoiceDate), name + rate, line.base, qint64(1), line.base);
        row.setTaxClass(line.rate == 0             ? TaxClass::Exempt
                        : line.rate == ReducedRate ? TaxClass::Reduced
                                                   : TaxClass::Standard);
        invoice.rows.append(row);
    }
    return invoice;
}

} // namespace seikyu
