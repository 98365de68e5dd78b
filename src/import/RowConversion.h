#pragma once

#include "import/ColumnMapping.h"
#include "import/DelimitedText.h"
#include "table/Amounts.h"
#include "table/ItemRow.h"

#include <QList>
#include <optional>

namespace seikyu {

/// The number a cell's text is when the whole text is one amount as people type and
/// spreadsheets show them: an optional sign (-, －, −, or the bookkeeping △ ▲), an optional
/// currency sign (￥, ¥, the \ that Japanese Windows shows as ¥, $), digits of any width with the
/// locale's grouping and decimal point, and an optional 円 after them. Nothing for any other
/// text ("2個", "別途", "(1,200)", "1-2"), which stays text.
std::optional<CellNumber> amountInText(const QString &text, const QString &localeName = QString());

/// A table row from the fields of one line. Amounts are read as typed amounts are; a unit price
/// or a price that is an amount is written as currency text, a whole quantity as a number, and
/// anything else stays as its text. A row with a unit price and a quantity but no price is
/// priced. Nothing when the line fills no table column.
std::optional<RowCells> rowFromFields(const QStringList &fields, const ColumnMapping &mapping);

/// A row that came in: the line it starts on, its cells, its tax class, and why it needs a look
/// before it goes on an invoice (empty when it reads cleanly).
struct ImportedRow
{
    int line = 0;
    RowCells cells;
    TaxClass taxClass = TaxClass::Standard;
    QStringList problems;
};

/// The rows the records give, the lines left out, and what the reading left aside.
struct ImportedRows
{
    QList<ImportedRow> rows;
    QList<SkippedLine> skipped;
    bool namedColumns = false;   ///< the first line named the columns
    bool taxClassRead = false;   ///< a column gave each row its tax class
    QStringList unplacedColumns; ///< the columns that hold something and go nowhere

    /// Each row that needs a look as its line and its reasons.
    QList<SkippedLine> flagged() const;
    /// The rows without those that need a look.
    ImportedRows withoutFlagged() const;
};

/// Every record as a row through the mapping, with its tax class from the tax column, checked; a
/// record that fills no table column is left out with its reason. The header line, when there is
/// one, is not a row.
ImportedRows rowsFromRecords(const QList<TextRecord> &records, const ColumnMapping &mapping, bool firstIsHeader,
                             std::optional<int> taxColumn = std::nullopt);

/// Where rows added after the current row go: right after it, but never into or below the sums
/// rows that end a totalled table; after the last item row when no item row is current.
int insertionIndex(const QList<RowPtr> &rows, int currentRow);

} // namespace seikyu
