#include "document/AtomicWrite.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace seikyu {

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        return fail(file.errorString());
    // A disk that fills up can take part of a write and report success (and QSaveFile then
    // commits the truncated file over the old one), so check what actually reached the file.
    if (!file.flush() || file.error() != QFileDevice::NoError || file.size() != bytes.size()) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QCoreApplication::translate("AtomicWrite", "The disk is full.");
        return fail(reason);
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace seikyu
