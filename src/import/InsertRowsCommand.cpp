#include "import/InsertRowsCommand.h"

#include "invoice/ItemTableModel.h"

#include <QSet>
#include <algorithm>
#include <numeric>

namespace seikyu {

InsertRowsCommand::InsertRowsCommand(ItemTableModel *bank, int index, QList<RowPtr> rows, const QString &text)
    : m_bank(bank), m_index(index), m_rows(std::move(rows))
{
    setText(text);
}

void InsertRowsCommand::redo()
{
    if (ItemTableModel *bank = m_bank)
        bank->insertRowsAt(m_index, m_rows);
}

void InsertRowsCommand::undo()
{
    ItemTableModel *bank = m_bank;
    if (!bank || m_rows.isEmpty())
        return;
    const QList<RowPtr> &rows = bank->rows();
    // Usually the block is still where it went in; otherwise each row is found by its identity.
    const int size = static_cast<int>(m_rows.size());
    if (m_index > 0 && m_index + size <= bank->count() &&
        std::equal(m_rows.begin(), m_rows.end(), rows.begin() + m_index)) {
        QList<int> indexes(size);
        std::iota(indexes.begin(), indexes.end(), m_index);
        bank->removeRowsAt(indexes);
        return;
    }
    QSet<const ItemRow *> ours;
    for (const RowPtr &row : std::as_const(m_rows))
        ours.insert(row.get());
    QList<int> indexes;
    for (int i = 1; i < bank->count(); ++i) {
        if (ours.contains(rows.at(i).get()))
            indexes.append(i);
    }
    if (!indexes.isEmpty())
        m_index = indexes.constFirst();
    bank->removeRowsAt(indexes);
}

} // namespace seikyu
