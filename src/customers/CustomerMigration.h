#pragma once

#include "base/Result.h"
#include "customers/Customer.h"

#include <QList>
#include <QStringList>
#include <QVariantMap>

namespace seikyu {

class CustomerBook;

/// The customers that the older settings describe: one per entry of the customer list (its text
/// is the name), with the honorific last confirmed with it (様 makes it a person) and the
/// electronic address kept with it. Empty and repeated entries give none.
QList<Customer> customersOfOldLists(const QStringList &customerList, const QStringList &honorificEntries,
                                    const QVariantMap &electronicAddresses);

/// Moves the customers of the older settings into the book, once: customers the book holds by
/// name already are not added again, so a run cut short is simply done again next time. The
/// settings keep their lists, for a Seikyu of an earlier version on the same computer. The number
/// of customers added.
Result<int> moveOldCustomerListsInto(CustomerBook &book);

} // namespace seikyu
