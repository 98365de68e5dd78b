// The table panel's tax choices: the invoice's rate, each row's tax class, and withholding.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/TablePanel.h"
#include "invoice/ItemTableModel.h"
#include "widgets/Prompter.h"

#include <QDialog>
#include <QTableView>

namespace seikyu {

void Document::changeTaxOnTop(bool onTop)
{
    m_model->changeTaxOnTop(onTop);
    updateChangeCount(ChangeDone);
}

void Document::changeWithholding(bool withholding)
{
    m_model->changeWithholding(withholding);
    updateChangeCount(ChangeDone);
}

void Document::changeTaxRate(int rate)
{
    if (rate == m_model->taxRate())
        return;
    m_model->changeTaxRate(rate);
    updateChangeCount(ChangeDone);
}

void Document::setTaxRate(int rate)
{
    m_model->setTaxRate(rate);
}

void Document::markRows(TaxClass taxClass)
{
    if (!grid())
        return;
    QList<int> rows;
    for (const QModelIndex &index : grid()->selectionModel()->selectedRows())
        rows.append(index.row());
    const QList<bool> items = itemRowMask(m_model->table()->rows());
    if (std::none_of(rows.begin(), rows.end(), [&](int row) { return items.value(row); }))
        return;
    // On an 8 % invoice every row is taxed at 8 % already, so the user is told, and offered today's rate.
    if (m_model->markingSwitchesRate(taxClass) &&
        !Prompter::instance().askToProceed(
            gridCtrl && gridCtrl->isVisible() ? static_cast<QWidget *>(gridCtrl.get()) : m_window.get(),
            tr("This invoice is taxed at 8 %."),
            tr("On an invoice at 8 %, the rate of invoices before October 2019, every row is taxed at 8 % and no "
               "row is marked. Switch the invoice to the standard rate of 10 % and mark the selected rows as "
               "reduced rate (8 %)?"),
            tr("Switch to 10 %")))
        return;
    m_model->markRows(rows, taxClass);
}

} // namespace seikyu
