#include "invoice/TableState.h"

#include "invoice/InvoiceModel.h"
#include "invoice/ItemTableModel.h"

namespace seikyu {

bool sameTable(const TableState &a, const TableState &b)
{
    if (a.rows != b.rows || a.values.size() != b.values.size() || a.includeTax != b.includeTax ||
        a.taxRate != b.taxRate || a.withholding != b.withholding)
        return false;
    for (qsizetype i = 0; i < a.values.size(); ++i) {
        const ItemRow &x = a.values.at(i), &y = b.values.at(i);
        if (x.cells() != y.cells() || x.taxClass() != y.taxClass())
            return false;
    }
    return true;
}

TableState InvoiceModel::tableState() const
{
    TableState state;
    state.rows = m_table->rows();
    state.values.reserve(state.rows.size());
    for (const RowPtr &row : std::as_const(state.rows))
        state.values.append(*row);
    state.includeTax = taxOnTop();
    state.taxRate = taxRate();
    state.withholding = withholding();
    return state;
}

void InvoiceModel::restoreTableState(const TableState &state)
{
    for (qsizetype i = 0; i < state.rows.size() && i < state.values.size(); ++i) {
        if (!state.rows.at(i)->isHeader())
            *state.rows.at(i) = state.values.at(i);
    }
    m_table->setRows(state.rows);
    setTaxOnTop(state.includeTax);
    setTaxRate(state.taxRate);
    setWithholding(state.withholding);
}

TableStateCommand::TableStateCommand(InvoiceModel *model, const QString &text, TableState before, TableState after)
    : m_model(model), m_before(std::move(before)), m_after(std::move(after))
{
    setText(text);
}

void TableStateCommand::redo()
{
    if (m_applied) {
        m_applied = false; // the change was made before the command was pushed
        return;
    }
    if (m_model)
        m_model->restoreTableState(m_after);
}

void TableStateCommand::undo()
{
    if (m_model)
        m_model->restoreTableState(m_before);
}

} // namespace seikyu
