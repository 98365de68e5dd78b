#include "ledger/ArchiveCopy.h"

#include "document/PrivateFiles.h"
#include "ledger/ArchiveName.h"
#include "ledger/GroupFiles.h"
#include "ledger/IssueIntents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace seikyu {

Result<QString> writeArchiveCopy(const QString &folder, const QString &wanted, const QByteArray &bytes, CopySync sync)
{
    const QDir archive(folder);
    if (!makePrivateFolder(archive.path()))
        return Fault{FaultKind::Unwritable,
                     QCoreApplication::translate("IssueLedger", "the archive folder cannot be created")};
    // A process that keeps no intents (an older Seikyu) may take a name between the look and the
    // write: only a new file will do.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            uniqueArchiveName(wanted, [&archive](const QString &n) { return QFileInfo::exists(archive.filePath(n)); });
        const Result<void> written = sync == CopySync::Now
                                         ? writeNewFileSynced(archive.filePath(name), bytes)
                                         : writePartFile(archive.filePath(name), bytes, archive.filePath(name));
        if (!written) {
            if (QFileInfo::exists(archive.filePath(name)))
                continue;
            return written.fault();
        }
        // What is archived is a record: the owner reads it, nobody writes it.
        QFile::setPermissions(archive.filePath(name), QFile::ReadOwner | QFile::ReadUser);
        return name;
    }
    return Fault{FaultKind::Unwritable, QCoreApplication::translate("IssueLedger", "no free name in the archive")};
}

} // namespace seikyu
