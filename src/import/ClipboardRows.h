#pragma once

#include "import/RowConversion.h"

#include <QString>

namespace seikyu {

/// Whether pasted text is cells copied from a spreadsheet (tab-separated) rather than text for
/// one cell.
bool isTableText(const QString &text);

/// The rows of cells copied from a spreadsheet (LibreOffice Calc, Excel, a web spreadsheet): one
/// row per line, tab-separated, a cell that holds a line break quoted. The columns are taken in
/// the table's order unless the first line names them, which is then no row and may name the
/// tax class's column too. Empty lines give no row.
ImportedRows rowsFromClipboard(const QString &text);

} // namespace seikyu
