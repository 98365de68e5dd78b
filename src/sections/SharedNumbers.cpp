#include "sections/SharedNumbers.h"

namespace seikyu {

namespace {

SharedNumbers &installed()
{
    static SharedNumbers numbers;
    return numbers;
}

} // namespace

void setSharedNumbers(const SharedNumbers &numbers)
{
    installed() = numbers;
}

const SharedNumbers *activeSharedNumbers()
{
    const SharedNumbers &numbers = installed();
    if (!numbers.active || !numbers.take || !numbers.refusal || !numbers.peek || !numbers.active())
        return nullptr;
    return &numbers;
}

void releaseTakenNumber(const NumberProposal &taken, const QString &why)
{
    if (installed().release)
        installed().release(taken, why);
}

} // namespace seikyu
