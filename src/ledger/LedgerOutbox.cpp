#include "ledger/LedgerOutbox.h"

#include "document/PrivateFiles.h"
#include "ledger/EntryJson.h"
#include "ledger/IssueIntents.h"
#include "ledger/KeptLog.h"
#include "ledger/LedgerStore.h"
#include "ledger/NumberSequence.h"
#include "ledger/RecordingPlace.h"
#include "ledger/ServerLedger.h"
#include "table/Amounts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace seikyu {

namespace {

/// Gives an entry made here what it keeps while away from the server: its origin, its time, the
/// user and the machine.
void stamp(LedgerEntry &entry)
{
    if (entry.origin.isEmpty())
        entry.origin = QStringLiteral("outbox:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!entry.recordedAt.isValid())
        entry.recordedAt = QDateTime::currentDateTimeUtc();
    entry.recordedAt = timestampOfText(timestampText(entry.recordedAt));
    if (entry.issuedByUser.isEmpty() && entry.issuedByHost.isEmpty()) {
        entry.issuedByUser = recordingUserName();
        entry.issuedByHost = recordingHostName();
    }
}

} // namespace

QString waitingText(int count)
{
    if (count <= 0)
        return QString();
    return QCoreApplication::translate("seikyu::LedgerOutbox", "%n entries waiting to be sent", nullptr, count);
}

void referTo(LedgerEntry &entry, const LedgerEntry &target)
{
    entry.refersTo = target.id;
    entry.refersToOrigin = target.id == 0 ? target.origin : QString();
}

void acknowledge(LedgerEntry &receipt, const LedgerEntry &payment)
{
    receipt.acknowledges = payment.id;
    receipt.acknowledgesOrigin = payment.id == 0 ? payment.origin : QString();
}

QString refusedText(const LedgerEntry &entry, const QString &reason)
{
    QString what;
    switch (entry.kind) {
    case EntryKind::Issue:
    case EntryKind::Copy:
        what = entry.number.isEmpty()
                   ? QCoreApplication::translate("seikyu::LedgerOutbox", "The invoice to %1 for %2")
                         .arg(entry.customer, mark(entry.amount))
                   : QCoreApplication::translate("seikyu::LedgerOutbox", "The invoice %1 to %2 for %3")
                         .arg(entry.number, entry.customer, mark(entry.amount));
        break;
    case EntryKind::Payment:
        what = QCoreApplication::translate("seikyu::LedgerOutbox", "The payment of %1 received on %2")
                   .arg(mark(entry.amount), entry.paymentDate.toString(Qt::ISODate));
        break;
    case EntryKind::Void:
        what = QCoreApplication::translate("seikyu::LedgerOutbox", "The void “%1”").arg(entry.note);
        break;
    case EntryKind::Unused:
        what = QCoreApplication::translate("seikyu::LedgerOutbox", "The unused number %1").arg(entry.number);
        break;
    case EntryKind::Seal: // made by the ledger itself, never sent
        break;
    }
    // A reason of whole sentences (a right the role lacks, and what to do) follows; a short one is put in brackets.
    if (reason.endsWith(QLatin1Char('.')) || reason.endsWith(QChar(u'。')))
        return QCoreApplication::translate("seikyu::LedgerOutbox",
                                           "%1, recorded on this computer, was refused by the ledger's server. %2 It "
                                           "is kept aside on this computer and is not in the ledger; record it again "
                                           "once that is put right.")
            .arg(what, reason);
    return QCoreApplication::translate("seikyu::LedgerOutbox",
                                       "%1, recorded on this computer, was refused by the ledger's server (%2). It "
                                       "is kept aside on this computer and is not in the ledger; record it again if "
                                       "it still applies.")
        .arg(what, reason);
}

LedgerOutbox::LedgerOutbox() : m_connection(QStringLiteral("QSQLITE"), QStringLiteral("seikyu-outbox")) {}

QSqlDatabase LedgerOutbox::database() const
{
    return m_connection.database();
}

LedgerOutbox::~LedgerOutbox() = default;

Result<std::unique_ptr<LedgerOutbox>> LedgerOutbox::open(const QString &path)
{
    if (!makePrivateFolder(QFileInfo(path).absolutePath())) {
        const QString reason = QStringLiteral("the folder of %1 cannot be created").arg(path);
        return Fault{FaultKind::Unwritable, reason, reason};
    }
    std::unique_ptr<LedgerOutbox> outbox(new LedgerOutbox);
    QSqlDatabase db = outbox->database();
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!db.open())
        return sqlFault(db.lastError(), FaultKind::Unwritable);
    keepDatabasePrivate(path);
    QSqlQuery query(db);
    // FULL: an entry the user was told is kept survives a power cut, not only a crash.
    for (const QString &statement :
         {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
          QStringLiteral("CREATE TABLE IF NOT EXISTS outbox (position INTEGER PRIMARY KEY AUTOINCREMENT, "
                         "origin TEXT NOT NULL UNIQUE, entry TEXT NOT NULL)"),
          QStringLiteral("CREATE TABLE IF NOT EXISTS refused (position INTEGER PRIMARY KEY AUTOINCREMENT, "
                         "origin TEXT NOT NULL UNIQUE, entry TEXT NOT NULL, reason TEXT NOT NULL, "
                         "refused_at TEXT NOT NULL)"),
          IssueIntents::createStatement()}) {
        // Setting up a new file, another process may hold it a moment without the busy wait.
        if (!execPatiently(query, statement))
            return sqlFault(query.lastError(), FaultKind::Unwritable);
    }
    // Each issue commits here twice (its intent, then its end): a log made afresh by every run
    // would cost its creation's syncs and a fold into the file at each close.
    keepLogBetweenRuns(db, 100);
    return outbox;
}

Result<LedgerEntry> LedgerOutbox::add(LedgerEntry entry)
{
    stamp(entry);
    QSqlQuery query(database());
    query.prepare(QStringLiteral("INSERT OR IGNORE INTO outbox (origin, entry) VALUES (?, ?)"));
    query.addBindValue(entry.origin);
    query.addBindValue(QString::fromUtf8(entryToJson(entry)));
    if (!query.exec())
        return sqlFault(query.lastError(), FaultKind::Unwritable);
    return entry;
}

int LedgerOutbox::count() const
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT count(*) FROM outbox")) && query.next())
        return query.value(0).toInt();
    return 0;
}

QList<LedgerEntry> LedgerOutbox::waiting() const
{
    QList<LedgerEntry> entries;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT entry FROM outbox ORDER BY position")))
        return entries;
    while (query.next()) {
        if (std::optional<LedgerEntry> entry = entryFromJson(query.value(0).toString().toUtf8()))
            entries.append(*entry);
    }
    return entries;
}

OutboxSending LedgerOutbox::send(LedgerStore &server)
{
    OutboxSending sending;
    const QSqlDatabase db = database();
    QSet<QString> refusedOrigins;
    for (const RefusedEntry &aside : refused())
        refusedOrigins.insert(aside.entry.origin);
    for (const LedgerEntry &entry : waiting()) {
        QString reason;
        std::optional<LedgerEntry> recorded;
        if (!entry.refersToOrigin.isEmpty() && refusedOrigins.contains(entry.refersToOrigin)) {
            reason = QCoreApplication::translate("seikyu::LedgerOutbox",
                                                 "the entry it refers to was refused and is kept aside too");
        } else {
            // Typed while away: recorded all the same, as the clash it is, and said.
            if (const NumberUse use = server.numberUseOf(entry).value_or(NumberUse());
                use.kind == NumberUse::Kind::Clash)
                sending.numberClashes.append(numberTakenText(entry.number, *use.earlier));
            Result<LedgerEntry> result = server.record(entry);
            const bool refused = !result && result.fault().kind == FaultKind::Refused;
            if (result)
                recorded = std::move(result).value();
            else
                reason = refused ? serverRefusalText(server.database(), result.message()) : result.message();
            if (!result && !refused) {
                // A connection the server dropped fails without a word from the driver.
                sending.error = reason.isEmpty()
                                    ? QCoreApplication::translate("seikyu::LedgerOutbox", "The server does not answer.")
                                    : reason;
                break;
            }
        }
        if (!recorded) {
            // Sending it again would be refused again; keeping it waiting would hold back the rest.
            if (const Result<LedgerEntry> aside = setAside(entry, reason); !aside) {
                sending.error = aside.message();
                break;
            }
            refusedOrigins.insert(entry.origin);
            sending.refused.append(refusedText(entry, reason));
            continue;
        }
        QSqlQuery remove(db);
        remove.prepare(QStringLiteral("DELETE FROM outbox WHERE origin = ?"));
        remove.addBindValue(entry.origin);
        if (!remove.exec()) {
            sending.error = remove.lastError().text();
            break;
        }
        ++sending.sent;
    }
    sending.waiting = count();
    return sending;
}

Result<LedgerEntry> LedgerOutbox::setAside(LedgerEntry entry, const QString &reason)
{
    stamp(entry);
    QSqlDatabase db = database();
    if (!db.transaction())
        return sqlFault(db.lastError(), FaultKind::Unwritable);
    QSqlQuery query(db);
    // Another process sending the same outbox may have set it aside already.
    query.prepare(
        QStringLiteral("INSERT OR IGNORE INTO refused (origin, entry, reason, refused_at) VALUES (?, ?, ?, ?)"));
    query.addBindValue(entry.origin);
    query.addBindValue(QString::fromUtf8(entryToJson(entry)));
    query.addBindValue(reason);
    query.addBindValue(timestampText(QDateTime::currentDateTimeUtc()));
    bool done = query.exec();
    if (done) {
        query.prepare(QStringLiteral("DELETE FROM outbox WHERE origin = ?"));
        query.addBindValue(entry.origin);
        done = query.exec();
    }
    if (!done || !db.commit()) {
        const Fault fault = sqlFault(done ? db.lastError() : query.lastError(), FaultKind::Unwritable);
        db.rollback();
        return fault;
    }
    return entry;
}

QList<RefusedEntry> LedgerOutbox::refused() const
{
    QList<RefusedEntry> found;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT entry, reason, refused_at FROM refused ORDER BY position")))
        return found;
    while (query.next()) {
        if (std::optional<LedgerEntry> entry = entryFromJson(query.value(0).toString().toUtf8()))
            found.append({*entry, query.value(1).toString(), timestampOfText(query.value(2).toString())});
    }
    return found;
}

int LedgerOutbox::refusedCount() const
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT count(*) FROM refused")) && query.next())
        return query.value(0).toInt();
    return 0;
}

} // namespace seikyu
