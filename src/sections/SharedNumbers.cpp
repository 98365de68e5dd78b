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
    if (!numbers.active || !numbers.take || !numbers.refusal || !numbers.active())
        return nullptr;
    return &numbers;
}

} // namespace seikyu
