#include "customers/Customer.h"

namespace seikyu {

QString Customer::attention() const
{
    const QString title = contactTitle.trimmed();
    const QString person = contactName.trimmed();
    if (person.isEmpty())
        return {};
    return title.isEmpty() ? person : title + QLatin1Char(' ') + person;
}

} // namespace seikyu
