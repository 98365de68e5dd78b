#pragma once

#include "ledger/LedgerEntry.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// Why the write-ahead log at `walPath` would lose committed transactions when SQLite reads it:
/// a frame of the current log is damaged and committed frames follow it (SQLite then stops at the
/// damage without a word), or the log's header is damaged while it holds frames. Nothing when the
/// log is whole, absent or empty. A damaged last transaction alone (a write torn by a power cut,
/// never reported committed) is not damage.
std::optional<QString> walDamage(const QString &walPath);

/// What SQLite's integrity check finds wrong with the open database (at most three lines), or the
/// error that stopped it; nothing when the file is whole.
QStringList integrityProblems(const QSqlDatabase &database);

/// The ledgers set aside beside the ledger at `databasePath` (`<name>.damaged-*`), by file name.
QStringList setAsideLedgers(const QString &databasePath);

/// Moves the ledger at `databasePath` and its journal files to one `.damaged-<time>` name beside
/// it; the new path of the ledger, or nothing when it could not be moved.
QString setLedgerAside(const QString &databasePath);

/// The files of `filesHere` (an archive folder's) that no entry names as its archived copy.
QStringList unrecordedArchiveFiles(const QStringList &filesHere, const QList<LedgerEntry> &entries);

} // namespace seikyu
