#include "einvoice/InvoicePeriod.h"

#include <QRegularExpression>

namespace seikyu {

namespace {
/// A row dated up to this long after the invoice date is work billed in advance; later, last year's.
constexpr int DaysAheadAtMost = 31;
} // namespace

QDate rowDate(const QString &text, const QDate &invoiceDate)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(\\d{4})\\s*[-/.年]\\s*)?(\\d{1,2})\\s*[-/.月]\\s*(\\d{1,2})\\s*日?$"));
    const QRegularExpressionMatch match = pattern.match(text.normalized(QString::NormalizationForm_KC).trimmed());
    if (!match.hasMatch())
        return {};
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (!match.captured(1).isEmpty())
        return QDate(match.captured(1).toInt(), month, day);
    const QDate thisYear(invoiceDate.year(), month, day);
    if (thisYear.isValid() && thisYear > invoiceDate.addDays(DaysAheadAtMost))
        return QDate(invoiceDate.year() - 1, month, day);
    if (!thisYear.isValid()) // 2月29日 outside a leap year: the year before is no leap year either
        return {};
    return thisYear;
}

DatePeriod invoicePeriod(const QStringList &rowDates, const QDate &invoiceDate)
{
    DatePeriod period;
    for (const QString &text : rowDates) {
        const QDate date = rowDate(text, invoiceDate);
        if (!date.isValid())
            continue;
        if (!period.start.isValid() || date < period.start)
            period.start = date;
        if (!period.end.isValid() || date > period.end)
            period.end = date;
    }
    if (!period.start.isValid()) {
        period.start = QDate(invoiceDate.year(), invoiceDate.month(), 1);
        period.end = QDate(invoiceDate.year(), invoiceDate.month(), invoiceDate.daysInMonth());
    }
    return period;
}

} // namespace seikyu
