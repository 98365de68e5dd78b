#pragma once

#include <QString>

namespace seikyu {

/// A text as searches compare it: full-width and half-width forms alike (ＡＢＣ and ABC, ｶﾌﾞｼｷ and
/// カブシキ), letters in one case (Unicode NFKC with case folding).
QString foldForSearch(const QString &text);

} // namespace seikyu
