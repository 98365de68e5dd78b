#include "import/ClipboardRows.h"

namespace seikyu {

bool isTableText(const QString &text)
{
    return text.contains(u'\t');
}

CsvFile clipboardTable(const QString &text)
{
    CsvFile table;
    table.delimiter = u'\t';
    table.table = splitDelimited(text, u'\t', Quoting::Lenient);
    describeColumns(table);
    return table;
}

bool columnsAreEvident(const CsvFile &table)
{
    return table.header || table.byContent;
}

ImportedRows rowsFromClipboard(const QString &text)
{
    const CsvFile table = clipboardTable(text);
    if (table.table.records.isEmpty())
        return {};
    ImportedRows rows = rowsFromRecords(table.table.records, table.proposedMapping(), table.header.has_value(),
                                        table.proposedChoice().taxColumn);
    rows.skipped.append(table.table.skipped);
    return rows;
}

} // namespace seikyu
