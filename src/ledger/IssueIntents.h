#pragma once

#include "base/Result.h"
#include "ledger/LedgerEntry.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace seikyu {

/// An output on its way to its final name, kept on disk before any of it is written: the entry it
/// gets once it is there. Whatever moment the process is killed, the next run finds it and either
/// records the entry (the output reached its name with these very bytes) or drops it and its
/// archived copy (it never did). The entry's origin makes recording it twice impossible.
struct IssueIntent
{
    LedgerEntry entry;  ///< with its origin, the output's SHA-256 and its archived copy's name
    QString target;     ///< the output's final name; empty for a print job, which cannot be checked
    qint64 process = 0; ///< the process writing it: its intents are left alone while it runs
};

/// The intents kept in the outbox's SQLite file, which is written fully synced.
class IssueIntents
{
public:
    explicit IssueIntents(QSqlDatabase db) : m_db(std::move(db)) {}

    /// The statement that makes the intents' table.
    static QString createStatement();

    /// Keeps `intent` (giving it its origin), its archived copy named after `wantedArchiveName`
    /// with the first name no file in `archiveFolder` and no other intent holds, chosen under the
    /// file's write lock so that processes issuing at once never choose the same name.
    Result<void> keep(IssueIntent &intent, const QString &wantedArchiveName, const QString &archiveFolder);
    /// keep() of a group in one transaction (one sync): all kept or none. `wantedArchiveNames`
    /// goes with `intents` index by index (empty: no copy); no two of the group get one name.
    Result<void> keepAll(QList<IssueIntent> &intents, const QStringList &wantedArchiveNames,
                         const QString &archiveFolder);
    /// Writes the intent's entry again (its archived copy changed).
    Result<void> update(const IssueIntent &intent);
    Result<void> drop(const QString &origin);
    /// drop() of several in one transaction.
    Result<void> dropAll(const QStringList &origins);
    /// Every intent kept, oldest first.
    Result<QList<IssueIntent>> all() const;

private:
    Result<void> run(const QString &statement);

    QSqlDatabase m_db;
};

/// What an intent records of the process keeping it: its id and when it started, so that the id
/// given again to another program later is not taken for it.
qint64 thisProcessToken();
/// Whether an intent of process `process` (thisProcessToken() of its keeper) may still be on its
/// way: that process still runs.
bool intentOwnerRuns(qint64 process);
/// The SHA-256 of a file's bytes (lower-case hex), or nothing when it cannot be read.
std::optional<QString> fileSha256(const QString &path);
/// The SHA-256 of the bytes, as hex: how an entry records the output it vouches for.
QString bytesSha256(const QByteArray &bytes);
/// Syncs a folder's entries (a file created or renamed in it) to disk.
bool syncFolder(const QString &folder);
/// Writes `bytes` to a new file at `path` (never replacing one) and syncs it and its folder to
/// disk before returning; a failed write leaves no file.
Result<void> writeNewFileSynced(const QString &path, const QByteArray &bytes);

} // namespace seikyu
