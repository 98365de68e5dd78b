#pragma once

#include "table/ItemRow.h"

#include <QList>
#include <QPointer>
#include <QUndoCommand>

namespace seikyu {

class InvoiceModel;

/// The table as the table panel edits it: every row object with the cells it holds, and the
/// tax settings that go with it. Restoring one gives back exactly that table, row identities
/// included, so undo records made before still find their rows.
struct TableState
{
    QList<RowPtr> rows;
    QList<ItemRow> values; ///< what each row held: its cells and its tax class
    bool includeTax = false;
    int taxRate = 8;
    bool withholding = false;
};

/// Whether two states hold the same rows with the same values and the same settings.
bool sameTable(const TableState &a, const TableState &b);

/// One undo step that moves the table between two whole states: used where a command changes
/// many rows at once (totals, Remove Sum, cancelling the table panel). The change is made before
/// the command is pushed, so its first redo does nothing.
class TableStateCommand : public QUndoCommand
{
public:
    TableStateCommand(InvoiceModel *model, const QString &text, TableState before, TableState after);
    void redo() override;
    void undo() override;

private:
    QPointer<InvoiceModel> m_model;
    TableState m_before;
    TableState m_after;
    bool m_applied = true;
};

} // namespace seikyu
