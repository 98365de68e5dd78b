// The table panel: adding, removing and editing rows, each an undoable step of the invoice model.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "invoice/ItemTableModel.h"
#include "sections/UnkeptTexts.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace seikyu {

void Document::tblePlus(QObject *)
{
    m_model->addRow();
}

void Document::tbleKill(QObject *)
{
    if (!grid())
        return;
    QList<int> indexes;
    for (const QModelIndex &index : grid()->selectionModel()->selectedRows())
        indexes.append(index.row());
    m_model->removeRows(indexes);
}

void Document::editCell(int row, Column column, const QString &text)
{
    if (!m_model->editChangesCell(row, column, text))
        return; // nothing changes, so there is nothing to undo
    if (refusesUnkeptText(m_window.get(), {text}))
        return; // the file would be refused when opened again
    m_model->editCell(row, column, text);
}

} // namespace seikyu
