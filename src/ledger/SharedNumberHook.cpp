#include "ledger/SharedNumberHook.h"

#include "ledger/IssueLedger.h"
#include "ledger/NumberSequence.h"
#include "sections/FreelancePreferences.h"
#include "sections/SharedNumbers.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

QString waitingText()
{
    return QCoreApplication::translate("seikyu::SharedNumbers", "Taking a number from the office's server…");
}

/// Asked while the ledger stopped being the office's: as before, without a word of its own.
Fault noOffice()
{
    return Fault{FaultKind::Unreadable, QString()};
}

} // namespace

void installSharedNumbers()
{
    SharedNumbers numbers;
    numbers.active = [] { return IssueLedger::instance().shared() != nullptr; };
    numbers.take = [](const QDate &date) -> Result<NumberProposal> {
        ServerSession *office = IssueLedger::instance().shared();
        if (!office)
            return noOffice();
        return office->callFallible<NumberProposal>(
            [pattern = FreelancePreferences::numberPattern(), date](SharedLedger &shared) {
                Result<NumberProposal> number = shared.takeNumber(pattern, date);
                if (number)
                    number->shared = true;
                return number;
            },
            office->defaultWait(waitingText()));
    };
    numbers.peek = [](const QDate &date) -> Result<NumberProposal> {
        ServerSession *office = IssueLedger::instance().shared();
        if (!office)
            return noOffice();
        return office->callFallible<NumberProposal>(
            [pattern = FreelancePreferences::numberPattern(), date](SharedLedger &shared) {
                return shared.peekNumber(pattern, date);
            },
            office->defaultWait());
    };
    numbers.refusal = [](const QString &number, const QString &customer) -> QString {
        ServerSession *office = IssueLedger::instance().shared();
        if (!office)
            return QString();
        // Unanswered: the number is checked when the entry reaches the server.
        return office
            ->call<QString>(
                [number, customer](SharedLedger &shared) {
                    if (!shared.connect())
                        return QString();
                    const std::optional<LedgerEntry> holder =
                        holderOfNumber(shared.server()->database(), number, customer).value_or(std::nullopt);
                    return holder ? numberTakenText(number, *holder) : QString();
                },
                office->defaultWait(QCoreApplication::translate("seikyu::SharedNumbers",
                                                                "Looking up the number on the office's server…")))
            .value_or(QString());
    };
    numbers.release = [](const NumberProposal &taken, const QString &why) {
        IssueLedger::instance().releaseNumber(taken, why);
    };
    setSharedNumbers(numbers);
}

} // namespace seikyu
