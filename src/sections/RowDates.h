#pragma once

#include <QDate>
#include <QString>

namespace seikyu {

/// How many calendar months lie from the month of `from` to the month of `to` (negative when `to`
/// is earlier); the days of the month do not count. 0 when either date is invalid.
int monthsBetween(const QDate &from, const QDate &to);

/// The invoice date or due date `months` calendar months after `date` (before, when negative), as
/// next month's invoice moves them: the day is kept where that month has it, otherwise the month's
/// last day is taken (10-31 → 11-30), and a month's last day stays its last day (11-30 → 12-31,
/// 2-28 → 3-31), as an invoice closed at the month's end is. Invalid for an invalid date.
QDate monthsLater(const QDate &date, int months);

/// A row's date text moved by `months` calendar months, as next month's invoice moves its rows:
/// a text that reads as a month and day ("4/30", "04/30", "４月３０日", "2025/4/30",
/// "2025年4月30日", spaces around it kept) gets the moved month, and its day is clamped to that
/// month's last day. Each number keeps its own digits (full-width stays full-width); a date that
/// pads a number with a zero (04/30, 12/01) keeps both in two digits; every other character stays
/// as written. A text that is not such a date (a weekday
/// after it, "4/31", "13/1", a word) comes back unchanged.
///
/// A date without a year falls in the year that puts it nearest the invoice's date
/// `invoiceDate` (12/28 on an invoice of 5 January is last December), which decides whether
/// 2/29 exists and in which year a moved date lands.
QString movedRowDate(const QString &text, int months, const QDate &invoiceDate);

} // namespace seikyu
