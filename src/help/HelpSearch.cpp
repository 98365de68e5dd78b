#include "help/HelpSearch.h"

#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace seikyu {

namespace {

icu::UnicodeString toIcu(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const UChar *>(text.utf16()), static_cast<int32_t>(text.size()));
}

/// Made once: building a transliterator parses its rules. Null when ICU lacks the data, and the
/// search then simply does without the kana folding.
const icu::Transliterator *hiraganaToKatakana()
{
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(
            icu::Transliterator::createInstance(icu::UnicodeString(u"Hiragana-Katakana"), UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return transliterator.get();
}

} // namespace

QString helpSearchKey(const QString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *fold = icu::Normalizer2::getNFKCCasefoldInstance(status);
    icu::UnicodeString folded = toIcu(text);
    if (U_SUCCESS(status)) {
        icu::UnicodeString normalized = fold->normalize(folded, status);
        if (U_SUCCESS(status))
            folded = normalized;
    }
    if (const icu::Transliterator *kana = hiraganaToKatakana())
        kana->transliterate(folded);

    QString key;
    key.reserve(folded.length());
    for (int32_t i = 0; i < folded.length();) {
        const UChar32 c = folded.char32At(i);
        i += U16_LENGTH(c);
        if (u_isUWhiteSpace(c))
            continue;
        key.append(QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1));
    }
    return key;
}

bool helpTextContains(const QString &text, const QString &key)
{
    return key.isEmpty() || helpSearchKey(text).contains(key);
}

} // namespace seikyu
