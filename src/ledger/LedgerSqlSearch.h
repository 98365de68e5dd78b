#pragma once

#include "ledger/LedgerSearch.h"

#include <QSqlDatabase>
#include <optional>

namespace seikyu {

/// The issued invoices the filter finds, with their payments, voids and reissues, found by the
/// database in the table of issues its triggers keep beside the entries, so that neither a ledger
/// of years nor an office's shared one is ever read whole. An issue without an invoice date is
/// dated by the UTC day it was recorded: the same day on every computer of an office.
std::optional<LedgerPage> searchLedger(const QSqlDatabase &db, const LedgerFilter &filter, const LedgerSlice &slice,
                                       QString *error = nullptr);

} // namespace seikyu
