// The table panel: adding, removing and editing rows, each undoable.
#include "document/Document.h"
#include "sections/DateText.h"
#include "table/ItemTableModel.h"
#include "table/TableCommands.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QTableView>

namespace seikyu {

RowPtr Document::makeNewRow() const
{
    const QDate day = dateDial ? dateDial->date() : QDate::currentDate();
    const QString zeros = QStringLiteral("00");
    return std::make_shared<ItemRow>(rowDateText(day), QCoreApplication::translate("Document", "double click to edit"),
                                     zeros, zeros, zeros);
}

void Document::tblePlus(QObject *)
{
    m_undoStack.push(new AddRowCommand(bank, makeNewRow()));
}

void Document::tbleKill(QObject *)
{
    if (!grid || !bank)
        return;
    QList<int> indexes;
    for (const QModelIndex &index : grid->selectionModel()->selectedRows())
        indexes.append(index.row());
    std::sort(indexes.begin(), indexes.end());
    // The header row cannot go, and removing nothing records nothing.
    if (indexes.isEmpty() || indexes.constFirst() <= 0)
        return;
    QList<RemoveRowsCommand::Removed> removed;
    for (int index : std::as_const(indexes))
        removed.append({index, bank->row(index)});
    m_undoStack.push(new RemoveRowsCommand(bank, removed));
}

void Document::editCell(int row, Column column, const QString &text)
{
    if (!bank || row < 1 || row >= bank->count())
        return;
    const RowPtr target = bank->row(row);
    const CellValue &current = target->value(column);
    if (cellIsText(current) && current.toString() == text)
        return; // nothing changes, so there is nothing to undo
    RowCells after = target->cells();
    after[static_cast<std::size_t>(column)] = text;
    m_undoStack.push(new EditCellsCommand(bank, target, row, after, EditCellsCommand::Kind::Edit));
}

} // namespace seikyu
