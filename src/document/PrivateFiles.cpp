#include "document/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace seikyu {

namespace {

void tighten(const QString &path, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    // Only what is wider than wanted is changed: a read-only archived copy stays read-only.
    if (::stat(name.constData(), &info) == 0 && (info.st_mode & 0777 & ~mode) != 0)
        ::chmod(name.constData(), info.st_mode & 0777 & mode);
}

} // namespace

bool makePrivateFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    keepFolderPrivate(path);
    return true;
}

void keepFolderPrivate(const QString &path)
{
    tighten(path, 0700);
}

void keepPrivate(const QString &path)
{
    tighten(path, 0600);
}

void createPrivate(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    else
        keepPrivate(path);
}

void keepDatabasePrivate(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        keepPrivate(path + QLatin1String(suffix));
}

} // namespace seikyu
