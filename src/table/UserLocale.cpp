#include "table/UserLocale.h"

#include <QLocale>

namespace seikyu {

QString userLocaleName()
{
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return QStringLiteral("ja_JP");
    return locale.name();
}

} // namespace seikyu
