#pragma once

#include "table/ItemRow.h"

#include <QString>
#include <optional>

namespace seikyu {

/// A number as a cell holds it, read leniently from whatever the user typed.
struct CellNumber
{
    bool negative = false;
    qint64 whole = 0; ///< the whole part's value, saturating at the largest 64-bit value
    QString fraction; ///< the fraction's digits as typed ("50" in 12.50), ASCII
    bool hasDigits = false;

    bool isZero() const;
    /// No fraction, or only zeros after the point.
    bool isWhole() const;
};

/// Reads the number in a cell. Every decimal digit before the decimal point counts, whatever
/// stands between them (grouping, currency signs, words: "￥1,234", "１，２００円"); any Unicode
/// decimal digit counts by its value. The digits right after the decimal point (the locale's, or
/// its full-width form) are the fraction, and nothing after them counts: 12.50 is twelve and a half,
/// never 1,250. A minus before the first digit (-, －, −, or the bookkeeping △ ▲) makes it
/// negative. Integers give themselves; absent gives no digits.
CellNumber readNumber(const CellValue &value, const QString &localeName = QString());

/// The whole yen in a cell: its number rounded half away from zero; 0 when it holds no digit.
qint64 amountOf(const CellValue &value);

/// The number in a cell as plain text, the way files keep amounts: the whole digits as typed,
/// a leading "-" when negative and ".fraction" when there is one ("-5000", "12.50"); empty when
/// the cell holds no digit.
QString spot(const CellValue &value);

/// Whole yen as currency text in the given locale's own pattern ("ja_JP" gives ￥1,234,567,
/// "en_US" ¥1,234,567, negative -￥5,000), never with fraction digits. An empty locale name means
/// the user's.
QString mark(qint64 amount, const QString &localeName = QString());
/// A number as currency text with exactly its own fraction digits (a unit price of ￥12.5).
QString markNumber(const CellNumber &number, const QString &localeName = QString());

/// The number a text starts with: leading white space, an optional sign, then decimal digits
/// with an optional fraction after a point; no digits when the text does not start that way.
/// Integers give themselves.
CellNumber leadingNumber(const CellValue &value);
/// The whole part of leadingNumber, with its sign (flags and indexes read from files).
qint64 leadingInteger(const CellValue &value);

/// Unit price × quantity rounded to whole yen, halves away from zero; nothing when the price
/// leaves the signed 64-bit range.
std::optional<qint64> priceOf(const CellNumber &unitPrice, const CellNumber &quantity);

/// a + b, or nothing when the sum leaves the signed 64-bit range.
std::optional<qint64> checkedAdd(qint64 a, qint64 b);
/// a × b, or nothing when the product leaves the signed 64-bit range.
std::optional<qint64> checkedMultiply(qint64 a, qint64 b);

/// How a tax is rounded to whole yen, once per rate per invoice: 四捨五入 (halves away from zero),
/// 切り捨て (towards zero) or 切り上げ (away from zero).
enum class TaxRounding { HalfAwayFromZero = 0, Down = 1, Up = 2 };

/// The tax added on top of a base: base × rate %, rounded by the rule; nothing when it does not
/// fit in 64 bits.
std::optional<qint64> taxOn(qint64 base, int ratePercent, TaxRounding rounding = TaxRounding::HalfAwayFromZero);
/// The tax contained in a price that includes it: price × rate / (100 + rate), rounded by the rule.
std::optional<qint64> taxWithin(qint64 price, int ratePercent, TaxRounding rounding = TaxRounding::HalfAwayFromZero);

/// Income tax withheld from a fee paid to an individual (源泉徴収): 10.21 % of the base up to
/// ￥1,000,000 and 20.42 % of the part above it plus ￥102,100, fractions of a yen cut off; 0 for a
/// base of 0 or less.
qint64 withholdingTax(qint64 base);

} // namespace seikyu
