#include "sections/ListFamily.h"

namespace seikyu {

QString joinEntryFields(const QStringList &fields)
{
    return fields.join(QLatin1Char('\n'));
}

QStringList splitEntryFields(const QString &entry, int fieldCount)
{
    if (fieldCount <= 1)
        return {entry};
    const QStringList lines = entry.split(QLatin1Char('\n'));
    QStringList fields;
    for (int i = 0; i < fieldCount; ++i)
        fields.append(lines.value(i));
    return fields;
}

} // namespace seikyu
