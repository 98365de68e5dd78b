#include "customers/PaymentTerms.h"

#include <QRegularExpression>
#include <algorithm>

namespace seikyu {

namespace {

QDate dayOfMonth(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return QDate(year, month, std::clamp(day, 1, first.daysInMonth()));
}

QString dayText(int day)
{
    return day >= MonthEndDay ? QStringLiteral("末") : QStringLiteral("%1日").arg(day);
}

QString monthsText(int months)
{
    switch (months) {
    case 0:
        return QStringLiteral("当月");
    case 1:
        return QStringLiteral("翌月");
    case 2:
        return QStringLiteral("翌々月");
    default:
        return QStringLiteral("%1ヶ月後").arg(months);
    }
}

/// Full-width digits and letters to their plain forms, spaces gone, the iteration mark spelled
/// out: what is left is compared against the few shapes terms are written in.
QString plain(const QString &text)
{
    QString folded = text.normalized(QString::NormalizationForm_KC);
    folded.remove(QRegularExpression(QStringLiteral("\\s")));
    folded.replace(QStringLiteral("翌翌"), QStringLiteral("翌々"));
    return folded;
}

std::optional<int> dayOf(const QString &digitsOrEnd)
{
    if (digitsOrEnd.isEmpty() || digitsOrEnd == QStringLiteral("末") || digitsOrEnd == QStringLiteral("末日") ||
        digitsOrEnd == QStringLiteral("月末"))
        return MonthEndDay;
    bool ok = false;
    const int day = digitsOrEnd.toInt(&ok);
    if (!ok || day < 1 || day > MonthEndDay)
        return std::nullopt;
    return day;
}

/// A closing day is a day 1 to 28 or the month's end: the 29th and 30th close the month too, so
/// that every month has its closing day.
std::optional<int> closingDayOf(const QString &digitsOrEnd)
{
    const std::optional<int> day = dayOf(digitsOrEnd);
    return day && *day > 28 ? MonthEndDay : day;
}

} // namespace

QDate closingDateFor(const QDate &invoiceDate, int closingDay)
{
    if (!invoiceDate.isValid())
        return {};
    const QDate thisMonth = dayOfMonth(invoiceDate.year(), invoiceDate.month(), closingDay);
    if (invoiceDate <= thisMonth)
        return thisMonth;
    const QDate next = QDate(invoiceDate.year(), invoiceDate.month(), 1).addMonths(1);
    return dayOfMonth(next.year(), next.month(), closingDay);
}

std::pair<QDate, QDate> lastClosedPeriod(const QDate &today, int closingDay)
{
    const QDate to = closingDateFor(today.addMonths(-1), closingDay);
    return {closingDateFor(to.addMonths(-1), closingDay).addDays(1), to};
}

QDate dueDateFromTerms(const QDate &invoiceDate, const PaymentTerms &terms)
{
    if (!invoiceDate.isValid())
        return {};
    if (terms.basis == PaymentTerms::Basis::InvoiceDate)
        return invoiceDate.addDays(std::max(0, terms.days));
    const QDate closing = closingDateFor(invoiceDate, terms.closingDay);
    const QDate month = QDate(closing.year(), closing.month(), 1).addMonths(std::max(0, terms.months));
    return dayOfMonth(month.year(), month.month(), terms.day);
}

QString paymentTermsText(const PaymentTerms &terms)
{
    if (terms.basis == PaymentTerms::Basis::InvoiceDate)
        return QStringLiteral("請求日から%1日後払い").arg(terms.days);
    return dayText(terms.closingDay) + QStringLiteral("締め") + monthsText(terms.months) + dayText(terms.day) +
           QStringLiteral("払い");
}

std::optional<int> parseClosingDay(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^(\\d{1,2}|末|末日|月末)日?(締め?|〆)?$"));
    const QRegularExpressionMatch match = shape.match(plain(text));
    if (!match.hasMatch())
        return std::nullopt;
    return closingDayOf(match.captured(1));
}

std::optional<PaymentTerms> parsePaymentTerms(const QString &text, int closingDay)
{
    const QString typed = plain(text);
    PaymentTerms terms;
    terms.closingDay = closingDay;

    static const QRegularExpression days(
        QStringLiteral("^(?:請求日(?:から|より))?(\\d{1,3})日(?:後|以内)?(?:払い?)?$"));
    if (const QRegularExpressionMatch match = days.match(typed); match.hasMatch()) {
        terms.basis = PaymentTerms::Basis::InvoiceDate;
        terms.days = match.captured(1).toInt();
        return terms;
    }

    static const QRegularExpression closing(
        QStringLiteral("^(?:(\\d{1,2}|末|月末)日?(?:締め?|〆))?"             // the closing day
                       "(当月|翌月|翌々月|(\\d{1,2})(?:ヶ|か|カ|ケ|箇)月後)" // the month
                       "(\\d{1,2}日|末日?|月末)?(?:払い?|支払い?)?$"));      // the day
    const QRegularExpressionMatch match = closing.match(typed);
    if (!match.hasMatch())
        return std::nullopt;
    if (!match.captured(1).isEmpty())
        terms.closingDay = *closingDayOf(match.captured(1));
    const QString month = match.captured(2);
    terms.months = month == QStringLiteral("当月")     ? 0
                   : month == QStringLiteral("翌月")   ? 1
                   : month == QStringLiteral("翌々月") ? 2
                                                       : match.captured(3).toInt();
    if (terms.months > 12)
        return std::nullopt; // a year ahead at most: anything further is a typing slip
    QString day = match.captured(4);
    day.remove(QChar(u'日'));
    const std::optional<int> due = dayOf(day);
    if (!due)
        return std::nullopt;
    terms.day = *due;
    return terms;
}

} // namespace seikyu
