#pragma once

#include "import/CsvFile.h"
#include "import/RowConversion.h"

#include <QString>

namespace seikyu {

/// Whether pasted text is cells copied from a spreadsheet (tab-separated) rather than text for
/// one cell.
bool isTableText(const QString &text);

/// Cells copied from a spreadsheet (LibreOffice Calc, Excel, a web spreadsheet) as a table of rows:
/// one row per line, tab-separated, a cell that holds a line break quoted; empty lines give no row.
/// Its columns are named by the first line when that is a header, else told by their content.
CsvFile clipboardTable(const QString &text);

/// Whether the table's columns are beyond doubt, so that nobody need be asked.
bool columnsAreEvident(const CsvFile &table);

/// The rows of cells copied from a spreadsheet through the columns a header names (the header
/// line is then no row), else those the content tells, else in the table's order; a header may name the tax class's
/// column too.
ImportedRows rowsFromClipboard(const QString &text);

} // namespace seikyu
