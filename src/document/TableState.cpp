#include "document/TableState.h"

#include "document/Document.h"
#include "invoice/ItemTableModel.h"

namespace seikyu {

TableState Document::tableState() const
{
    TableState state;
    state.rows = m_model->table()->rows();
    state.values.reserve(state.rows.size());
    for (const RowPtr &row : std::as_const(state.rows))
        state.values.append(*row);
    state.includeTax = m_model->taxOnTop();
    state.taxRate = m_model->taxRate();
    state.withholding = withholds();
    return state;
}

void Document::restoreTableState(const TableState &state)
{
    for (qsizetype i = 0; i < state.rows.size() && i < state.values.size(); ++i) {
        if (!state.rows.at(i)->isHeader())
            *state.rows.at(i) = state.values.at(i);
    }
    m_model->table()->setRows(state.rows);
    m_model->setTaxOnTop(state.includeTax);
    setTaxRate(state.taxRate);
    m_model->setWithholding(state.withholding);
}

TableStateCommand::TableStateCommand(Document *document, const QString &text, TableState before, TableState after)
    : m_document(document), m_before(std::move(before)), m_after(std::move(after))
{
    setText(text);
}

void TableStateCommand::redo()
{
    if (m_applied) {
        m_applied = false; // the change was made before the command was pushed
        return;
    }
    m_document->restoreTableState(m_after);
}

void TableStateCommand::undo()
{
    m_document->restoreTableState(m_before);
}

} // namespace seikyu
