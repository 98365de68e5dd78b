#include "ledger/NumberSequence.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

void setReason(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
}

/// Counts the sequence on by one in a single statement; the row lock makes it atomic. Through the
/// owner's function: the office's login may not change the counters itself.
std::optional<qint64> countOn(const QSqlDatabase &db, const QString &counter, qint64 lastUsedHere, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT ledger_take_number(?, ?)"));
    query.addBindValue(counter);
    query.addBindValue(std::max<qint64>(lastUsedHere, 0) + 1);
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
                                               qint64 lastUsedHere, QString *error)
{
    const QString counter = numberCounter(pattern, date);
    // Numbers typed by hand may sit ahead of the count; each is passed over once, so this ends.
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const std::optional<qint64> sequence = countOn(db, counter, lastUsedHere, error);
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

std::optional<LedgerEntry> holderOfNumber(const QSqlDatabase &db, const QString &number, const QString &customer,
                                          QString *error)
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT id, customer, invoice_date, recorded_at, issued_by_user, issued_by_host "
                                 "FROM ledger_entries WHERE kind = 'issue' AND number = ? AND customer <> ? "
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
    return holder;
}

QString numberTakenText(const QString &number, const LedgerEntry &holder)
{
    QString text =
        QCoreApplication::translate("seikyu::NumberSequence", "No. %1 is already in the ledger: entry %2, for %3.")
            .arg(number)
            .arg(holder.id)
            .arg(holder.customer);
    if (!holder.issuedByUser.isEmpty())
        text += QLatin1Char(' ') + QCoreApplication::translate("seikyu::NumberSequence", "Recorded by %1 on %2.")
                                       .arg(holder.issuedByUser, holder.issuedByHost);
    return text;
}

} // namespace seikyu
