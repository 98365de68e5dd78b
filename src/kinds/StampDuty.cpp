#include "kinds/StampDuty.h"

#include <algorithm>
#include <array>
#include <utility>

namespace seikyu {

namespace {

constexpr qint64 Man = 10'000;
constexpr qint64 Oku = 100'000'000;

/// The duty by the highest amount it covers; above the last bracket the duty is the largest one.
constexpr std::array<std::pair<qint64, qint64>, 14> Brackets{{
    {5 * Man - 1, 0},
    {100 * Man, 200},
    {200 * Man, 400},
    {300 * Man, 600},
    {500 * Man, 1'000},
    {1'000 * Man, 2'000},
    {2'000 * Man, 4'000},
    {3'000 * Man, 6'000},
    {5'000 * Man, 10'000},
    {1 * Oku, 20'000},
    {2 * Oku, 40'000},
    {3 * Oku, 60'000},
    {5 * Oku, 100'000},
    {10 * Oku, 150'000},
}};
constexpr qint64 AboveEveryBracket = 200'000;

} // namespace

qint64 receiptStampDuty(const ReceiptStampQuestion &question)
{
    if (!question.onPaper || !question.business)
        return 0;
    // Only a tax the receipt states apart is left out; a negative statement leaves the amount whole.
    const qint64 base = question.amount - std::max<qint64>(0, question.statedTax);
    for (const auto &[upTo, duty] : Brackets) {
        if (base <= upTo)
            return duty;
    }
    return AboveEveryBracket;
}

} // namespace seikyu
