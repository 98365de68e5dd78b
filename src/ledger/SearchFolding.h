#pragma once

#include <QString>

namespace seikyu {

/// A text as searches compare it: full-width and half-width forms alike (ＡＢＣ and ABC, ｶﾌﾞｼｷ and
/// カブシキ), letters in one case (Unicode NFKC with case folding).
QString foldForSearch(const QString &text);
/// A folded name (foldForSearch) without its spaces, as a name search compares it: 山田太郎 and
/// 山田 太郎 (or 山田　太郎) are the same name. NFKC folds the ideographic space to a plain one.
QString spacelessName(const QString &folded);

} // namespace seikyu
