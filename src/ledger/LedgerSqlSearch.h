#pragma once

#include "base/Result.h"
#include "ledger/LedgerSearch.h"

#include <QSqlDatabase>

namespace seikyu {

/// The issued invoices the filter finds, with their payments, voids and reissues, found by the
/// database in the table of issues its triggers keep beside the entries, so that neither a ledger
/// of years nor an office's shared one is ever read whole. An issue without an invoice date is
/// dated by the UTC day it was recorded: the same day on every computer of an office.
/// Unreadable, with the database's words, when the database fails.
Result<LedgerPage> searchLedger(const QSqlDatabase &db, const LedgerFilter &filter, const LedgerSlice &slice);

} // namespace seikyu
