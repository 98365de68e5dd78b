#pragma once

#include "table/Amounts.h"
#include "table/ItemRow.h"

#include <QList>
#include <QString>
#include <optional>

namespace seikyu {

/// The page texts of the rows that the totals append. They are the invoice's own Japanese and
/// are never translated.
namespace SumsLabel {
inline const QString Subtotal = QStringLiteral("小計");
inline const QString Tax = QStringLiteral("消費税");
inline const QString Total = QStringLiteral("合計");
inline const QString TaxIncluded = QStringLiteral("税込済み");
inline const QString Exempt = QStringLiteral("非課税");
inline const QString Withholding = QStringLiteral("源泉徴収税");
inline const QString Payable = QStringLiteral("差引請求額");
/// "10%対象": the total of the prices taxed at a rate.
QString baseAt(int ratePercent);
/// "消費税(10%)": the tax added at a rate.
QString taxAt(int ratePercent);
/// "内消費税(10%)": the tax contained in prices that include it.
QString taxWithinAt(int ratePercent);
} // namespace SumsLabel

/// One appended row: its quantity-column label and the value of its price column.
struct SumsLine
{
    QString label; ///< " " for the blank separator row
    CellValue value;
};

/// One item row as the totals see it.
struct SumsItem
{
    qint64 price = 0;
    TaxClass taxClass = TaxClass::Standard;
};

/// The reduced consumption-tax rate (food and drink, newspapers), and the invoice rates there are.
inline constexpr int ReducedRate = 8;
inline constexpr int StandardRate = 10;
/// The rate in percent at which a row of the tax class is taxed on an invoice at `invoiceRate`:
/// the reduced rate, no tax (0) for an exempt row, or the invoice's own.
int taxRateOf(TaxClass taxClass, int invoiceRate);

/// What the totals are worked out from.
struct SumsInput
{
    QList<SumsItem> items;  ///< every item row, each counted once
    int rate = ReducedRate; ///< the invoice's rate, for rows of the standard class
    bool addTax = true;     ///< false: the prices already include the tax
    TaxRounding rounding = TaxRounding::HalfAwayFromZero;
    bool qualified = false;   ///< the issuer has a registration number (適格請求書)
    bool withholding = false; ///< withhold income tax (源泉徴収)
};

/// The sums rows for the items, starting with the blank separator.
///
/// With one rate in the table and no registration number: 小計, 消費税 (the rate of the subtotal,
/// as decimal text; 税込済み when the prices include it) and 合計. With more than one rate (or
/// taxed and exempt rows side by side), or on a qualified invoice: for each rate its base
/// ("10%対象") and its tax ("消費税(10%)", or "内消費税(10%)" contained in prices that include it),
/// the exempt rows' total ("非課税"), then 合計. Each rate's tax is worked out once, from that
/// rate's base. With withholding, 源泉徴収税 (negative) and 差引請求額 follow 合計; its base is the
/// amount before consumption tax (the whole amount when the prices include it). Nothing when a
/// sum leaves the signed 64-bit range.
std::optional<QList<SumsLine>> computeSums(const SumsInput &input);

/// A sums row: date and name hold one space, the unit price one space or nothing (as a file keeps
/// it), and the quantity a sums label (or one space, for the separator). Rows read back from a
/// file are recognised the same way.
bool isSumsRow(const RowCells &cells);
/// A row that can carry the amount the invoice asks for: 合計, or 差引請求額 after withholding.
bool isPayableRow(const RowCells &cells);

/// First and last index of a run of rows.
struct RowRange
{
    int first = 0;
    int last = -1;
    bool contains(int index) const { return index >= first && index <= last; }
    int size() const { return last - first + 1; }
    friend bool operator==(const RowRange &, const RowRange &) = default;
};

/// Every set of sums rows in the table: each run of sums rows that holds a payable row.
QList<RowRange> sumsBlocks(const QList<RowPtr> &rows);
/// The set of sums rows that ends the table, when the table is totalled.
std::optional<RowRange> trailingSums(const QList<RowPtr> &rows);
/// The payable row of the sums set that ends the table (its last 差引請求額 or 合計); -1 when the
/// table is not totalled.
int payableRowIndex(const QList<RowPtr> &rows);

/// Whether a row is an item row: neither the header nor part of a set of sums rows.
QList<bool> itemRowMask(const QList<RowPtr> &rows);

/// The row with its price worked out as unit price × quantity (the unit price and the price as
/// currency text, a whole quantity as an integer); nothing when the quantity does not start with
/// a number, either of the two holds no amount, or the price would not fit in 64 bits.
std::optional<RowCells> pricedRow(const RowCells &cells);

/// An item row as the totals count it: a row whose unit price and quantity were typed but whose
/// price was never worked out is priced; any other row stays as it is.
RowCells countedItem(const RowCells &cells);

/// The row with every unit price and price that holds an amount written as currency text.
RowCells formattedAmounts(const RowCells &cells);
/// The row with every unit price and price reduced to its plain number ("-5000", "12.5").
RowCells plainAmounts(const RowCells &cells);

} // namespace seikyu
