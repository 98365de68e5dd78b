#pragma once

#include "invoice/Invoice.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QUndoStack>

namespace seikyu {

class ItemTableModel;

/// The invoice being edited, apart from any widget: its values, its item table, the steps that
/// undo changes to the table, and the seal it is stamped with. Windows show it and change it
/// through it; what is written, recorded or exported is read from here.
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

    /// The title as the page shows it ("請求書").
    QString title() const { return m_values.title.value_or(QString()); }
    void setTitle(const QString &title);
    QDate date() const { return m_values.date; }
    void setDate(const QDate &date);
    /// The dates are shown in the Japanese era (令和) rather than the western year.
    bool japaneseEra() const { return m_values.japaneseEra; }
    void setJapaneseEra(bool japaneseEra);
    /// The customer's name without its honorific, and the honorific shown after it (empty: none).
    QString customer() const { return m_values.customer.value_or(QString()); }
    QString honorificShown() const { return m_values.honorificShown; }
    void setCustomer(const QString &name, const QString &honorificShown);
    /// The honorific chosen for the customer: 0 御中, 1 様, -1 none.
    int honorificChoice() const { return m_values.honorificChoice; }
    void setHonorificChoice(int choice);
    /// The issuer block, its lines separated by line feeds.
    QString issuer() const { return m_values.issuer.value_or(QString()); }
    void setIssuer(const QString &issuer);
    /// The amount box's text exactly as shown (a filled box starts with U+0008).
    QString amountBox() const { return m_values.amountBox.value_or(QString()); }
    void setAmountBox(const QString &text);
    /// The tax is added on top of the prices; false when the prices include it.
    bool taxOnTop() const { return m_values.taxOnTop; }
    void setTaxOnTop(bool onTop);
    /// Income tax is withheld (源泉徴収).
    bool withholding() const { return m_values.withholding; }
    void setWithholding(bool withholding);
    QString remarks() const { return m_values.remarks; }
    void setRemarks(const QString &remarks);
    /// The issuer's seal pressed on the page; null when there is none. Kept with the settings, not
    /// in the invoice's file.
    QImage stamp() const { return m_stamp; }
    void setStamp(const QImage &stamp);

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

    /// The invoice as it stands: its values and the table's item rows, sums rows included.
    Invoice invoice() const;

Q_SIGNALS:
    /// One of the values above changed (the table has its own signals).
    void valuesChanged();

private:
    QPointer<ItemTableModel> m_table;
    QUndoStack m_undoStack;
    Invoice m_values;
    QImage m_stamp;
};

} // namespace seikyu
