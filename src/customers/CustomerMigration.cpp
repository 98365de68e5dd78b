#include "customers/CustomerMigration.h"

#include "customers/CustomerBook.h"
#include "sections/CustomerHonorifics.h"
#include "sections/CustomerPeers.h"
#include "sections/SavedLists.h"

#include <QSet>
#include <QSettings>

namespace seikyu {

namespace {

/// Set once the lists were moved; a book made anew later (deleted by the user) is not refilled.
const QString MovedKey = QStringLiteral("customerBook/listsMoved");
const QString CustomerListKey = QStringLiteral("whom");

} // namespace

QList<Customer> customersOfOldLists(const QStringList &customerList, const QStringList &honorificEntries,
                                    const QVariantMap &electronicAddresses)
{
    QList<Customer> customers;
    QSet<QString> seen;
    for (const QString &entry : customerList) {
        if (entry.trimmed().isEmpty() || seen.contains(entry))
            continue;
        seen.insert(entry);
        Customer customer;
        customer.name = entry;
        customer.honorific =
            CustomerHonorifics::honorificIn(honorificEntries, entry) == std::optional(QStringLiteral("様")) ? 1 : 0;
        customer.peppolId = electronicAddresses.value(entry).toString();
        customers.append(customer);
    }
    return customers;
}

Result<int> moveOldCustomerListsInto(CustomerBook &book)
{
    QSettings settings;
    if (settings.value(MovedKey).toBool())
        return 0;
    const QList<Customer> old = customersOfOldLists(
        SavedLists::instance().read(CustomerListKey).value_or(QStringList()),
        SavedLists::instance().read(CustomerHonorifics::ListKey).value_or(QStringList()), storedPeers());
    const Result<int> added = book.addMissing(old);
    if (!added)
        return added;
    settings.setValue(MovedKey, true);
    settings.sync();
    return *added;
}

} // namespace seikyu
