#pragma once

#include "ledger/LedgerChain.h"
#include "ledger/LedgerEntry.h"

#include <QList>
#include <optional>

namespace seikyu {

/// An issue already in the ledger under a number, and whether it was voided.
struct HeldNumber
{
    LedgerEntry issue;
    bool voided = false;
};

/// What an issue with a number is, given the issues that hold that number already.
struct NumberUse
{
    enum class Kind {
        New,     ///< no invoice holds the number
        Copy,    ///< the invoice `earlier` sent again unchanged
        Reissue, ///< a correction of the invoice `earlier`, as the issue says it is
        Clash,   ///< `earlier` is another invoice under the same number: never recorded unasked
    };
    Kind kind = Kind::New;
    std::optional<LedgerEntry> earlier;
};

/// The one rule that decides it, for the window, the command line and the ledger alike. `held` is
/// every issue of the number, newest first; the newest issue of each invoice is what it says now.
/// One of them stating the same facts (and not voided) is repeated: a copy. Otherwise an issue
/// marked as a reissue corrects the newest of them (the customer's own, if any); an issue not so
/// marked clashes with the newest. A voided invoice still holds its number. Only documents of the
/// issue's own kind hold a number against it.
NumberUse numberUse(const LedgerEntry &issue, const QList<HeldNumber> &held);

/// The numbers that two documents of one kind carry, found in a ledger's entries: one problem for each later
/// invoice, naming its first issue (entryId) and the earlier invoice's (otherEntryId).
QList<ChainProblem> numberClashes(const QList<LedgerEntry> &entries);

} // namespace seikyu
