#pragma once

#include "invoice/Invoice.h"

#include <QObject>
#include <QPointer>
#include <QUndoStack>

namespace seikyu {

class ItemTableModel;

/// The invoice being edited, apart from any widget: its item table, the steps that undo changes
/// to it, and the values the page has no control of its own for (the number, the due date, the
/// customer's electronic and postal address, the rate). Windows show it and change it through it.
class InvoiceModel : public QObject
{
    Q_OBJECT

public:
    explicit InvoiceModel(QObject *parent = nullptr);
    ~InvoiceModel() override;

    /// The item table's rows, header and sums rows included.
    ItemTableModel *table() const;
    /// Every undoable change of this invoice, in order; unlimited.
    QUndoStack *undoStack() { return &m_undoStack; }

    QString number() const { return m_values.number; }
    void setNumber(const QString &number);
    QDate dueDate() const { return m_values.dueDate; }
    void setDueDate(const QDate &due);
    QString customerElectronicAddress() const { return m_values.customerElectronicAddress; }
    void setCustomerElectronicAddress(const QString &address);
    CustomerPostalAddress customerAddress() const { return m_values.customerAddress; }
    void setCustomerAddress(const CustomerPostalAddress &address);
    /// The consumption-tax rate of the standard class: 10, or 8 as older invoices had. Any other
    /// rate a file gives is taken as 8, the rate such a file was made with.
    int taxRate() const { return m_values.taxRate; }
    void setTaxRate(int rate);

    /// The values this model holds, and the table's item rows (sums rows included), written into
    /// `invoice`; its other values are left as they are.
    void fill(Invoice &invoice) const;

Q_SIGNALS:
    /// One of the values above changed (the table has its own signals).
    void valuesChanged();

private:
    QPointer<ItemTableModel> m_table;
    QUndoStack m_undoStack;
    Invoice m_values;
};

} // namespace seikyu
