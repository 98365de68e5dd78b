#pragma once

#include <QSqlDatabase>

namespace seikyu {

/// Keeps an SQLite file's write-ahead log between connections: closing neither folds it into the
/// file nor removes it, so the next process appends to it without creating it again (and syncing
/// its folder and header). Every commit is in the log, synced, all the same; SQLite folds it into
/// the file every `foldEveryPages` pages. For files only Seikyu reads, never the user's ledger,
/// which a user may copy alone. No effect on a connection that is not SQLite's.
void keepLogBetweenRuns(const QSqlDatabase &db, int foldEveryPages);

} // namespace seikyu
