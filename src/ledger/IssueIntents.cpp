#include "ledger/IssueIntents.h"

#include "ledger/ArchiveName.h"
#include "ledger/EntryJson.h"
#include "ledger/LedgerStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace seikyu {

QString IssueIntents::createStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS intents (position INTEGER PRIMARY KEY AUTOINCREMENT, "
                          "origin TEXT NOT NULL UNIQUE, process INTEGER NOT NULL, target TEXT NOT NULL, "
                          "entry TEXT NOT NULL)");
}

Result<void> IssueIntents::run(const QString &statement)
{
    QSqlQuery query(m_db);
    if (execPatiently(query, statement))
        return {};
    return sqlFault(query.lastError(), FaultKind::Unwritable);
}

Result<void> IssueIntents::keep(IssueIntent &intent, const QString &wantedArchiveName, const QString &archiveFolder)
{
    QList<IssueIntent> one{intent};
    const Result<void> kept = keepAll(one, {wantedArchiveName}, archiveFolder);
    if (kept)
        intent = one.constFirst();
    return kept;
}

Result<void> IssueIntents::keepAll(QList<IssueIntent> &intents, const QStringList &wantedArchiveNames,
                                   const QString &archiveFolder)
{
    for (IssueIntent &intent : intents) {
        if (intent.entry.origin.isEmpty())
            intent.entry.origin = QStringLiteral("issue:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        intent.process = thisProcessToken();
    }
    if (Result<void> locked = run(QStringLiteral("BEGIN IMMEDIATE")); !locked)
        return locked;
    Result<void> done;
    QSet<QString> claimed;
    if (std::any_of(wantedArchiveNames.cbegin(), wantedArchiveNames.cend(),
                    [](const QString &n) { return !n.isEmpty(); })) {
        if (const Result<QList<IssueIntent>> others = all(); others) {
            for (const IssueIntent &other : *others)
                claimed.insert(other.entry.archiveName);
        } else {
            done = others.fault();
        }
    }
    const QDir folder(archiveFolder);
    // Invoices of one day, customer and amount without a number want one name: each looks past the
    // names the earlier ones found taken, asked of the disk once each, not once per invoice.
    QHash<QString, bool> onDisk;
    const auto exists = [&](const QString &name) {
        auto known = onDisk.find(name);
        if (known == onDisk.end())
            known = onDisk.insert(name, QFileInfo::exists(folder.filePath(name)));
        return *known;
    };
    QSqlQuery query(m_db);
    if (done &&
        !query.prepare(QStringLiteral("INSERT INTO intents (origin, process, target, entry) VALUES (?, ?, ?, ?)")))
        done = sqlFault(query.lastError(), FaultKind::Unwritable);
    for (qsizetype i = 0; done && i < intents.size(); ++i) {
        IssueIntent &intent = intents[i];
        // Each copy-to-be holds its name from now on, against the group's own names too.
        if (const QString wanted = wantedArchiveNames.value(i); !wanted.isEmpty()) {
            intent.entry.archiveName =
                uniqueArchiveName(wanted, [&](const QString &name) { return claimed.contains(name) || exists(name); });
            claimed.insert(intent.entry.archiveName);
        }
        query.addBindValue(intent.entry.origin);
        query.addBindValue(intent.process);
        query.addBindValue(intent.target.isNull() ? QStringLiteral("") : intent.target);
        query.addBindValue(QString::fromUtf8(entryToJson(intent.entry)));
        if (!query.exec())
            done = sqlFault(query.lastError(), FaultKind::Unwritable);
    }
    if (done)
        done = run(QStringLiteral("COMMIT"));
    if (!done)
        static_cast<void>(run(QStringLiteral("ROLLBACK")));
    return done;
}

Result<void> IssueIntents::update(const IssueIntent &intent)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE intents SET entry = ? WHERE origin = ?"));
    query.addBindValue(QString::fromUtf8(entryToJson(intent.entry)));
    query.addBindValue(intent.entry.origin);
    if (query.exec())
        return {};
    return sqlFault(query.lastError(), FaultKind::Unwritable);
}

Result<void> IssueIntents::drop(const QString &origin)
{
    return dropAll({origin});
}

Result<void> IssueIntents::dropAll(const QStringList &origins)
{
    // Not synced on its own: an intent that comes back after a power cut is completed again, and
    // its entry's origin makes that a no-op. The next synced write takes it to disk anyway.
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    Result<void> done = origins.size() > 1 ? run(QStringLiteral("BEGIN IMMEDIATE")) : Result<void>();
    const bool grouped = done && origins.size() > 1;
    if (done && !query.prepare(QStringLiteral("DELETE FROM intents WHERE origin = ?")))
        done = sqlFault(query.lastError(), FaultKind::Unwritable);
    for (qsizetype i = 0; done && i < origins.size(); ++i) {
        query.addBindValue(origins[i]);
        if (!query.exec())
            done = sqlFault(query.lastError(), FaultKind::Unwritable);
    }
    if (grouped && done)
        done = run(QStringLiteral("COMMIT"));
    if (grouped && !done)
        static_cast<void>(run(QStringLiteral("ROLLBACK")));
    query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    return done;
}

Result<QList<IssueIntent>> IssueIntents::all() const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT entry, target, process FROM intents ORDER BY position")))
        return sqlFault(query.lastError(), FaultKind::Unreadable);
    QList<IssueIntent> found;
    while (query.next()) {
        if (std::optional<LedgerEntry> entry = entryFromJson(query.value(0).toString().toUtf8()))
            found.append({*entry, query.value(1).toString(), query.value(2).toLongLong()});
    }
    return found;
}

namespace {

/// A process id fits in 22 bits (the kernel's largest pid_max); the bits above hold when it started.
constexpr int PidBits = 22;

/// When the process started, in clock ticks since the boot (/proc/PID/stat's 22nd field); 0 unknown.
qint64 startTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The command's name, in parentheses, may hold spaces: the fields are counted after it.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? fields.at(19).toLongLong() : 0;
}

} // namespace

qint64 thisProcessToken()
{
    static const qint64 token = [] {
        const qint64 pid = QCoreApplication::applicationPid();
        return (startTicks(pid) << PidBits) | pid;
    }();
    return token;
}

bool intentOwnerRuns(qint64 process)
{
    const qint64 pid = process & ((qint64(1) << PidBits) - 1);
    const qint64 started = process >> PidBits;
    if (pid <= 0)
        return false;
    // Another user's process (EPERM) runs too.
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    // The number given again to another program, after a restart say, is not the owner.
    return started == 0 || startTicks(pid) == started;
}

std::optional<QString> fileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return std::nullopt;
    return QString::fromLatin1(hash.result().toHex());
}

QString bytesSha256(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

Result<void> writeNewFileSynced(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Fault{FaultKind::Unwritable, file.errorString()};
    const bool written = file.write(bytes) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0;
    if (!written) {
        const QString reason = file.errorString();
        file.close();
        file.remove(); // a partial copy would only fail verification
        return Fault{FaultKind::Unwritable, reason};
    }
    file.close();
    syncFolder(QFileInfo(path).absolutePath());
    return {};
}

} // namespace seikyu
