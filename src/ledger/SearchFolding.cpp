#include "ledger/SearchFolding.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace seikyu {

QString foldForSearch(const QString &text)
{
    if (text.isEmpty())
        return text;
    // Most numbers and many names are plain ASCII, where folding is only lower case.
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toLower();
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *fold = icu::Normalizer2::getNFKCCasefoldInstance(status);
    if (U_FAILURE(status) || !fold)
        return text.toCaseFolded();
    const icu::UnicodeString source(false, reinterpret_cast<const char16_t *>(text.utf16()), int32_t(text.size()));
    const icu::UnicodeString folded = fold->normalize(source, status);
    if (U_FAILURE(status))
        return text.toCaseFolded();
    return QString(reinterpret_cast<const QChar *>(folded.getBuffer()), folded.length());
}

QString spacelessName(const QString &folded)
{
    QString name = folded;
    name.remove(QLatin1Char(' '));
    return name;
}

} // namespace seikyu
