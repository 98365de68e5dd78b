#pragma once

#include "ledger/LedgerSearch.h"

#include <QSqlDatabase>
#include <optional>

namespace seikyu {

/// The issued invoices the filter finds, with their payments, voids and reissues, found by the
/// database on its indexes, so that neither a ledger of years nor an office's shared one is ever
/// read whole. An issue without an invoice date is dated by the day it was recorded, in local time.
std::optional<LedgerPage> searchLedger(const QSqlDatabase &db, const LedgerFilter &filter, const LedgerSlice &slice,
                                       QString *error = nullptr);

} // namespace seikyu
