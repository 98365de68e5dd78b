#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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

private:
    bool ensureSessionFolder();
    QString pathFor(const QString &id) const;

    QString m_folder;
    /// The open, locked lock file of this run's folder (-1 before the folder exists). The kernel
    /// releases the lock when the process dies, however it dies.
    int m_lockFd = -1;
};

} // namespace seikyu
