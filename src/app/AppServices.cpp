#include "app/AppServices.h"

#include "app/AboutBox.h"
#include "app/PreferencesDialog.h"
#include "document/Document.h"
#include "einvoice/EInvoiceExport.h"
#include "help/HelpPanel.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"
#include "widgets/WindowFront.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "MainMenu", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(MainMenu)
};
} // namespace

void AppServices::addOutputActions(QMenu *fileMenu, QWidget *window, Document *document)
{
    QAction *exportPdf = fileMenu->addAction(Text::tr("&Export as PDF…"));
    exportPdf->setObjectName(QStringLiteral("exportPdfAction"));
    QObject::connect(exportPdf, &QAction::triggered, document,
                     [document, window] { exportPdfMaybeWithEInvoice(*document, window); });
    QAction *attach = fileMenu->addAction(Text::tr("Attach the e-Invoice (PDF/A-3)"));
    attach->setObjectName(QStringLiteral("attachEInvoiceAction"));
    attach->setCheckable(true);
    attach->setToolTip(Text::tr("Export as PDF makes a PDF/A-3 with the JP PINT e-invoice inside"));
    QObject::connect(fileMenu, &QMenu::aboutToShow, attach, [attach] { attach->setChecked(attachesEInvoice()); });
    attach->setChecked(attachesEInvoice());
    QObject::connect(attach, &QAction::toggled, attach, [](bool on) { setAttachesEInvoice(on); });
    QAction *eInvoice = fileMenu->addAction(Text::tr("Export e-Invoice (&JP PINT)…"));
    eInvoice->setObjectName(QStringLiteral("exportEInvoiceAction"));
    QObject::connect(eInvoice, &QAction::triggered, document,
                     [document, window] { exportEInvoice(*document, window); });
    QAction *print = fileMenu->addAction(Text::tr("&Print…"));
    print->setObjectName(QStringLiteral("printAction"));
    print->setShortcut(QKeySequence::Print);
    QObject::connect(print, &QAction::triggered, document, [document, window] { printDocument(*document, window); });
    // W, as Re&vert to Saved in the same menu has V.
    QAction *preview = fileMenu->addAction(Text::tr("Print Previe&w…"));
    preview->setObjectName(QStringLiteral("printPreviewAction"));
    QObject::connect(preview, &QAction::triggered, document,
                     [document, window] { previewDocument(*document, window); });
}

void AppServices::addPreferencesAction(QMenu *editMenu, QWidget *window)
{
    editMenu->addSeparator();
    QAction *preferences = editMenu->addAction(Text::tr("Pre&ferences…"));
    preferences->setObjectName(QStringLiteral("preferencesAction"));
    preferences->setMenuRole(QAction::PreferencesRole);
    preferences->setShortcut(QKeySequence::Preferences);
    QObject::connect(preferences, &QAction::triggered, window, [window] {
        auto *dialog = new PreferencesDialog(window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

HelpPanel *AppServices::helpPanel()
{
    // One help panel for the whole application, made when it is first asked for.
    static QPointer<HelpPanel> panel;
    if (!panel) {
        panel = new HelpPanel;
        // A window without a parent: let it go with the application.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, panel, &QObject::deleteLater);
    }
    return panel;
}

void AppServices::addHelpActions(QMenu *helpMenu, QWidget *window)
{
    QAction *help = helpMenu->addAction(Text::tr("%1 Help").arg(QApplication::applicationName()));
    help->setObjectName(QStringLiteral("helpAction"));
    help->setShortcut(QKeySequence::HelpContents);
    QObject::connect(help, &QAction::triggered, window, [] { bringToFront(helpPanel()); });
    helpMenu->addSeparator();
    QAction *about = helpMenu->addAction(Text::tr("&About %1").arg(QApplication::applicationName()));
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, window, [window] { showAbout(window); });
}

} // namespace seikyu
