#pragma once

#include "import/ColumnMapping.h"
#include "import/DelimitedText.h"
#include "import/TextDecoding.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace seikyu {

/// The largest file of rows that is read: far more rows than any invoice holds, and little
/// enough that reading it never stalls the window or exhausts memory.
inline constexpr qint64 MaximumRowFileBytes = 64 * 1024 * 1024;

/// How the user wants the rows of a file (or a paste) taken into the table.
struct ImportChoice
{
    ColumnMapping mapping;
    bool firstLineIsHeader = false;
    /// The column that gives each row's tax class; without one every row is at the invoice's rate.
    std::optional<int> taxColumn = std::nullopt;
    /// Rows that need a look (a quantity that is no number, a price that is not unit price ×
    /// quantity…) are left out rather than taken as written.
    bool leaveOutFlagged = false;
};

/// A file of rows as read for import.
struct CsvFile
{
    TextEncoding encoding = TextEncoding::Utf8;
    QChar delimiter = u',';
    DelimitedText table;
    int columnCount = 0; ///< the most fields any record has
    /// The table columns the first line names, when it is a header line.
    std::optional<ColumnMapping> header;
    /// The column the header line names as the tax class's.
    std::optional<int> taxColumn = std::nullopt;
    /// Without a header, the table columns the cells tell by what they hold, when that is beyond doubt.
    std::optional<ColumnMapping> byContent;

    /// The mapping to propose: the header's, else the one the content tells, else the table's own
    /// column order.
    ColumnMapping proposedMapping() const;
    /// How to take the rows unless the user says otherwise: the proposed mapping, the header's
    /// tax column, every row that needs a look taken as written.
    ImportChoice proposedChoice() const;
};

/// The rows of a delimited text as read from a file: their widest record, the header the first
/// line gives or, without one, the columns their content tells.
void describeColumns(CsvFile &file);

/// Reads a CSV file's bytes: RFC 4180 quoting, comma- (or tab-) separated, in UTF-8 with or
/// without BOM, UTF-16 with BOM, or Shift_JIS (CP932). Bytes that are not text, an empty file, or
/// one whose every line is damaged are refused (BadInput).
Result<CsvFile> readCsvBytes(const QByteArray &bytes);

/// Reads a CSV file; a file that is not there (NotFound), cannot be opened (Unreadable), or is too
/// large or no file (BadInput) is refused without being read.
Result<CsvFile> readCsvFile(const QString &path);

} // namespace seikyu
