#pragma once

#include <QString>

namespace seikyu {

/// A customer's name or reading as a search compares it: widths, letter case and spaces folded as
/// every search folds them, and katakana as hiragana, so that ヤマダ, やまだ and ﾔﾏﾀﾞ find one
/// another.
QString customerSearchKey(const QString &text);

/// Whether a customer named `name`, read `kana`, is one a search for `typed` finds: the folded
/// query within the folded name or reading. An empty query finds everyone.
bool customerMatches(const QString &typed, const QString &name, const QString &kana);

} // namespace seikyu
