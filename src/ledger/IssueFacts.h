#pragma once

#include "invoice/Invoice.h"
#include "ledger/LedgerEntry.h"

namespace seikyu {

/// The issue entry an invoice makes, before the ledger numbers and chains it: the kind of document, the title,
/// number, dates, customer and honorific, the issuer's registration number, and the amounts the
/// sums rows at the end of the table state. The payable amount is 差引請求額 when income tax is
/// withheld and 合計 otherwise; a table without sums gives the amount box's amount.
LedgerEntry issueEntryOf(const Invoice &invoice);

} // namespace seikyu
