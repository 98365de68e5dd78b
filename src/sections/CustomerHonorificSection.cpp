// Each customer keeps the honorific it was last confirmed with: choosing the customer chooses it.
#include "document/Document.h"
#include "sections/CustomerHonorifics.h"
#include "sections/ListFamily.h"
#include "sections/SavedLists.h"
#include "widgets/SegmentedControl.h"

#include <QComboBox>

namespace seikyu {

void Document::followCustomerHonorifics()
{
    if (!whomDial)
        return;
    // Only the user's own choice: a list refreshed by another window, or a panel put back on
    // Cancel, keeps the honorific it shows.
    connect(whomDial, &QComboBox::activated, this, [this] { selectRememberedHonorific(); });
}

void Document::selectRememberedHonorific()
{
    if (!whomDial || !tail)
        return;
    const int index = whomDial->currentIndex();
    const std::optional<QStringList> customers = SavedLists::instance().read(family(QStringLiteral("whom")).key);
    if (!customers || index < 0 || index >= customers->size())
        return;
    const std::optional<QString> honorific = CustomerHonorifics::honorificOf(customers->at(index));
    if (!honorific)
        return; // never confirmed: the honorific stays as it is
    for (int segment = 0; segment < tail->segmentCount(); ++segment) {
        if (tail->labelForSegment(segment) == *honorific) {
            tail->setSelectedSegment(segment);
            return;
        }
    }
}

} // namespace seikyu
