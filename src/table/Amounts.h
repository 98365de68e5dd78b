#pragma once

#include "table/ItemRow.h"

#include <QString>
#include <optional>

namespace seikyu {

/// Every decimal digit of the value's text, in order, as ASCII digits; everything else is dropped.
/// Any Unicode decimal digit counts by its value, so full-width １２３ gives "123".
QString spot(const CellValue &value);

/// The value of a digits-only text; the empty text is 0. Texts beyond the signed 64-bit range
/// saturate at the largest value rather than wrap.
qint64 digitsValue(const QString &digits);

/// The amount in a cell: digitsValue(spot(value)).
qint64 amountOf(const CellValue &value);

/// Whole yen as currency text in the given locale's own pattern ("ja_JP" gives ￥1,234,567,
/// "en_US" ¥1,234,567), never with fraction digits. An empty locale name means QLocale().
QString mark(qint64 amount, const QString &localeName = QString());

/// The leading integer of a text the way a quantity is first read: leading white space, an
/// optional sign, then decimal digits (0 when the text does not start that way). Integers give
/// themselves, absent gives 0.
qint64 leadingInteger(const CellValue &value);

/// a + b, or nothing when the sum leaves the signed 64-bit range.
std::optional<qint64> checkedAdd(qint64 a, qint64 b);
/// a × b, or nothing when the product leaves the signed 64-bit range.
std::optional<qint64> checkedMultiply(qint64 a, qint64 b);

/// Consumption tax on a subtotal: subtotal × 0.08 rounded half away from zero, or nothing when
/// it does not fit in 64 bits.
std::optional<qint64> consumptionTax(qint64 subtotal);

} // namespace seikyu
