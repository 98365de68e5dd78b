#pragma once

#include "table/ItemRow.h"

#include <QList>
#include <QLoggingCategory>
#include <QPointer>
#include <QUndoCommand>
#include <functional>

Q_DECLARE_LOGGING_CATEGORY(lcTable)

namespace seikyu {

class ItemTableModel;

/// "Add a Row": puts the fresh row at the index given (at the end when it is negative); undo takes
/// that very row away, wherever it stands by then, and redo puts it back where it was.
class AddRowCommand : public QUndoCommand
{
public:
    AddRowCommand(ItemTableModel *bank, RowPtr row, int index = -1);
    void redo() override;
    void undo() override;

private:
    QPointer<ItemTableModel> m_bank;
    RowPtr m_row;
    int m_index = -1;
};

/// "Remove Rows": removes the recorded rows; undo puts each back at its index.
class RemoveRowsCommand : public QUndoCommand
{
public:
    struct Removed
    {
        int index;
        RowPtr row;
    };
    RemoveRowsCommand(ItemTableModel *bank, QList<Removed> rows);
    void redo() override;
    void undo() override;

private:
    QPointer<ItemTableModel> m_bank;
    QList<Removed> m_rows; ///< ascending by index
};

/// "Edit a cell" and "Work Out Price": changes cells of one row. Only the cells the step changed
/// are recorded, so undo gives back exactly those and leaves what later steps did to the others.
class EditCellsCommand : public QUndoCommand
{
public:
    enum class Kind { Edit, Price };
    EditCellsCommand(ItemTableModel *bank, const RowPtr &row, int held, const RowCells &after, Kind kind);
    void redo() override;
    void undo() override;

private:
    struct Change
    {
        Column column;
        CellValue before;
        CellValue after;
    };
    void apply(bool forward);
    QString record() const;

    QPointer<ItemTableModel> m_bank;
    RowPtr m_row;
    int m_held;
    Kind m_kind;
    QList<Change> m_changes;
};

/// "Finalize": redo writes every amount as currency text, undo reduces them to plain numbers.
class FinalizeCommand : public QUndoCommand
{
public:
    FinalizeCommand(std::function<void()> writeCurrency, std::function<void()> writePlainNumbers);
    void redo() override;
    void undo() override;

private:
    std::function<void()> m_writeCurrency;
    std::function<void()> m_writePlainNumbers;
};

} // namespace seikyu
