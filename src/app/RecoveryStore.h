#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class QDir;

namespace seikyu {

/// Copies of unsaved, untitled invoices, kept in the application's data folder so that a crash or
/// a power cut does not lose them. Each run keeps its copies in a folder of its own, locked while
/// the run lives; a folder whose lock is stale belongs to a run that did not end cleanly.
class RecoveryStore
{
public:
    /// The folder that holds every run's copies.
    static QString rootFolder();

    RecoveryStore();
    ~RecoveryStore();

    /// Writes the copy for the id (atomically); false when it could not be written.
    bool write(const QString &id, const QByteArray &bytes);
    void remove(const QString &id);

    /// The copies left by runs that ended without cleaning up, oldest first; their folders are
    /// taken over by this run, so the same copies are never recovered twice.
    struct Recovered
    {
        QString id;
        QByteArray bytes;
    };
    QList<Recovered> takeOrphans();

    /// The bytes of a file's version last opened or explicitly saved, kept while its window is
    /// open so that Revert to Saved can go back to them after autosave has written over the file.
    /// Kept beside the copies, so a crash leaves them: a run that takes a dead run's copies over
    /// takes these too, and the file opened again reverts to the version opened before the crash.
    bool writeSavedVersion(const QString &filePath, const QByteArray &bytes);
    std::optional<QByteArray> savedVersion(const QString &filePath) const;
    void forgetSavedVersion(const QString &filePath);

private:
    bool ensureSessionFolder();
    QString pathFor(const QString &id) const;
    QString savedVersionPath(const QString &filePath) const;
    /// Moves a dead run's kept versions into this run's folder; false when one could not be taken.
    bool takeSavedVersions(const QDir &folder);

    QString m_folder;
    /// The open, locked lock file of this run's folder (-1 before the folder exists). The kernel
    /// releases the lock when the process dies, however it dies.
    int m_lockFd = -1;
};

} // namespace seikyu
