#include "invoice/InvoiceModel.h"

#include "invoice/ItemTableModel.h"
#include "table/SumsRows.h"

namespace seikyu {

InvoiceModel::InvoiceModel(QObject *parent) : QObject(parent), m_table(new ItemTableModel(this))
{
    m_table->setObjectName(QStringLiteral("bank"));
    m_undoStack.setUndoLimit(0);
    // A page has every section, empty until something is shown in it.
    m_values.title = m_values.customer = m_values.issuer = m_values.amountBox = QString();
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

void InvoiceModel::setTitle(const QString &title)
{
    change(m_values.title, std::optional(title), this);
}

void InvoiceModel::setDate(const QDate &date)
{
    change(m_values.date, date, this);
}

void InvoiceModel::setJapaneseEra(bool japaneseEra)
{
    change(m_values.japaneseEra, japaneseEra, this);
}

void InvoiceModel::setCustomer(const QString &name, const QString &honorificShown)
{
    if (m_values.customer == name && m_values.honorificShown == honorificShown)
        return;
    m_values.customer = name;
    m_values.honorificShown = honorificShown;
    Q_EMIT valuesChanged();
}

void InvoiceModel::setHonorificChoice(int choice)
{
    change(m_values.honorificChoice, choice, this);
}

void InvoiceModel::setIssuer(const QString &issuer)
{
    change(m_values.issuer, std::optional(issuer), this);
}

void InvoiceModel::setAmountBox(const QString &text)
{
    change(m_values.amountBox, std::optional(text), this);
}

void InvoiceModel::setTaxOnTop(bool onTop)
{
    change(m_values.taxOnTop, onTop, this);
}

void InvoiceModel::setWithholding(bool withholding)
{
    change(m_values.withholding, withholding, this);
}

void InvoiceModel::setRemarks(const QString &remarks)
{
    change(m_values.remarks, remarks, this);
}

void InvoiceModel::setKind(DocumentKind kind)
{
    change(m_values.kind, kind, this);
}

void InvoiceModel::setPaper(bool paper)
{
    change(m_values.paper, paper, this);
}

void InvoiceModel::setStamp(const QImage &stamp)
{
    change(m_stamp, stamp, this);
}

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
    m_table->setMarksReducedRows(m_values.taxRate == StandardRate);
}

void InvoiceModel::setStatement(const std::optional<StatementFacts> &statement)
{
    change(m_values.statement, statement, this);
}

void InvoiceModel::setAmountsHidden(bool hidden)
{
    change(m_values.amountsHidden, hidden, this);
}

void InvoiceModel::setMadeFrom(const QString &document)
{
    change(m_values.madeFrom, document, this);
}

void InvoiceModel::setPayment(qint64 payment)
{
    change(m_values.payment, payment, this);
}

Invoice InvoiceModel::invoice() const
{
    Invoice invoice = m_values;
    invoice.rows.reserve(m_table->count());
    for (const RowPtr &row : m_table->rows()) {
        if (!row->isHeader())
            invoice.rows.append(*row);
    }
    return invoice;
}

} // namespace seikyu
