// Arbitrary bytes as a CSV file to import and as text pasted from a spreadsheet: neither may
// crash or stall, every record the reader keeps must point at a line of the file, and a file read
// without an error must give something to import or a reason for each line it left out.
#include "FuzzSupport.h"
#include "import/ClipboardRows.h"
#include "import/CsvFile.h"
#include "import/RowConversion.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace seikyu;

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_rows: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    if (const Result<CsvFile> parsed = readCsvBytes(bytes)) {
        const CsvFile &file = *parsed;
        if (file.table.records.isEmpty())
            fail("a file read without an error has no record");
        const int lines = static_cast<int>(bytes.count('\n') + bytes.count('\r')) + 1;
        int previous = 0;
        for (const TextRecord &record : file.table.records) {
            if (record.line <= previous || record.line > lines)
                fail("a record's line number is out of order or beyond the file");
            previous = record.line;
        }
        const ImportedRows rows = rowsFromRecords(file.table.records, file.proposedMapping(), file.header.has_value());
        const qsizetype read = file.table.records.size() - (file.header ? 1 : 0);
        if (rows.rows.size() + rows.skipped.size() != read)
            fail("a record is neither a row nor a skipped line");
    }

    const ImportedRows pasted = rowsFromClipboard(QString::fromUtf8(bytes));
    for (const ImportedRow &row : pasted.rows) {
        if (row.cells.size() != static_cast<std::size_t>(ColumnCount))
            fail("a pasted row without its five cells");
        if (row.line < 1)
            fail("a pasted row without the line it came from");
    }
    return 0;
}
