#include "ledger/GroupFiles.h"

#include "document/WriteFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace seikyu {

QString partFileOf(const QString &target, const QString &origin)
{
    // Fixed in length whatever the output's name: a long name would not take a suffix.
    const QString key = origin.mid(origin.indexOf(QLatin1Char(':')) + 1);
    return QDir(QFileInfo(target).absolutePath()).filePath(QStringLiteral(".seikyu-%1.part").arg(key));
}

Result<void> writePartFile(const QString &path, const QByteArray &bytes, const QString &reportedAs)
{
    QFile file(path);
    auto fail = [&] {
        const QFileDevice::FileError kind = file.error();
        const QString system = file.errorString();
        file.close();
        file.remove();
        return Fault{FaultKind::Unwritable, writeFailureReason(reportedAs, bytes.size(), kind, system), system};
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Fault{FaultKind::Unwritable,
                     writeFailureReason(reportedAs, bytes.size(), file.error(), file.errorString()),
                     file.errorString()};
    // A disk that fills up can take part of a write and report success: what reached the file counts.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size())
        return fail();
    file.close();
    return {};
}

Result<void> putPartInPlace(const QString &part, const QString &target)
{
    const QFileInfo existing(target);
    if (existing.exists())
        QFile::setPermissions(part, existing.permissions());
    if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString system = QString::fromLocal8Bit(::strerror(errno));
        const qint64 size = QFileInfo(part).size();
        QFile::remove(part);
        return Fault{FaultKind::Unwritable, writeFailureReason(target, size, QFileDevice::RenameError, system), system};
    }
    return {};
}

bool syncFileSystems(const QStringList &folders)
{
    QSet<dev_t> synced;
    bool all = true;
    for (const QString &folder : folders) {
        struct stat place = {};
        const QByteArray name = QFile::encodeName(folder);
        if (::stat(name.constData(), &place) != 0) {
            all = false;
            continue;
        }
        if (synced.contains(place.st_dev))
            continue;
        const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        all = fd >= 0 && ::syncfs(fd) == 0 && all;
        if (fd >= 0)
            ::close(fd);
        synced.insert(place.st_dev);
    }
    return all;
}

} // namespace seikyu
