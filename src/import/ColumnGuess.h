#pragma once

#include "import/ColumnMapping.h"
#include "import/DelimitedText.h"

#include <QList>
#include <optional>

namespace seikyu {

/// How many rows the guess looks at: far more than a paste holds, and a file's first rows show
/// its layout as well as all of them would.
inline constexpr int RowsJudgedForColumns = 1000;

/// The table columns of rows without a header line, told by what their cells hold: dates, one
/// column of text (the description), and numbers. Rows laid out as the table is (date,
/// description, unit price, quantity, price; any of them empty) keep that order unless the numbers
/// contradict it. Otherwise a lone number is the price, and three numbers are told apart by unit
/// price × quantity = price in most rows, the quantity being the one without a currency sign or,
/// failing that, the smaller one. Nothing when the cells leave any doubt: two columns of text or
/// of dates, two numbers out of the table's order, or numbers that do not multiply up.
std::optional<ColumnMapping> mappingFromContent(const QList<TextRecord> &records);

} // namespace seikyu
