#pragma once

#include <QDate>
#include <QStringList>

namespace seikyu {

/// The first and last day an invoice bills for.
struct DatePeriod
{
    QDate start;
    QDate end;
};

/// The period of an invoice: from the earliest to the latest of its rows' dates ("12-05", "12/5",
/// "2026-12-05", "12月5日"; a date without a year is the latest such day not far after the invoice
/// date), or the month of the invoice date when no row gives a date.
DatePeriod invoicePeriod(const QStringList &rowDates, const QDate &invoiceDate);

/// A row's date text as a date, the year taken as above; invalid when it is no date.
QDate rowDate(const QString &text, const QDate &invoiceDate);

} // namespace seikyu
