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

} // namespace

void installSharedNumbers()
{
    SharedNumbers numbers;
    numbers.active = [] { return IssueLedger::instance().shared() != nullptr; };
    numbers.take = [](const QDate &date, QString *why) -> std::optional<NumberProposal> {
        ServerSession *office = IssueLedger::instance().shared();
        if (!office)
            return std::nullopt;
        struct Taken
        {
            std::optional<NumberProposal> number;
            QString why;
        };
        const std::optional<Taken> taken = office->call<Taken>(
            [pattern = FreelancePreferences::numberPattern(), date](SharedLedger &shared) {
                Taken found;
                found.number = shared.takeNumber(pattern, date, &found.why);
                if (found.number)
                    found.number->shared = true;
                return found;
            },
            office->defaultWait(waitingText()), why);
        if (taken && why)
            *why = taken->why;
        return taken ? taken->number : std::nullopt;
    };
    numbers.peek = [](const QDate &date, QString *why) -> std::optional<NumberProposal> {
        ServerSession *office = IssueLedger::instance().shared();
        if (!office)
            return std::nullopt;
        struct Peeked
        {
            std::optional<NumberProposal> number;
            QString why;
        };
        const std::optional<Peeked> peeked = office->call<Peeked>(
            [pattern = FreelancePreferences::numberPattern(), date](SharedLedger &shared) {
                Peeked found;
                found.number = shared.peekNumber(pattern, date, &found.why);
                return found;
            },
            office->defaultWait(), why);
        if (peeked && why)
            *why = peeked->why;
        return peeked ? peeked->number : std::nullopt;
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
                        holderOfNumber(shared.server()->database(), number, customer);
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
