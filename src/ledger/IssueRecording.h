#pragma once

#include "ledger/LedgerEntry.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace seikyu {

class Document;

/// Issues the invoice shown in `document` as IssueLedger::issue does: `write` puts `bytes` at
/// `target` (or prints, with neither), and the ledger records it, telling the user (once) when the
/// ledger could not take it now and every time an output is left without its entry. Whether
/// `write` succeeded.
bool issueOutput(Document &document, IssueChannel channel, const QString &target, const QByteArray &bytes,
                 const std::function<bool()> &write, QWidget *parent);

} // namespace seikyu
