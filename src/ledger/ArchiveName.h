#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace seikyu {

/// The archived copy's name, the form the tax agency accepts for finding a record by its name:
/// YYYYMMDD_customer_amount_number.pdf (without "_number" when the invoice has none). Characters
/// no file name may hold become "_", white space and format controls (U+202E …) go, and a long
/// customer name is shortened to whole characters.
QString archiveFileName(const QDate &invoiceDate, const QString &customer, qint64 amount, const QString &number);

/// The name itself when `taken` says it is free, else the first free of name_2.pdf, name_3.pdf, …
QString uniqueArchiveName(const QString &name, const std::function<bool(const QString &)> &taken);

} // namespace seikyu
