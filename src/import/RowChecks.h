#pragma once

#include "import/ColumnMapping.h"
#include "import/DelimitedText.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace seikyu {

/// Why a line's cells, read through the mapping, need a look before they go on an invoice: a
/// quantity or unit price that is no number, a price other than unit price × quantity (rounded to
/// whole yen as the table works it out), a tax class cell that names no class. Empty when the line
/// reads cleanly; an empty cell is never a problem.
QStringList rowProblems(const QStringList &fields, const ColumnMapping &mapping, std::optional<int> taxColumn,
                        TaxColumnKind kind = TaxColumnKind::Classes);

/// The columns that hold something below the header and go nowhere: by the header's name when
/// the first line names the columns and gives that one a name, else as "column 3".
QStringList unplacedColumns(const QList<TextRecord> &records, const ColumnMapping &mapping,
                            std::optional<int> taxColumn, bool firstIsHeader);

struct ImportedRows;

/// What the preview and the closing message tell about the rows beyond each line: the columns
/// left out by name, and, when no column gives a tax class, that every row is at the invoice's
/// rate and how reduced-rate rows are marked.
QStringList readingNotes(const ImportedRows &rows);

} // namespace seikyu
