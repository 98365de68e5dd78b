#pragma once

#include "document/InvoiceFile.h"
#include "ledger/LedgerEntry.h"

namespace seikyu {

/// The issue entry an invoice page makes, before the ledger numbers and chains it: the title,
/// number, dates, customer and honorific, the issuer's registration number, and the amounts the
/// sums rows at the end of the table state. The payable amount is 差引請求額 when income tax is
/// withheld and 合計 otherwise; a table without sums gives the amount box's amount.
LedgerEntry issueEntryOf(const InvoicePage &page);

/// The page an invoice file shows, as far as the ledger reads it, for issues made without a
/// window (the command line's e-invoices). A file without a date shows `today`.
InvoicePage issuedPageOf(const InvoiceContents &contents, const QDate &today);

} // namespace seikyu
