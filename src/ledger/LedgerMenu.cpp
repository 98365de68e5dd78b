#include "ledger/LedgerMenu.h"

#include "customers/CustomerBookWindow.h"
#include "document/Document.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "widgets/PageButton.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "LedgerMenu", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(LedgerMenu)
};
} // namespace

void addLedgerMenu(QMenuBar *bar, QWidget *window, Document *document,
                   std::function<void(const QString &path)> openInvoice,
                   std::function<void(const Invoice &made)> makeDocument)
{
    QMenu *menu = bar->addMenu(Text::tr("&Window"));
    const QPointer<Document> guarded(document);
    auto issuer = [guarded] { return guarded ? guarded->issuerShown() : QString(); };
    QAction *issued = menu->addAction(Text::tr("&Issued Invoices"), window, [issuer, openInvoice, makeDocument] {
        IssuedInvoicesWindow::showWindow(issuer(), openInvoice, makeDocument);
    });
    issued->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    issued->setObjectName(QStringLiteral("issuedInvoicesAction"));
    menu->addAction(Text::tr("&Verify Ledger"), window, [issuer, openInvoice, makeDocument] {
        IssuedInvoicesWindow::showWindow(issuer(), openInvoice, makeDocument)->verifyLedger();
    });
    menu->addAction(Text::tr("&Recover Ledger…"), window, [issuer, openInvoice, makeDocument] {
        IssuedInvoicesWindow::showWindow(issuer(), openInvoice, makeDocument)->recoverLedger();
    });
    menu->addSeparator();
    QAction *customers = menu->addAction(Text::tr("&Customers"), window, [] { CustomerBookWindow::showWindow(); });
    customers->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    customers->setObjectName(QStringLiteral("customerBookAction"));
}

} // namespace seikyu
