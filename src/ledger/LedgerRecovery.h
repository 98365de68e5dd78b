#pragma once

#include "base/Result.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace seikyu {

class LedgerStore;

/// What recovering a damaged ledger's entries did.
struct LedgerRecovery
{
    int taken = 0;        ///< entries new to the ledger
    int alreadyThere = 0; ///< entries the ledger held already (an earlier recovery, the same history)
    QStringList notTaken; ///< one sentence for each entry, or run of entries, that could not be read or did not check
    QString error;        ///< why nothing (more) could be recovered, or empty
};

/// Reads what can still be read of the ledger file at `damagedPath` (never written: a copy is
/// read) row by row, skipping what fails, and records into `into` each entry whose hash holds and
/// that follows its predecessor in the chain where that one could be read. Recovered entries keep
/// their facts and times; each is recorded under its own origin, or one made of its hash, so
/// recovering again (or entries already in `into`) takes nothing twice. Payments, voids and reissues
/// point at the recovered entries they referred to.
LedgerRecovery recoverEntries(const QString &damagedPath, LedgerStore &into);
/// recoverEntries() that reads first and only then asks `into` for the ledger to record in, so
/// that a recovery stopped while it reads changes nothing: SQLite stops reading soon after `stop`
/// is set, and a fault (stopped, or the store cannot be opened: its message says why) records nothing.
LedgerRecovery recoverEntries(const QString &damagedPath, const std::function<Result<LedgerStore *>()> &into,
                              const std::atomic<bool> *stop);

/// What a recovery did, one sentence a line (translated): where the damaged ledger was set aside
/// (`setAside`, when it was), each entry not taken, and how many were recovered. The error is not
/// among them.
QStringList describeRecovery(const LedgerRecovery &recovery, const QString &setAside);

} // namespace seikyu
