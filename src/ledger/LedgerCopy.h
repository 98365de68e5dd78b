#pragma once

#include <QString>

namespace seikyu {

class LedgerStore;

/// What copying a ledger into another did.
struct LedgerCopying
{
    int copied = 0;        ///< entries new to the target
    int alreadyThere = 0;  ///< entries an earlier copy had brought over
    bool complete = false; ///< every entry is in the target
    QString error;
};

/// Copies every entry of `from` (a person's local ledger) into `to` (the shared one), oldest first,
/// keeping each entry's facts and time and pointing payments, voids and reissues at the copies of
/// what they referred to. Each entry's origin names the local ledger's entry by its hash, so a
/// second run, or one resumed after a failure, copies nothing twice.
LedgerCopying copyLedger(LedgerStore &from, LedgerStore &to);

} // namespace seikyu
