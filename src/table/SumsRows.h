#pragma once

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
} // namespace SumsLabel

/// One appended row: its quantity-column label and the value of its price column.
struct SumsLine
{
    QString label; ///< " " for the blank separator row
    CellValue value;
};

/// What the totals are worked out from.
struct SumsInput
{
    QList<qint64> prices; ///< the price of every item row, each counted once
    bool addTax = true;   ///< false: the prices already include the tax (税込済み)
};

/// The sums rows for the items: the blank separator, 小計, 消費税 (8 % of the subtotal, rounded
/// half away from zero, as decimal text; or 税込済み) and 合計. Nothing when a sum leaves the
/// signed 64-bit range.
std::optional<QList<SumsLine>> computeSums(const SumsInput &input);

/// A sums row: date and name hold one space, the unit price one space or nothing (as a file keeps
/// it), and the quantity a sums label (or one space, for the separator). Rows read back from a
/// file are recognised the same way.
bool isSumsRow(const RowCells &cells);
/// The row that carries the amount the invoice asks for.
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
/// The payable row of the sums set that ends the table; -1 when the table is not totalled.
int payableRowIndex(const QList<RowPtr> &rows);

/// Whether a row is an item row: neither the header nor part of a set of sums rows.
QList<bool> itemRowMask(const QList<RowPtr> &rows);

/// The row with its price worked out as unit price × quantity (the unit price and the price as
/// currency text, a whole quantity as an integer); nothing when the quantity does not start with
/// a number, either of the two holds no amount, or the price would not fit in 64 bits.
std::optional<RowCells> pricedRow(const RowCells &cells);

/// The row with every unit price and price that holds an amount written as currency text.
RowCells formattedAmounts(const RowCells &cells);
/// The row with every unit price and price reduced to its plain number ("-5000", "12.5").
RowCells plainAmounts(const RowCells &cells);

} // namespace seikyu
