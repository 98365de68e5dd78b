#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

namespace seikyu {

/// The encodings a file of rows is read in.
enum class TextEncoding { Utf8, Utf8WithBom, Utf16, ShiftJis };

/// A file's bytes as text.
struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

/// Reads bytes as text: UTF-16 when a byte-order mark says so, UTF-8 (a BOM dropped) when the bytes
/// are valid UTF-8, else Shift_JIS as Japanese Windows and Excel write it (CP932, with ① and
/// ～). Bytes that are valid in neither, or that hold control characters no text file has (a NUL
/// byte, say), are not text (BadInput).
Result<DecodedText> decodeText(const QByteArray &bytes);

/// The encoding's name as people know it: "UTF-8", "Shift_JIS (CP932)"…
QString encodingName(TextEncoding encoding);

} // namespace seikyu
