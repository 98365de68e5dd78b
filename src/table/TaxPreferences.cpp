#include "table/TaxPreferences.h"

#include "table/SumsRows.h"

#include <QSettings>

namespace seikyu {

namespace {
const QString rateKey = QStringLiteral("taxRate");
const QString roundingKey = QStringLiteral("taxRounding");
} // namespace

TaxPreferences TaxPreferences::load()
{
    const QSettings settings;
    TaxPreferences preferences;
    // Only a rate the user chose is kept; an installation that never chose starts at today's rate.
    if (settings.value(rateKey).toInt() == ReducedRate)
        preferences.rate = ReducedRate;
    const int rounding = settings.value(roundingKey).toInt();
    if (rounding == static_cast<int>(TaxRounding::Down) || rounding == static_cast<int>(TaxRounding::Up))
        preferences.rounding = static_cast<TaxRounding>(rounding);
    return preferences;
}

void TaxPreferences::save() const
{
    QSettings settings;
    settings.setValue(rateKey, rate);
    settings.setValue(roundingKey, static_cast<int>(rounding));
}

} // namespace seikyu
