// The customer panel chooses from the customer book: choosing a customer brings its honorific,
// electronic address, postal address and terms; the panel's list changes are the book's.
#include "customers/CustomerBookStore.h"
#include "customers/CustomerBookWindow.h"
#include "document/CustomerSection.h"
#include "document/Document.h"
#include "einvoice/PeppolId.h"
#include "widgets/PageButton.h"

namespace seikyu {

QPointer<ListStore> Document::listStoreFor(const QString &key)
{
    if (key == QLatin1String("whom"))
        return new CustomerBookStore(QString());
    return new SettingsListStore(key);
}

CustomerBookStore *Document::customerBook() const
{
    return m_customers ? qobject_cast<CustomerBookStore *>(m_customers->store()) : nullptr;
}

void Document::followCustomerBook()
{
    CustomerSection *section = m_customers.get();
    // Only the user's own choice: a list refreshed by another window, or a panel put back on
    // Cancel, keeps the honorific it shows.
    connect(section, &ListSection::entryActivated, this, [this] { selectRememberedHonorific(); });
    // A customer the panel adds, or an opened invoice teaches the book, is addressed as the panel
    // shows it then.
    if (CustomerBookStore *book = customerBook())
        connect(section, &CustomerSection::honorificChosen, book,
                [book](int segment) { book->setHonorificForNew(segment == 1 ? 1 : 0); });
    connect(section, &ListSection::choiceChanged, this, [this, section] {
        const std::optional<qint64> key = section->chosenKey();
        CustomerBookStore *book = customerBook();
        const std::optional<Customer> customer = book && key ? book->customer(*key) : std::nullopt;
        const QString stored = customer ? customer->peppolId : QString();
        const QString name = customer ? customer->name : QString();
        // The page's own customer keeps the address its file gave, when the book has none.
        PageButton *whom = region(SheetRegion::Customer);
        section->setPeer(stored.isEmpty() && whom && !name.isEmpty() &&
                                 customerName(whom->title(), QString()).startsWith(name)
                             ? m_model->customerElectronicAddress()
                             : stored);
    });
    connect(section, &CustomerSection::bookAsked, this, [section] {
        CustomerBookWindow *window = CustomerBookWindow::showWindow();
        if (const std::optional<qint64> key = section->chosenKey())
            window->showCustomer(*key);
    });
}

void Document::customerChosen(qint64 key)
{
    CustomerBookStore *book = customerBook();
    const std::optional<QString> peer = m_customers->acceptablePeer();
    if (std::optional<Customer> customer = book ? book->customer(key) : std::nullopt) {
        // The honorific and the electronic address confirmed here stay with the customer.
        Customer confirmed = *customer;
        confirmed.honorific = m_customers->honorificChoice() == 1 ? 1 : 0;
        if (peer)
            confirmed.peppolId = *peer;
        if (confirmed != *customer) {
            if (const Result<void> stored = book->update(confirmed); !stored)
                reportListFault(stored.fault());
        }
    }
    if (peer)
        m_model->setCustomerElectronicAddress(*peer);
    takeCustomerFromBook();
}

void Document::selectRememberedHonorific()
{
    CustomerBookStore *book = customerBook();
    const std::optional<qint64> key = m_customers->chosenKey();
    if (!book || !key)
        return;
    if (const std::optional<Customer> customer = book->customer(*key))
        m_customers->setHonorificChoice(customer->honorific == 1 ? 1 : 0);
}

void Document::setPeer(const QString &peer)
{
    m_model->setCustomerElectronicAddress(peer);
    const PeppolIdCheck checked = checkPeppolId(peer);
    // Opening a file teaches the customer its address, as it teaches the book the customer.
    CustomerBookStore *book = customerBook();
    const std::optional<qint64> key = m_customers->chosenKey();
    if (m_teachesLists && checked.state == PeppolIdCheck::State::Valid && book && key) {
        if (std::optional<Customer> customer = book->customer(*key); customer && customer->peppolId.isEmpty()) {
            customer->peppolId = checked.id.text();
            (void)book->update(*customer); // the invoice keeps its address whether or not the book does
        }
    }
    m_customers->setPeer(peer);
}

} // namespace seikyu
