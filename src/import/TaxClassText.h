#pragma once

#include "table/ItemRow.h"

#include <QString>
#include <optional>

namespace seikyu {

/// How a tax class column states each row's class: by rate or name (税率, 税区分), or by marking
/// the rows at the reduced rate (軽減, 軽減対象, ※), where a 1 or yes marks a row and a 0, no, × or
/// a dash leaves it at the standard rate.
enum class TaxColumnKind { Classes, ReducedMarks };

/// The tax class a cell of a tax class column gives its row, whatever its width, case and spaces:
/// the reduced rate for 8, 8%, ８％, 0.08, 軽減, 軽減税率, ※, * or a tick (○, ✓) as a 軽減 column
/// marks its rows; the standard rate for 10, 10%, 0.1, 標準, 課税 and an empty cell; not taxed for
/// 非課税, 不課税, 対象外, 免税, exempt and 0%. A rate with its mark ("※8%", "8%（軽減）") is read
/// too. Nothing for any other text, and for marks that contradict each other ("軽減10%"), so the
/// row is never given a class the cell does not state. A bare 0 or 1 is nothing as well unless the
/// column marks reduced rows: read as a rate, the 0 of a column of flags would take the tax off
/// every row the flag leaves out.
std::optional<TaxClass> taxClassOfText(const QString &text, TaxColumnKind kind = TaxColumnKind::Classes);

} // namespace seikyu
