#include "invoice/InvoiceModel.h"

#include "invoice/ItemTableModel.h"
#include "table/SumsRows.h"

namespace seikyu {

InvoiceModel::InvoiceModel(QObject *parent) : QObject(parent), m_table(new ItemTableModel(this))
{
    m_table->setObjectName(QStringLiteral("bank"));
    m_undoStack.setUndoLimit(0);
}

InvoiceModel::~InvoiceModel()
{
    // The steps refer to the table: they go first.
    m_undoStack.clear();
}

ItemTableModel *InvoiceModel::table() const
{
    return m_table;
}

namespace {
template <typename T> void change(T &held, const T &value, InvoiceModel *model)
{
    if (held == value)
        return;
    held = value;
    Q_EMIT model->valuesChanged();
}
} // namespace

void InvoiceModel::setNumber(const QString &number)
{
    change(m_values.number, number, this);
}

void InvoiceModel::setDueDate(const QDate &due)
{
    change(m_values.dueDate, due, this);
}

void InvoiceModel::setCustomerElectronicAddress(const QString &address)
{
    change(m_values.customerElectronicAddress, address, this);
}

void InvoiceModel::setCustomerAddress(const CustomerPostalAddress &address)
{
    change(m_values.customerAddress, address, this);
}

void InvoiceModel::setTaxRate(int rate)
{
    change(m_values.taxRate, rate == StandardRate ? StandardRate : ReducedRate, this);
}

void InvoiceModel::fill(Invoice &invoice) const
{
    invoice.rows.clear();
    invoice.rows.reserve(m_table->count());
    for (const RowPtr &row : m_table->rows()) {
        if (!row->isHeader())
            invoice.rows.append(*row);
    }
    invoice.number = m_values.number;
    invoice.dueDate = m_values.dueDate;
    invoice.customerElectronicAddress = m_values.customerElectronicAddress;
    invoice.customerAddress = m_values.customerAddress;
    invoice.taxRate = m_values.taxRate;
}

} // namespace seikyu
