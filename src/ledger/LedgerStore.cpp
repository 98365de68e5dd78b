#include "ledger/LedgerStore.h"

#include "document/PrivateFiles.h"
#include "invoice/InvoiceFile.h"
#include "ledger/IssueTableCheck.h"
#include "ledger/LedgerAnchor.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerRoles.h"
#include "ledger/RecordingPlace.h"
#include "ledger/SearchFolding.h"
#include "ledger/StatementPlan.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>
#include <QVariant>

namespace seikyu {

namespace {

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

} // namespace

LedgerEntry entryOfRow(const QSqlQuery &query, int version)
{
    LedgerEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.kind = entryKindOfKey(query.value(1).toString()).value_or(EntryKind::Issue);
    entry.recordedAt = timestampOfText(query.value(2).toString());
    entry.channel = channelOfKey(query.value(3).toString());
    entry.refersTo = query.value(4).toLongLong();
    entry.title = query.value(5).toString();
    entry.number = query.value(6).toString();
    entry.invoiceDate = dateOfText(query.value(7).toString());
    entry.customer = query.value(8).toString();
    entry.honorific = query.value(9).toString();
    entry.registrationNumber = query.value(10).toString();
    entry.amount = query.value(11).toLongLong();
    entry.taxes = decodeTaxLines(query.value(12).toString());
    entry.withholding = query.value(13).toLongLong();
    entry.dueDate = dateOfText(query.value(14).toString());
    entry.sourcePath = query.value(15).toString();
    entry.pdfSha256 = query.value(16).toString();
    entry.archiveName = query.value(17).toString();
    entry.note = query.value(18).toString();
    entry.paymentDate = dateOfText(query.value(19).toString());
    entry.previousHash = query.value(20).toString();
    entry.hash = query.value(21).toString();
    if (version >= 2) {
        entry.invoiceId = query.value(22).toLongLong();
        entry.customerFolded = query.value(23).toString();
    }
    if (version >= 3) {
        entry.issuedByUser = query.value(24).toString();
        entry.issuedByHost = query.value(25).toString();
        entry.origin = query.value(26).toString();
    }
    entry.hashForm = version >= 5 ? query.value(27).toInt() : 1;
    if (version >= 7) {
        entry.document = documentKindOf(query.value(29).toString());
        entry.acknowledges = query.value(30).toLongLong();
    }
    return entry;
}

namespace {

/// The entries' columns named through `table`, the alias a query gives ledger_entries ("e.id, e.kind, …").
QString entryColumnsOf(const QString &table, int version)
{
    const QString prefix = table + QLatin1Char('.');
    return prefix + entryColumns(version).replace(QLatin1String(", "), QLatin1String(", ") + prefix);
}

/// The columns' values as the store writes them, in entryColumns' order.
QVariantList storedValues(const LedgerEntry &entry)
{
    // The folded number, derived and outside the hash, is worked out again here, so Verify names a
    // changed one.
    QVariantList values{QVariant(entry.id),
                        QVariant(entryKindKey(entry.kind)),
                        QVariant(timestampText(entry.recordedAt)),
                        QVariant(channelKey(entry.channel)),
                        QVariant(entry.refersTo),
                        QVariant(entry.title),
                        QVariant(entry.number),
                        QVariant(dateText(entry.invoiceDate)),
                        QVariant(entry.customer),
                        QVariant(entry.honorific),
                        QVariant(entry.registrationNumber),
                        QVariant(entry.amount),
                        QVariant(encodeTaxLines(entry.taxes)),
                        QVariant(entry.withholding),
                        QVariant(dateText(entry.dueDate)),
                        QVariant(entry.sourcePath),
                        QVariant(entry.pdfSha256),
                        QVariant(entry.archiveName),
                        QVariant(entry.note),
                        QVariant(dateText(entry.paymentDate)),
                        QVariant(entry.previousHash),
                        QVariant(entry.hash),
                        QVariant(entry.invoiceId),
                        QVariant(entry.customerFolded),
                        QVariant(entry.issuedByUser),
                        QVariant(entry.issuedByHost),
                        QVariant(entry.origin),
                        QVariant(entry.hashForm),
                        QVariant(foldForSearch(entry.number)),
                        QVariant(documentKindText(entry.document)),
                        QVariant(entry.acknowledges)};
    for (QVariant &value : values) {
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            value = QString(QLatin1String(""));
    }
    return values;
}

/// Whether the row holds exactly what the store writes for the entry read from it: a column the
/// reading would pass over (a stray part of the taxes, a number stored as other text) is a change too.
/// An entry of hash form 1, which its seal covers as older versions read it, is checked only in the
/// columns those versions did not have: every such entry is an invoice's, acknowledging nothing.
bool rowAsStored(const QSqlQuery &query, const LedgerEntry &entry)
{
    const QVariantList values = storedValues(entry);
    // A ledger read as an older schema kept it holds fewer columns.
    const int sealedColumns = entry.hashForm >= 2 ? 0 : int(entryColumns(6).count(QLatin1Char(',')) + 1);
    for (int i = sealedColumns; i < std::min(values.size(), qsizetype(query.record().count())); ++i) {
        if (query.value(i).toString() != values.at(i).toString())
            return false;
    }
    return true;
}

} // namespace

FaultKind faultKindOf(const QSqlError &error, FaultKind otherwise)
{
    // PostgreSQL names the class of an error in a five-character SQLSTATE. A data exception (22)
    // or an integrity violation (23) is about the entry itself, except a duplicate key, which may
    // be another writer's and passes when tried again. A right the role lacks (42501) and a
    // trigger's refusal (P0) do not pass by themselves either: sending again would fail the same
    // way until the administrator puts it right.
    if (const QString state = error.nativeErrorCode();
        state.size() == 5 && (state.startsWith(QLatin1String("22")) || state == QLatin1String("42501") ||
                              state.startsWith(QLatin1String("P0")) ||
                              (state.startsWith(QLatin1String("23")) && state != QLatin1String("23505"))))
        return FaultKind::Refused;
    // SQLite's primary result codes, as the driver reports them.
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (numeric) {
        switch (code) {
        case 8:  // SQLITE_READONLY
        case 10: // SQLITE_IOERR
        case 13: // SQLITE_FULL
        case 14: // SQLITE_CANTOPEN
            return FaultKind::Unwritable;
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return FaultKind::BadInput;
        default:
            break;
        }
    }
    const QString text = error.text();
    if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")))
        return FaultKind::BadInput;
    if (text.contains(QLatin1String("readonly")) || text.contains(QLatin1String("read-only")) ||
        text.contains(QLatin1String("disk is full")) || text.contains(QLatin1String("unable to open")))
        return FaultKind::Unwritable;
    return otherwise;
}

Fault sqlFault(const QSqlError &error, FaultKind otherwise)
{
    return Fault{faultKindOf(error, otherwise), error.text(), error.text()};
}

bool isBusy(const QSqlError &error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (numeric)
        return code == 5 || code == 6; // SQLITE_BUSY, SQLITE_LOCKED
    return error.text().contains(QLatin1String("database is locked"));
}

Result<std::unique_ptr<LedgerStore>> LedgerStore::openSqlite(const QString &path, LedgerAccess access)
{
    const QFileInfo info(path);
    const bool readOnly = access == LedgerAccess::ReadOnly;
    const bool inMemory = path == QLatin1String(":memory:");
    if (const std::optional<QString> wal = walDamage(path + QStringLiteral("-wal")))
        return Fault{FaultKind::BadInput, *wal, *wal};
    if (readOnly && !info.exists()) {
        const QString missing = QStringLiteral("%1 does not exist").arg(path);
        return Fault{FaultKind::NotFound, missing, missing};
    }
    if (!readOnly && !inMemory && !makePrivateFolder(info.absolutePath())) {
        const QString unmade = QStringLiteral("the folder %1 cannot be created").arg(info.absolutePath());
        return Fault{FaultKind::Unwritable, unmade, unmade};
    }
    auto connection = std::make_unique<SqlConnection>(QStringLiteral("QSQLITE"), QStringLiteral("seikyu-ledger"));
    {
        QSqlDatabase db = connection->database();
        db.setDatabaseName(path);
        // Another process holding the write lock is waited for rather than failed on.
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000;QSQLITE_OPEN_READONLY")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
        if (!db.open()) {
            const FaultKind kind = faultKindOf(db.lastError(), FaultKind::Unwritable);
            return Fault{kind == FaultKind::BadInput ? FaultKind::BadInput : FaultKind::Unwritable,
                         db.lastError().text(), db.lastError().text()};
        }
    }
    // Before the first write makes the journal files, which take the database's permissions.
    if (!inMemory)
        keepDatabasePrivate(path);
    auto store = std::make_unique<LedgerStore>(std::move(connection), sqliteDialect());
    if (const Result<void> prepared = readOnly ? store->prepareToRead() : store->prepare(); !prepared)
        return prepared.fault();
    return store;
}

LedgerStore::LedgerStore(std::unique_ptr<SqlConnection> connection, LedgerDialect dialect)
    : m_connection(std::move(connection)), m_dialect(std::move(dialect))
{}

LedgerStore::~LedgerStore() = default;

QSqlDatabase LedgerStore::database() const
{
    return m_connection->database();
}

bool execPatiently(QSqlQuery &query, const QString &statement)
{
    // SQLite answers "busy" at once, without its busy wait, where waiting could deadlock: while
    // another connection changes the journal mode, recovers a WAL or sets up a new file. Asked
    // again a moment later, it goes through; for a few seconds at most, then it is a failure.
    const QDeadlineTimer patience(5000);
    bool done = query.exec(statement);
    while (!done && isBusy(query.lastError()) && !patience.hasExpired()) {
        QThread::msleep(20);
        done = query.exec(statement);
    }
    return done;
}

Result<void> LedgerStore::run(const QStringList &statements)
{
    QSqlQuery query(database());
    for (const QString &statement : statements) {
        if (!execPatiently(query, statement))
            return sqlFault(query.lastError(), FaultKind::Unwritable);
    }
    return {};
}

void LedgerStore::rollBack()
{
    // Nothing to tell when it fails: the transaction ends with the connection all the same.
    static_cast<void>(run({QStringLiteral("ROLLBACK")}));
}

int LedgerStore::schemaVersion()
{
    QSqlQuery query(database());
    if (execPatiently(query, QStringLiteral("SELECT value FROM ledger_meta WHERE key = 'schema_version'")) &&
        query.next())
        return query.value(0).toInt();
    return 0;
}

Result<void> LedgerStore::prepare()
{
    if (Result<void> setUp = run(m_dialect.sessionSetup); !setUp)
        return setUp;
    // Reading the schema tells a damaged file from a good one before anything is written.
    QSqlQuery probe(database());
    if (m_dialect.driver == QLatin1String("QSQLITE") &&
        !execPatiently(probe, QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return sqlFault(probe.lastError(), FaultKind::Unreadable);
    // Its read must end here: a write begun while it holds an older snapshot would be refused.
    probe.finish();
    const QStringList tables = database().tables();
    if (!tables.contains(QStringLiteral("ledger_entries"))) {
        if (Result<void> locked = run(m_dialect.beginWrite); !locked)
            return locked;
        if (!database().tables().contains(QStringLiteral("ledger_entries"))) {
            Result<void> created = run(createStatements(m_dialect, CurrentSchemaVersion));
            if (created)
                created = giveIdentity();
            if (!created) {
                rollBack();
                return created;
            }
        }
        if (Result<void> committed = run({QStringLiteral("COMMIT")}); !committed)
            return committed;
    }
    m_version = schemaVersion();
    if (m_version <= 0) {
        const QString unversioned = QStringLiteral("the ledger has no schema version");
        return Fault{FaultKind::BadInput, unversioned, unversioned};
    }
    std::optional<LedgerRights> rights;
    if (m_dialect.driver == QLatin1String("QPSQL")) {
        if (const Result<LedgerRights> read = ledgerRights(database()))
            rights = *read;
    }
    if (rights && !rights->mayAlter && m_version < CurrentSchemaVersion) {
        // The tables are the owner's: an office login that tried would fail halfway.
        m_awaitsAdministrator = true;
        const QString waits =
            QCoreApplication::translate("seikyu::LedgerStore",
                                        "An older Seikyu set up the ledger on the server (schema "
                                        "version %1), and this login may not change its tables: the "
                                        "administrator brings it up to date with seikyu --ledger-setup.")
                .arg(m_version);
        return Fault{FaultKind::Refused, waits};
    }
    while (m_version < CurrentSchemaVersion) {
        if (Result<void> migrated = migrate(m_version); !migrated)
            return migrated;
        m_version = schemaVersion();
    }
    if (rights && rights->mayAlter) {
        if (Result<void> kept = keepOwnerFunctions(*rights); !kept)
            return kept;
    }
    m_loginMayAlter = rights && rights->mayAlter;
    readIdentity();
    // A ledger written by a newer Seikyu is read as far as this one knows it.
    return {};
}

void LedgerStore::readIdentity()
{
    QSqlQuery identity(database());
    if (identity.exec(QStringLiteral("SELECT value FROM ledger_meta WHERE key = 'ledger_id'")) && identity.next())
        m_identity = identity.value(0).toString();
}

Result<void> LedgerStore::prepareToRead()
{
    m_readOnly = true;
    QSqlQuery probe(database());
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return sqlFault(probe.lastError(), FaultKind::Unreadable);
    probe.finish();
    m_version = database().tables().contains(QStringLiteral("ledger_entries")) ? schemaVersion() : 0;
    if (m_version <= 0) {
        const QString unversioned = QStringLiteral("the ledger has no table of entries or no schema version");
        return Fault{FaultKind::BadInput, unversioned, unversioned};
    }
    readIdentity();
    return {};
}

Result<void> LedgerStore::keepOwnerFunctions(const LedgerRights &rights)
{
    // Made once per ledger (and again after a migration replaced the trigger function), not on
    // every opening; under the write lock, so two openings do not replace them at once.
    if (m_version < 4 || ownerFunctionsInPlace(database()))
        return {};
    if (Result<void> locked = run(m_dialect.beginWrite); !locked)
        return locked;
    if (!ownerFunctionsInPlace(database())) {
        if (Result<void> made = run(ownerFunctionStatements(rights.schema, rights.owns ? QString() : rights.owner));
            !made) {
            rollBack();
            return made;
        }
    }
    return run({QStringLiteral("COMMIT")});
}

Result<void> LedgerStore::giveIdentity()
{
    // Random, so the anchors of a local ledger, a shared one or two servers' never mix.
    return run({QStringLiteral("INSERT INTO ledger_meta (key, value) SELECT 'ledger_id', '%1' WHERE NOT EXISTS "
                               "(SELECT 1 FROM ledger_meta WHERE key = 'ledger_id')")
                    .arg(QUuid::createUuid().toString(QUuid::WithoutBraces))});
}

Result<void> LedgerStore::sealEarlierEntries()
{
    // The entries before hash form 2 leave who recorded them, their origin and what they derive
    // outside their hashes: one entry now covers all of that, and the chain goes on from it.
    // Read row by row: a shared ledger may hold millions.
    QSqlQuery read(database());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT %1 FROM ledger_entries ORDER BY id").arg(entryColumns(m_version))))
        return sqlFault(read.lastError(), FaultKind::Unreadable);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    LedgerEntry last;
    while (read.next()) {
        last = entryOfRow(read, m_version);
        digest.addData(rowBytes(last));
    }
    read.finish();
    if (last.id == 0)
        return {};
    LedgerEntry seal;
    seal.kind = EntryKind::Seal;
    seal.id = last.id + 1;
    seal.previousHash = last.hash;
    seal.recordedAt = timestampOfText(timestampText(QDateTime::currentDateTimeUtc()));
    seal.pdfSha256 = QString::fromLatin1(digest.result().toHex());
    seal.issuedByUser = recordingUserName();
    seal.issuedByHost = recordingHostName();
    seal.hash = entryHash(seal);
    if (Result<void> inserted = insert(seal); !inserted)
        return inserted;
    m_sealed = seal;
    return {};
}

Result<void> LedgerStore::migrate(int fromVersion)
{
    if (Result<void> locked = run(m_dialect.beginWrite); !locked)
        return locked;
    if (schemaVersion() != fromVersion) { // another process migrated it meanwhile
        static_cast<void>(run({QStringLiteral("COMMIT")}));
        return {};
    }
    QStringList steps = m_dialect.dropAppendOnlyGuards;
    steps += migrationStatements(m_dialect, fromVersion);
    Result<void> done = run(steps);
    if (done && fromVersion == 1) {
        m_version = 2;
        done = fillDerivedColumns();
    }
    if (done && fromVersion == 4) {
        m_version = 5;
        done = giveIdentity();
        if (done)
            done = sealEarlierEntries();
    }
    if (done && fromVersion == 5) {
        m_version = 6;
        done = fillFoldedNumbers();
    }
    if (done)
        done = run(m_dialect.appendOnlyGuards);
    if (!done) {
        rollBack();
        return done;
    }
    return run({QStringLiteral("COMMIT")});
}

Result<void> LedgerStore::fillDerivedColumns()
{
    // The derived columns are not covered by the hashes: filling them changes no recorded fact.
    QHash<qint64, qint64> invoiceOf;
    QSqlQuery read(database());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT id, kind, refers_to, customer FROM ledger_entries ORDER BY id")))
        return sqlFault(read.lastError(), FaultKind::Unreadable);
    QList<std::tuple<qint64, qint64, QString>> updates;
    while (read.next()) {
        const qint64 id = read.value(0).toLongLong();
        const qint64 refersTo = read.value(2).toLongLong();
        const qint64 invoice = invoiceOf.value(refersTo, read.value(1).toString() == QLatin1String("issue") ? id : 0);
        invoiceOf.insert(id, invoice);
        updates.append({id, invoice, foldForSearch(read.value(3).toString())});
    }
    read.finish();
    QSqlQuery write(database());
    write.prepare(QStringLiteral("UPDATE ledger_entries SET invoice_id = ?, customer_folded = ? WHERE id = ?"));
    for (const auto &[id, invoice, folded] : updates) {
        write.addBindValue(invoice);
        write.addBindValue(folded);
        write.addBindValue(id);
        if (!write.exec())
            return sqlFault(write.lastError(), FaultKind::Unwritable);
    }
    return {};
}

Result<void> LedgerStore::fillFoldedNumbers()
{
    // Derived and not hashed, as the folded customer's name: no recorded fact changes. Most numbers
    // are plain ASCII, which lower() folds alike: one statement for those, and one update each only
    // for the others (a shared ledger may hold millions of entries).
    QSqlQuery write(database());
    QSqlQuery read(database());
    read.setForwardOnly(true);
    bool done =
        write.exec(QStringLiteral("UPDATE ledger_entries SET number_folded = lower(number) WHERE number <> ''")) &&
        read.exec(QStringLiteral("SELECT id, number FROM ledger_entries WHERE number <> '' ORDER BY id"));
    QList<std::pair<qint64, QString>> updates;
    while (done && read.next()) {
        const QString number = read.value(1).toString();
        if (std::any_of(number.cbegin(), number.cend(), [](QChar c) { return c.unicode() >= 0x80; }))
            updates.append({read.value(0).toLongLong(), foldForSearch(number)});
    }
    done = done && write.prepare(QStringLiteral("UPDATE ledger_entries SET number_folded = ? WHERE id = ?"));
    for (qsizetype i = 0; done && i < updates.size(); ++i) {
        write.addBindValue(updates[i].second);
        write.addBindValue(updates[i].first);
        done = write.exec();
    }
    done = done && write.exec(QStringLiteral("UPDATE ledger_issues SET number_folded = (SELECT e.number_folded FROM "
                                             "ledger_entries e WHERE e.id = ledger_issues.id)"));
    if (!done) {
        const bool unread = read.lastError().isValid();
        return sqlFault(unread ? read.lastError() : write.lastError(),
                        unread ? FaultKind::Unreadable : FaultKind::Unwritable);
    }
    return {};
}

Result<LedgerEntry> LedgerStore::record(LedgerEntry entry)
{
    if (Result<void> locked = run(m_dialect.beginWrite); !locked)
        return locked.fault();
    Result<LedgerEntry> recorded = recordLocked(std::move(entry));
    if (!recorded) {
        rollBack();
        return recorded;
    }
    if (Result<void> committed = run({QStringLiteral("COMMIT")}); !committed) {
        rollBack();
        return committed.fault();
    }
    // Only once committed: the anchor may lag behind the ledger, never run ahead of it.
    keepHead(recorded->id, recorded->hash);
    return recorded;
}

Result<qsizetype> LedgerStore::recordAll(const QList<LedgerEntry> &entries)
{
    const Result<QList<LedgerEntry>> recorded = recordEach(entries);
    if (!recorded)
        return recorded.fault();
    return recorded->size();
}

Result<QList<LedgerEntry>> LedgerStore::recordEach(const QList<LedgerEntry> &entries)
{
    if (Result<void> locked = run(m_dialect.beginWrite); !locked)
        return locked.fault();
    m_inGroup = true;
    const auto grouped = qScopeGuard([this] {
        m_inGroup = false;
        m_groupInsert.reset();
    });
    QList<LedgerEntry> recorded;
    recorded.reserve(entries.size());
    for (const LedgerEntry &entry : entries) {
        Result<LedgerEntry> one = recordLocked(entry);
        if (!one) {
            rollBack();
            return one.fault();
        }
        recorded.append(std::move(one).value());
    }
    if (Result<void> committed = run({QStringLiteral("COMMIT")}); !committed) {
        rollBack();
        return committed.fault();
    }
    // The anchor moves once, to the group's newest entry.
    if (!recorded.isEmpty())
        keepHead(recorded.constLast().id, recorded.constLast().hash);
    return recorded;
}

Result<LedgerEntry> LedgerStore::recordLocked(LedgerEntry entry)
{
    QSqlQuery query(database());
    // Reading what the entry refers to fails as reading; the write itself says how it failed.
    auto failed = [](const QSqlQuery &q) { return sqlFault(q.lastError(), FaultKind::Unreadable); };
    if (!entry.origin.isEmpty()) { // made elsewhere: recorded once, however often it is sent
        query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE origin = ?"));
        query.addBindValue(entry.origin);
        if (!query.exec())
            return failed(query);
        if (query.next()) {
            const qint64 id = query.value(0).toLongLong();
            query.finish();
            if (std::optional<LedgerEntry> there = this->entry(id))
                return *there;
            const QString unread = QStringLiteral("entry %1 cannot be read").arg(id);
            return Fault{FaultKind::Unreadable, unread, unread};
        }
        query.finish();
    }
    // Made while the entry it names waited to be sent: that one is here by now, or never.
    const auto idOfOrigin = [&](const QString &origin, qint64 &id, const char *missing) -> Result<void> {
        if (id != 0 || origin.isEmpty())
            return {};
        query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE origin = ?"));
        query.addBindValue(origin);
        if (!query.exec())
            return failed(query);
        if (!query.next())
            return Fault{FaultKind::Refused, QCoreApplication::translate("seikyu::LedgerStore", missing)};
        id = query.value(0).toLongLong();
        query.finish();
        return {};
    };
    if (const Result<void> named =
            idOfOrigin(entry.refersToOrigin, entry.refersTo,
                       QT_TRANSLATE_NOOP("seikyu::LedgerStore", "the entry it refers to is not in the ledger"));
        !named)
        return named.fault();
    if (const Result<void> named =
            idOfOrigin(entry.acknowledgesOrigin, entry.acknowledges,
                       QT_TRANSLATE_NOOP("seikyu::LedgerStore", "the payment it acknowledges is not in the ledger"));
        !named)
        return named.fault();
    if (const Result<void> fits = checkAcknowledged(entry); !fits)
        return fits.fault();
    if (!query.exec(QStringLiteral("SELECT id, hash FROM ledger_entries ORDER BY id DESC LIMIT 1")))
        return failed(query);
    entry.id = 1;
    entry.previousHash = GenesisHash;
    if (query.next()) {
        entry.id = query.value(0).toLongLong() + 1;
        entry.previousHash = query.value(1).toString();
    }
    query.finish();

    const bool namesNoEarlierIssue = entry.kind == EntryKind::Issue && entry.refersTo == 0;
    if (namesNoEarlierIssue && !entry.number.isEmpty()) {
        // Whose number it is decides: the same invoice sent again unchanged is a copy, a reissue
        // only when the issue says so; another invoice's number is recorded as the clash it is,
        // hiding neither invoice.
        const Result<QList<HeldNumber>> held = issuesHolding(entry.number);
        if (!held)
            return held.fault();
        const NumberUse use = numberUse(entry, *held);
        if (use.kind == NumberUse::Kind::Copy)
            entry.kind = EntryKind::Copy;
        if (use.kind == NumberUse::Kind::Copy || use.kind == NumberUse::Kind::Reissue)
            entry.refersTo = use.earlier->id;
    } else if (namesNoEarlierIssue) {
        // A quotation made into the invoice in the same file is the invoice's first issue, no reissue.
        query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE kind = 'issue' AND number = '' AND "
                                     "source_path = ? AND source_path <> '' AND invoice_date = ? AND customer = ? "
                                     "AND document_kind = ? ORDER BY id DESC LIMIT 1"));
        query.addBindValue(entry.sourcePath);
        query.addBindValue(dateText(entry.invoiceDate));
        query.addBindValue(entry.customer);
        query.addBindValue(documentKindText(entry.document));
        if (!query.exec())
            return failed(query);
        if (query.next())
            entry.refersTo = query.value(0).toLongLong();
        query.finish();
    }

    entry.invoiceId = entry.kind == EntryKind::Issue ? entry.id : 0;
    if (entry.kind != EntryKind::Issue && entry.kind != EntryKind::Unused && entry.refersTo == 0) {
        // It would stay in the ledger for good, paying or voiding nothing.
        return Fault{FaultKind::Refused, QCoreApplication::translate("seikyu::LedgerStore", "it refers to no entry")};
    }
    if (entry.refersTo != 0) {
        query.prepare(
            QStringLiteral("SELECT kind, invoice_id, "
                           "(SELECT count(*) FROM ledger_entries v WHERE v.kind = 'void' AND v.refers_to = e.id), "
                           "document_kind FROM ledger_entries e WHERE id = ?"));
        query.addBindValue(entry.refersTo);
        if (!query.exec())
            return failed(query);
        if (!query.next()) {
            const QString missing = QStringLiteral("entry %1 does not exist").arg(entry.refersTo);
            return Fault{FaultKind::Refused, missing, missing};
        }
        const QString kind = query.value(0).toString();
        const bool voided = query.value(2).toLongLong() > 0;
        const DocumentKind document = documentKindOf(query.value(3).toString());
        if (entry.kind == EntryKind::Payment && kind == QLatin1String("issue") && !isReceivable(document)) {
            // Nothing is owed on it: a payment would make it read as a receivable settled.
            return Fault{FaultKind::Refused,
                         QCoreApplication::translate("seikyu::LedgerStore", "entry %1 (%2) is not an invoice: nothing "
                                                                            "is owed on it, and no payment is recorded "
                                                                            "against it")
                             .arg(entry.refersTo)
                             .arg(documentKindName(document))};
        }
        if (namesNoEarlierIssue && entry.number.isEmpty() && kind == QLatin1String("issue") && !voided) {
            // The same invoice sent again unchanged is owed once: a copy, not a reissue that
            // supersedes the first. A changed one (or one sent again after its void) is a reissue.
            if (const std::optional<LedgerEntry> earlier = this->entry(entry.refersTo);
                earlier && sameInvoiceFacts(*earlier, entry))
                entry.kind = EntryKind::Copy;
        }
        // An issue goes on a document of its own kind: a reissue never turns a quotation into an invoice.
        const bool fits =
            ((entry.kind == EntryKind::Issue || entry.kind == EntryKind::Copy) && kind == QLatin1String("issue") &&
             (entry.kind == EntryKind::Issue || !voided) && document == entry.document) ||
            (entry.kind == EntryKind::Payment && kind == QLatin1String("issue") && !voided) ||
            (entry.kind == EntryKind::Void && kind != QLatin1String("void") && !voided);
        if (!fits) {
            return Fault{
                FaultKind::Refused,
                voided && entry.kind != EntryKind::Issue
                    ? QCoreApplication::translate("seikyu::LedgerStore", "entry %1 is void").arg(entry.refersTo)
                    : QStringLiteral("entry %1 cannot be referred to that way").arg(entry.refersTo)};
        }
        if (entry.kind != EntryKind::Issue || kind == QLatin1String("issue"))
            entry.invoiceId = query.value(1).toLongLong();
        query.finish();
    }
    if (!entry.recordedAt.isValid())
        entry.recordedAt = QDateTime::currentDateTimeUtc();
    // Kept to the millisecond the text keeps, so the hash reads back the same.
    entry.recordedAt = timestampOfText(timestampText(entry.recordedAt));
    entry.customerFolded = foldForSearch(entry.customer);
    if (entry.issuedByUser.isEmpty() && entry.issuedByHost.isEmpty()) {
        entry.issuedByUser = recordingUserName();
        entry.issuedByHost = recordingHostName();
    }
    entry.hashForm = CurrentHashForm;
    entry.hash = entryHash(entry);
    if (m_version >= 4) {
        // What searches read of an entry removed outside Seikyu would refuse the id it left free,
        // and with it every recording after: no entry holds that id or a later one.
        query.prepare(m_dialect.clearIssuesFrom);
        query.addBindValue(entry.id);
        if (!query.exec())
            return sqlFault(query.lastError(), FaultKind::Unwritable);
        query.finish();
    }
    if (Result<void> inserted = insert(entry); !inserted)
        return inserted.fault();
    return entry;
}

Result<void> LedgerStore::checkAcknowledged(const LedgerEntry &entry)
{
    if (entry.acknowledges == 0)
        return {};
    const auto refused = [&entry](const QString &why) {
        return Fault{FaultKind::Refused,
                     QCoreApplication::translate("seikyu::LedgerStore", "entry %1 cannot be acknowledged: %2")
                         .arg(entry.acknowledges)
                         .arg(why)};
    };
    // Only a receipt acknowledges, and only a payment that stands.
    if ((entry.kind != EntryKind::Issue && entry.kind != EntryKind::Copy) || entry.document != DocumentKind::Receipt)
        return refused(QCoreApplication::translate("seikyu::LedgerStore", "only a receipt acknowledges a payment"));
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT kind, EXISTS (SELECT 1 FROM ledger_entries v WHERE v.kind = 'void' AND "
                                 "v.refers_to = e.id) FROM ledger_entries e WHERE id = ?"));
    query.addBindValue(entry.acknowledges);
    if (!query.exec())
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    if (!query.next() || query.value(0).toString() != QLatin1String("payment"))
        return refused(QCoreApplication::translate("seikyu::LedgerStore", "it is no payment"));
    if (query.value(1).toBool())
        return refused(QCoreApplication::translate("seikyu::LedgerStore", "the payment is void"));
    return {};
}

Result<QList<PaymentReceipts>> LedgerStore::paymentsOf(qint64 issueId)
{
    // Every payment of the invoice the issue belongs to, whichever of its issues it was made against.
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1, EXISTS (SELECT 1 FROM ledger_entries v WHERE v.kind = 'void' AND "
                                 "v.refers_to = e.id), (SELECT max(r.id) FROM ledger_entries r WHERE r.acknowledges = "
                                 "e.id AND r.kind IN ('issue', 'copy') AND NOT EXISTS (SELECT 1 FROM ledger_entries "
                                 "rv WHERE rv.kind = 'void' AND rv.refers_to = r.id)) FROM ledger_entries e WHERE "
                                 "e.kind = 'payment' AND e.invoice_id <> 0 AND e.invoice_id = (SELECT CASE WHEN "
                                 "i.invoice_id = 0 THEN i.id ELSE i.invoice_id END FROM ledger_entries i WHERE i.id = "
                                 "?) ORDER BY e.id")
                      .arg(entryColumnsOf(QStringLiteral("e"), m_version)));
    query.addBindValue(issueId);
    if (!query.exec())
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    QList<PaymentReceipts> found;
    const int voidedColumn = query.record().count() - 2;
    while (query.next())
        found.append({entryOfRow(query, m_version), query.value(voidedColumn).toBool(),
                      query.value(voidedColumn + 1).toLongLong()});
    return found;
}

Result<QList<HeldNumber>> LedgerStore::issuesHolding(const QString &number)
{
    QList<HeldNumber> held;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1, EXISTS (SELECT 1 FROM ledger_entries v WHERE v.kind = 'void' AND "
                                 "v.refers_to = e.id) FROM ledger_entries e WHERE e.kind = 'issue' AND e.number = ? "
                                 "ORDER BY e.id DESC")
                      .arg(entryColumnsOf(QStringLiteral("e"), m_version)));
    query.addBindValue(number);
    if (!query.exec())
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    const int voidedColumn = query.record().count() - 1;
    while (query.next())
        held.append({entryOfRow(query, m_version), query.value(voidedColumn).toBool()});
    return held;
}

Result<NumberUse> LedgerStore::numberUseOf(const LedgerEntry &issue)
{
    if (issue.kind != EntryKind::Issue || issue.number.isEmpty() || issue.refersTo != 0 ||
        !issue.refersToOrigin.isEmpty())
        return NumberUse();
    const Result<QList<HeldNumber>> held = issuesHolding(issue.number);
    if (!held)
        return held.fault();
    return numberUse(issue, *held);
}

Result<void> LedgerStore::insert(const LedgerEntry &entry)
{
    // The columns of the schema as it stands: a migration's seal goes in before the later columns exist.
    const QString columns = entryColumns(m_version);
    const QVariantList values = storedValues(entry).mid(0, columns.count(QLatin1Char(',')) + 1);
    // Within a group the statement is prepared once: with the triggers of the issues' table,
    // preparing it costs more than running it.
    std::optional<QSqlQuery> own;
    QSqlQuery *query =
        m_inGroup && m_groupInsert && m_groupInsert->columns == columns ? &m_groupInsert->query : nullptr;
    if (!query) {
        QSqlQuery &made = m_inGroup ? m_groupInsert.emplace(GroupInsert{columns, QSqlQuery(database())}).query
                                    : own.emplace(database());
        if (!made.prepare(QStringLiteral("INSERT INTO ledger_entries (%1) VALUES (%2)")
                              .arg(columns, QStringList(values.size(), QStringLiteral("?")).join(QLatin1Char(',')))))
            return sqlFault(made.lastError(), FaultKind::Unwritable);
        query = &made;
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query->bindValue(int(i), values[i]);
    if (!query->exec())
        return sqlFault(query->lastError(), FaultKind::Unwritable);
    query->finish();
    return {};
}

Result<LedgerEntry> LedgerStore::recordPayment(qint64 issueId, const QDate &date, qint64 amount, const QString &note)
{
    LedgerEntry payment;
    payment.kind = EntryKind::Payment;
    payment.refersTo = issueId;
    payment.paymentDate = date;
    payment.amount = amount;
    payment.note = note;
    return record(payment);
}

Result<LedgerEntry> LedgerStore::recordVoid(qint64 entryId, const QString &reason)
{
    LedgerEntry voiding;
    voiding.kind = EntryKind::Void;
    voiding.refersTo = entryId;
    voiding.note = reason;
    return record(voiding);
}

Result<QList<LedgerEntry>> LedgerStore::entries(qint64 afterId)
{
    return readEntries(afterId, nullptr);
}

Result<QList<LedgerEntry>> LedgerStore::readEntries(qint64 afterId, QList<qint64> *notAsStored)
{
    QList<LedgerEntry> found;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM ledger_entries WHERE id > ? ORDER BY id").arg(entryColumns(m_version)));
    query.addBindValue(afterId);
    if (!query.exec())
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    while (query.next()) {
        found.append(entryOfRow(query, m_version));
        if (notAsStored && !rowAsStored(query, found.constLast()))
            notAsStored->append(found.constLast().id);
    }
    return found;
}

std::optional<LedgerEntry> LedgerStore::entry(qint64 id)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM ledger_entries WHERE id = ?").arg(entryColumns(m_version)));
    query.addBindValue(id);
    if (query.exec() && query.next())
        return entryOfRow(query, m_version);
    return std::nullopt;
}

QList<ChainProblem> LedgerStore::searchTableProblems()
{
    // The table searches read is derived, outside the chain: when something changed it, each
    // issue it misstated is named, and the table is worked out again from the entries.
    QList<ChainProblem> problems;
    const Result<QList<qint64>> stale = issuesOutOfStep(database());
    if (!stale || stale->isEmpty())
        return problems;
    // A check that only reads leaves the table as it is, and says so.
    for (qint64 id : *stale)
        problems.append({m_readOnly ? ChainProblem::Kind::SearchChanged : ChainProblem::Kind::SearchStale, id, {}});
    if (m_readOnly)
        return problems;
    if (!run(m_dialect.beginWrite))
        return problems;
    if (!run(m_dialect.rebuildIssues) || !run({QStringLiteral("COMMIT")}))
        rollBack();
    return problems;
}

void LedgerStore::setAnchor(const QString &path, const QString &place, bool advances)
{
    m_anchorFile = path;
    m_place = place;
    m_advancesAnchor = advances;
}

void LedgerStore::keepHead(qint64 id, const QString &hash)
{
    if (m_anchorFile.isEmpty() || !m_advancesAnchor)
        return;
    // Not being able to write the anchor leaves it behind the ledger: checks stay sound, weaker.
    static_cast<void>(advanceAnchor(m_anchorFile, {m_identity, m_place, id, hash},
                                    [this](qint64 anchoredId, const QString &anchored) {
                                        QSqlQuery query(database());
                                        query.prepare(QStringLiteral("SELECT hash FROM ledger_entries WHERE id = ?"));
                                        query.addBindValue(anchoredId);
                                        return query.exec() && query.next() && query.value(0).toString() == anchored;
                                    }));
}

void LedgerStore::noteHead()
{
    if (m_anchorFile.isEmpty())
        return;
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT id, hash FROM ledger_entries ORDER BY id DESC LIMIT 1")) && query.next()) {
        const qint64 id = query.value(0).toLongLong();
        const QString hash = query.value(1).toString();
        query.finish();
        keepHead(id, hash);
    }
}

Result<QList<ChainProblem>> LedgerStore::verify(const QString &archiveFolder)
{
    Result<LedgerCheck> checked = check(archiveFolder, QString());
    if (!checked)
        return checked.fault();
    return std::move(checked).value().problems;
}

Result<LedgerCheck> LedgerStore::check(const QString &archiveFolder, const QString &thisHost)
{
    // The anchor is read before the entries: it is moved on only after a commit, so the entries
    // read next hold it even while other processes record.
    bool anchorUnreadable = false;
    const QList<LedgerAnchor> anchors =
        m_anchorFile.isEmpty() ? QList<LedgerAnchor>() : readAnchors(m_anchorFile, &anchorUnreadable);
    QList<qint64> notAsStored;
    Result<QList<LedgerEntry>> read = readEntries(0, &notAsStored);
    if (!read)
        return read.fault();
    const QList<LedgerEntry> all = std::move(read).value();
    // A ledger not yet brought to whole-row hashes (one opened without being migrated) has no seal.
    QList<ChainProblem> chainProblems = verifyChain(all, m_version >= 5);
    for (qint64 id : notAsStored) {
        if (const ChainProblem changed{ChainProblem::Kind::Changed, id, {}}; !chainProblems.contains(changed))
            chainProblems.append(changed);
    }
    // Entries changed outside Seikyu are named as such; what the search table says of them then
    // is no further news, and it is not worked out again from entries no longer trusted.
    const bool chainIntact = chainProblems.isEmpty();
    QHash<QString, QString> actual;
    const QDir folder(archiveFolder);
    for (const LedgerEntry &entry : all) {
        if (entry.archiveName.isEmpty() || actual.contains(entry.archiveName))
            continue;
        QFile file(folder.filePath(entry.archiveName));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&file);
        actual.insert(entry.archiveName, QString::fromLatin1(hash.result().toHex()));
    }
    LedgerCheck found = checkArchive(all, actual, thisHost);
    if (!archiveFolder.isEmpty())
        found.unrecorded = unrecordedArchiveFiles(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name), all);
    QList<ChainProblem> anchorProblems;
    if (anchorUnreadable)
        anchorProblems.append({ChainProblem::Kind::AnchorUnreadable, 0, m_anchorFile});
    else if (!m_anchorFile.isEmpty())
        anchorProblems = compareWithAnchors(anchors, m_identity, m_place, all);
    if (!all.isEmpty()) {
        found.headId = all.constLast().id;
        found.headHash = all.constLast().hash;
        if (chainIntact && anchorProblems.isEmpty())
            keepHead(found.headId, found.headHash);
    }
    found.problems = chainProblems + anchorProblems + found.problems + numberClashes(all) + statementOverlaps(all);
    if (m_dialect.driver == QLatin1String("QPSQL")) {
        // What the database itself guards, and whether this login could stop it guarding.
        found.problems += triggerProblems(database(), m_version).value_or({});
        found.loginMayAlter = ledgerRights(database()).value_or(LedgerRights()).mayAlter;
    }
    // Nor from a ledger cut back or put back: the table then keeps what this computer had seen.
    if (m_version >= 4 && chainIntact && anchorProblems.isEmpty())
        found.problems += searchTableProblems();
    found.names = entryNames(found.problems, all);
    return found;
}

} // namespace seikyu
