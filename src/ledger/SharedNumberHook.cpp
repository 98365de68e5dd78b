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
        std::optional<NumberProposal> taken = office->takeNumber(FreelancePreferences::numberPattern(), date, why);
        if (taken)
            taken->shared = true;
        return taken;
    };
    numbers.peek = [](const QDate &date, QString *why) -> std::optional<NumberProposal> {
        SharedLedger *office = IssueLedger::instance().shared();
        return office ? office->peekNumber(FreelancePreferences::numberPattern(), date, why) : std::nullopt;
    };
    numbers.refusal = [](const QString &number, const QString &customer) -> QString {
        SharedLedger *office = IssueLedger::instance().shared();
        if (!office || !office->connect())
            return QString(); // checked when the entry reaches the server
        const std::optional<LedgerEntry> holder = holderOfNumber(office->server()->database(), number, customer);
        return holder ? numberTakenText(number, *holder) : QString();
    };
    numbers.release = [](const NumberProposal &taken, const QString &why) {
        IssueLedger::instance().releaseNumber(taken, why);
    };
    setSharedNumbers(numbers);
}

} // namespace seikyu
