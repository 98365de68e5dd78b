#pragma once

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
};

/// Reads the options after the program name (--ledger included). Nothing, with one plain line
/// saying why, for an unknown option, a missing value, a date that is not YYYY-MM-DD, an amount
/// that is not a whole number, a range whose start is after its end, or a stray argument.
std::optional<LedgerRequest> parseLedgerRequest(const QStringList &arguments, QString *error);

/// Whether the command line asks for the ledger.
bool isLedgerCommand(const QStringList &arguments);

/// Runs `seikyu --ledger …`: the matching entries on standard output, newest first, as a table or
/// CSV; with --verify, the result of checking the ledger. Returns the exit status: 0 done (and,
/// for --verify, the ledger is intact), 1 the ledger could not be read or verification found
/// changes, 2 the command line was wrong.
int runLedgerCommand(const QStringList &arguments);

} // namespace seikyu
