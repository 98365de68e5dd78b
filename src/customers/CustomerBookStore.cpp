#include "customers/CustomerBookStore.h"

#include "customers/CustomerBook.h"
#include "customers/CustomerMigration.h"

namespace seikyu {

namespace {

/// Opens the book for one step. The customer lists of earlier versions come into it the first
/// time, as they do when the Customers window opens first.
Result<std::unique_ptr<CustomerBook>> openBook(const QString &path)
{
    Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(path);
    if (book)
        (void)moveOldCustomerListsInto(**book); // a failure leaves the old lists for next time
    return book;
}

QList<ListEntry> entriesOf(const QList<Customer> &customers)
{
    QList<ListEntry> entries;
    entries.reserve(customers.size());
    for (const Customer &customer : customers)
        entries.append({customer.id, customer.name});
    return entries;
}

} // namespace

CustomerBookNews &CustomerBookNews::instance()
{
    static CustomerBookNews news;
    return news;
}

void CustomerBookNews::announce(const ListChange &change, const QObject *origin)
{
    emit changed(change, origin);
}

CustomerBookStore::CustomerBookStore(const QString &path, QObject *parent)
    : ListStore(parent), m_path(path.isEmpty() ? CustomerBook::defaultPath() : path)
{
    connect(&CustomerBookNews::instance(), &CustomerBookNews::changed, this,
            [this](const ListChange &change, const QObject *) { emit changed(change); });
}

std::optional<QList<ListEntry>> CustomerBookStore::entries() const
{
    const Result<std::unique_ptr<CustomerBook>> book = openBook(m_path);
    if (!book)
        return std::nullopt;
    const Result<QList<Customer>> everyone = (*book)->all();
    if (!everyone)
        return std::nullopt;
    return entriesOf(*everyone);
}

QList<ListEntry> CustomerBookStore::search(const QString &typed) const
{
    const Result<std::unique_ptr<CustomerBook>> book = openBook(m_path);
    if (!book)
        return {};
    return entriesOf((*book)->search(typed).value_or(QList<Customer>()));
}

std::optional<Customer> CustomerBookStore::customer(qint64 key) const
{
    const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(m_path);
    if (!book)
        return std::nullopt;
    Result<Customer> found = (*book)->byId(key);
    if (!found)
        return std::nullopt;
    return *found;
}

Result<qint64> CustomerBookStore::add(const QString &text)
{
    Result<std::unique_ptr<CustomerBook>> book = openBook(m_path);
    if (!book)
        return book.fault();
    Customer customer;
    customer.name = text;
    customer.honorific = m_honorificForNew;
    Result<qint64> id = (*book)->add(customer);
    if (id)
        CustomerBookNews::instance().announce({ListChange::Kind::Appended, -1}, this);
    return id;
}

Result<void> CustomerBookStore::remove(qint64 key)
{
    Result<std::unique_ptr<CustomerBook>> book = openBook(m_path);
    if (!book)
        return book.fault();
    Result<void> removed = (*book)->remove(key);
    if (removed)
        CustomerBookNews::instance().announce({ListChange::Kind::Removed, -1}, this);
    return removed;
}

Result<void> CustomerBookStore::rename(qint64 key, const QString &text)
{
    std::optional<Customer> renamed = customer(key);
    if (!renamed)
        return Fault{FaultKind::NotFound, tr("The customer is no longer in the customer book.")};
    renamed->name = text;
    return update(*renamed);
}

Result<void> CustomerBookStore::update(const Customer &customer)
{
    Result<std::unique_ptr<CustomerBook>> book = openBook(m_path);
    if (!book)
        return book.fault();
    Result<void> stored = (*book)->update(customer);
    if (stored)
        CustomerBookNews::instance().announce({ListChange::Kind::Edited, -1}, this);
    return stored;
}

Result<qint64> CustomerBookStore::findOrAdd(const QString &text)
{
    Result<std::unique_ptr<CustomerBook>> book = openBook(m_path);
    if (!book)
        return book.fault();
    // The book keeps names without the spaces around them, as the panel finds them again.
    const QString name = text.trimmed();
    if (name.isEmpty())
        return qint64(-1); // a file without a customer's name has none to find
    const auto find = [&]() -> Result<qint64> {
        const Result<QList<Customer>> found = (*book)->search(name);
        if (!found)
            return found.fault();
        for (const Customer &customer : *found) {
            if (customer.name == name)
                return customer.id;
        }
        return qint64(-1);
    };
    if (Result<qint64> held = find(); !held || *held >= 0)
        return held;
    Customer customer;
    customer.name = name;
    customer.honorific = m_honorificForNew;
    // addMissing, not add: another window or process opening an invoice of the same customer at
    // the same moment adds it once.
    if (const Result<int> added = (*book)->addMissing({customer}); !added)
        return added.fault();
    else if (*added > 0)
        CustomerBookNews::instance().announce({ListChange::Kind::Appended, -1}, this);
    return find();
}

qint64 CustomerBookStore::follow(qint64 key, const QString &, const ListChange &) const
{
    // An identity stays what it is wherever the customer sorts now; a removed one is gone.
    return key >= 0 && customer(key) ? key : -1;
}

} // namespace seikyu
