#pragma once

#include <QString>

namespace seikyu {

/// A text reduced to what a search compares: compatibility forms folded (full-width ８％ and
/// half-width ｲﾝﾎﾞｲｽ read as 8% and インボイス), letter case folded, hiragana read as katakana, and
/// every space left out, so that "8 %" finds "8%" and "いんぼいす" finds "インボイス".
QString helpSearchKey(const QString &text);

/// Whether \a key, made by helpSearchKey, occurs in \a text. An empty key occurs everywhere.
bool helpTextContains(const QString &text, const QString &key);

} // namespace seikyu
