#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

namespace seikyu {

/// Writes the archived copy of `bytes` into `folder` (made, owner-only, when missing), synced
/// unless it is part of a group made durable together, under `wanted` or the first free name after
/// it; the copy is made read-only. The name used. Touches no database, so it may run on any thread.
enum class CopySync { Now, WithGroup };
Result<QString> writeArchiveCopy(const QString &folder, const QString &wanted, const QByteArray &bytes,
                                 CopySync sync = CopySync::Now);

} // namespace seikyu
