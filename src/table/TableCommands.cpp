#include "table/TableCommands.h"

#include "document/Document.h"
#include "table/ItemTableModel.h"

#include <QCoreApplication>

Q_LOGGING_CATEGORY(lcTable, "seikyu.table", QtInfoMsg)

namespace seikyu {

namespace {
QString actionName(const char *key)
{
    return QCoreApplication::translate("Document", key);
}

/// The row's index in the table now: where it was recorded if it is still there, else wherever
/// the same row object stands. Undo and redo replay in order, so a row that was taken away and
/// made anew by an undone and redone "Add a Row" stands at its recorded index: that index is
/// used then. -1 when there is no such row.
int locate(const ItemTableModel *bank, const RowPtr &row, int recorded)
{
    if (!bank)
        return -1;
    if (bank->row(recorded) == row)
        return recorded;
    const int found = static_cast<int>(bank->rows().indexOf(row));
    if (found >= 0)
        return found;
    return (recorded > 0 && recorded < bank->count()) ? recorded : -1;
}
} // namespace

AddRowCommand::AddRowCommand(Document *document) : m_document(document)
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Add a Row")));
}

void AddRowCommand::redo()
{
    m_document->appendNewRow();
}

void AddRowCommand::undo()
{
    ItemTableModel *bank = m_document->bank;
    if (bank && bank->count() > 1)
        bank->removeRowAt(bank->count() - 1);
}

RemoveRowsCommand::RemoveRowsCommand(Document *document, QList<Removed> rows)
    : m_document(document), m_rows(std::move(rows))
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Remove Rows")));
}

void RemoveRowsCommand::redo()
{
    ItemTableModel *bank = m_document->bank;
    if (!bank)
        return;
    QList<int> indexes;
    for (Removed &removed : m_rows) {
        const int at = locate(bank, removed.row, removed.index);
        if (at > 0) {
            removed.row = bank->row(at); // what is really removed is what undo puts back
            indexes.append(at);
        }
    }
    bank->removeRowsAt(indexes);
}

void RemoveRowsCommand::undo()
{
    ItemTableModel *bank = m_document->bank;
    if (!bank)
        return;
    for (const Removed &removed : std::as_const(m_rows))
        bank->insertRowAt(removed.index, removed.row);
}

EditCellCommand::EditCellCommand(Document *document, const RowPtr &row, int held, Column column, const CellValue &value)
    : m_document(document), m_row(row), m_held(held), m_before(row->cells()), m_after(row->cells())
{
    m_after[static_cast<std::size_t>(column)] = value;
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Edit a cell")));
    qCInfo(lcTable).noquote() << QStringLiteral("PUSH: %1").arg(record());
}

QString EditCellCommand::record() const
{
    QStringList cells;
    for (int i = 0; i < ColumnCount; ++i)
        cells.append(QStringLiteral("%1 = \"%2\"")
                         .arg(columnKey(static_cast<Column>(i)), cellDisplay(m_before[static_cast<std::size_t>(i)])));
    return QStringLiteral("{ data = { %1 }; held = %2; }")
        .arg(cells.join(QStringLiteral("; ")), QString::number(m_held));
}

void EditCellCommand::apply(const std::array<CellValue, ColumnCount> &cells)
{
    ItemTableModel *bank = m_document->bank;
    const int at = locate(bank, m_row, m_held);
    if (at <= 0)
        return; // the row is no longer in the table: touch nothing else
    m_row = bank->row(at);
    for (int i = 0; i < ColumnCount; ++i) {
        const auto column = static_cast<Column>(i);
        const CellValue &wanted = cells[static_cast<std::size_t>(i)];
        if (m_row->value(column) != wanted || m_row->value(column).typeId() != wanted.typeId())
            bank->setCell(at, column, wanted);
    }
}

void EditCellCommand::redo()
{
    apply(m_after);
}

void EditCellCommand::undo()
{
    qCInfo(lcTable).noquote() << QStringLiteral("PULL: %1").arg(record());
    apply(m_before);
}

RemoveSumCommand::RemoveSumCommand(Document *document) : m_document(document)
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Add Sum")));
}

void RemoveSumCommand::redo()
{
    m_document->removeSumsRows();
}

void RemoveSumCommand::undo()
{
    m_document->gridCalc();
}

FinalizeCommand::FinalizeCommand(Document *document) : m_document(document)
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Finalize")));
}

void FinalizeCommand::redo()
{
    m_document->yens();
}

void FinalizeCommand::undo()
{
    m_document->wipeDone();
}

} // namespace seikyu
