#include "app/AppServices.h"

#include "document/Document.h"

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

void AppServices::addOutputActions(QMenu *fileMenu, QWidget *, Document *)
{
    QAction *exportPdf = fileMenu->addAction(tr("&Export as PDF…"));
    exportPdf->setObjectName(QStringLiteral("exportPdfAction"));
    exportPdf->setEnabled(false);
    QAction *print = fileMenu->addAction(tr("&Print…"));
    print->setObjectName(QStringLiteral("printAction"));
    print->setShortcut(QKeySequence::Print);
    print->setEnabled(false);
}

void AppServices::addPreferencesAction(QMenu *, QWidget *) {}

void AppServices::addHelpActions(QMenu *helpMenu, QWidget *)
{
    QAction *help = helpMenu->addAction(tr("Seikyu Help"));
    help->setShortcut(QKeySequence::HelpContents);
    help->setEnabled(false);
}

} // namespace seikyu
