#pragma once

#include "base/Result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace seikyu {

/// The issues whose row in ledger_issues (the table searches read) is not what the entries give
/// it, missing rows and rows of no issue included; ascending. Unreadable, with the database's
/// reason, when it cannot be read. The table derives from the entries, which the hash chain protects;
/// the table itself is not covered, so anything that edited it shows here.
Result<QList<qint64>> issuesOutOfStep(const QSqlDatabase &db);

} // namespace seikyu
