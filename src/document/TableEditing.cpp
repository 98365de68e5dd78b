// The table panel: adding, removing and editing rows, each undoable.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "invoice/ItemTableModel.h"
#include "invoice/TableCommands.h"
#include "sections/DateText.h"
#include "sections/UnkeptTexts.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QTableView>

namespace seikyu {

RowPtr Document::makeNewRow() const
{
    const QDate day = m_model->date();
    const QString zeros = QStringLiteral("00");
    return std::make_shared<ItemRow>(rowDateText(day), QCoreApplication::translate("Document", "double click to edit"),
                                     zeros, zeros, zeros);
}

void Document::tblePlus(QObject *)
{
    // A totalled table keeps its sums at the end: the new row goes above them.
    const std::optional<RowRange> sumsRows = m_model->table() ? trailingSums(m_model->table()->rows()) : std::nullopt;
    pushTableStep(new AddRowCommand(m_model->table(), makeNewRow(), sumsRows ? sumsRows->first : -1));
}

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
} // namespace

void Document::tbleKill(QObject *)
{
    if (!grid)
        return;
    QList<int> indexes;
    for (const QModelIndex &index : grid->selectionModel()->selectedRows())
        indexes.append(index.row());
    std::sort(indexes.begin(), indexes.end());
    // The header row cannot go, and removing nothing records nothing.
    if (indexes.isEmpty() || indexes.constFirst() <= 0)
        return;
    // The sums that end a totalled table follow its items; Remove Sum is what takes them away.
    if (const std::optional<RowRange> sumsRows = trailingSums(m_model->table()->rows()))
        indexes.removeIf([&](int index) { return sumsRows->contains(index); });
    if (indexes.isEmpty())
        return;
    QList<RemoveRowsCommand::Removed> removed;
    for (int index : std::as_const(indexes))
        removed.append({index, m_model->table()->row(index)});
    pushTableStep(new RemoveRowsCommand(m_model->table(), removed));
}

void Document::editCell(int row, Column column, const QString &text)
{
    if (row < 1 || row >= m_model->table()->count())
        return;
    const std::optional<RowRange> sumsRows = trailingSums(m_model->table()->rows());
    if (sumsRows && sumsRows->contains(row))
        return; // the sums are worked out from the items, never typed over
    const RowPtr target = m_model->table()->row(row);
    const CellValue &current = target->value(column);
    if (cellIsText(current) && current.toString() == text)
        return; // nothing changes, so there is nothing to undo
    if (refusesUnkeptText(m_window.get(), {text}))
        return; // the file would be refused when opened again
    RowCells after = target->cells();
    after[static_cast<std::size_t>(column)] = text;
    if (column == Column::Solo || column == Column::Much)
        after = withPriceFollowing(target->cells(), after);
    pushTableStep(new EditCellsCommand(m_model->table(), target, row, after, EditCellsCommand::Kind::Edit));
}

} // namespace seikyu
