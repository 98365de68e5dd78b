#pragma once

#include "base/Result.h"
#include "einvoice/EInvoiceExport.h"
#include "ledger/IssueLedger.h"

#include <optional>

namespace seikyu {

/// Has every e-invoice written as an XML file of its own recorded in the ledger of issued
/// invoices, with the XML's hash and a copy archived. One written into a PDF/A-3 is already
/// recorded with that PDF. What the ledger has to say goes to standard error on the command line
/// (`commandLine`), to a message otherwise.
void recordEInvoicesInLedger(bool commandLine);

/// What became of an e-invoice the ledger issued (`outcome`), with what its write said when it was
/// called (`wrote`): a fault always names why the file was not written, on the command line a
/// refusal saying how to issue it all the same.
Result<IssuedEInvoice> eInvoiceIssued(const Result<IssueOutcome> &outcome, const std::optional<Result<void>> &wrote,
                                      bool commandLine);

} // namespace seikyu
