#include "sections/CustomerHonorifics.h"

#include "sections/SavedLists.h"

namespace seikyu::CustomerHonorifics {

namespace {

const QLatin1Char separator('\t');
const QString customerListKey = QStringLiteral("whom");

/// Whether the entry is the customer's; its honorific is what stands before the separator.
bool isEntryOf(const QString &entry, const QString &customer)
{
    const qsizetype at = entry.indexOf(separator);
    return at > 0 && QStringView(entry).mid(at + 1) == customer;
}

QStringList storedEntries()
{
    return SavedLists::instance().read(ListKey).value_or(QStringList());
}

} // namespace

std::optional<QString> honorificIn(const QStringList &entries, const QString &customer)
{
    for (const QString &entry : entries) {
        if (isEntryOf(entry, customer))
            return entry.left(entry.indexOf(separator));
    }
    return std::nullopt;
}

QStringList withHonorific(const QStringList &entries, const QString &customer, const QString &honorific,
                          const QStringList &customers)
{
    QStringList kept;
    for (const QString &entry : entries) {
        const qsizetype at = entry.indexOf(separator);
        if (at <= 0 || isEntryOf(entry, customer))
            continue;
        if (customers.contains(entry.mid(at + 1)))
            kept.append(entry);
    }
    if (!honorific.isEmpty() && !honorific.contains(separator))
        kept.append(honorific + separator + customer);
    return kept;
}

std::optional<QString> honorificOf(const QString &customer)
{
    return honorificIn(storedEntries(), customer);
}

void remember(const QString &customer, const QString &honorific)
{
    const QStringList entries = storedEntries();
    if (honorificIn(entries, customer) == honorific)
        return; // nothing new: the settings file is left alone
    const QStringList customers = SavedLists::instance().read(customerListKey).value_or(QStringList());
    SavedLists::instance().save(withHonorific(entries, customer, honorific, customers), ListKey);
}

void rename(const QString &from, const QString &to)
{
    if (from == to)
        return;
    const std::optional<QString> honorific = honorificOf(from);
    if (honorific)
        remember(to, *honorific);
}

} // namespace seikyu::CustomerHonorifics
