#include "app/AppServices.h"

#include "document/Document.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace seikyu {

namespace {
QString tr(const char *text)
{
    return QApplication::translate("MainMenu", text);
}
} // namespace

void AppServices::addOutputActions(QMenu *fileMenu, QWidget *window, Document *document)
{
    QAction *exportPdf = fileMenu->addAction(tr("&Export as PDF…"));
    exportPdf->setObjectName(QStringLiteral("exportPdfAction"));
    QObject::connect(exportPdf, &QAction::triggered, document,
                     [document, window] { seikyu::exportPdf(*document, window); });
    QAction *print = fileMenu->addAction(tr("&Print…"));
    print->setObjectName(QStringLiteral("printAction"));
    print->setShortcut(QKeySequence::Print);
    QObject::connect(print, &QAction::triggered, document, [document, window] { printDocument(*document, window); });
    QAction *preview = fileMenu->addAction(tr("Print Pre&view…"));
    preview->setObjectName(QStringLiteral("printPreviewAction"));
    QObject::connect(preview, &QAction::triggered, document,
                     [document, window] { previewDocument(*document, window); });
}

void AppServices::addPreferencesAction(QMenu *, QWidget *) {}

void AppServices::addHelpActions(QMenu *helpMenu, QWidget *)
{
    QAction *help = helpMenu->addAction(tr("Seikyu Help"));
    help->setShortcut(QKeySequence::HelpContents);
    help->setEnabled(false);
}

} // namespace seikyu
