#pragma once

#include <QString>
#include <functional>

class QMenuBar;
class QWidget;

namespace seikyu {

class Document;

/// Window ▸ Issued Invoices, Window ▸ Verify Ledger and Window ▸ Recover Ledger… in an invoice window's menu bar. The
/// ledger window opens source invoices through `openInvoice`.
void addLedgerMenu(QMenuBar *bar, QWidget *window, Document *document,
                   std::function<void(const QString &path)> openInvoice);

} // namespace seikyu
