// The table's totals as the window offers them: Add Sum with its notices, Remove Sum, Work Out
// Price and Finalize, each one step of the invoice model.
#include "document/Document.h"
#include "document/NoticePanel.h"
#include "document/TablePanel.h"
#include "invoice/ItemTableModel.h"

#include <QTableView>

namespace seikyu {

bool Document::isTotalled() const
{
    return m_model->isTotalled();
}

void Document::gridNeat(int clickedRow)
{
    m_model->priceRow(clickedRow);
}

void Document::gridSumsShow(QObject *)
{
    hide();
    show(gridSums.get());
}

void Document::showTotalsFailure(const QString &reason)
{
    if (gridFail)
        gridFail->setText(reason);
    hide();
    show(gridFail.get());
}

void Document::gridCalc(QObject *)
{
    switch (m_model->addSums()) {
    case InvoiceModel::SumsOutcome::AlreadyTotalled:
        showTotalsFailure(tr("The table already ends with its total.\nRemove the sum first to total it again."));
        return;
    case InvoiceModel::SumsOutcome::TooLarge:
        showTotalsFailure(tr("The totals are too large to be written on an invoice.\nCheck the unit prices and "
                             "quantities of the items."));
        return;
    case InvoiceModel::SumsOutcome::Added:
        break;
    }
    if (grid())
        grid()->clearSelection();
    hide();
    show(gridCtrl.get());
}

void Document::gridFailClose(QObject *)
{
    // The notice came from the table panel's totals: the user goes back to the table.
    hide();
    show(gridCtrl.get());
}

void Document::tbleBack(QObject *)
{
    m_model->removeSums();
}

void Document::done(QObject *)
{
    m_model->finalize();
}

} // namespace seikyu
