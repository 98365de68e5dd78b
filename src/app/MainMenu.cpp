#include "app/MainMenu.h"

#include "app/AppServices.h"
#include "app/DocumentController.h"
#include "app/PageZoom.h"
#include "document/Document.h"
#include "invoice/InvoiceFile.h"
#include "invoice/InvoiceModel.h"
#include "ledger/LedgerMenu.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "MainMenu", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(MainMenu)
};

/// Cut, Copy, Paste and Select All act on whichever text field has the focus.
void forwardToFocus(const char *method)
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->metaObject()->indexOfMethod(
                     QMetaObject::normalizedSignature((QByteArray(method) + "()").constData())) >= 0)
        QMetaObject::invokeMethod(focus, method);
}

void fillRecentMenu(QMenu *menu, DocumentController *controller)
{
    menu->clear();
    const QStringList files = controller->recentFiles();
    for (const QString &path : files) {
        QAction *action = menu->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        QObject::connect(action, &QAction::triggered, controller, [controller, path] { controller->openFile(path); });
    }
    if (!files.isEmpty())
        menu->addSeparator();
    QAction *clear = menu->addAction(Text::tr("Clear Menu"));
    clear->setEnabled(!files.isEmpty());
    QObject::connect(clear, &QAction::triggered, controller, [controller] { controller->clearRecentFiles(); });
}

} // namespace

void MainMenu::install(QMainWindow *window, Document *document, DocumentController *controller)
{
    QMenuBar *bar = window->menuBar();

    QMenu *file = bar->addMenu(Text::tr("&File"));
    QAction *newAction = file->addAction(Text::tr("&New"), controller, [controller] { controller->newDocument(); });
    newAction->setShortcut(QKeySequence::New);
    QAction *open =
        file->addAction(Text::tr("&Open…"), controller, [controller, window] { controller->openWithDialog(window); });
    open->setShortcut(QKeySequence::Open);
    QMenu *recent = file->addMenu(Text::tr("Open &Recent"));
    recent->setObjectName(QStringLiteral("recentMenu"));
    QObject::connect(recent, &QMenu::aboutToShow, recent, [recent, controller] { fillRecentMenu(recent, controller); });
    fillRecentMenu(recent, controller);
    file->addSeparator();
    QAction *save =
        file->addAction(Text::tr("&Save"), controller, [controller, document] { controller->save(document); });
    save->setShortcut(QKeySequence::Save);
    QAction *saveAs =
        file->addAction(Text::tr("Save &As…"), controller, [controller, document] { controller->saveAs(document); });
    saveAs->setShortcut(QKeySequence::SaveAs);
    QAction *duplicate = file->addAction(Text::tr("&Duplicate…"), controller,
                                         [controller, document] { controller->duplicate(document); });
    duplicate->setObjectName(QStringLiteral("duplicateAction"));
    duplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    duplicate->setToolTip(Text::tr("Next month's invoice: a copy of this one, dated a month later"));
    // The next document of the sale: a quotation's delivery slip or invoice, an invoice's receipt.
    const std::pair<DocumentKind, const char *> nextKinds[] = {
        {DocumentKind::Delivery, QT_TRANSLATE_NOOP("MainMenu", "Make De&livery Slip")},
        {DocumentKind::Invoice, QT_TRANSLATE_NOOP("MainMenu", "Ma&ke Invoice")},
        {DocumentKind::Receipt, QT_TRANSLATE_NOOP("MainMenu", "Make Receip&t")},
    };
    QList<std::pair<DocumentKind, QAction *>> makers;
    for (const auto &[kind, label] : nextKinds) {
        QAction *make = file->addAction(Text::tr(label), controller,
                                        [controller, document, kind = kind] { controller->makeNext(document, kind); });
        make->setObjectName(QStringLiteral("make-%1").arg(documentKindText(kind)));
        makers.append({kind, make});
    }
    // A document makes the kinds after its own, never one of its own kind (Duplicate does that).
    QObject::connect(file, &QMenu::aboutToShow, file, [document, makers] {
        for (const auto &[kind, make] : makers)
            make->setEnabled(kind != document->model()->kind());
    });
    // The wholesaler's month: one invoice for the customer's delivery slips of a closing period.
    QAction *monthly = file->addAction(Text::tr("Make &Monthly Invoice…"), controller,
                                       [controller, document] { controller->makeMonthly(document); });
    monthly->setObjectName(QStringLiteral("make-monthly"));
    QAction *revert = file->addAction(Text::tr("Re&vert to Saved"), controller,
                                      [controller, document] { controller->revert(document); });
    revert->setObjectName(QStringLiteral("revertAction"));
    revert->setEnabled(!document->filePath().isEmpty());
    QObject::connect(document, &Document::filePathChanged, revert,
                     [revert](const QString &path) { revert->setEnabled(!path.isEmpty()); });
    QAction *importRows = file->addAction(Text::tr("&Import Rows…"), document, [document] { document->importRows(); });
    importRows->setObjectName(QStringLiteral("importRowsAction"));
    importRows->setToolTip(Text::tr("Adds the rows of a CSV file to the table"));
    file->addSeparator();
    AppServices::addOutputActions(file, window, document);
    file->addSeparator();
    QAction *close =
        file->addAction(Text::tr("&Close"), controller, [controller, document] { controller->close(document); });
    close->setShortcut(QKeySequence::Close);
    QAction *quit = file->addAction(Text::tr("&Quit"), controller, [controller] {
        if (controller->closeAll())
            QApplication::quit();
    });
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu *edit = bar->addMenu(Text::tr("&Edit"));
    QAction *undo = document->undoStack()->createUndoAction(window, Text::tr("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setObjectName(QStringLiteral("undoAction"));
    QAction *redo = document->undoStack()->createRedoAction(window, Text::tr("Redo"));
    redo->setShortcut(QKeySequence::Redo);
    redo->setObjectName(QStringLiteral("redoAction"));
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(Text::tr("Cu&t"), window, [] { forwardToFocus("cut"); })->setShortcut(QKeySequence::Cut);
    edit->addAction(Text::tr("&Copy"), window, [] { forwardToFocus("copy"); })->setShortcut(QKeySequence::Copy);
    edit->addAction(Text::tr("&Paste"), window, [] { forwardToFocus("paste"); })->setShortcut(QKeySequence::Paste);
    QAction *pasteRows = edit->addAction(Text::tr("Paste &Rows"), document, [document] { document->gridPaste(); });
    pasteRows->setObjectName(QStringLiteral("pasteRowsAction"));
    pasteRows->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    pasteRows->setToolTip(Text::tr("Adds cells copied from a spreadsheet as rows after the table's current row"));
    edit->addAction(Text::tr("Select &All"), window, [] { forwardToFocus("selectAll"); })
        ->setShortcut(QKeySequence::SelectAll);
    AppServices::addPreferencesAction(edit, window);

    QMenu *view = bar->addMenu(Text::tr("&View"));
    QAction *zoomIn =
        view->addAction(Text::tr("Zoom &In"), document, [document] { document->setZoom(document->zoom() * ZoomStep); });
    zoomIn->setShortcuts(QKeySequence::ZoomIn);
    QAction *zoomOut = view->addAction(Text::tr("Zoom &Out"), document,
                                       [document] { document->setZoom(document->zoom() / ZoomStep); });
    zoomOut->setShortcuts(QKeySequence::ZoomOut);
    QAction *actualSize = view->addAction(Text::tr("&Actual Size"), document,
                                          [document, window] { document->setZoom(actualSizeZoom(window)); });
    actualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    QObject::connect(document, &Document::zoomChanged, window, [](double zoom) { rememberZoom(zoom); });

    addLedgerMenu(
        bar, window, document, [controller](const QString &path) { controller->openFile(path); },
        [controller](const Invoice &made) { controller->openMade(made); });

    QMenu *help = bar->addMenu(Text::tr("&Help"));
    AppServices::addHelpActions(help, window);
}

} // namespace seikyu
