#include "sections/RowDates.h"

#include <QRegularExpression>
#include <cstdlib>

namespace seikyu {

namespace {

/// Month and day written with separators: 4/30, 2025/4/30 (also ／, . and - in either width).
const QRegularExpression &separatedDate()
{
    static const QRegularExpression expression(
        QStringLiteral("^(?:(\\p{Nd}{4})([/／.．\\-－]))?(\\p{Nd}{1,2})([/／.．\\-－])(\\p{Nd}{1,2})$"));
    return expression;
}

/// Month and day in Japanese: 4月30日, 2025年4月30日.
const QRegularExpression &japaneseDate()
{
    static const QRegularExpression expression(
        QStringLiteral("^(?:(\\p{Nd}{4})\\s*年\\s*)?()(\\p{Nd}{1,2})\\s*月()\\s*(\\p{Nd}{1,2})\\s*日$"));
    return expression;
}

int valueOf(const QString &digits)
{
    int value = 0;
    for (const QChar digit : digits)
        value = value * 10 + digit.digitValue();
    return value;
}

bool startsWithZero(const QString &field)
{
    return field.size() > 1 && field.at(0).digitValue() == 0;
}

/// The number written in the digits of the field it replaces (the field's own zero), padded with
/// zeros to `width`.
QString writtenLike(int value, const QString &field, int width)
{
    const char16_t zero = static_cast<char16_t>(field.at(0).unicode() - field.at(0).digitValue());
    QString text = QString::number(value).rightJustified(width, u'0');
    for (QChar &digit : text)
        digit = QChar(static_cast<char16_t>(zero + (digit.unicode() - u'0')));
    return text;
}

int monthIndex(int year, int month)
{
    return year * 12 + (month - 1);
}

/// The year that puts the month nearest the invoice's month; the earlier one when two are as near.
int nearestYear(int month, const QDate &invoiceDate)
{
    const int invoiceYear = invoiceDate.isValid() ? invoiceDate.year() : 2000;
    const int invoiceMonth = invoiceDate.isValid() ? monthIndex(invoiceDate.year(), invoiceDate.month()) : -1;
    if (invoiceMonth < 0)
        return invoiceYear;
    int best = invoiceYear - 1;
    for (const int year : {invoiceYear, invoiceYear + 1}) {
        if (std::abs(monthIndex(year, month) - invoiceMonth) < std::abs(monthIndex(best, month) - invoiceMonth))
            best = year;
    }
    return best;
}

} // namespace

int monthsBetween(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid())
        return 0;
    return monthIndex(to.year(), to.month()) - monthIndex(from.year(), from.month());
}

QDate monthsLater(const QDate &date, int months)
{
    if (!date.isValid())
        return {};
    const QDate moved = date.addMonths(months);
    if (date.day() == date.daysInMonth() && moved.isValid())
        return QDate(moved.year(), moved.month(), moved.daysInMonth());
    return moved;
}

QString movedRowDate(const QString &text, int months, const QDate &invoiceDate)
{
    if (months == 0)
        return text;
    const QString core = text.trimmed();
    if (core.isEmpty())
        return text;
    qsizetype start = 0;
    while (text.at(start).isSpace())
        ++start;
    QRegularExpressionMatch match = separatedDate().match(core);
    if (match.hasMatch()) {
        // 2025/4-30 is not a date written one way.
        if (match.capturedLength(1) > 0 && match.captured(2) != match.captured(4))
            return text;
    } else {
        match = japaneseDate().match(core);
        if (!match.hasMatch())
            return text;
    }
    const bool hasYear = match.capturedLength(1) > 0;
    const int month = valueOf(match.captured(3));
    const int day = valueOf(match.captured(5));
    if (month < 1 || month > 12 || day < 1)
        return text;
    int year = 0;
    if (hasYear) {
        year = valueOf(match.captured(1));
        if (!QDate(year, month, day).isValid())
            return text;
    } else {
        // Without a year the 29th of February is a date: the year it was written in had one.
        if (day > QDate(2000, month, 1).daysInMonth())
            return text;
        year = nearestYear(month, invoiceDate);
    }
    const int moved = monthIndex(year, month) + months;
    const int newYear = moved / 12;
    const int newMonth = moved % 12 + 1;
    if (moved < 0 || newYear > 9999)
        return text;
    const int newDay = std::min(day, QDate(newYear, newMonth, 1).daysInMonth());

    // A date that pads one of its numbers (04/30, 12/01) is written in two digits each.
    const int width = startsWithZero(match.captured(3)) || startsWithZero(match.captured(5)) ? 2 : 0;
    // Each number replaced where it stands, from the last one back, so the earlier offsets hold.
    QString result = core;
    result.replace(match.capturedStart(5), match.capturedLength(5), writtenLike(newDay, match.captured(5), width));
    result.replace(match.capturedStart(3), match.capturedLength(3), writtenLike(newMonth, match.captured(3), width));
    if (hasYear)
        result.replace(match.capturedStart(1), match.capturedLength(1), writtenLike(newYear, match.captured(1), 4));
    return text.left(start) + result + text.mid(start + core.size());
}

} // namespace seikyu
