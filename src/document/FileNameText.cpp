#include "document/FileNameText.h"

#include <QList>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

namespace seikyu {

QString withoutFormatControls(const QString &text)
{
    QList<uint> kept = text.toUcs4();
    kept.removeIf([](uint c) { return QChar::category(char32_t(c)) == QChar::Other_Format; });
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size());
}

QString cutAtWholeCharacters(const QString &text, qsizetype units)
{
    if (text.size() <= units)
        return text;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    const icu::UnicodeString whole(reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
    if (U_FAILURE(status) || !characters) {
        // Without ICU's rules, at least never inside a surrogate pair.
        qsizetype cut = units;
        if (cut > 0 && text[cut - 1].isHighSurrogate())
            --cut;
        return text.left(cut);
    }
    characters->setText(whole);
    const int32_t boundary = characters->preceding(int32_t(units) + 1);
    return text.left(boundary == icu::BreakIterator::DONE ? 0 : boundary);
}

} // namespace seikyu
