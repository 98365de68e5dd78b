#include "sections/EntryFields.h"

namespace seikyu {

QString joinEntryFields(QStringList fields, int requiredFields)
{
    while (fields.size() > std::max(1, requiredFields) && fields.constLast().isEmpty())
        fields.removeLast();
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
