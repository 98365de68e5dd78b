#include "output/SavedPageDefaults.h"

#include "sections/SavedLists.h"
#include "widgets/ImageWell.h"

namespace seikyu {

namespace {

std::optional<QString> firstSaved(const char *key)
{
    const std::optional<QStringList> list = SavedLists::instance().read(QString::fromLatin1(key));
    if (!list || list->isEmpty())
        return std::nullopt;
    return list->first();
}

} // namespace

PageDefaults savedPageDefaults()
{
    PageDefaults defaults;
    defaults.today = QDate::currentDate();
    if (const std::optional<QString> title = firstSaved("head"))
        defaults.title = *title;
    defaults.customer = firstSaved("whom");
    defaults.issuer = firstSaved("from").value_or(QString());
    return defaults;
}

QImage savedStamp()
{
    // Bytes that do not decode give no stamp, as they give none on the page.
    return ImageWell::decode(SavedLists::instance().stamp());
}

SheetLook savedSheetLook()
{
    return {savedStamp(), savedAddressOffset()};
}

} // namespace seikyu
