#pragma once

#include <QString>

namespace seikyu {

/// The UN/ECE Recommendation 20 code of a quantity's unit as Japanese invoices write it:
/// 個 本 枚 台 箱 点 → H87 (piece), 時間 → HUR, 日 → DAY, ヶ月 → MON, kg → KGM, 式 → LS (lump sum),
/// 件 回 → C62 (one); anything else,
/// and no unit at all, counts pieces (H87).
QString unitCodeOf(const QString &unit);

/// A quantity cell split into its number and its unit: "2個" gives "2" and "個", "1.5 時間" gives
/// "1.5" and "時間", "一式" gives no number and "一式".
struct QuantityText
{
    QString number; ///< the leading number as typed, folded to ASCII; empty when there is none
    QString unit;   ///< what follows it, trimmed
};
QuantityText splitQuantity(const QString &text);

} // namespace seikyu
