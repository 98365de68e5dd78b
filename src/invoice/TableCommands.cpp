#include "invoice/TableCommands.h"

#include "invoice/ItemTableModel.h"

#include <QCoreApplication>

// A diagnostic log, quiet unless asked for (QT_LOGGING_RULES="seikyu.*.info=true"): a person
// using Seikyu sees no lines on the terminal it was started from.
Q_LOGGING_CATEGORY(lcTable, "seikyu.table", QtWarningMsg)

namespace seikyu {

namespace {
QString actionName(const char *key)
{
    return QCoreApplication::translate("Document", key);
}

/// The row's index in the table now: where it was recorded if it is still there, else wherever
/// the same row object stands; -1 when it is gone. Rows keep their identity through every undo and
/// redo, so a step never acts on another row that happens to stand at its index.
int locate(const ItemTableModel *bank, const RowPtr &row, int recorded)
{
    if (!bank || !row)
        return -1;
    if (bank->row(recorded) == row)
        return recorded;
    return static_cast<int>(bank->rows().indexOf(row));
}
} // namespace

AddRowCommand::AddRowCommand(ItemTableModel *bank, RowPtr row, int index)
    : m_bank(bank), m_row(std::move(row)), m_index(index)
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Add a Row")));
}

void AddRowCommand::redo()
{
    ItemTableModel *bank = m_bank;
    if (!bank || !m_row)
        return;
    if (m_index < 0) {
        bank->addRow(m_row);
        m_index = bank->count() - 1;
        return;
    }
    bank->insertRowAt(m_index, m_row);
}

void AddRowCommand::undo()
{
    ItemTableModel *bank = m_bank;
    const int at = locate(bank, m_row, m_index);
    if (at <= 0)
        return; // the row is no longer in the table: touch nothing else
    m_index = at;
    bank->removeRowAt(at);
}

RemoveRowsCommand::RemoveRowsCommand(ItemTableModel *bank, QList<Removed> rows) : m_bank(bank), m_rows(std::move(rows))
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Remove Rows")));
}

void RemoveRowsCommand::redo()
{
    ItemTableModel *bank = m_bank;
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
    ItemTableModel *bank = m_bank;
    if (!bank)
        return;
    for (const Removed &removed : std::as_const(m_rows))
        bank->insertRowAt(removed.index, removed.row);
}

EditCellsCommand::EditCellsCommand(ItemTableModel *bank, const RowPtr &row, int held, const RowCells &after, Kind kind)
    : m_bank(bank), m_row(row), m_held(held), m_kind(kind)
{
    for (int i = 0; i < ColumnCount; ++i) {
        const CellValue &before = row->value(static_cast<Column>(i));
        const CellValue &wanted = after[static_cast<std::size_t>(i)];
        if (before != wanted || before.typeId() != wanted.typeId())
            m_changes.append({static_cast<Column>(i), before, wanted});
    }
    if (kind == Kind::Edit) {
        setText(actionName(QT_TRANSLATE_NOOP("Document", "Edit a cell")));
        qCInfo(lcTable).noquote() << QStringLiteral("PUSH: %1").arg(record());
    } else {
        setText(actionName(QT_TRANSLATE_NOOP("Document", "Work Out Price")));
    }
}

QString EditCellsCommand::record() const
{
    QStringList cells;
    for (int i = 0; i < ColumnCount; ++i) {
        CellValue value = m_row->value(static_cast<Column>(i));
        for (const Change &change : m_changes) {
            if (change.column == static_cast<Column>(i))
                value = change.before;
        }
        cells.append(QStringLiteral("%1 = \"%2\"").arg(columnKey(static_cast<Column>(i)), cellDisplay(value)));
    }
    return QStringLiteral("{ data = { %1 }; held = %2; }")
        .arg(cells.join(QStringLiteral("; ")), QString::number(m_held));
}

void EditCellsCommand::apply(bool forward)
{
    ItemTableModel *bank = m_bank;
    const int at = locate(bank, m_row, m_held);
    if (at <= 0)
        return; // the row is no longer in the table: touch nothing else
    m_row = bank->row(at);
    for (const Change &change : std::as_const(m_changes))
        bank->setCell(at, change.column, forward ? change.after : change.before);
}

void EditCellsCommand::redo()
{
    apply(true);
}

void EditCellsCommand::undo()
{
    if (m_kind == Kind::Edit)
        qCInfo(lcTable).noquote() << QStringLiteral("PULL: %1").arg(record());
    apply(false);
}

FinalizeCommand::FinalizeCommand(std::function<void()> writeCurrency, std::function<void()> writePlainNumbers)
    : m_writeCurrency(std::move(writeCurrency)), m_writePlainNumbers(std::move(writePlainNumbers))
{
    setText(actionName(QT_TRANSLATE_NOOP("Document", "Finalize")));
}

void FinalizeCommand::redo()
{
    m_writeCurrency();
}

void FinalizeCommand::undo()
{
    m_writePlainNumbers();
}

} // namespace seikyu
