#include "ledger/LedgerSqlSearch.h"

#include "invoice/InvoiceFile.h"
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerStore.h"
#include "ledger/SearchFolding.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

QString likePattern(const QString &part)
{
    QString escaped = part;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

/// The column of ledger_issues a search's rows are ordered by.
QString sortColumn(LedgerOrder order)
{
    switch (order) {
    case LedgerOrder::Recorded:
        break;
    case LedgerOrder::Date:
        return QStringLiteral("day");
    case LedgerOrder::Number:
        return QStringLiteral("number");
    case LedgerOrder::Customer:
        return QStringLiteral("customer");
    case LedgerOrder::Amount:
        return QStringLiteral("amount");
    case LedgerOrder::Due:
        return QStringLiteral("due_date");
    case LedgerOrder::Paid:
        return QStringLiteral("paid");
    case LedgerOrder::Status:
        return QStringLiteral("status");
    case LedgerOrder::Document:
        return QStringLiteral("document_kind");
    }
    return QStringLiteral("id");
}

/// The stored status of each PaymentStatus (see ledger_issues.status).
int statusCode(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::Unpaid:
        return 0;
    case PaymentStatus::PartlyPaid:
        return 1;
    case PaymentStatus::Paid:
        return 2;
    case PaymentStatus::Voided:
        return 3;
    case PaymentStatus::NotOwed:
        return 4;
    }
    return -1;
}

LedgerEntry issueOfRow(const QSqlQuery &query)
{
    LedgerEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.kind = EntryKind::Issue;
    entry.recordedAt = timestampOfText(query.value(2).toString());
    entry.channel = channelOfKey(query.value(3).toString());
    entry.refersTo = query.value(4).toLongLong();
    entry.title = query.value(5).toString();
    entry.number = query.value(6).toString();
    entry.invoiceDate = QDate::fromString(query.value(7).toString(), Qt::ISODate);
    entry.customer = query.value(8).toString();
    entry.honorific = query.value(9).toString();
    entry.registrationNumber = query.value(10).toString();
    entry.amount = query.value(11).toLongLong();
    entry.taxes = decodeTaxLines(query.value(12).toString());
    entry.withholding = query.value(13).toLongLong();
    entry.dueDate = QDate::fromString(query.value(14).toString(), Qt::ISODate);
    entry.sourcePath = query.value(15).toString();
    entry.pdfSha256 = query.value(16).toString();
    entry.archiveName = query.value(17).toString();
    entry.note = query.value(18).toString();
    entry.previousHash = query.value(20).toString();
    entry.hash = query.value(21).toString();
    entry.invoiceId = query.value(22).toLongLong();
    entry.customerFolded = query.value(23).toString();
    entry.issuedByUser = query.value(24).toString();
    entry.issuedByHost = query.value(25).toString();
    entry.origin = query.value(26).toString();
    entry.hashForm = query.value(27).toInt();
    entry.document = documentKindOf(query.value(29).toString());
    entry.acknowledges = query.value(30).toLongLong();
    return entry;
}

} // namespace

Result<LedgerPage> searchLedger(const QSqlDatabase &db, const LedgerFilter &filter, const LedgerSlice &slice)
{
    const int limit = std::max(slice.limit, 1);
    // Every condition reads ledger_issues alone, where the triggers keep each issue's payments,
    // void and reissue beside the searched columns: no entry is looked at twice.
    QStringList where;
    QVariantList values;
    // SQLite keeps no figures of how values spread (the server does): looked up through an index
    // one by one, the rows of a wide range cost many times what reading the table costs. So in
    // SQLite a column's index is used only where the condition is likely narrow: dates within a
    // quarter, else an amount range; status and due date, which most issues pass, never.
    const bool guessing = db.driverName() == QLatin1String("QSQLITE");
    const bool narrowDates =
        filter.from && filter.to && filter.from->daysTo(*filter.to) >= 0 && filter.from->daysTo(*filter.to) <= 92;
    const QString noIndex = guessing ? QStringLiteral("+") : QString();
    const QString day = guessing && !narrowDates ? QStringLiteral("+day") : QStringLiteral("day");
    const QString amount = guessing && narrowDates ? QStringLiteral("+amount") : QStringLiteral("amount");
    if (filter.issueId != 0) {
        where.append(QStringLiteral("id = ?"));
        values << filter.issueId;
    }
    if (filter.from) {
        where.append(day + QStringLiteral(" >= ?"));
        values << filter.from->toString(Qt::ISODate);
    }
    if (filter.to) {
        where.append(day + QStringLiteral(" <= ?"));
        values << filter.to->toString(Qt::ISODate);
    }
    if (filter.minAmount) {
        where.append(amount + QStringLiteral(" >= ?"));
        values << *filter.minAmount;
    }
    if (filter.maxAmount) {
        where.append(amount + QStringLiteral(" <= ?"));
        values << *filter.maxAmount;
    }
    if (const QString customer = spacelessName(foldForSearch(filter.customer)); !customer.isEmpty()) {
        // The expression the server's trigram index is made on.
        where.append(QStringLiteral("replace(customer_folded, ' ', '') LIKE ? ESCAPE '\\'"));
        values << likePattern(customer);
    }
    if (const QString number = foldForSearch(filter.number.trimmed()); !number.isEmpty()) {
        where.append(QStringLiteral("number_folded LIKE ? ESCAPE '\\'"));
        values << likePattern(number);
    }
    if (!filter.statuses.isEmpty()) {
        QStringList codes;
        for (PaymentStatus status : filter.statuses)
            codes.append(QString::number(statusCode(status)));
        codes.sort();
        where.append(QStringLiteral("%1status IN (%2)").arg(noIndex, codes.join(QLatin1Char(','))));
    }
    if (filter.document) {
        where.append(QStringLiteral("document_kind = ?"));
        values << documentKindText(*filter.document);
    }
    if (filter.latestIssuesOnly)
        where.append(QStringLiteral("superseded = 0"));
    if (filter.pastDueOnly) {
        const QDate today = filter.today.isValid() ? filter.today : QDate::currentDate();
        where.append(QStringLiteral("%1status IN (0, 1) AND due_date <> '' AND %1due_date < ?").arg(noIndex));
        values << today.toString(Qt::ISODate);
    }
    const QString condition =
        where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QLatin1String(" AND "));
    auto run = [&](QSqlQuery &query, const QString &sql) {
        query.setForwardOnly(true);
        query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        return query.exec();
    };

    // The sums over everything found, then the page alone: with no condition, the page is read
    // off the sorted column's index.
    LedgerPage page;
    QSqlQuery query(db);
    const bool asksUnused = slice.offset <= 0 && filter.issueId == 0 && !filter.minAmount && !filter.maxAmount &&
                            filter.customer.trimmed().isEmpty() && filter.statuses.isEmpty() && !filter.pastDueOnly &&
                            !filter.document;
    if (asksUnused) {
        // The day a number was given up on stands for its invoice's date.
        QStringList unusedWhere{QStringLiteral("kind = 'unused'")};
        QVariantList unusedValues;
        if (filter.from) {
            unusedWhere.append(QStringLiteral("substr(recorded_at, 1, 10) >= ?"));
            unusedValues << filter.from->toString(Qt::ISODate);
        }
        if (filter.to) {
            unusedWhere.append(QStringLiteral("substr(recorded_at, 1, 10) <= ?"));
            unusedValues << filter.to->toString(Qt::ISODate);
        }
        if (const QString number = foldForSearch(filter.number.trimmed()); !number.isEmpty()) {
            unusedWhere.append(QStringLiteral("number_folded LIKE ? ESCAPE '\\'"));
            unusedValues << likePattern(number);
        }
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT %1 FROM ledger_entries WHERE %2 ORDER BY id")
                          .arg(entryColumns(CurrentSchemaVersion), unusedWhere.join(QLatin1String(" AND "))));
        for (const QVariant &value : std::as_const(unusedValues))
            query.addBindValue(value);
        if (!query.exec())
            return sqlFault(query.lastError(), FaultKind::Unreadable);
        while (query.next())
            page.unused.append(issueOfRow(query));
        query.finish();
    }
    // Only an invoice is owed; its amount is what the others repeat, unless they are what is asked for.
    if (!run(query,
             QStringLiteral("SELECT count(*), "
                            "sum(CASE WHEN voided <> 0 OR superseded <> 0%2 THEN 0 ELSE amount END), "
                            "sum(CASE WHEN voided <> 0 OR superseded <> 0 OR paid >= amount OR "
                            "document_kind <> 'invoice' THEN 0 ELSE amount - paid END) FROM ledger_issues%1")
                 .arg(condition, filter.document ? QString() : QStringLiteral(" OR document_kind <> 'invoice'"))))
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    if (query.next()) {
        page.totals.count = query.value(0).toInt();
        page.totals.amount = query.value(1).toLongLong();
        page.totals.outstanding = query.value(2).toLongLong();
    }
    query.finish();
    const int offset = std::max(slice.offset, 0);
    if (offset >= page.totals.count)
        return page;

    const QString direction = slice.descending ? QStringLiteral("DESC") : QStringLiteral("ASC");
    const QString column = sortColumn(slice.order);
    // Ties go newest recorded first, whichever way the column sorts.
    const QString order = slice.order == LedgerOrder::Recorded
                              ? QStringLiteral("id ") + direction
                              : QStringLiteral("%1 %2, id DESC").arg(column, direction);
    const QString rowsAsked = QStringLiteral("FROM ledger_issues%1 ORDER BY %2 LIMIT %3 OFFSET %4")
                                  .arg(condition, order)
                                  .arg(limit)
                                  .arg(offset);
    if (!run(query, QStringLiteral("SELECT id, paid, voided, void_reason, superseded ") + rowsAsked))
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    while (query.next()) {
        IssuedInvoice row;
        row.issue.id = query.value(0).toLongLong();
        row.voided = query.value(2).toLongLong() != 0;
        row.voidReason = query.value(3).toString();
        row.superseded = query.value(4).toLongLong() != 0;
        page.rows.append(row);
        page.paid.append(query.value(1).toLongLong());
    }
    query.finish();
    if (page.rows.isEmpty())
        return page;

    QHash<qint64, LedgerEntry> whole;
    // The same slice again rather than its ids spelled out: a download reads every row found.
    if (!run(query, QStringLiteral("SELECT %1 FROM ledger_entries WHERE id IN (SELECT id %2)")
                        .arg(entryColumns(CurrentSchemaVersion), rowsAsked)))
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    while (query.next()) {
        const LedgerEntry entry = issueOfRow(query);
        whole.insert(entry.id, entry);
    }
    query.finish();
    // Another invoice under the same number: both are shown, each naming the other.
    QHash<qint64, qint64> clashes;
    if (!run(query, QStringLiteral("SELECT i.id, (SELECT min(o.invoice_id) FROM ledger_issues o WHERE o.number = "
                                   "i.number AND o.document_kind = i.document_kind AND o.invoice_id <> i.invoice_id) "
                                   "FROM ledger_issues i WHERE i.number <> "
                                   "'' AND i.id IN (SELECT id %1)")
                        .arg(rowsAsked)))
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    while (query.next())
        clashes.insert(query.value(0).toLongLong(), query.value(1).toLongLong());
    for (IssuedInvoice &row : page.rows) {
        row.clashesWith = clashes.value(row.issue.id);
        row.issue = whole.value(row.issue.id);
        row.date = row.issue.invoiceDate.isValid() ? row.issue.invoiceDate : row.issue.recordedAt.toUTC().date();
        row.numberFolded = foldForSearch(row.issue.number);
    }
    return page;
}

} // namespace seikyu
