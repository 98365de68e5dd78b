#include "document/AddressOffset.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

namespace seikyu {

namespace {
const QString AddressOffsetX = QStringLiteral("page/addressOffsetX");
const QString AddressOffsetY = QStringLiteral("page/addressOffsetY");

double savedMillimetres(const QSettings &settings, const QString &key)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    // A damaged or hand-edited setting puts the block back where the envelope expects it.
    if (!ok || !std::isfinite(value))
        return 0;
    return std::clamp(value, -AddressOffsetLimit, AddressOffsetLimit);
}
} // namespace

QPointF savedAddressOffset()
{
    const QSettings settings;
    return {savedMillimetres(settings, AddressOffsetX), savedMillimetres(settings, AddressOffsetY)};
}

void saveAddressOffset(const QPointF &offsetMm)
{
    QSettings settings;
    settings.setValue(AddressOffsetX, std::clamp(offsetMm.x(), -AddressOffsetLimit, AddressOffsetLimit));
    settings.setValue(AddressOffsetY, std::clamp(offsetMm.y(), -AddressOffsetLimit, AddressOffsetLimit));
    emit AddressOffsetNotice::instance().changed();
}

AddressOffsetNotice &AddressOffsetNotice::instance()
{
    static AddressOffsetNotice notice;
    return notice;
}

} // namespace seikyu
