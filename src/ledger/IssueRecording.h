#pragma once

#include "ledger/LedgerEntry.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace seikyu {

class Document;

/// Issues the invoice shown in `document` as IssueLedger::issue does: `write` puts `bytes` at
/// `target` (or prints, with neither), and the ledger records it, telling the user (once) when the
/// ledger could not take it now and every time an output is left without its entry. Whether
/// `write` succeeded.
/// Asked before the invoice in `document` goes out (the page is rendered after): when its number
/// is another invoice's in the ledger, the user takes a new number for it, says it corrects that
/// invoice (a reissue), or stops. True to go on.
bool settleInvoiceNumber(Document &document, QWidget *parent);

/// A receipt names the payment it `acknowledges` (see IssueLedger::paymentsOf).
bool issueOutput(Document &document, IssueChannel channel, const QString &target, const QByteArray &bytes,
                 const std::function<bool()> &write, QWidget *parent,
                 const std::optional<LedgerEntry> &acknowledges = std::nullopt);

} // namespace seikyu
