#include "ledger/LedgerSqlSearch.h"

#include "ledger/LedgerSchema.h"
#include "ledger/SearchFolding.h"

#include <QDateTime>
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

/// The issues with what later entries say of them: paid, voided, superseded. Narrow, as every issue
/// found passes through the sums; the page's few rows are read whole afterwards.
const QString IssueFacts = QStringLiteral(
    "SELECT e.id, e.amount, e.due_date, "
    "COALESCE((SELECT sum(p.amount) FROM ledger_entries p WHERE p.kind = 'payment' AND p.invoice_id = e.invoice_id "
    "AND NOT EXISTS (SELECT 1 FROM ledger_entries pv WHERE pv.kind = 'void' AND pv.refers_to = p.id)), 0) AS paid, "
    "(SELECT max(v.note) FROM ledger_entries v WHERE v.kind = 'void' AND v.refers_to = e.id) AS void_reason, "
    "EXISTS (SELECT 1 FROM ledger_entries r WHERE r.kind = 'issue' AND r.refers_to = e.id) AS superseded, "
    "%1 AS sort_key "
    "FROM ledger_entries e WHERE e.kind = 'issue'");

/// What a column sorts by, read in the narrow query; the columns worked out of the payments sort
/// on the outside, where paid and voided are known.
QString innerSortKey(const QSqlDatabase &db, LedgerOrder order)
{
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    // Text sorts as the table's own string comparison does: by code, whatever the server's locale.
    const QString byCode = postgres ? QStringLiteral(" COLLATE \"C\"") : QString();
    // An issue without an invoice date sorts by the day it was recorded here, in this computer's
    // time zone as it is now.
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const QString recordedDay =
        postgres ? QStringLiteral("to_char(CAST(substr(e.recorded_at, 1, 19) AS timestamp) + interval '%1 seconds', "
                                  "'YYYY-MM-DD')")
                       .arg(offset)
                 : QStringLiteral("date(substr(e.recorded_at, 1, 19), '%1%2 seconds')")
                       .arg(offset < 0 ? QString() : QStringLiteral("+"))
                       .arg(offset);
    switch (order) {
    case LedgerOrder::Date:
        return QStringLiteral("CASE WHEN e.invoice_date <> '' THEN e.invoice_date ELSE %1 END").arg(recordedDay);
    case LedgerOrder::Number:
        return QStringLiteral("e.number") + byCode;
    case LedgerOrder::Customer:
        return QStringLiteral("e.customer") + byCode;
    case LedgerOrder::Amount:
        return QStringLiteral("e.amount");
    case LedgerOrder::Due:
        return QStringLiteral("e.due_date");
    case LedgerOrder::Recorded:
    case LedgerOrder::Paid:
    case LedgerOrder::Status:
        break;
    }
    return QStringLiteral("0");
}

QString outerSortKey(LedgerOrder order)
{
    switch (order) {
    case LedgerOrder::Recorded:
        return QStringLiteral("id");
    case LedgerOrder::Paid:
        return QStringLiteral("paid");
    case LedgerOrder::Status:
        return QStringLiteral("CASE WHEN voided THEN 3 WHEN paid >= amount THEN 2 WHEN paid > 0 THEN 1 ELSE 0 END");
    default:
        return QStringLiteral("sort_key");
    }
}

QString statusCondition(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::Voided:
        return QStringLiteral("voided");
    case PaymentStatus::Paid:
        return QStringLiteral("(NOT voided AND paid >= amount)");
    case PaymentStatus::PartlyPaid:
        return QStringLiteral("(NOT voided AND paid < amount AND paid > 0)");
    case PaymentStatus::Unpaid:
        return QStringLiteral("(NOT voided AND paid < amount AND paid <= 0)");
    }
    return QStringLiteral("FALSE");
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
    return entry;
}

} // namespace

std::optional<LedgerPage> searchLedger(const QSqlDatabase &db, const LedgerFilter &filter, const LedgerSlice &slice,
                                       QString *error)
{
    const int limit = std::max(slice.limit, 1);
    QStringList where;
    QVariantList values;
    if (filter.from || filter.to) {
        const QString from = filter.from ? filter.from->toString(Qt::ISODate) : QStringLiteral("0000-00-00");
        const QString to = filter.to ? filter.to->toString(Qt::ISODate) : QStringLiteral("9999-99-99");
        // An issue without an invoice date is dated by the local day it was recorded: the moments
        // from the range's first local midnight to the one after its last day.
        auto moment = [](const std::optional<QDate> &day, int days, const QString &beyond) {
            return day ? timestampText(day->addDays(days).startOfDay().toUTC()) : beyond;
        };
        where.append(QStringLiteral("((e.invoice_date >= ? AND e.invoice_date <= ?) OR (e.invoice_date = '' AND "
                                    "e.recorded_at >= ? AND e.recorded_at < ?))"));
        values << from << to << moment(filter.from, 0, QStringLiteral("0"))
               << moment(filter.to, 1, QStringLiteral("~"));
    }
    if (filter.issueId != 0) {
        where.append(QStringLiteral("e.id = ?"));
        values << filter.issueId;
    }
    if (filter.minAmount) {
        where.append(QStringLiteral("e.amount >= ?"));
        values << *filter.minAmount;
    }
    if (filter.maxAmount) {
        where.append(QStringLiteral("e.amount <= ?"));
        values << *filter.maxAmount;
    }
    if (const QString customer = foldForSearch(filter.customer.trimmed()); !customer.isEmpty()) {
        where.append(QStringLiteral("e.customer_folded LIKE ? ESCAPE '\\'"));
        values << likePattern(customer);
    }
    if (const QString number = foldForSearch(filter.number.trimmed()); !number.isEmpty()) {
        where.append(QStringLiteral("lower(e.number) LIKE ? ESCAPE '\\'"));
        values << likePattern(number);
    }
    QStringList outer;
    if (!filter.statuses.isEmpty()) {
        QStringList any;
        for (PaymentStatus status : filter.statuses)
            any.append(statusCondition(status));
        outer.append(QLatin1Char('(') + any.join(QLatin1String(" OR ")) + QLatin1Char(')'));
    }
    if (filter.pastDueOnly) {
        const QDate today = filter.today.isValid() ? filter.today : QDate::currentDate();
        outer.append(QStringLiteral("(NOT voided AND paid < amount AND due_date <> '' AND due_date < '%1')")
                         .arg(today.toString(Qt::ISODate)));
    }
    QString inner = IssueFacts.arg(innerSortKey(db, slice.order));
    for (const QString &condition : where)
        inner += QStringLiteral(" AND ") + condition;
    const QString found =
        // A void's reason is never NULL, so one look at the voids gives both the reason and the fact.
        QStringLiteral("SELECT * FROM (SELECT *, void_reason IS NOT NULL AS voided FROM (%1) AS facts) AS found%2")
            .arg(inner, outer.isEmpty() ? QString() : QStringLiteral(" WHERE ") + outer.join(QLatin1String(" AND ")));

    // One pass: the sums over everything found ride along each row of the page.
    LedgerPage page;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT *, count(*) OVER () AS found_count, "
                       "sum(CASE WHEN voided OR superseded THEN 0 ELSE amount END) OVER () AS found_amount, "
                       "sum(CASE WHEN voided OR superseded OR paid >= amount THEN 0 ELSE amount - paid END) "
                       "OVER () AS found_outstanding FROM (%1) AS counted ORDER BY %2 %3, id DESC "
                       "LIMIT %4 OFFSET %5")
            .arg(found, outerSortKey(slice.order), slice.descending ? QStringLiteral("DESC") : QStringLiteral("ASC"))
            .arg(limit)
            .arg(std::max(slice.offset, 0)));
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return std::nullopt;
    }
    QStringList ids;
    while (query.next()) {
        page.totals.count = query.value(QStringLiteral("found_count")).toInt();
        page.totals.amount = query.value(QStringLiteral("found_amount")).toLongLong();
        page.totals.outstanding = query.value(QStringLiteral("found_outstanding")).toLongLong();
        if (page.rows.size() >= limit)
            break;
        IssuedInvoice row;
        row.issue.id = query.value(0).toLongLong();
        row.voidReason = query.value(4).toString();
        row.superseded = query.value(5).toBool();
        row.voided = query.value(QStringLiteral("voided")).toBool();
        page.rows.append(row);
        page.paid.append(query.value(3).toLongLong());
        ids.append(QString::number(row.issue.id));
    }
    query.finish();
    if (ids.isEmpty())
        return page;

    QHash<qint64, LedgerEntry> whole;
    query.prepare(QStringLiteral("SELECT %1 FROM ledger_entries WHERE id IN (%2)")
                      .arg(entryColumns(CurrentSchemaVersion), ids.join(QLatin1Char(','))));
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return std::nullopt;
    }
    while (query.next()) {
        const LedgerEntry entry = issueOfRow(query);
        whole.insert(entry.id, entry);
    }
    for (IssuedInvoice &row : page.rows) {
        row.issue = whole.value(row.issue.id);
        row.date = row.issue.invoiceDate.isValid() ? row.issue.invoiceDate : row.issue.recordedAt.toLocalTime().date();
        row.numberFolded = foldForSearch(row.issue.number);
    }
    return page;
}

} // namespace seikyu
