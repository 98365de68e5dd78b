#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace seikyu {

/// One record of delimited text: its fields and the line it starts on (1 for the first line).
struct TextRecord
{
    int line = 0;
    QStringList fields;
};

/// A line that could not be read, and why.
struct SkippedLine
{
    int line = 0;
    QString reason;
    friend bool operator==(const SkippedLine &, const SkippedLine &) = default;
};

/// What a delimited text holds: its records in order, and the lines that were left out.
struct DelimitedText
{
    QList<TextRecord> records;
    QList<SkippedLine> skipped;
};

/// How strictly quotation marks are read.
enum class Quoting {
    /// RFC 4180 as CSV files follow it: a field that starts with a quotation mark ends at the
    /// mark that closes it, "" inside stands for one mark, and commas and line breaks inside are
    /// the field's own. A mark that is never closed, or text right after a closing mark, damages
    /// its line, which is left out with the reason; reading goes on at the next line.
    Strict,
    /// As spreadsheets put cells on the clipboard: a cell that holds a line break comes quoted,
    /// but a cell that merely starts with a quotation mark ("5" screen) is its own text.
    Lenient,
};

/// Splits text into records of fields at the delimiter. Line breaks may be LF, CRLF or CR. Empty
/// lines give no record. The text must already be decoded; a byte-order mark is not expected.
DelimitedText splitDelimited(const QString &text, QChar delimiter, Quoting quoting);

/// The delimiter a file of rows most likely uses: a tab when its first line has tabs and no
/// comma, otherwise a comma.
QChar guessDelimiter(const QString &text);

} // namespace seikyu
