#pragma once

#include <QString>

namespace seikyu {

/// The text without format controls (Unicode category Cf: bidi overrides such as U+202E, zero
/// width joiners, soft hyphens), which would make a file name read otherwise than it is.
QString withoutFormatControls(const QString &text);

/// The longest beginning of the text of at most `units` UTF-16 units that ends between two whole
/// characters as a reader sees them (grapheme clusters): never inside a surrogate pair, nor
/// between a letter and its combining mark or the parts of an emoji.
QString cutAtWholeCharacters(const QString &text, qsizetype units);

} // namespace seikyu
