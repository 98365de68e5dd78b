#include "output/SavedPageDefaults.h"

#include "customers/CustomerBookStore.h"
#include "sections/FreelancePreferences.h"
#include "sections/ListStore.h"
#include "sections/SavedLists.h"
#include "widgets/ImageWell.h"

namespace seikyu {

namespace {

/// The first entry of a list section's store: what a newly opened window selects and shows.
std::optional<QString> firstEntry(const ListStore &store)
{
    const std::optional<QList<ListEntry>> entries = store.entries();
    if (!entries || entries->isEmpty())
        return std::nullopt;
    return entries->first().text;
}

} // namespace

std::optional<QString> savedCustomer()
{
    return firstEntry(CustomerBookStore());
}

PageDefaults savedPageDefaults(bool withCustomer)
{
    PageDefaults defaults;
    defaults.today = QDate::currentDate();
    if (const std::optional<QString> title = firstEntry(SettingsListStore(QStringLiteral("head"))))
        defaults.title = *title;
    if (withCustomer)
        defaults.customer = savedCustomer();
    defaults.issuer = firstEntry(SettingsListStore(QStringLiteral("from"))).value_or(QString());
    return defaults;
}

QImage savedStamp()
{
    // Bytes that do not decode give no stamp, as they give none on the page.
    return ImageWell::decode(SavedLists::instance().stamp());
}

SheetLook savedSheetLook()
{
    return {savedStamp(), savedAddressOffset(), FreelancePreferences::receiptsInBusiness()};
}

} // namespace seikyu
