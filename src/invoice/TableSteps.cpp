// The item table's steps on the invoice: rows added, removed and edited, prices worked out, the
// sums rows with consumption tax, the tax settings, and the currency text of Finalize. Each is one
// entry of the undo stack; once a table is totalled, every step that changes what its sums count
// works them out afresh within itself, so no page, file or PDF shows a total of rows that are no
// longer there.
#include "invoice/InvoiceModel.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "invoice/TableCommands.h"
#include "sections/DateText.h"
#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/TaxPreferences.h"

#include <QCoreApplication>
#include <algorithm>

namespace seikyu {

namespace {

/// A price that was worked out from the unit price and quantity is worked out again when either
/// changes, in the same step: a price of 3 × ￥1,000 must not stay ￥3,000 once the 3 is a 4. A
/// price typed by hand, or none, stays as it is.
RowCells withPriceFollowing(const RowCells &before, const RowCells &after)
{
    const qint64 price = amountOf(before[static_cast<std::size_t>(Column::Sums)]);
    const std::optional<RowCells> workedOut = pricedRow(before);
    if (price == 0 || !workedOut || amountOf((*workedOut)[static_cast<std::size_t>(Column::Sums)]) != price)
        return after;
    return pricedRow(after).value_or(after);
}

QString documentText(const char *text)
{
    return QCoreApplication::translate("Document", text);
}

} // namespace

bool InvoiceModel::isTotalled() const
{
    return trailingSums(m_table->rows()).has_value();
}

SumsInput InvoiceModel::sumsInput() const
{
    SumsInput input;
    input.addTax = taxOnTop();
    input.rate = taxRate();
    input.rounding = TaxPreferences::load().rounding;
    input.withholding = withholding();
    input.qualified = !registrationNumberOf(issuer()).isEmpty();
    return input;
}

bool InvoiceModel::appendSumsRows()
{
    if (isTotalled())
        return false;
    QList<RowPtr> rows = m_table->rows();
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
    m_table->setRows(kept);
    return true;
}

InvoiceModel::SumsOutcome InvoiceModel::addSums()
{
    if (isTotalled())
        return SumsOutcome::AlreadyTotalled;
    const TableState before = tableState();
    if (!appendSumsRows())
        return SumsOutcome::TooLarge;
    m_undoStack.push(
        new TableStateCommand(this, documentText(QT_TRANSLATE_NOOP("Document", "Add Sum")), before, tableState()));
    return SumsOutcome::Added;
}

bool InvoiceModel::removeSumsRows()
{
    const std::optional<RowRange> block = trailingSums(m_table->rows());
    if (!block)
        return false; // only a totalled table has sums rows to take away; anything else would delete items
    QList<int> indexes;
    for (int i = block->first; i <= block->last; ++i)
        indexes.append(i);
    m_table->removeRowsAt(indexes);
    return true;
}

void InvoiceModel::removeSums()
{
    const TableState before = tableState();
    if (removeSumsRows())
        m_undoStack.push(new TableStateCommand(this, documentText(QT_TRANSLATE_NOOP("Document", "Remove Sum")), before,
                                               tableState()));
}

bool InvoiceModel::refreshSums()
{
    const std::optional<RowRange> block = trailingSums(m_table->rows());
    if (!block)
        return false;
    const QList<RowPtr> rows = m_table->rows();
    const QList<bool> items = itemRowMask(rows);
    SumsInput input = sumsInput();
    for (int i = 0; i < block->first; ++i) {
        if (!items.at(i))
            continue;
        const RowCells counted = countedItem(rows.at(i)->cells());
        if (counted != rows.at(i)->cells()) {
            // Priced as Add Sum prices it, so the row shows the price its sums count.
            rows.at(i)->setCells(formattedAmounts(counted));
            m_table->rowsChangedInPlace(i, i);
        }
        input.items.append({amountOf(counted[static_cast<std::size_t>(Column::Sums)]), rows.at(i)->taxClass()});
    }
    const std::optional<QList<SumsLine>> lines = computeSums(input);
    if (!lines) {
        // Sums beyond what an amount can hold cannot be written: rather none than stale ones,
        // and the output then asks about the missing sums.
        removeSumsRows();
        return true;
    }
    // The rows of the old set take the new values in place, so the views keep their selection;
    // a set that grew or shrank (a second rate, withholding) gains or loses rows at its end.
    const QString blank = QStringLiteral(" ");
    for (qsizetype k = 0; k < lines->size(); ++k) {
        const SumsLine &line = lines->at(k);
        const RowCells cells = formattedAmounts(ItemRow(blank, blank, blank, line.label, line.value).cells());
        const int at = block->first + static_cast<int>(k);
        if (at <= block->last) {
            rows.at(at)->setCells(cells);
            continue;
        }
        auto added = std::make_shared<ItemRow>();
        added->setCells(cells);
        m_table->insertRowAt(at, added);
    }
    const int end = block->first + static_cast<int>(lines->size());
    QList<int> surplus;
    for (int i = end; i <= block->last; ++i)
        surplus.append(i);
    m_table->removeRowsAt(surplus);
    m_table->rowsChangedInPlace(block->first, m_table->count() - 1);
    return true;
}

void InvoiceModel::pushTableStep(QUndoCommand *step)
{
    if (!isTotalled()) {
        m_undoStack.push(step);
        return;
    }
    // The step and the sums it changes are one entry: undo takes both back, redo does both again.
    const QString name = step->text();
    m_undoStack.beginMacro(name);
    m_undoStack.push(step);
    TableState stepped = tableState();
    if (refreshSums())
        m_undoStack.push(new TableStateCommand(this, name, std::move(stepped), tableState()));
    m_undoStack.endMacro();
}

void InvoiceModel::pushTableSettings(const QString &actionName, const TableState &before)
{
    refreshSums();
    m_undoStack.push(new TableStateCommand(this, actionName, before, tableState()));
}

void InvoiceModel::addRow()
{
    const QString zeros = QStringLiteral("00");
    auto row = std::make_shared<ItemRow>(
        rowDateText(date()), documentText(QT_TRANSLATE_NOOP("Document", "double click to edit")), zeros, zeros, zeros);
    // A totalled table keeps its sums at the end: the new row goes above them.
    const std::optional<RowRange> sumsRows = trailingSums(m_table->rows());
    pushTableStep(new AddRowCommand(m_table, std::move(row), sumsRows ? sumsRows->first : -1));
}

void InvoiceModel::removeRows(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    // The header row cannot go, and removing nothing records nothing.
    if (indexes.isEmpty() || indexes.constFirst() <= 0 || indexes.constLast() >= m_table->count())
        return;
    // The sums that end a totalled table follow its items; Remove Sum is what takes them away.
    if (const std::optional<RowRange> sumsRows = trailingSums(m_table->rows()))
        indexes.removeIf([&](int index) { return sumsRows->contains(index); });
    if (indexes.isEmpty())
        return;
    QList<RemoveRowsCommand::Removed> removed;
    for (int index : std::as_const(indexes))
        removed.append({index, m_table->row(index)});
    pushTableStep(new RemoveRowsCommand(m_table, removed));
}

bool InvoiceModel::editChangesCell(int row, Column column, const QString &text) const
{
    if (row < 1 || row >= m_table->count())
        return false;
    const std::optional<RowRange> sumsRows = trailingSums(m_table->rows());
    if (sumsRows && sumsRows->contains(row))
        return false; // the sums are worked out from the items, never typed over
    const CellValue &current = m_table->row(row)->value(column);
    return !(cellIsText(current) && current.toString() == text);
}

void InvoiceModel::editCell(int row, Column column, const QString &text)
{
    if (!editChangesCell(row, column, text))
        return; // nothing changes, so there is nothing to undo
    const RowPtr target = m_table->row(row);
    RowCells after = target->cells();
    after[static_cast<std::size_t>(column)] = text;
    if (column == Column::Solo || column == Column::Much)
        after = withPriceFollowing(target->cells(), after);
    pushTableStep(new EditCellsCommand(m_table, target, row, after, EditCellsCommand::Kind::Edit));
}

void InvoiceModel::priceRow(int row)
{
    if (row < 1 || row >= m_table->count())
        return;
    const RowPtr target = m_table->row(row);
    if (target->isHeader())
        return;
    const std::optional<RowCells> priced = pricedRow(target->cells());
    if (!priced || *priced == target->cells())
        return; // nothing to work out, or already worked out: nothing to undo either
    pushTableStep(new EditCellsCommand(m_table, target, row, *priced, EditCellsCommand::Kind::Price));
}

void InvoiceModel::changeTaxOnTop(bool onTop)
{
    // The step is the switch the user clicked: from the other setting to this one.
    TableState before = tableState();
    before.includeTax = !onTop;
    setTaxOnTop(onTop);
    pushTableSettings(documentText(QT_TRANSLATE_NOOP("Document", "Include Tax")), before);
}

void InvoiceModel::changeWithholding(bool withholds)
{
    TableState before = tableState();
    before.withholding = !withholds;
    setWithholding(withholds);
    pushTableSettings(documentText(QT_TRANSLATE_NOOP("Document", "Withhold Income Tax")), before);
}

void InvoiceModel::changeTaxRate(int rate)
{
    if (rate == taxRate())
        return;
    const TableState before = tableState();
    setTaxRate(rate);
    pushTableSettings(documentText(QT_TRANSLATE_NOOP("Document", "Change Tax Rate")), before);
}

bool InvoiceModel::markingSwitchesRate(TaxClass taxClass) const
{
    // The reduced rate stands apart only on an invoice at the standard rate: on an 8 % invoice
    // every row is taxed at 8 % already.
    return taxClass == TaxClass::Reduced && taxRate() != StandardRate;
}

void InvoiceModel::markRows(const QList<int> &rows, TaxClass taxClass)
{
    const QList<bool> items = itemRowMask(m_table->rows());
    QList<RowPtr> marked;
    for (int index : rows) {
        if (items.value(index) && !marked.contains(m_table->row(index)))
            marked.append(m_table->row(index));
    }
    if (marked.isEmpty())
        return;
    const bool switchRate = markingSwitchesRate(taxClass);
    // Marking rows that all carry the mark already takes it off again.
    const bool all = !switchRate && std::all_of(marked.begin(), marked.end(),
                                                [&](const RowPtr &r) { return r->taxClass() == taxClass; });
    const TaxClass chosen = all ? TaxClass::Standard : taxClass;
    const TableState before = tableState();
    if (switchRate)
        setTaxRate(StandardRate);
    for (const RowPtr &r : std::as_const(marked))
        r->setTaxClass(chosen);
    m_table->rowsChangedInPlace(0, m_table->count() - 1);
    refreshSums();
    const char *name = chosen == TaxClass::Reduced  ? QT_TRANSLATE_NOOP("Document", "Mark Reduced Rate")
                       : chosen == TaxClass::Exempt ? QT_TRANSLATE_NOOP("Document", "Mark Not Taxable")
                                                    : QT_TRANSLATE_NOOP("Document", "Mark Standard Rate");
    m_undoStack.push(new TableStateCommand(this, documentText(name), before, tableState()));
}

namespace {
/// Every amount of the items and sums rewritten in one form, with one announcement for the whole
/// table: both views repaint and the document counts it as an edit, without a remove and re-insert
/// per row.
void rewriteAmounts(ItemTableModel &table, RowCells (*form)(const RowCells &))
{
    if (table.count() < 2)
        return;
    for (const RowPtr &row : table.rows()) {
        if (!row->isHeader())
            row->setCells(form(row->cells()));
    }
    table.rowsChangedInPlace(1, table.count() - 1);
}
} // namespace

void InvoiceModel::writeAmountsAsCurrency()
{
    rewriteAmounts(*m_table, formattedAmounts);
}

void InvoiceModel::writeAmountsAsNumbers()
{
    rewriteAmounts(*m_table, plainAmounts);
}

void InvoiceModel::finalize()
{
    m_undoStack.push(new FinalizeCommand([this] { writeAmountsAsCurrency(); }, [this] { writeAmountsAsNumbers(); }));
}

void InvoiceModel::formatUnitPricesBesideCurrency()
{
    bool changed = false;
    for (const RowPtr &row : m_table->rows())
        changed = setUnitPriceBesideCurrency(*row) || changed;
    if (changed)
        m_table->rowsChangedInPlace(1, m_table->count() - 1);
}

} // namespace seikyu
