#include "ledger/LedgerRecovery.h"

#include "ledger/LedgerHealth.h"
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerStore.h"
#include "ledger/LongRead.h"
#include "ledger/SqlConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <QtEndian>
#include <algorithm>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "LedgerRecovery", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(LedgerRecovery)
};

/// The schema version whose entry columns the file's table has, or 0 when it has none.
int columnsVersion(const QSqlDatabase &db)
{
    for (int version = CurrentSchemaVersion; version >= 1; --version) {
        QSqlQuery probe(db);
        if (probe.exec(QStringLiteral("SELECT %1 FROM ledger_entries LIMIT 0").arg(entryColumns(version))))
            return version;
    }
    return 0;
}

/// "Entry 7" or "Entries 7–12" for each run of consecutive ids.
QStringList runsOf(const QList<qint64> &ids, const QString &what)
{
    QStringList runs;
    for (qsizetype i = 0; i < ids.size();) {
        qsizetype j = i;
        while (j + 1 < ids.size() && ids[j + 1] == ids[j] + 1)
            ++j;
        const QString which =
            i == j ? Text::tr("Entry %1").arg(ids[i]) : Text::tr("Entries %1–%2").arg(ids[i]).arg(ids[j]);
        runs.append(QStringLiteral("%1: %2").arg(which, what));
        i = j + 1;
    }
    return runs;
}

/// The rows of ledger_entries that can be read, in id order: a scan that fails at a damaged page
/// goes on by looking up each following id alone until one reads.
struct DamagedRows
{
    QList<LedgerEntry> entries;
    QList<qint64> unreadable;
    bool endUnknown = false; ///< the last id could not be read either: rows after the last one read may be lost
};

DamagedRows readRows(const QSqlDatabase &db, int version)
{
    DamagedRows rows;
    const QString columns = entryColumns(version);
    std::optional<qint64> top;
    if (QSqlQuery max(db); max.exec(QStringLiteral("SELECT max(id) FROM ledger_entries")) && max.next())
        top = max.value(0).toLongLong();
    qint64 last = 0;
    auto scanFrom = [&](qint64 after) {
        QSqlQuery scan(db);
        scan.setForwardOnly(true);
        scan.prepare(QStringLiteral("SELECT %1 FROM ledger_entries WHERE id > ? ORDER BY id").arg(columns));
        scan.addBindValue(after);
        if (!scan.exec())
            return false;
        while (scan.next()) {
            // A damaged page may claim any id: only what follows what was read is taken, so the
            // reading always moves on.
            if (const LedgerEntry entry = entryOfRow(scan, version); entry.id > last) {
                rows.entries.append(entry);
                last = entry.id;
            }
        }
        return !scan.lastError().isValid();
    };
    while (!scanFrom(last)) {
        bool resumed = false;
        int misses = 0;
        QList<qint64> failed;
        for (qint64 id = last + 1; top ? id <= *top : misses < 1000; ++id) {
            QSqlQuery one(db);
            one.prepare(QStringLiteral("SELECT %1 FROM ledger_entries WHERE id = ?").arg(columns));
            one.addBindValue(id);
            if (one.exec() && one.next()) {
                rows.entries.append(entryOfRow(one, version));
                last = id;
                resumed = true;
                break;
            }
            if (one.lastError().isValid())
                failed.append(id);
            ++misses;
        }
        if (resumed || top) {
            rows.unreadable += failed;
        } else {
            rows.endUnknown = true;
        }
        if (!resumed)
            break;
    }
    return rows;
}

/// The table b-trees of an SQLite file that no other page points at: the roots of its tables,
/// whether or not its schema still names them.
QList<quint32> tableRoots(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(100);
    if (header.size() < 100)
        return {};
    const quint32 pageSize = qFromBigEndian<quint16>(header.constData() + 16) == 1
                                 ? 65536
                                 : qFromBigEndian<quint16>(header.constData() + 16);
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) // not an SQLite file's header
        return {};
    QList<quint32> tables;
    QSet<quint32> children;
    file.seek(0);
    for (quint32 page = 1;; ++page) {
        const QByteArray bytes = file.read(pageSize);
        if (bytes.size() < qsizetype(pageSize))
            break;
        const qsizetype at = page == 1 ? 100 : 0;
        const auto type = quint8(bytes[at]);
        if (type == 0x0d) {
            tables.append(page);
        } else if (type == 0x05) { // interior: each cell starts with a child's page number
            tables.append(page);
            children.insert(qFromBigEndian<quint32>(bytes.constData() + at + 8));
            const quint16 cells = qFromBigEndian<quint16>(bytes.constData() + at + 3);
            for (quint16 i = 0; i < cells && at + 12 + 2 * i + 2 <= bytes.size(); ++i) {
                const quint16 cell = qFromBigEndian<quint16>(bytes.constData() + at + 12 + 2 * i);
                if (cell + 4 <= bytes.size())
                    children.insert(qFromBigEndian<quint32>(bytes.constData() + cell));
            }
        }
    }
    tables.removeIf([&children](quint32 page) { return page == 1 || children.contains(page); });
    return tables;
}

/// The statement that creates today's ledger_entries, as SQLite keeps it in its schema.
QString entriesTableSql()
{
    const SqlConnection connection(QStringLiteral("QSQLITE"), QStringLiteral("seikyu-recovery-schema"));
    QString sql;
    {
        QSqlDatabase scratch = connection.database();
        scratch.setDatabaseName(QStringLiteral(":memory:"));
        QSqlQuery query(scratch);
        if (scratch.open()) {
            for (const QString &statement : createStatements(sqliteDialect(), CurrentSchemaVersion))
                query.exec(statement);
            if (query.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'ledger_entries'")) &&
                query.next())
                sql = query.value(0).toString();
        }
        query.finish();
        scratch.close();
    }
    return sql;
}

/// A copy whose schema lost the entries' table is given it back: each table b-tree its schema
/// does not name is tried as the table's root, and the one whose rows check best is kept.
int restoreEntriesTable(QSqlDatabase &db, const QString &copy)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QSet<quint32> named;
    query.exec(QStringLiteral("SELECT rootpage FROM sqlite_master"));
    while (query.next())
        named.insert(query.value(0).toUInt());
    query.finish();
    const QString sql = entriesTableSql();
    if (sql.isEmpty())
        return 0;
    auto useRoot = [&](quint32 root) {
        QSqlQuery write(db);
        write.exec(QStringLiteral("DELETE FROM sqlite_master WHERE tbl_name = 'ledger_entries'"));
        write.prepare(QStringLiteral("INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql) "
                                     "VALUES ('table', 'ledger_entries', 'ledger_entries', ?, ?)"));
        write.addBindValue(root);
        write.addBindValue(sql);
        write.exec();
        write.finish();
        db.close(); // the schema is read again when the file is opened again
        db.open();
        QSqlQuery(db).exec(QStringLiteral("PRAGMA writable_schema = ON"));
    };
    quint32 best = 0;
    qsizetype bestCount = 0;
    for (quint32 root : tableRoots(copy)) {
        if (named.contains(root))
            continue;
        useRoot(root);
        const DamagedRows rows = readRows(db, CurrentSchemaVersion);
        const auto count = std::count_if(rows.entries.cbegin(), rows.entries.cend(),
                                         [](const LedgerEntry &entry) { return entryHash(entry) == entry.hash; });
        if (count > bestCount) {
            best = root;
            bestCount = count;
        }
    }
    if (best == 0)
        return 0;
    useRoot(best);
    return CurrentSchemaVersion;
}

} // namespace

LedgerRecovery recoverEntries(const QString &damagedPath, LedgerStore &into)
{
    return recoverEntries(
        damagedPath, [&into]() -> Result<LedgerStore *> { return &into; }, nullptr);
}

LedgerRecovery recoverEntries(const QString &damagedPath, const std::function<Result<LedgerStore *>()> &intoWhenRead,
                              const std::atomic<bool> *stop)
{
    LedgerRecovery recovery;
    // SQLite may write even to a file it only reads (its journal recovered, a checkpoint): the
    // damaged file stays as it is, its copy is read.
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("damaged.sqlite"));
    if (!work.isValid() || !QFile::copy(damagedPath, copy)) {
        recovery.error = Text::tr("“%1” cannot be read").arg(damagedPath);
        return recovery;
    }
    if (QFile::exists(damagedPath + QStringLiteral("-wal")))
        QFile::copy(damagedPath + QStringLiteral("-wal"), copy + QStringLiteral("-wal"));
    DamagedRows rows;
    {
        const SqlConnection connection(QStringLiteral("QSQLITE"), QStringLiteral("seikyu-recovery"));
        QSqlDatabase db = connection.database();
        db.setDatabaseName(copy);
        // A schema that names what is no longer there (an index of a lost table) still reads.
        const bool opened = db.open() && QSqlQuery(db).exec(QStringLiteral("PRAGMA writable_schema = ON"));
        if (opened && stop)
            stopSqliteWhen(db, *stop);
        int version = opened ? columnsVersion(db) : 0;
        if (opened && version == 0) {
            version = restoreEntriesTable(db, copy);
            if (stop) // opened again on the way
                stopSqliteWhen(db, *stop);
        }
        if (version > 0)
            rows = readRows(db, version);
        else
            recovery.error = Text::tr("no entries can be read from “%1”").arg(damagedPath);
        db.close();
    }
    if (!recovery.error.isEmpty())
        return recovery;
    // Before `into` is asked for: a damaged ledger recovered into a new one in its place has its
    // log moved with it.
    const std::optional<QString> walLost = walDamage(damagedPath + QStringLiteral("-wal"));
    const Result<LedgerStore *> opened = intoWhenRead();
    if (!opened) {
        recovery.error = opened.message();
        return recovery;
    }
    LedgerStore *into = *opened;

    QHash<QString, qint64> here; // hash → id of the entries `into` holds
    const Result<QList<LedgerEntry>> held = into->entries(0);
    if (!held) {
        recovery.error = held.message();
        return recovery;
    }
    for (const LedgerEntry &entry : *held)
        here.insert(entry.hash, entry.id);
    const qint64 lastBefore = here.isEmpty() ? 0 : *std::max_element(here.cbegin(), here.cend());
    recovery.notTaken = runsOf(rows.unreadable, Text::tr("could not be read"));
    QHash<qint64, QString> hashOf{{0, GenesisHash}}; // id → hash, of every entry read
    for (const LedgerEntry &entry : std::as_const(rows.entries))
        hashOf.insert(entry.id, entry.hash);
    QHash<qint64, qint64> recoveredAs;
    QList<qint64> unchecked;
    for (LedgerEntry entry : std::as_const(rows.entries)) {
        const qint64 id = entry.id;
        // What follows an entry that could not be read is checked by its own hash alone.
        const auto before = hashOf.constFind(id - 1);
        if (entryHash(entry) != entry.hash || (before != hashOf.cend() && entry.previousHash != *before)) {
            unchecked.append(id);
            continue;
        }
        if (const auto found = here.constFind(entry.hash); found != here.cend()) {
            recoveredAs.insert(id, *found);
            ++recovery.alreadyThere;
            continue;
        }
        if (entry.origin.isEmpty())
            entry.origin = QStringLiteral("copy:") + entry.hash;
        if (entry.refersTo != 0) {
            const qint64 target = recoveredAs.value(entry.refersTo);
            if (target == 0 && entry.kind != EntryKind::Issue) {
                recovery.notTaken.append(
                    Text::tr("Entry %1 refers to entry %2, which was not recovered.").arg(id).arg(entry.refersTo));
                continue;
            }
            entry.refersTo = target;
            // A reissue of an issue lost corrects the invoice that holds its number, as it did.
            entry.reissue = target == 0;
        }
        if (const qint64 payment = entry.acknowledges; payment != 0) {
            // The receipt was issued all the same: it is recovered, naming its payment only when that is.
            entry.acknowledges = recoveredAs.value(payment);
            if (entry.acknowledges == 0)
                recovery.notTaken.append(
                    Text::tr("Entry %1 acknowledges payment %2, which was not recovered; it was recovered without it.")
                        .arg(id)
                        .arg(payment));
        }
        entry.id = 0;
        entry.previousHash.clear();
        entry.hash.clear();
        entry.invoiceId = 0;
        const Result<LedgerEntry> recorded = into->record(entry);
        if (!recorded && recorded.fault().kind != FaultKind::Refused) {
            recovery.error = recorded.message();
            break;
        }
        if (!recorded) {
            recovery.notTaken.append(Text::tr("Entry %1 was not taken: %2").arg(id).arg(recorded.message()));
            continue;
        }
        recoveredAs.insert(id, recorded->id);
        ++(recorded->id > lastBefore ? recovery.taken : recovery.alreadyThere);
    }
    recovery.notTaken += runsOf(unchecked, Text::tr("not taken, the chain does not vouch for it"));
    if (walLost)
        recovery.notTaken.append(Text::tr("Entries recorded after the damage could not be read: %1.").arg(*walLost));
    if (rows.endUnknown)
        recovery.notTaken.append(Text::tr("Entries after entry %1 could not be read.")
                                     .arg(rows.entries.isEmpty() ? 0 : rows.entries.constLast().id));
    return recovery;
}

QStringList describeRecovery(const LedgerRecovery &recovery, const QString &setAside)
{
    QStringList lines;
    if (!setAside.isEmpty())
        lines.append(Text::tr("The damaged ledger was set aside as “%1”; a new ledger was started.")
                         .arg(QDir::toNativeSeparators(setAside)));
    lines += recovery.notTaken;
    if (recovery.error.isEmpty() || recovery.taken + recovery.alreadyThere > 0)
        lines.append(Text::tr("%n entry(s) recovered into the ledger; %1 were in it already.", nullptr, recovery.taken)
                         .arg(recovery.alreadyThere));
    return lines;
}

} // namespace seikyu
