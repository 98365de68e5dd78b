// What a panel changes takes effect only through its OK. Cancel (or Esc, or closing the panel)
// puts its controls back as they were when it opened; the table panel, whose edits reach the
// table at once so that they can be undone one by one, puts the table back as one undoable step.
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "document/InvoiceWindow.h"
#include "document/NoticePanel.h"
#include "document/NumberPanel.h"
#include "document/TablePanel.h"
#include "invoice/ItemTableModel.h"
#include "invoice/TableState.h"
#include "sections/PanelSnapshot.h"

#include <QDialog>
#include <QTableView>

namespace seikyu {

void Document::watchPanelCancels()
{
    for (QDialog *panel : panels()) {
        connect(panel, &QDialog::rejected, this, [this, panel] { panelCancelled(panel); });
        connect(panel, &QDialog::finished, this,
                [this] { QMetaObject::invokeMethod(this, &Document::returnToThePage, Qt::QueuedConnection); });
    }
    // The totals questions can end the table panel's session without coming back to it; whether
    // they did is known once the panel that follows them (if any) is on screen.
    for (QDialog *question : std::initializer_list<QDialog *>{gridSums.get(), gridFail.get()})
        connect(question, &QDialog::finished, this, [this] {
            QMetaObject::invokeMethod(this, &Document::endTableSessionUnlessShown, Qt::QueuedConnection);
        });
}

void Document::rememberPanelAtOpen(QDialog *panel)
{
    if (panel == gridCtrl.get()) {
        // Shown again after the totals, the session goes on; shown by undoing a removed sum with
        // no session open, it starts now.
        if (!m_tableAtOpen)
            m_tableAtOpen = std::make_unique<TableState>(m_model->tableState());
        return;
    }
    if (panel == gridSums.get() || panel == gridFail.get())
        return; // questions inside the table panel's session
    m_panelAtOpen = std::make_unique<PanelSnapshot>(panel);
}

void Document::panelCancelled(QDialog *panel)
{
    if (panel == gridCtrl.get()) {
        if (grid())
            grid()->clearSelection();
        cancelTableEdits();
        return;
    }
    if (panel == gridSums.get()) {
        show(gridCtrl.get()); // "no" to the sums, not to the table's edits
        return;
    }
    if (panel == numbCtrl.get())
        numbCancelled();
    if (m_panelAtOpen && m_panelAtOpen->panel() == panel)
        m_panelAtOpen->restore();
}

void Document::returnToThePage()
{
    // The keyboard goes back to the page once the last panel is gone, with or without a window
    // manager to hand it back.
    if (m_window && m_window->isVisible() && !(m_shownSheet && m_shownSheet->isVisible()))
        m_window->activateWindow();
}

void Document::endTableSessionUnlessShown()
{
    for (const QDialog *panel :
         std::initializer_list<const QDialog *>{gridCtrl.get(), gridSums.get(), gridFail.get()}) {
        if (panel && panel->isVisible())
            return;
    }
    m_tableAtOpen.reset();
}

void Document::gridShow(QObject *)
{
    m_gridPlace.reset(); // opened afresh, the panel is placed as any dialog is
    m_tableAtOpen = std::make_unique<TableState>(m_model->tableState());
    show(gridCtrl.get());
}

void Document::gridCopy(QObject *)
{
    if (grid())
        grid()->clearSelection();
    m_page->settleTable();
    updateChangeCount(ChangeDone);
    m_tableAtOpen.reset();
    hide();
}

void Document::cancelTableEdits()
{
    const std::unique_ptr<TableState> atOpen = std::move(m_tableAtOpen);
    if (!atOpen)
        return;
    TableState atCancel = m_model->tableState();
    if (sameTable(*atOpen, atCancel))
        return;
    m_model->restoreTableState(*atOpen);
    // One step, so that the edits that were cancelled can still be brought back.
    m_model->undoStack()->push(
        new TableStateCommand(m_model.get(), tr("Cancel Table Edits"), std::move(atCancel), *atOpen));
}

void Document::gridNeatCurrent(QObject *)
{
    // A cell still being typed into counts, as it would once the user left it.
    if (gridCtrl)
        gridNeat(gridCtrl->commitTyping());
}

} // namespace seikyu
