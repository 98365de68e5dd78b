#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace seikyu {

/// The file an output issued in a group is written to before it takes its name: hidden, beside
/// its final name, named after its intent's origin so the next run finds it after a kill.
QString partFileOf(const QString &target, const QString &origin);

/// Writes `bytes` to the new file `path`, not synced: a group's files are made durable together
/// (syncFileSystems) before any takes its final name. A failed write leaves no file; the fault
/// says why as a write of `reportedAs` would ("the disk is full").
Result<void> writePartFile(const QString &path, const QByteArray &bytes, const QString &reportedAs);

/// Gives the written part its final name in one step, replacing the file there (whose permissions
/// it keeps, as any export's replacement does). The part is removed when that fails.
Result<void> putPartInPlace(const QString &part, const QString &target);

/// Makes what was written on the file systems holding `folders` durable: one sync per file system,
/// however many files were written there. False when one could not be synced.
bool syncFileSystems(const QStringList &folders);

} // namespace seikyu
