#include "ledger/SharedNumberHook.h"

#include "ledger/IssueLedger.h"
#include "ledger/NumberSequence.h"
#include "sections/FreelancePreferences.h"
#include "sections/SharedNumbers.h"

namespace seikyu {

void installSharedNumbers()
{
    SharedNumbers numbers;
    numbers.active = [] { return IssueLedger::instance().shared() != nullptr; };
    numbers.take = [](const QDate &date, QString *why) -> std::optional<NumberProposal> {
        SharedLedger *office = IssueLedger::instance().shared();
        if (!office)
            return std::nullopt;
        // This computer's count so far, so the office's sequence starts after the numbers used here.
        const NumberProposal local = FreelancePreferences::nextNumber(date);
        return office->takeNumber(FreelancePreferences::numberPattern(), date, local.sequence - 1, why);
    };
    numbers.refusal = [](const QString &number, const QString &customer) -> QString {
        SharedLedger *office = IssueLedger::instance().shared();
        if (!office || !office->connect())
            return QString(); // checked when the entry reaches the server
        const std::optional<LedgerEntry> holder = holderOfNumber(office->server()->database(), number, customer);
        return holder ? numberTakenText(number, *holder) : QString();
    };
    setSharedNumbers(numbers);
}

} // namespace seikyu
