#pragma once

#include "table/ItemRow.h"

#include <QList>
#include <QPointer>
#include <QUndoCommand>

namespace seikyu {

class ItemTableModel;

/// Adds a block of rows at one place as one undo step ("Paste Rows", "Import Rows"); undo takes
/// those very rows away, wherever they stand by then, and redo puts them back where they were.
class InsertRowsCommand : public QUndoCommand
{
public:
    InsertRowsCommand(ItemTableModel *bank, int index, QList<RowPtr> rows, const QString &text);
    void redo() override;
    void undo() override;

private:
    QPointer<ItemTableModel> m_bank;
    int m_index;
    QList<RowPtr> m_rows;
};

} // namespace seikyu
