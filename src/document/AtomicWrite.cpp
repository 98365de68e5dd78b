#include "document/AtomicWrite.h"

#include "document/WriteFailure.h"

#include <QSaveFile>

namespace seikyu {

Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes, FileAccess access)
{
    QSaveFile file(path);
    // The reason is worked out once the temporary file is gone, from the place as it then is.
    auto fail = [&](QFileDevice::FileError kind) -> Result<void> {
        const QString system = file.errorString();
        file.cancelWriting();
        return Fault{FaultKind::Unwritable, writeFailureReason(path, bytes.size(), kind, system), system};
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.error());
    if (access == FileAccess::OwnerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return fail(QFileDevice::PermissionsError);
    if (file.write(bytes) != bytes.size())
        return fail(file.error());
    // A disk that fills up can take part of a write and report success (and QSaveFile then
    // commits the truncated file over the old one), so check what actually reached the file.
    if (!file.flush() || file.error() != QFileDevice::NoError || file.size() != bytes.size())
        return fail(file.error() != QFileDevice::NoError ? file.error() : QFileDevice::ResourceError);
    if (!file.commit()) {
        const QString system = file.errorString();
        return Fault{FaultKind::Unwritable, writeFailureReason(path, bytes.size(), file.error(), system), system};
    }
    return {};
}

} // namespace seikyu
