// The customer book behind the customer panel: the address the page shows in the envelope's window,
// and the due date the customer's closing day and payment terms give.
#include "customers/CustomerBook.h"
#include "document/Document.h"
#include "sections/DueDate.h"
#include "sections/FreelancePreferences.h"

#include <QDateEdit>

namespace seikyu {

std::optional<Customer> Document::customerInBook() const
{
    const QString name = pageState().customer.value_or(QString()).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath());
    if (!book)
        return std::nullopt; // the book says why in its own window; the invoice goes on without it
    const Result<QList<Customer>> found = (*book)->search(name);
    if (!found)
        return std::nullopt;
    for (const Customer &customer : *found) {
        if (customer.name == name)
            return customer;
    }
    return std::nullopt;
}

std::optional<QDate> Document::dueDateByTerms(const QDate &invoiceDate) const
{
    if (const std::optional<Customer> customer = customerInBook(); customer && customer->terms)
        return dueDateFromTerms(invoiceDate, *customer->terms);
    return std::nullopt;
}

QDate Document::proposedDueDate(const QDate &invoiceDate) const
{
    return dueDateByTerms(invoiceDate).value_or(proposeDueDate(invoiceDate, FreelancePreferences::dueRule()));
}

void Document::takeCustomerFromBook()
{
    const std::optional<Customer> customer = customerInBook();
    if (!customer)
        return;
    CustomerPostalAddress address;
    address.postalCode = customer->postalCode;
    address.address = QStringList{customer->address1, customer->address2}.join(QLatin1Char('\n')).trimmed();
    address.department = customer->department;
    address.attention = customer->attention();
    bool changed = address != m_model->customerAddress();
    m_model->setCustomerAddress(address);
    if (changed)
        showCustomerAddress();
    if (customer->terms && m_model->dueDate().isValid()) {
        const QDate due = dueDateFromTerms(m_model->date(), *customer->terms);
        changed = changed || due != m_model->dueDate();
        setDueDate(due);
    }
    if (changed)
        updateChangeCount(ChangeDone);
}

} // namespace seikyu
