#include "import/ShiftJisText.h"

#include <memory>
#include <unicode/ucnv.h>

namespace seikyu {

namespace {

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};

} // namespace

std::variant<QByteArray, qsizetype> toShiftJis(const QString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status))
        return qsizetype(0);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    // Character by character, so that the one the encoding lacks is known.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        char out[8];
        status = U_ZERO_ERROR;
        const int32_t written =
            ucnv_fromUChars(converter.get(), out, sizeof out, reinterpret_cast<const UChar *>(text.constData() + i),
                            static_cast<int32_t>(length), &status);
        if (U_FAILURE(status) || written <= 0)
            return i;
        bytes.append(out, written);
        i += length;
    }
    return bytes;
}

} // namespace seikyu
