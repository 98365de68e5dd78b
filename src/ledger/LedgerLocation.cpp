#include "ledger/LedgerLocation.h"

#include <QSettings>

namespace seikyu {

namespace {

const QString PlaceKey = QStringLiteral("ledger/place");
const QString ServerKey = QStringLiteral("ledger/server");

} // namespace

LedgerLocation chooseLedgerLocation(const QString &placeKey, const QString &server, const QString &environment)
{
    LedgerLocation location;
    if (!environment.trimmed().isEmpty()) {
        location.place = LedgerPlace::Shared;
        location.server = environment.trimmed();
        location.fromEnvironment = true;
        return location;
    }
    if (placeKey == QLatin1String("server") && !server.trimmed().isEmpty()) {
        location.place = LedgerPlace::Shared;
        location.server = server.trimmed();
    }
    return location;
}

LedgerLocation ledgerLocation(const QSettings &settings)
{
    return chooseLedgerLocation(settings.value(PlaceKey).toString(), settings.value(ServerKey).toString(),
                                qEnvironmentVariable(LedgerEnvironmentVariable));
}

void setLedgerLocation(QSettings &settings, const LedgerLocation &location)
{
    settings.setValue(PlaceKey,
                      location.place == LedgerPlace::Shared ? QStringLiteral("server") : QStringLiteral("local"));
    settings.setValue(ServerKey, location.server);
}

} // namespace seikyu
