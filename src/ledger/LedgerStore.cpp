#include "ledger/LedgerStore.h"

#include "document/PrivateFiles.h"
#include "ledger/IssueTableCheck.h"
#include "ledger/RecordingPlace.h"
#include "ledger/SearchFolding.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("seikyu-ledger-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

void setReason(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
}

void setFault(LedgerFault *fault, LedgerFault value)
{
    if (fault)
        *fault = value;
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

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
    return entry;
}

} // namespace

LedgerFault faultOf(const QSqlError &error)
{
    // PostgreSQL names the class of an error in a five-character SQLSTATE. A data exception (22)
    // or an integrity violation (23) is about the entry itself, except a duplicate key, which may
    // be another writer's and passes when tried again.
    if (const QString state = error.nativeErrorCode();
        state.size() == 5 && (state.startsWith(QLatin1String("22")) ||
                              (state.startsWith(QLatin1String("23")) && state != QLatin1String("23505"))))
        return LedgerFault::Refused;
    // SQLite's primary result codes, as the driver reports them.
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (numeric) {
        switch (code) {
        case 8:  // SQLITE_READONLY
        case 10: // SQLITE_IOERR
        case 13: // SQLITE_FULL
        case 14: // SQLITE_CANTOPEN
            return LedgerFault::Unwritable;
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return LedgerFault::Damaged;
        default:
            break;
        }
    }
    const QString text = error.text();
    if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")))
        return LedgerFault::Damaged;
    if (text.contains(QLatin1String("readonly")) || text.contains(QLatin1String("read-only")) ||
        text.contains(QLatin1String("disk is full")) || text.contains(QLatin1String("unable to open")))
        return LedgerFault::Unwritable;
    return LedgerFault::Other;
}

std::unique_ptr<LedgerStore> LedgerStore::openSqlite(const QString &path, LedgerFault *fault, QString *error)
{
    setFault(fault, LedgerFault::None);
    const QFileInfo info(path);
    if (!makePrivateFolder(info.absolutePath())) {
        setFault(fault, LedgerFault::Unwritable);
        setReason(error, QStringLiteral("the folder %1 cannot be created").arg(info.absolutePath()));
        return nullptr;
    }
    const QString name = nextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Another process holding the write lock is waited for rather than failed on.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
        if (!db.open()) {
            setFault(fault,
                     faultOf(db.lastError()) == LedgerFault::Damaged ? LedgerFault::Damaged : LedgerFault::Unwritable);
            setReason(error, db.lastError().text());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return nullptr;
        }
    }
    // Before the first write makes the journal files, which take the database's permissions.
    keepDatabasePrivate(path);
    auto store = std::make_unique<LedgerStore>(name, sqliteDialect());
    if (!store->prepare(error, fault))
        return nullptr;
    return store;
}

LedgerStore::LedgerStore(const QString &connectionName, LedgerDialect dialect)
    : m_connection(connectionName), m_dialect(std::move(dialect))
{}

LedgerStore::~LedgerStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase LedgerStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool LedgerStore::run(const QStringList &statements, QString *error, LedgerFault *fault)
{
    QSqlQuery query(database());
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            setReason(error, query.lastError().text());
            setFault(fault, faultOf(query.lastError()));
            return false;
        }
    }
    return true;
}

int LedgerStore::schemaVersion()
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT value FROM ledger_meta WHERE key = 'schema_version'")) && query.next())
        return query.value(0).toInt();
    return 0;
}

bool LedgerStore::prepare(QString *error, LedgerFault *fault)
{
    setFault(fault, LedgerFault::None);
    if (!run(m_dialect.sessionSetup, error, fault))
        return false;
    // Reading the schema tells a damaged file from a good one before anything is written.
    QSqlQuery probe(database());
    if (m_dialect.driver == QLatin1String("QSQLITE") &&
        !probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        setReason(error, probe.lastError().text());
        setFault(fault, faultOf(probe.lastError()));
        return false;
    }
    const QStringList tables = database().tables();
    if (!tables.contains(QStringLiteral("ledger_entries"))) {
        if (!run(m_dialect.beginWrite, error, fault))
            return false;
        if (!database().tables().contains(QStringLiteral("ledger_entries")) &&
            !run(createStatements(m_dialect, CurrentSchemaVersion), error, fault)) {
            run({QStringLiteral("ROLLBACK")}, nullptr, nullptr);
            return false;
        }
        if (!run({QStringLiteral("COMMIT")}, error, fault))
            return false;
    }
    m_version = schemaVersion();
    if (m_version <= 0) {
        setReason(error, QStringLiteral("the ledger has no schema version"));
        setFault(fault, LedgerFault::Damaged);
        return false;
    }
    while (m_version < CurrentSchemaVersion) {
        if (!migrate(m_version, error, fault))
            return false;
        m_version = schemaVersion();
    }
    // A ledger written by a newer Seikyu is read as far as this one knows it.
    return true;
}

bool LedgerStore::migrate(int fromVersion, QString *error, LedgerFault *fault)
{
    if (!run(m_dialect.beginWrite, error, fault))
        return false;
    if (schemaVersion() != fromVersion) { // another process migrated it meanwhile
        run({QStringLiteral("COMMIT")}, nullptr, nullptr);
        return true;
    }
    QStringList steps = m_dialect.dropAppendOnlyGuards;
    steps += migrationStatements(m_dialect, fromVersion);
    bool done = run(steps, error, fault);
    if (done && fromVersion == 1) {
        m_version = 2;
        done = fillDerivedColumns(error, fault);
    }
    done = done && run(m_dialect.appendOnlyGuards, error, fault);
    if (!done) {
        run({QStringLiteral("ROLLBACK")}, nullptr, nullptr);
        return false;
    }
    return run({QStringLiteral("COMMIT")}, error, fault);
}

bool LedgerStore::fillDerivedColumns(QString *error, LedgerFault *fault)
{
    // The derived columns are not covered by the hashes: filling them changes no recorded fact.
    QHash<qint64, qint64> invoiceOf;
    QSqlQuery read(database());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT id, kind, refers_to, customer FROM ledger_entries ORDER BY id"))) {
        setReason(error, read.lastError().text());
        setFault(fault, faultOf(read.lastError()));
        return false;
    }
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
        if (!write.exec()) {
            setReason(error, write.lastError().text());
            setFault(fault, faultOf(write.lastError()));
            return false;
        }
    }
    return true;
}

std::optional<LedgerEntry> LedgerStore::record(LedgerEntry entry, QString *error, LedgerFault *fault)
{
    setFault(fault, LedgerFault::None);
    if (!run(m_dialect.beginWrite, error, fault))
        return std::nullopt;
    std::optional<LedgerEntry> recorded = recordLocked(std::move(entry), error, fault);
    if (!recorded || !run({QStringLiteral("COMMIT")}, error, fault)) {
        run({QStringLiteral("ROLLBACK")}, nullptr, nullptr);
        return std::nullopt;
    }
    return recorded;
}

std::optional<qsizetype> LedgerStore::recordAll(const QList<LedgerEntry> &entries, QString *error)
{
    if (!run(m_dialect.beginWrite, error, nullptr))
        return std::nullopt;
    for (const LedgerEntry &entry : entries) {
        if (!recordLocked(entry, error, nullptr)) {
            run({QStringLiteral("ROLLBACK")}, nullptr, nullptr);
            return std::nullopt;
        }
    }
    if (!run({QStringLiteral("COMMIT")}, error, nullptr)) {
        run({QStringLiteral("ROLLBACK")}, nullptr, nullptr);
        return std::nullopt;
    }
    return entries.size();
}

std::optional<LedgerEntry> LedgerStore::recordLocked(LedgerEntry entry, QString *error, LedgerFault *fault)
{
    QSqlQuery query(database());
    auto failed = [&](const QSqlQuery &q) {
        setReason(error, q.lastError().text());
        setFault(fault, faultOf(q.lastError()));
        return std::nullopt;
    };
    if (!entry.origin.isEmpty()) { // made elsewhere: recorded once, however often it is sent
        query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE origin = ?"));
        query.addBindValue(entry.origin);
        if (!query.exec())
            return failed(query);
        if (query.next()) {
            const qint64 id = query.value(0).toLongLong();
            query.finish();
            return this->entry(id);
        }
        query.finish();
    }
    if (entry.refersTo == 0 && !entry.refersToOrigin.isEmpty()) {
        // Made while the entry it refers to waited to be sent: that one is here by now, or never.
        query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE origin = ?"));
        query.addBindValue(entry.refersToOrigin);
        if (!query.exec())
            return failed(query);
        if (!query.next()) {
            setReason(error, QCoreApplication::translate("seikyu::LedgerStore",
                                                         "the entry it refers to is not in the ledger"));
            setFault(fault, LedgerFault::Refused);
            return std::nullopt;
        }
        entry.refersTo = query.value(0).toLongLong();
        query.finish();
    }
    if (!query.exec(QStringLiteral("SELECT id, hash FROM ledger_entries ORDER BY id DESC LIMIT 1")))
        return failed(query);
    entry.id = 1;
    entry.previousHash = GenesisHash;
    if (query.next()) {
        entry.id = query.value(0).toLongLong() + 1;
        entry.previousHash = query.value(1).toString();
    }
    query.finish();

    if (entry.kind == EntryKind::Issue && entry.refersTo == 0) {
        if (!entry.number.isEmpty()) {
            query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE kind = 'issue' AND number = ? AND "
                                         "customer = ? ORDER BY id DESC LIMIT 1"));
            query.addBindValue(entry.number);
            query.addBindValue(entry.customer);
        } else {
            query.prepare(QStringLiteral("SELECT id FROM ledger_entries WHERE kind = 'issue' AND number = '' AND "
                                         "source_path = ? AND source_path <> '' AND invoice_date = ? AND customer = ? "
                                         "ORDER BY id DESC LIMIT 1"));
            query.addBindValue(entry.sourcePath);
            query.addBindValue(dateText(entry.invoiceDate));
            query.addBindValue(entry.customer);
        }
        if (!query.exec())
            return failed(query);
        if (query.next())
            entry.refersTo = query.value(0).toLongLong();
        query.finish();
    }

    entry.invoiceId = entry.kind == EntryKind::Issue ? entry.id : 0;
    if (entry.kind != EntryKind::Issue && entry.refersTo == 0) {
        // It would stay in the ledger for good, paying or voiding nothing.
        setReason(error, QCoreApplication::translate("seikyu::LedgerStore", "it refers to no entry"));
        setFault(fault, LedgerFault::Refused);
        return std::nullopt;
    }
    if (entry.refersTo != 0) {
        query.prepare(
            QStringLiteral("SELECT kind, invoice_id, "
                           "(SELECT count(*) FROM ledger_entries v WHERE v.kind = 'void' AND v.refers_to = e.id) "
                           "FROM ledger_entries e WHERE id = ?"));
        query.addBindValue(entry.refersTo);
        if (!query.exec())
            return failed(query);
        if (!query.next()) {
            setReason(error, QStringLiteral("entry %1 does not exist").arg(entry.refersTo));
            setFault(fault, LedgerFault::Refused);
            return std::nullopt;
        }
        const QString kind = query.value(0).toString();
        const bool voided = query.value(2).toLongLong() > 0;
        const bool fits = (entry.kind == EntryKind::Issue && kind == QLatin1String("issue")) ||
                          (entry.kind == EntryKind::Payment && kind == QLatin1String("issue") && !voided) ||
                          (entry.kind == EntryKind::Void && kind != QLatin1String("void") && !voided);
        if (!fits) {
            setReason(error,
                      voided && entry.kind != EntryKind::Issue
                          ? QCoreApplication::translate("seikyu::LedgerStore", "entry %1 is void").arg(entry.refersTo)
                          : QStringLiteral("entry %1 cannot be referred to that way").arg(entry.refersTo));
            setFault(fault, LedgerFault::Refused);
            return std::nullopt;
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
    entry.hash = entryHash(entry);

    query.prepare(QStringLiteral("INSERT INTO ledger_entries (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(entryColumns()));
    for (const QVariant &value : {QVariant(entry.id),
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
                                  QVariant(entry.origin)})
        query.addBindValue(value.toString().isNull() && value.typeId() == QMetaType::QString ? QVariant(QString(""))
                                                                                             : value);
    if (!query.exec())
        return failed(query);
    return entry;
}

std::optional<LedgerEntry> LedgerStore::recordPayment(qint64 issueId, const QDate &date, qint64 amount,
                                                      const QString &note, QString *error)
{
    LedgerEntry payment;
    payment.kind = EntryKind::Payment;
    payment.refersTo = issueId;
    payment.paymentDate = date;
    payment.amount = amount;
    payment.note = note;
    return record(payment, error);
}

std::optional<LedgerEntry> LedgerStore::recordVoid(qint64 entryId, const QString &reason, QString *error)
{
    LedgerEntry voiding;
    voiding.kind = EntryKind::Void;
    voiding.refersTo = entryId;
    voiding.note = reason;
    return record(voiding, error);
}

QList<LedgerEntry> LedgerStore::entries(qint64 afterId, QString *error)
{
    QList<LedgerEntry> found;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM ledger_entries WHERE id > ? ORDER BY id").arg(entryColumns(m_version)));
    query.addBindValue(afterId);
    if (!query.exec()) {
        setReason(error, query.lastError().text());
        return found;
    }
    while (query.next())
        found.append(entryOfRow(query, m_version));
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

QList<ChainProblem> LedgerStore::searchTableProblems(QString *error)
{
    // The table searches read is derived, outside the chain: when something changed it, each
    // issue it misstated is named, and the table is worked out again from the entries.
    QList<ChainProblem> problems;
    const std::optional<QList<qint64>> stale = issuesOutOfStep(database(), error);
    if (!stale || stale->isEmpty())
        return problems;
    for (qint64 id : *stale)
        problems.append({ChainProblem::Kind::SearchStale, id, {}});
    if (!run(m_dialect.beginWrite, error, nullptr))
        return problems;
    if (!rebuildIssueTable(database(), error) || !run({QStringLiteral("COMMIT")}, error, nullptr))
        run({QStringLiteral("ROLLBACK")}, nullptr, nullptr);
    return problems;
}

QList<ChainProblem> LedgerStore::verify(const QString &archiveFolder, QString *error)
{
    return check(archiveFolder, QString(), error).problems;
}

LedgerCheck LedgerStore::check(const QString &archiveFolder, const QString &thisHost, QString *error)
{
    const QList<LedgerEntry> all = entries(0, error);
    const QList<ChainProblem> chainProblems = verifyChain(all);
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
    found.problems = chainProblems + found.problems;
    if (m_version >= 4 && chainIntact)
        found.problems += searchTableProblems(error);
    return found;
}

} // namespace seikyu
