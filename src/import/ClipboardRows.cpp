#include "import/ClipboardRows.h"

namespace seikyu {

bool isTableText(const QString &text)
{
    return text.contains(u'\t');
}

ImportedRows rowsFromClipboard(const QString &text)
{
    const DelimitedText table = splitDelimited(text, u'\t', Quoting::Lenient);
    if (table.records.isEmpty())
        return {};
    const std::optional<ColumnMapping> header = mappingFromHeader(table.records.constFirst().fields);
    qsizetype widest = 0;
    for (const TextRecord &record : table.records)
        widest = std::max(widest, record.fields.size());
    const QStringList &first = table.records.constFirst().fields;
    ImportedRows rows = rowsFromRecords(table.records, header ? *header : tableOrderMapping(static_cast<int>(widest)),
                                        header.has_value(), header ? taxColumnOfHeader(first) : std::nullopt);
    rows.skipped.append(table.skipped);
    return rows;
}

} // namespace seikyu
