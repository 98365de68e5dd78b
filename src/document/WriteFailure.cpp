#include "document/WriteFailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>
#include <unistd.h>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "WriteFailure", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(WriteFailure)
};

/// Whether the system refuses this process writing to the path (a folder: making files in it). The
/// system's own check, so that root, immutable files and read-only mounts are judged as the write was.
bool refusesWriting(const QString &path)
{
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return false;
    return errno == EACCES || errno == EPERM;
}

} // namespace

QString writeFailureReason(const QString &path, qint64 bytes, QFileDevice::FileError error, const QString &systemText)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    // A path through a plain file ("invoices.pdf/a.pdf") names no folder either.
    if (!folder.isDir())
        return Text::tr("the folder does not exist");
    if (target.isDir())
        return Text::tr("a folder of that name is in the way");
    const QStorageInfo disk(folder.absoluteFilePath());
    if (disk.isValid() && disk.isReadOnly())
        return Text::tr("the disk is read-only");
    // The temporary file is gone again by now, so the room it took is free once more: a disk that
    // cannot hold the whole file was full for it.
    if (error == QFileDevice::ResourceError || (disk.isValid() && disk.bytesAvailable() < bytes))
        return Text::tr("the disk is full");
    if (refusesWriting(folder.absoluteFilePath()) || (target.exists() && refusesWriting(target.absoluteFilePath())))
        return Text::tr("permission denied");
    const QString system = systemText.simplified();
    return system.isEmpty() ? Text::tr("unknown error") : system;
}

QString writeFailureMessage(const QString &path, const QString &reason)
{
    return Text::tr("%1 could not be written: %2.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason);
}

} // namespace seikyu
