#pragma once

#include <QByteArray>

namespace seikyu {

/// Makes the text of an exported PDF extract as the characters that were drawn. Qt writes the
/// Kangxi radical (U+2F49 ⽉) into a font's ToUnicode map wherever the font shares that glyph with
/// the common ideograph (U+6708 月), so search and copy-paste of the PDF fail although the page
/// looks right. Every such map is rewritten to the ideograph and the PDF is written anew,
/// compressed; the page drawing stays as it is. A PDF that needs no change, or that cannot be read
/// with certainty (damaged, encrypted, not a PDF), is returned unchanged.
QByteArray repairPdfText(const QByteArray &pdf);

/// The ToUnicode CMap with every destination in the Kangxi Radicals and CJK Radicals Supplement
/// blocks replaced by the ideograph a Japanese face draws with the same glyph. A bfrange whose
/// run of destinations would no longer count up becomes bfchar entries. Returns the map itself
/// when nothing needs a change or the map cannot be read.
QByteArray withIdeographDestinations(const QByteArray &cmap);

} // namespace seikyu
