#pragma once

#include "base/Result.h"
#include "ledger/LedgerSearch.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// What `seikyu --ledger …` asks for.
struct LedgerRequest
{
    LedgerFilter filter;
    bool csv = false;
    bool verify = false;
    QString recover; ///< the damaged ledger file whose readable entries --recover brings in, or empty
};

/// Reads the options after the program name (--ledger included). BadInput, with one plain line
/// saying why, for an unknown option, a missing value, a date or an amount the Issued Invoices
/// window would not read (readFilterDate, readFilterAmount), a range whose start is after its end,
/// or a stray argument.
Result<LedgerRequest> parseLedgerRequest(const QStringList &arguments);

/// Whether the options after the program name, up to a "--", hold `option`.
bool commandLineAsks(const QStringList &arguments, QLatin1String option);

/// Whether the command line asks for the ledger.
bool isLedgerCommand(const QStringList &arguments);

/// For a command line without --ledger that holds an option only the ledger takes (--unpaid,
/// --from …), the line that says it belongs after --ledger; empty otherwise.
QString misplacedLedgerOption(const QStringList &arguments);

/// Runs `seikyu --ledger …`: the matching entries on standard output, newest invoice date first, as a table or
/// CSV; with --verify, the result of checking the ledger; with --recover FILE, what was recovered of
/// a damaged ledger and what could not be. Listing and verifying never create, change or move the
/// ledger. Returns the exit status: 0 done (and, for --verify, the ledger is whole; for --recover,
/// every entry was read and taken), 1 the ledger could not be read, verification found something
/// wrong or entries could not be recovered, 2 the command line was wrong.
int runLedgerCommand(const QStringList &arguments);

/// Whether the command line asks to set up the shared ledger's server (--ledger-setup).
bool isLedgerSetupCommand(const QStringList &arguments);

/// Runs `seikyu --ledger-setup ADMIN_URI OFFICE_ROLE` (see setUpServerLedger): what was done on
/// standard output, one line each. Returns the exit status: 0 done, 1 the server refused or could
/// not be used, 2 the command line was wrong.
int runLedgerSetupCommand(const QStringList &arguments);

} // namespace seikyu
