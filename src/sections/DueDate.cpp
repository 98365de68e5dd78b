#include "sections/DueDate.h"

#include "sections/DateText.h"

#include <algorithm>

namespace seikyu {

QDate proposeDueDate(const QDate &invoiceDate, const DueRule &rule)
{
    if (!invoiceDate.isValid())
        return {};
    if (rule.term == DueTerm::ThirtyDays)
        return invoiceDate.addDays(30);
    const QDate nextMonth = QDate(invoiceDate.year(), invoiceDate.month(), 1).addMonths(1);
    const int last = nextMonth.daysInMonth();
    const int day = rule.term == DueTerm::EndOfNextMonth ? last : std::clamp(rule.day, 1, last);
    return QDate(nextMonth.year(), nextMonth.month(), day);
}

QString dueDatePageText(const QDate &due, bool japaneseEra)
{
    if (!due.isValid())
        return {};
    return QStringLiteral("お支払期限 ") + pageDateText(due, japaneseEra);
}

} // namespace seikyu
