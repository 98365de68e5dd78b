#pragma once

#include "invoice/Invoice.h"
#include "ledger/LedgerEntry.h"

#include <optional>

namespace seikyu {

/// The file an issue was made from, when it still is the document the ledger recorded: the same
/// kind, number and amount. Nothing when it is gone, unreadable or has changed since.
std::optional<Invoice> issuedFileOf(const LedgerEntry &issue);

} // namespace seikyu
