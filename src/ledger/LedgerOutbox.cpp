#include "ledger/LedgerOutbox.h"

#include "ledger/EntryJson.h"
#include "ledger/LedgerStore.h"
#include "ledger/NumberSequence.h"
#include "ledger/RecordingPlace.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace seikyu {

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("seikyu-outbox-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

void setReason(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
}

} // namespace

QString waitingText(int count)
{
    if (count <= 0)
        return QString();
    return QCoreApplication::translate("seikyu::LedgerOutbox", "%n entries waiting to be sent", nullptr, count);
}

LedgerOutbox::LedgerOutbox(QString connection) : m_connection(std::move(connection)) {}

LedgerOutbox::~LedgerOutbox()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

std::unique_ptr<LedgerOutbox> LedgerOutbox::open(const QString &path, QString *error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        setReason(error, QStringLiteral("the folder of %1 cannot be created").arg(path));
        return nullptr;
    }
    const QString name = nextConnectionName();
    std::unique_ptr<LedgerOutbox> outbox(new LedgerOutbox(name));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!db.open()) {
        setReason(error, db.lastError().text());
        return nullptr;
    }
    QSqlQuery query(db);
    // FULL: an entry the user was told is kept survives a power cut, not only a crash.
    for (const QString &statement :
         {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
          QStringLiteral("CREATE TABLE IF NOT EXISTS outbox (position INTEGER PRIMARY KEY AUTOINCREMENT, "
                         "origin TEXT NOT NULL UNIQUE, entry TEXT NOT NULL)")}) {
        if (!query.exec(statement)) {
            setReason(error, query.lastError().text());
            return nullptr;
        }
    }
    return outbox;
}

std::optional<LedgerEntry> LedgerOutbox::add(LedgerEntry entry, QString *error)
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
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("INSERT OR IGNORE INTO outbox (origin, entry) VALUES (?, ?)"));
    query.addBindValue(entry.origin);
    query.addBindValue(QString::fromUtf8(entryToJson(entry)));
    if (!query.exec()) {
        setReason(error, query.lastError().text());
        return std::nullopt;
    }
    return entry;
}

int LedgerOutbox::count() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(QStringLiteral("SELECT count(*) FROM outbox")) && query.next())
        return query.value(0).toInt();
    return 0;
}

QList<LedgerEntry> LedgerOutbox::waiting() const
{
    QList<LedgerEntry> entries;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
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
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    for (const LedgerEntry &entry : waiting()) {
        if (entry.kind == EntryKind::Issue) {
            QString ignored;
            if (const std::optional<LedgerEntry> holder =
                    holderOfNumber(server.database(), entry.number, entry.customer, &ignored);
                holder && holder->id != 0)
                sending.numberClashes.append(numberTakenText(entry.number, *holder));
        }
        const std::optional<LedgerEntry> recorded = server.record(entry, &sending.error);
        if (!recorded) {
            // A connection the server dropped fails without a word from the driver.
            if (sending.error.isEmpty())
                sending.error = QCoreApplication::translate("seikyu::LedgerOutbox", "The server does not answer.");
            break;
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

} // namespace seikyu
