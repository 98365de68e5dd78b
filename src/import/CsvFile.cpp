#include "import/CsvFile.h"

#include "import/ColumnGuess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "RowImport", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(RowImport)
};

Fault notRows(const QString &message)
{
    return Fault{FaultKind::BadInput, message};
}

} // namespace

ColumnMapping CsvFile::proposedMapping() const
{
    ColumnMapping mapping = header ? *header : byContent ? *byContent : tableOrderMapping(columnCount);
    while (mapping.size() < columnCount)
        mapping.append(std::nullopt);
    return mapping;
}

ImportChoice CsvFile::proposedChoice() const
{
    return {proposedMapping(), header.has_value(), header ? taxColumn : std::nullopt, false};
}

Result<CsvFile> readCsvBytes(const QByteArray &bytes)
{
    const Result<DecodedText> decoded = decodeText(bytes);
    if (!decoded)
        return decoded.fault();
    if (decoded->text.trimmed().isEmpty())
        return notRows(Text::tr("The file is empty: it holds no rows."));
    CsvFile file;
    file.encoding = decoded->encoding;
    file.delimiter = guessDelimiter(decoded->text);
    file.table = splitDelimited(decoded->text, file.delimiter, Quoting::Strict);
    if (file.table.records.isEmpty()) {
        // Only empty fields ("" alone): nothing to read and nothing wrong with a line either.
        if (file.table.skipped.isEmpty())
            return notRows(Text::tr("The file is empty: it holds no rows."));
        const SkippedLine &first = file.table.skipped.constFirst();
        return notRows(Text::tr("No line of the file can be read. Line %1: %2.").arg(first.line).arg(first.reason));
    }
    describeColumns(file);
    return file;
}

void describeColumns(CsvFile &file)
{
    file.columnCount = 0;
    for (const TextRecord &record : std::as_const(file.table.records))
        file.columnCount = std::max(file.columnCount, static_cast<int>(record.fields.size()));
    if (file.table.records.isEmpty())
        return;
    file.header = mappingFromHeader(file.table.records.constFirst().fields);
    if (file.header)
        file.taxColumn = taxColumnOfHeader(file.table.records.constFirst().fields);
    else
        file.byContent = mappingFromContent(file.table.records);
}

Result<CsvFile> readCsvFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return notRows(Text::tr("“%1” is not a file of rows.").arg(info.fileName()));
    if (info.size() > MaximumRowFileBytes)
        return notRows(Text::tr("“%1” is too large to import (%2). Files of rows up to %3 are read.")
                           .arg(info.fileName(), QLocale().formattedDataSize(info.size()),
                                QLocale().formattedDataSize(MaximumRowFileBytes)));
    QFile file(path);
    const auto unreadable = [&] {
        return Fault{info.exists() ? FaultKind::Unreadable : FaultKind::NotFound,
                     Text::tr("“%1” cannot be read: %2").arg(info.fileName(), file.errorString()), file.errorString()};
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    // Read one byte past the limit: a file that grew since it was measured is still refused.
    const QByteArray bytes = file.read(MaximumRowFileBytes + 1);
    if (bytes.size() > MaximumRowFileBytes)
        return notRows(Text::tr("“%1” is too large to import. Files of rows up to %2 are read.")
                           .arg(info.fileName(), QLocale().formattedDataSize(MaximumRowFileBytes)));
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    return readCsvBytes(bytes);
}

} // namespace seikyu
