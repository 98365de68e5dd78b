#pragma once

#include <QFileDevice>
#include <QString>

namespace seikyu {

/// Why a file could not be written, as a short phrase a user understands ("permission denied",
/// "the disk is full", "the folder does not exist", …), worked out from the place itself after
/// the failure: a system's error text alone often names the temporary file beside the target, or
/// says "No such file or directory" about a folder. \a bytes is how much was to be written;
/// \a error and \a systemText are what the failed file reported, the last resort.
QString writeFailureReason(const QString &path, qint64 bytes, QFileDevice::FileError error, const QString &systemText);

/// One sentence naming the file that could not be written and why:
/// "/home/a/請求書.pdf could not be written: permission denied."
QString writeFailureMessage(const QString &path, const QString &reason);

} // namespace seikyu
