#include "invoice/Invoice.h"

namespace seikyu {

QString honorificLabel(int choice)
{
    switch (choice) {
    case 0:
        return QStringLiteral("御中");
    case 1:
        return QStringLiteral("様");
    default:
        return QString();
    }
}

QString customerName(const QString &addresseeLine, const QString &honorific)
{
    const QString shown = QLatin1Char(' ') + honorific;
    if (honorific.isEmpty() || !addresseeLine.endsWith(shown))
        return addresseeLine;
    return addresseeLine.chopped(shown.size());
}

} // namespace seikyu
