#include "customers/CustomerSearch.h"

#include "ledger/SearchFolding.h"

namespace seikyu {

namespace {

constexpr char16_t FirstKatakana = u'ァ';
constexpr char16_t LastKatakana = u'ヶ';
constexpr char16_t KatakanaToHiragana = u'ァ' - u'ぁ';

} // namespace

QString customerSearchKey(const QString &text)
{
    QString key = spacelessName(foldForSearch(text));
    for (QChar &c : key) {
        // ヵ and ヶ (small ka and ke) have hiragana forms too (ゕ, ゖ).
        if (c.unicode() >= FirstKatakana && c.unicode() <= LastKatakana)
            c = QChar(char16_t(c.unicode() - KatakanaToHiragana));
    }
    return key;
}

bool customerMatches(const QString &typed, const QString &name, const QString &kana)
{
    const QString query = customerSearchKey(typed);
    return query.isEmpty() || customerSearchKey(name).contains(query) || customerSearchKey(kana).contains(query);
}

} // namespace seikyu
