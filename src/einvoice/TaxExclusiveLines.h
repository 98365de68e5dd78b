#pragma once

#include <QList>
#include <optional>

namespace seikyu {

/// A line's amount and the rate it is taxed at (0 when it is not taxed).
struct TaxedAmount
{
    qint64 amount = 0;
    int rate = 0;
};

/// The tax one rate's lines contain, as the page states it.
struct ContainedTax
{
    int rate = 0;
    qint64 tax = 0;
};

/// The lines' amounts without the tax they contain. Each rate's contained tax is shared out over
/// that rate's lines in proportion to their amounts (rounded half away from zero, the largest line
/// taking what rounding leaves), so that every rate's lines add up to exactly its amount less its
/// tax. Lines of a rate with no contained tax keep their amounts. Nothing when the amounts are
/// beyond 64 bits.
std::optional<QList<qint64>> taxExclusiveAmounts(const QList<TaxedAmount> &lines, const QList<ContainedTax> &taxes);

} // namespace seikyu
