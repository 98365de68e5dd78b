#pragma once

#include "table/ItemRow.h"

#include <QList>
#include <QLoggingCategory>
#include <QUndoCommand>
#include <array>

Q_DECLARE_LOGGING_CATEGORY(lcTable)

namespace seikyu {

class Document;

/// "Add a Row": appends a fresh row; undo removes the last row.
class AddRowCommand : public QUndoCommand
{
public:
    explicit AddRowCommand(Document *document);
    void redo() override;
    void undo() override;

private:
    Document *m_document;
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
    RemoveRowsCommand(Document *document, QList<Removed> rows);
    void redo() override;
    void undo() override;

private:
    Document *m_document;
    QList<Removed> m_rows; ///< ascending by index
};

/// "Edit a cell": keeps the row's values before and after, so undo really brings the old text back.
class EditCellCommand : public QUndoCommand
{
public:
    EditCellCommand(Document *document, const RowPtr &row, int held, Column column, const CellValue &value);
    void redo() override;
    void undo() override;

private:
    void apply(const std::array<CellValue, ColumnCount> &cells);
    QString record() const;

    Document *m_document;
    RowPtr m_row;
    int m_held;
    std::array<CellValue, ColumnCount> m_before;
    std::array<CellValue, ColumnCount> m_after;
};

/// "Add Sum", registered by Remove Sum: redo takes the sums rows away, undo totals the table again.
class RemoveSumCommand : public QUndoCommand
{
public:
    explicit RemoveSumCommand(Document *document);
    void redo() override;
    void undo() override;

private:
    Document *m_document;
};

/// "Finalize": redo writes every amount as currency text, undo reduces them to digits again.
class FinalizeCommand : public QUndoCommand
{
public:
    explicit FinalizeCommand(Document *document);
    void redo() override;
    void undo() override;

private:
    Document *m_document;
};

} // namespace seikyu
