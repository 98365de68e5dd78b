#pragma once

#include "ledger/LedgerEntry.h"

#include <QString>

class QWidget;

namespace seikyu {

class Document;

/// Records the invoice just exported or printed in the ledger of issued invoices, telling the
/// user (once) when the ledger could not take it. Called only after the output succeeded.
void recordIssued(Document &document, IssueChannel channel, const QString &pdfPath, QWidget *parent);

} // namespace seikyu
