#include "ledger/NumberSequence.h"

#include "ledger/Reason.h"
#include "table/Amounts.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

/// Counts the sequence on by one in a single statement; the row lock makes it atomic. Through the
/// owner's function: the office's login may not change the counters itself.
std::optional<qint64> countOn(const QSqlDatabase &db, const QString &counter, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT ledger_take_number(?, 1)"));
    query.addBindValue(counter);
    if (!query.exec() || !query.next()) {
        setReason(error, query.lastError().text().trimmed());
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

bool numberInLedger(const QSqlDatabase &db, const QString &number, bool *inLedger, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT 1 FROM ledger_entries WHERE kind = 'issue' AND number = ? LIMIT 1"));
    query.addBindValue(number);
    if (!query.exec()) {
        setReason(error, query.lastError().text().trimmed());
        return false;
    }
    *inLedger = query.next();
    return true;
}

} // namespace

std::optional<NumberProposal> takeSharedNumber(const QSqlDatabase &db, const QString &pattern, const QDate &date,
                                               QString *error)
{
    const QString counter = numberCounter(pattern, date);
    // Numbers typed by hand may sit ahead of the count; each is passed over once, so this ends.
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const std::optional<qint64> sequence = countOn(db, counter, error);
        if (!sequence)
            return std::nullopt;
        NumberProposal proposal = proposeNumber(pattern, date, *sequence - 1);
        bool taken = false;
        if (!numberInLedger(db, proposal.text, &taken, error))
            return std::nullopt;
        if (!taken)
            return proposal;
    }
    setReason(error, QStringLiteral("no free number in the sequence %1").arg(counter));
    return std::nullopt;
}

std::optional<NumberProposal> peekSharedNumber(const QSqlDatabase &db, const QString &pattern, const QDate &date,
                                               QString *error)
{
    const QString counter = numberCounter(pattern, date);
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT last_used FROM ledger_numbers WHERE counter = ?"));
    query.addBindValue(counter);
    if (!query.exec()) {
        setReason(error, query.lastError().text().trimmed());
        return std::nullopt;
    }
    return proposeNumber(pattern, date, query.next() ? query.value(0).toLongLong() : 0);
}

bool giveBackSharedNumber(const QSqlDatabase &db, const NumberProposal &taken, QString *error)
{
    QSqlQuery query(db);
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    // The office's login may not change the counters itself: the function does it with the owner's rights.
    query.prepare(postgres ? QStringLiteral("SELECT ledger_give_back_number(?, ?)")
                           : QStringLiteral("UPDATE ledger_numbers SET last_used = last_used - 1 "
                                            "WHERE counter = ? AND last_used = ?"));
    query.addBindValue(taken.counter);
    query.addBindValue(taken.sequence);
    if (!query.exec()) {
        setReason(error, query.lastError().text().trimmed());
        return false;
    }
    return postgres ? query.next() && query.value(0).toBool() : query.numRowsAffected() == 1;
}

std::optional<LedgerEntry> holderOfNumber(const QSqlDatabase &db, const QString &number, const QString &customer,
                                          QString *error)
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT id, customer, invoice_date, recorded_at, issued_by_user, issued_by_host, "
                                 "amount FROM ledger_entries WHERE kind = 'issue' AND number = ? AND customer <> ? "
                                 "ORDER BY id LIMIT 1"));
    query.addBindValue(number);
    // A null text would bind as NULL, which no customer differs from.
    query.addBindValue(customer.isNull() ? QStringLiteral("") : customer);
    if (!query.exec()) {
        setReason(error, query.lastError().text().trimmed());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    LedgerEntry holder;
    holder.id = query.value(0).toLongLong();
    holder.number = number;
    holder.customer = query.value(1).toString();
    holder.invoiceDate = QDate::fromString(query.value(2).toString(), Qt::ISODate);
    holder.recordedAt = timestampOfText(query.value(3).toString());
    holder.issuedByUser = query.value(4).toString();
    holder.issuedByHost = query.value(5).toString();
    holder.amount = query.value(6).toLongLong();
    return holder;
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

} // namespace seikyu
