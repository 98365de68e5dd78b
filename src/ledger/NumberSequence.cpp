#include "ledger/NumberSequence.h"

#include "table/Amounts.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

/// Counts the sequence on by one in a single statement; the row lock makes it atomic. Through the
/// owner's function: the office's login may not change the counters itself.
/// The database's words for what it could not do: shown as they are, and logged.
Fault serverFault(FaultKind kind, const QSqlQuery &query)
{
    const QString said = query.lastError().text().trimmed();
    return Fault{kind, said, said};
}

Result<qint64> countOn(const QSqlDatabase &db, const QString &counter)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT ledger_take_number(?, 1)"));
    query.addBindValue(counter);
    if (!query.exec() || !query.next())
        return serverFault(FaultKind::Unwritable, query);
    return query.value(0).toLongLong();
}

Result<bool> numberInLedger(const QSqlDatabase &db, const QString &number)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT 1 FROM ledger_entries WHERE kind = 'issue' AND number = ? LIMIT 1"));
    query.addBindValue(number);
    if (!query.exec())
        return serverFault(FaultKind::Unreadable, query);
    return query.next();
}

} // namespace

Result<NumberProposal> takeSharedNumber(const QSqlDatabase &db, const QString &pattern, const QDate &date)
{
    const QString counter = numberCounter(pattern, date);
    // Numbers typed by hand may sit ahead of the count; each is passed over once, so this ends.
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const Result<qint64> sequence = countOn(db, counter);
        if (!sequence)
            return sequence.fault();
        NumberProposal proposal = proposeNumber(pattern, date, *sequence - 1);
        const Result<bool> inLedger = numberInLedger(db, proposal.text);
        if (!inLedger)
            return inLedger.fault();
        if (!*inLedger)
            return proposal;
    }
    const QString exhausted = QStringLiteral("no free number in the sequence %1").arg(counter);
    return Fault{FaultKind::Refused, exhausted, exhausted};
}

Result<NumberProposal> peekSharedNumber(const QSqlDatabase &db, const QString &pattern, const QDate &date)
{
    const QString counter = numberCounter(pattern, date);
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT last_used FROM ledger_numbers WHERE counter = ?"));
    query.addBindValue(counter);
    if (!query.exec())
        return serverFault(FaultKind::Unreadable, query);
    return proposeNumber(pattern, date, query.next() ? query.value(0).toLongLong() : 0);
}

Result<bool> giveBackSharedNumber(const QSqlDatabase &db, const NumberProposal &taken)
{
    QSqlQuery query(db);
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    // The office's login may not change the counters itself: the function does it with the owner's rights.
    query.prepare(postgres ? QStringLiteral("SELECT ledger_give_back_number(?, ?)")
                           : QStringLiteral("UPDATE ledger_numbers SET last_used = last_used - 1 "
                                            "WHERE counter = ? AND last_used = ?"));
    query.addBindValue(taken.counter);
    query.addBindValue(taken.sequence);
    if (!query.exec())
        return serverFault(FaultKind::Unwritable, query);
    return postgres ? query.next() && query.value(0).toBool() : query.numRowsAffected() == 1;
}

Result<std::optional<LedgerEntry>> holderOfNumber(const QSqlDatabase &db, const QString &number,
                                                  const QString &customer)
{
    if (number.trimmed().isEmpty())
        return std::optional<LedgerEntry>();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT id, customer, invoice_date, recorded_at, issued_by_user, issued_by_host, "
                                 "amount FROM ledger_entries WHERE kind = 'issue' AND number = ? AND customer <> ? "
                                 "ORDER BY id LIMIT 1"));
    query.addBindValue(number);
    // A null text would bind as NULL, which no customer differs from.
    query.addBindValue(customer.isNull() ? QStringLiteral("") : customer);
    if (!query.exec())
        return serverFault(FaultKind::Unreadable, query);
    if (!query.next())
        return std::optional<LedgerEntry>();
    LedgerEntry holder;
    holder.id = query.value(0).toLongLong();
    holder.number = number;
    holder.customer = query.value(1).toString();
    holder.invoiceDate = QDate::fromString(query.value(2).toString(), Qt::ISODate);
    holder.recordedAt = timestampOfText(query.value(3).toString());
    holder.issuedByUser = query.value(4).toString();
    holder.issuedByHost = query.value(5).toString();
    holder.amount = query.value(6).toLongLong();
    return std::optional<LedgerEntry>(holder);
}

QString numberTakenText(const QString &number, const LedgerEntry &holder)
{
    QString text =
        QCoreApplication::translate("seikyu::NumberSequence",
                                    "No. %1 is already in the ledger: entry %2, for %3, %4, dated %5.")
            .arg(number)
            .arg(holder.id)
            .arg(holder.customer, mark(holder.amount),
                 holder.invoiceDate.isValid() ? holder.invoiceDate.toString(Qt::ISODate) : QStringLiteral("-"));
    if (!holder.issuedByUser.isEmpty())
        text += QLatin1Char(' ') + QCoreApplication::translate("seikyu::NumberSequence", "Recorded by %1 on %2.")
                                       .arg(holder.issuedByUser, holder.issuedByHost);
    return text;
}

namespace {
const QString NumberTakenDetail = QStringLiteral("number held by another invoice");
}

Fault numberTakenFault(const QString &number, const LedgerEntry &holder)
{
    return Fault{FaultKind::Refused, numberTakenText(number, holder), NumberTakenDetail};
}

bool isNumberTaken(const Fault &fault)
{
    return fault.kind == FaultKind::Refused && fault.detail == NumberTakenDetail;
}

} // namespace seikyu
