// Row prices, the sums rows with consumption tax, and the currency formatting of amounts.
#include "document/Document.h"
#include "document/NoticePanel.h"
#include "document/TablePanel.h"
#include "document/TableState.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "invoice/TableCommands.h"
#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "table/TaxPreferences.h"
#include "widgets/PageButton.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QTableView>

namespace seikyu {

bool Document::isTotalled() const
{
    return trailingSums(m_model->table()->rows()).has_value();
}

void Document::gridNeat(int clickedRow)
{
    if (clickedRow < 1 || clickedRow >= m_model->table()->count())
        return;
    const RowPtr row = m_model->table()->row(clickedRow);
    if (row->isHeader())
        return;
    const std::optional<RowCells> priced = pricedRow(row->cells());
    if (!priced || *priced == row->cells())
        return; // nothing to work out, or already worked out: nothing to undo either
    pushTableStep(new EditCellsCommand(m_model->table(), row, clickedRow, *priced, EditCellsCommand::Kind::Price));
}

void Document::gridSumsShow(QObject *)
{
    hide();
    show(gridSums.get());
}

SumsInput Document::sumsInput() const
{
    SumsInput input;
    input.addTax = m_model->taxOnTop();
    input.rate = m_model->taxRate();
    input.rounding = TaxPreferences::load().rounding;
    input.withholding = withholds();
    // A registration number makes the invoice a qualified one, which states every rate's sums.
    input.qualified = !registrationNumberOf(m_model->issuer()).isEmpty();
    return input;
}

bool Document::appendSumsRows()
{
    if (isTotalled())
        return false;
    QList<RowPtr> rows = m_model->table()->rows();
    const QList<bool> items = itemRowMask(rows);
    SumsInput input = sumsInput();
    QList<RowPtr> kept;
    QList<RowCells> keptCells;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!rows.at(i)->isHeader() && !items.at(i))
            continue; // an earlier set of sums rows: the new set replaces it
        RowCells cells = rows.at(i)->cells();
        if (items.at(i)) {
            cells = countedItem(cells);
            input.items.append({amountOf(cells[static_cast<std::size_t>(Column::Sums)]), rows.at(i)->taxClass()});
        }
        kept.append(rows.at(i));
        keptCells.append(cells);
    }
    const std::optional<QList<SumsLine>> lines = computeSums(input);
    if (!lines)
        return false;
    const QString blank = QStringLiteral(" ");
    for (const SumsLine &line : *lines) {
        kept.append(std::make_shared<ItemRow>(blank, blank, blank, line.label, line.value));
        keptCells.append(kept.last()->cells());
    }
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (!kept.at(i)->isHeader())
            kept.at(i)->setCells(formattedAmounts(keptCells.at(i)));
    }
    m_model->table()->setRows(kept);
    return true;
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
    if (isTotalled()) {
        showTotalsFailure(tr("The table already ends with its total.\nRemove the sum first to total it again."));
        return;
    }
    const TableState before = tableState();
    if (!appendSumsRows()) {
        showTotalsFailure(tr("The totals are too large to be written on an invoice.\nCheck the unit prices and "
                             "quantities of the items."));
        return;
    }
    m_model->undoStack()->push(
        new TableStateCommand(this, QCoreApplication::translate("Document", "Add Sum"), before, tableState()));
    if (grid)
        grid->clearSelection();
    hide();
    show(gridCtrl.get());
}

void Document::gridFailClose(QObject *)
{
    // The notice came from the table panel's totals: the user goes back to the table.
    hide();
    show(gridCtrl.get());
}

bool Document::removeSumsRows()
{
    const std::optional<RowRange> block = m_model->table() ? trailingSums(m_model->table()->rows()) : std::nullopt;
    if (!block)
        return false; // only a totalled table has sums rows to take away; anything else would delete items
    QList<int> indexes;
    for (int i = block->first; i <= block->last; ++i)
        indexes.append(i);
    m_model->table()->removeRowsAt(indexes);
    return true;
}

void Document::tbleBack(QObject *)
{
    const TableState before = tableState();
    if (!removeSumsRows())
        return;
    m_model->undoStack()->push(
        new TableStateCommand(this, QCoreApplication::translate("Document", "Remove Sum"), before, tableState()));
}

void Document::yens()
{
    if (m_model->table()->count() == 0)
        return;
    for (const RowPtr &row : m_model->table()->rows()) {
        if (!row->isHeader())
            row->setCells(formattedAmounts(row->cells()));
    }
    // One announcement for the whole table: both views repaint and the document counts it as an
    // edit, without a remove and re-insert per row.
    m_model->table()->rowsChangedInPlace(0, m_model->table()->count() - 1);
}

void Document::done(QObject *)
{
    m_model->undoStack()->push(new FinalizeCommand([this] { yens(); }, [this] { wipeDone(); }));
}

void Document::wipeDone()
{
    if (m_model->table()->count() < 2)
        return;
    for (const RowPtr &row : m_model->table()->rows()) {
        if (!row->isHeader())
            row->setCells(plainAmounts(row->cells()));
    }
    m_model->table()->rowsChangedInPlace(1, m_model->table()->count() - 1);
}

void Document::formatUnitPricesBesideCurrency()
{
    bool changed = false;
    for (const RowPtr &row : m_model->table()->rows())
        changed = setUnitPriceBesideCurrency(*row) || changed;
    if (changed)
        m_model->table()->rowsChangedInPlace(1, m_model->table()->count() - 1);
}

} // namespace seikyu
