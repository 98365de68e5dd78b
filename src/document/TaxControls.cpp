// The table panel's tax choices: the invoice's rate, each row's tax class, and withholding.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/TablePanel.h"
#include "document/TableState.h"
#include "invoice/ItemTableModel.h"
#include "table/SumsRows.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTableView>

namespace seikyu {

void Document::changeTaxOnTop(bool onTop)
{
    TableState before = tableState();
    before.includeTax = !onTop;
    m_model->setTaxOnTop(onTop);
    pushTableSettings(QCoreApplication::translate("Document", "Include Tax"), before);
}

void Document::changeWithholding(bool withholding)
{
    TableState before = tableState();
    before.withholding = !withholding;
    m_model->setWithholding(withholding);
    pushTableSettings(QCoreApplication::translate("Document", "Withhold Income Tax"), before);
}

void Document::changeTaxRate(int rate)
{
    if (rate == m_model->taxRate())
        return;
    const TableState before = tableState();
    setTaxRate(rate);
    pushTableSettings(QCoreApplication::translate("Document", "Change Tax Rate"), before);
}

void Document::setTaxRate(int rate)
{
    m_model->setTaxRate(rate == StandardRate ? StandardRate : ReducedRate);
    // Reduced-rate rows are told apart only where there is another rate.
    m_model->table()->setMarksReducedRows(m_model->taxRate() == StandardRate);
}

void Document::markRows(TaxClass taxClass)
{
    if (!grid)
        return;
    const QList<bool> items = itemRowMask(m_model->table()->rows());
    QList<RowPtr> marked;
    for (const QModelIndex &index : grid->selectionModel()->selectedRows()) {
        if (items.value(index.row()))
            marked.append(m_model->table()->row(index.row()));
    }
    if (marked.isEmpty())
        return;
    // The reduced rate stands apart only on an invoice at the standard rate: on an 8 % invoice
    // every row is taxed at 8 % already, so the user is told, and offered today's rate.
    const bool switchRate = taxClass == TaxClass::Reduced && m_model->taxRate() != StandardRate;
    if (switchRate &&
        !Prompter::instance().askToProceed(
            gridCtrl && gridCtrl->isVisible() ? static_cast<QWidget *>(gridCtrl.get()) : m_window.get(),
            tr("This invoice is taxed at 8 %."),
            tr("On an invoice at 8 %, the rate of invoices before October 2019, every row is taxed at 8 % and no "
               "row is marked. Switch the invoice to the standard rate of 10 % and mark the selected rows as "
               "reduced rate (8 %)?"),
            tr("Switch to 10 %")))
        return;
    // Marking rows that all carry the mark already takes it off again.
    const bool all = !switchRate && std::all_of(marked.begin(), marked.end(),
                                                [&](const RowPtr &r) { return r->taxClass() == taxClass; });
    const TaxClass chosen = all ? TaxClass::Standard : taxClass;
    const TableState before = tableState();
    if (switchRate)
        setTaxRate(StandardRate);
    for (const RowPtr &r : std::as_const(marked))
        r->setTaxClass(chosen);
    m_model->table()->rowsChangedInPlace(0, m_model->table()->count() - 1);
    refreshSums();
    const char *name = chosen == TaxClass::Reduced  ? QT_TRANSLATE_NOOP("Document", "Mark Reduced Rate")
                       : chosen == TaxClass::Exempt ? QT_TRANSLATE_NOOP("Document", "Mark Not Taxable")
                                                    : QT_TRANSLATE_NOOP("Document", "Mark Standard Rate");
    m_model->undoStack()->push(
        new TableStateCommand(this, QCoreApplication::translate("Document", name), before, tableState()));
}

} // namespace seikyu
