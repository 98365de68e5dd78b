#pragma once

#include "base/Result.h"
#include "sections/InvoiceNumber.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace seikyu {

/// The office's number sequence on the shared ledger's server, as the number panel reaches it. The
/// application installs it; without it (or while it is not active) the panel counts on this computer.
struct SharedNumbers
{
    /// Whether the ledger is shared now.
    std::function<bool()> active;
    /// Takes the next number of the date's sequence from the server; the fault, with the reason,
    /// when the server does not answer.
    std::function<Result<NumberProposal>(const QDate &date)> take;
    /// Why a typed number cannot be used (the entry that holds it), or empty. Empty too when the server
    /// cannot be asked now: the number is checked when the entry reaches it.
    std::function<QString(const QString &number, const QString &customer)> refusal;
    /// The number `take` would give now, not taken (the pattern's preview); the fault, with the reason.
    std::function<Result<NumberProposal>(const QDate &date)> peek;
    /// A number taken (from the server or this computer's count) that no invoice will carry, and
    /// why: given back, or recorded as unused, so the sequence reads whole. Works shared or not.
    std::function<void(const NumberProposal &taken, const QString &why)> release;
};

void setSharedNumbers(const SharedNumbers &numbers);
/// The installed sequence when it is active, else null.
const SharedNumbers *activeSharedNumbers();
/// Hands a number taken and not used to the installed `release` (nothing without one).
void releaseTakenNumber(const NumberProposal &taken, const QString &why);

} // namespace seikyu
