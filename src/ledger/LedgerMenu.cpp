#include "ledger/LedgerMenu.h"

#include "document/Document.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "widgets/PageButton.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace seikyu {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("LedgerMenu", text);
}
} // namespace

void addLedgerMenu(QMenuBar *bar, QWidget *window, Document *document,
                   std::function<void(const QString &path)> openInvoice)
{
    QMenu *menu = bar->addMenu(tr("&Window"));
    const QPointer<Document> guarded(document);
    auto issuer = [guarded] { return guarded && guarded->home ? guarded->home->title() : QString(); };
    QAction *issued = menu->addAction(tr("&Issued Invoices"), window, [issuer, openInvoice] {
        IssuedInvoicesWindow::showWindow(issuer(), openInvoice);
    });
    issued->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    menu->addAction(tr("&Verify Ledger"), window,
                    [issuer, openInvoice] { IssuedInvoicesWindow::showWindow(issuer(), openInvoice)->verifyLedger(); });
}

} // namespace seikyu
