#pragma once

#include <QString>
#include <functional>

class QMenuBar;
class QWidget;

namespace seikyu {

class Document;
struct Invoice;

/// Window ▸ Issued Invoices, Window ▸ Verify Ledger and Window ▸ Recover Ledger… in an invoice window's menu bar. The
/// ledger window opens source invoices through `openInvoice`, and the documents it makes (a payment's receipt)
/// through `makeDocument`.
void addLedgerMenu(QMenuBar *bar, QWidget *window, Document *document,
                   std::function<void(const QString &path)> openInvoice,
                   std::function<void(const Invoice &made)> makeDocument);

} // namespace seikyu
