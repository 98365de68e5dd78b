// Sums that follow the table: once a table is totalled, every step that changes what its sums
// count works them out afresh within itself, so no page, file or PDF shows a total of rows that
// are no longer there.
#include "document/Document.h"
#include "document/TableState.h"
#include "invoice/ItemTableModel.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QUndoCommand>

namespace seikyu {

bool Document::refreshSums()
{
    const std::optional<RowRange> block = m_model->table() ? trailingSums(m_model->table()->rows()) : std::nullopt;
    if (!block)
        return false;
    const QList<RowPtr> rows = m_model->table()->rows();
    const QList<bool> items = itemRowMask(rows);
    SumsInput input = sumsInput();
    for (int i = 0; i < block->first; ++i) {
        if (!items.at(i))
            continue;
        const RowCells counted = countedItem(rows.at(i)->cells());
        if (counted != rows.at(i)->cells()) {
            // Priced as Add Sum prices it, so the row shows the price its sums count.
            rows.at(i)->setCells(formattedAmounts(counted));
            m_model->table()->rowsChangedInPlace(i, i);
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
        m_model->table()->insertRowAt(at, added);
    }
    const int end = block->first + static_cast<int>(lines->size());
    QList<int> surplus;
    for (int i = end; i <= block->last; ++i)
        surplus.append(i);
    m_model->table()->removeRowsAt(surplus);
    m_model->table()->rowsChangedInPlace(block->first, m_model->table()->count() - 1);
    return true;
}

void Document::pushTableStep(QUndoCommand *step)
{
    if (!isTotalled()) {
        m_model->undoStack()->push(step);
        return;
    }
    // The step and the sums it changes are one entry: undo takes both back, redo does both again.
    const QString name = step->text();
    m_model->undoStack()->beginMacro(name);
    m_model->undoStack()->push(step);
    TableState stepped = tableState();
    if (refreshSums())
        m_model->undoStack()->push(new TableStateCommand(this, name, std::move(stepped), tableState()));
    m_model->undoStack()->endMacro();
}

void Document::pushTableSettings(const QString &actionName, const TableState &before)
{
    refreshSums();
    m_model->undoStack()->push(new TableStateCommand(this, actionName, before, tableState()));
    updateChangeCount(ChangeDone);
}

} // namespace seikyu
