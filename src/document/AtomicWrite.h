#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

namespace seikyu {

/// Writes the bytes to the path in one step: they go to a temporary file beside it that replaces
/// the target only once every byte is on disk. On failure the target is left exactly as it was
/// and the fault (Unwritable) says why as writeFailureReason words it ("the disk is full"), with
/// the system's own text as its detail. A new file gets the permissions the umask gives, a
/// replaced one keeps its own, unless it is to be the owner's alone.
enum class FileAccess { AsUsual, OwnerOnly };
Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes, FileAccess access = FileAccess::AsUsual);

} // namespace seikyu
