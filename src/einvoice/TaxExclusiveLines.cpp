#include "einvoice/TaxExclusiveLines.h"

#include <limits>

namespace seikyu {

namespace {

__extension__ typedef __int128 Wide;

Wide magnitude(Wide value)
{
    return value < 0 ? -value : value;
}

/// numerator / denominator (denominator ≠ 0), halves away from zero.
Wide divideHalfAway(Wide numerator, Wide denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const Wide quotient = numerator / denominator;
    const Wide rest = numerator % denominator;
    if (magnitude(rest) * 2 >= denominator && rest != 0)
        return quotient + (numerator < 0 ? -1 : 1);
    return quotient;
}

bool fits(Wide value)
{
    return value >= std::numeric_limits<qint64>::min() && value <= std::numeric_limits<qint64>::max();
}

} // namespace

std::optional<QList<qint64>> taxExclusiveAmounts(const QList<TaxedAmount> &lines, const QList<ContainedTax> &taxes)
{
    QList<qint64> nets;
    nets.reserve(lines.size());
    for (const TaxedAmount &line : lines)
        nets.append(line.amount);
    for (const ContainedTax &tax : taxes) {
        if (tax.tax == 0 || tax.rate == 0)
            continue;
        Wide base = 0;
        qsizetype largest = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines.at(i).rate != tax.rate)
                continue;
            base += lines.at(i).amount;
            if (largest < 0 || magnitude(lines.at(i).amount) > magnitude(lines.at(largest).amount))
                largest = i;
        }
        if (largest < 0 || base == 0)
            return std::nullopt; // a tax on nothing: the page's sums are not these lines'
        Wide shared = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines.at(i).rate != tax.rate || i == largest)
                continue;
            const Wide part = divideHalfAway(static_cast<Wide>(lines.at(i).amount) * tax.tax, base);
            shared += part;
            const Wide net = static_cast<Wide>(lines.at(i).amount) - part;
            if (!fits(net))
                return std::nullopt;
            nets[i] = static_cast<qint64>(net);
        }
        const Wide net = static_cast<Wide>(lines.at(largest).amount) - (static_cast<Wide>(tax.tax) - shared);
        if (!fits(net))
            return std::nullopt;
        nets[largest] = static_cast<qint64>(net);
    }
    return nets;
}

} // namespace seikyu
