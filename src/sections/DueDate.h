#pragma once

#include <QDate>
#include <QString>

namespace seikyu {

/// The usual payment term, from which a due date is proposed.
enum class DueTerm {
    EndOfNextMonth = 0, ///< 翌月末: the last day of the month after the invoice date
    ThirtyDays = 1,     ///< 30 days after the invoice date
    DayOfNextMonth = 2, ///< a fixed day of the month after the invoice date (翌月25日払い)
};

struct DueRule
{
    DueTerm term = DueTerm::EndOfNextMonth;
    int day = 25; ///< the fixed day, 1 to 31, for DayOfNextMonth
};

/// The due date the rule gives for an invoice dated `invoiceDate`. A fixed day that the next month
/// does not have becomes that month's last day (31 → 28 February, or 29 in a leap year).
QDate proposeDueDate(const QDate &invoiceDate, const DueRule &rule);

/// The due date as the page shows it under the invoice amount: "お支払期限 2027年01月31日", or in
/// the Japanese era as the invoice date is shown (お支払期限 令和9年1月31日). The words are the
/// invoice's own Japanese and are never translated.
QString dueDatePageText(const QDate &due, bool japaneseEra);

} // namespace seikyu
