#include "app/RecoveryStore.h"

#include "document/AtomicWrite.h"
#include "document/PrivateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace seikyu {

namespace {
const QString lockName = QStringLiteral("run.lock");
const QString suffix = QStringLiteral(".seikyu");
/// Kept versions have a suffix of their own: they are no unsaved invoices to reopen.
const QString savedSuffix = QStringLiteral(".saved");

/// Opens and locks the lock file; -1 when another live process (or this one) holds it.
int lockFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + lockName);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

QString RecoveryStore::rootFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

RecoveryStore::RecoveryStore() = default;

RecoveryStore::~RecoveryStore()
{
    if (m_folder.isEmpty())
        return;
    if (QDir(m_folder).entryList({QStringLiteral("*") + suffix}, QDir::Files).isEmpty())
        QDir(m_folder).removeRecursively();
    ::close(m_lockFd);
}

bool RecoveryStore::ensureSessionFolder()
{
    if (m_lockFd >= 0)
        return true;
    const QString folder = rootFolder() + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces);
    // The data folder too, which this may be the first to make: the ledger and its archive live there.
    const QString data = QFileInfo(rootFolder()).absolutePath();
    if (!makePrivateFolder(data) || !makePrivateFolder(rootFolder()) || !makePrivateFolder(folder))
        return false;
    m_lockFd = lockFolder(folder);
    if (m_lockFd < 0)
        return false;
    m_folder = folder;
    return true;
}

QString RecoveryStore::pathFor(const QString &id) const
{
    return m_folder + QLatin1Char('/') + id + suffix;
}

bool RecoveryStore::write(const QString &id, const QByteArray &bytes)
{
    if (!ensureSessionFolder())
        return false;
    return writeFileAtomically(pathFor(id), bytes, FileAccess::OwnerOnly).ok();
}

void RecoveryStore::remove(const QString &id)
{
    if (!m_folder.isEmpty())
        QFile::remove(pathFor(id));
}

QList<RecoveryStore::Recovered> RecoveryStore::takeOrphans()
{
    QList<Recovered> recovered;
    keepFolderPrivate(rootFolder()); // an older version's, under a permissive umask
    const QDir root(rootFolder());
    const QFileInfoList runs = root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed);
    for (const QFileInfo &run : runs) {
        if (run.absoluteFilePath() == QFileInfo(m_folder).absoluteFilePath())
            continue;
        const int lock = lockFolder(run.absoluteFilePath());
        if (lock < 0)
            continue; // that run is still alive: its copies are its own
        QDir folder(run.absoluteFilePath());
        const QFileInfoList copies =
            folder.entryInfoList({QStringLiteral("*") + suffix}, QDir::Files, QDir::Time | QDir::Reversed);
        bool kept = true;
        for (const QFileInfo &copy : copies) {
            QFile file(copy.absoluteFilePath());
            if (!file.open(QIODevice::ReadOnly)) {
                kept = false;
                continue;
            }
            const Recovered taken{copy.completeBaseName(), file.readAll()};
            // Take the copy over into this run's folder before the old one goes, so a second crash
            // right now still finds it.
            if (!write(taken.id, taken.bytes)) {
                kept = false;
                continue;
            }
            recovered.append(taken);
        }
        if (!takeSavedVersions(folder))
            kept = false;
        ::close(lock);
        if (kept)
            folder.removeRecursively();
    }
    return recovered;
}

QString RecoveryStore::savedVersionPath(const QString &filePath) const
{
    // Named after the file's path, so that the same file opened again finds its version.
    const QByteArray hash = QCryptographicHash::hash(filePath.toUtf8(), QCryptographicHash::Sha256).toHex();
    return m_folder + QLatin1Char('/') + QString::fromLatin1(hash) + savedSuffix;
}

bool RecoveryStore::writeSavedVersion(const QString &filePath, const QByteArray &bytes)
{
    if (filePath.isEmpty() || !ensureSessionFolder())
        return false;
    return writeFileAtomically(savedVersionPath(filePath), bytes, FileAccess::OwnerOnly).ok();
}

std::optional<QByteArray> RecoveryStore::savedVersion(const QString &filePath) const
{
    if (m_folder.isEmpty() || filePath.isEmpty())
        return std::nullopt;
    QFile file(savedVersionPath(filePath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void RecoveryStore::forgetSavedVersion(const QString &filePath)
{
    if (!m_folder.isEmpty() && !filePath.isEmpty())
        QFile::remove(savedVersionPath(filePath));
}

bool RecoveryStore::takeSavedVersions(const QDir &folder)
{
    bool taken = true;
    const QFileInfoList versions = folder.entryInfoList({QStringLiteral("*") + savedSuffix}, QDir::Files);
    for (const QFileInfo &version : versions) {
        if (!ensureSessionFolder()) {
            taken = false;
            break;
        }
        // Runs are taken oldest first: a later run's version of the same file replaces an earlier one.
        const QString target = m_folder + QLatin1Char('/') + version.fileName();
        QFile file(version.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly) || !writeFileAtomically(target, file.readAll(), FileAccess::OwnerOnly))
            taken = false;
    }
    return taken;
}

} // namespace seikyu
