#pragma once

#include <QString>

class QSettings;

namespace seikyu {

/// Where the ledger of issued invoices lives.
enum class LedgerPlace {
    Local,  ///< an SQLite file on this computer (the default)
    Shared, ///< a PostgreSQL server the office shares
};

struct LedgerLocation
{
    LedgerPlace place = LedgerPlace::Local;
    QString server; ///< the libpq connection string or URI, for a shared ledger
    bool fromEnvironment = false;
};

/// The environment variable that, set to a libpq URI, puts the ledger on that server whatever
/// the preference says (for scripts and the command line).
inline constexpr char LedgerEnvironmentVariable[] = "SEIKYU_LEDGER";

/// The location the preference and the environment give: a non-empty environment value wins;
/// a shared place without a server is the local ledger.
LedgerLocation chooseLedgerLocation(const QString &placeKey, const QString &server, const QString &environment);

/// The preference's keys and values ("ledger/place": "local" or "server"; "ledger/server").
LedgerLocation ledgerLocation(const QSettings &settings);
void setLedgerLocation(QSettings &settings, const LedgerLocation &location);

} // namespace seikyu
