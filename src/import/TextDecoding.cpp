#include "import/TextDecoding.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <memory>
#include <optional>
#include <unicode/ucnv.h>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "RowImport", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(RowImport)
};

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};

/// The bytes through one of ICU's converters, stopping at the first byte sequence the encoding
/// does not have; nothing then.
std::optional<QString> convertStrictly(const char *converterName, const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(converterName, &status));
    if (U_FAILURE(status))
        return std::nullopt;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    // Every byte gives at most one UTF-16 unit in these encodings (two bytes at most two units).
    QString text(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length =
        ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()), static_cast<int32_t>(text.size()),
                      bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

/// Control characters that text files do not hold: everything below a space except tab, line
/// feed, form feed and carriage return, and the end-of-file mark (^Z) old DOS tools leave at the end.
bool holdsBinaryControls(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f')
            continue;
        if (c == 0x1A && i == text.size() - 1)
            continue;
        return true;
    }
    return false;
}

} // namespace

Result<DecodedText> decodeText(const QByteArray &bytes)
{
    DecodedText decoded;
    const auto notText = [] {
        return Fault{FaultKind::BadInput,
                     Text::tr("The file is not text: it holds bytes that are neither UTF-8 nor Shift_JIS text.")};
    };
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // Excel's "Unicode text": UTF-16 with its byte-order mark, which the converter reads and drops.
        std::optional<QString> text = convertStrictly("UTF-16", bytes);
        if (!text)
            return notText();
        decoded.text = std::move(*text);
        decoded.encoding = TextEncoding::Utf16;
    } else if (isValidUtf8(bytes)) {
        const bool bom = bytes.startsWith("\xEF\xBB\xBF");
        decoded.text = QString::fromUtf8(bom ? bytes.mid(3) : bytes);
        decoded.encoding = bom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
    } else {
        // Not UTF-8, so most likely what Japanese Windows writes: Microsoft's Shift_JIS.
        std::optional<QString> text = convertStrictly("windows-31j", bytes);
        if (!text)
            return notText();
        decoded.text = std::move(*text);
        decoded.encoding = TextEncoding::ShiftJis;
    }
    if (holdsBinaryControls(decoded.text))
        return notText();
    return decoded;
}

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8WithBom:
        return Text::tr("UTF-8 with BOM");
    case TextEncoding::Utf16:
        return QStringLiteral("UTF-16");
    case TextEncoding::ShiftJis:
        return QStringLiteral("Shift_JIS (CP932)");
    }
    return {};
}

} // namespace seikyu
