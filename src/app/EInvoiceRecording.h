#pragma once

namespace seikyu {

/// Has every e-invoice written as an XML file of its own recorded in the ledger of issued
/// invoices, with the XML's hash and a copy archived. One written into a PDF/A-3 is already
/// recorded with that PDF. What the ledger has to say goes to standard error on the command line
/// (`commandLine`), to a message otherwise.
void recordEInvoicesInLedger(bool commandLine);

} // namespace seikyu
