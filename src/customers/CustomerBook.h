#pragma once

#include "base/Result.h"
#include "customers/Customer.h"

#include <QList>
#include <QString>
#include <memory>

namespace seikyu {

class SqlConnection;

/// The user's customers, in a SQLite file of their own beside the ledger: editable master data
/// stays out of the ledger's legal record, whose every entry is kept as it was written. Any
/// number of windows and processes may use the file at once; every change is one transaction,
/// so a change is either whole or not there after a crash.
class CustomerBook
{
public:
    /// Opens the book at `path`, making it when there is no file. A file that is no customer book
    /// (damaged, another program's, a later version's) is refused and left exactly as it is.
    static Result<std::unique_ptr<CustomerBook>> open(const QString &path);
    /// The book's usual place: customers.sqlite in the user's data folder.
    static QString defaultPath();
    ~CustomerBook();

    /// Every customer, by reading (kana) and then name; customers without a reading by name.
    Result<QList<Customer>> all() const;
    /// The customers a search for `typed` finds by name or reading, widths and kana folded, in the
    /// order of all().
    Result<QList<Customer>> search(const QString &typed) const;
    /// The customer of the identity; NotFound when there is none (any more).
    Result<Customer> byId(qint64 id) const;
    /// Adds a customer; its new identity. A customer needs a name (BadInput).
    Result<qint64> add(const Customer &customer);
    /// Adds every customer in one transaction: all or none. Their identities, in order.
    Result<QList<qint64>> addAll(const QList<Customer> &customers);
    /// Adds, in one transaction, the customers whose name the book does not hold yet; how many.
    /// Two processes doing this at once add each customer once.
    Result<int> addMissing(const QList<Customer> &customers);
    /// Changes the stored customer of `customer.id` to `customer`: renaming keeps the identity.
    Result<void> update(const Customer &customer);
    Result<void> remove(qint64 id);

private:
    explicit CustomerBook(std::unique_ptr<SqlConnection> connection);
    std::unique_ptr<SqlConnection> m_connection;
};

} // namespace seikyu
