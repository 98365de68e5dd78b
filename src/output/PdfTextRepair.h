#pragma once

#include <QByteArray>

namespace seikyu {

/// Makes the text of an exported PDF extract as the characters that were drawn. Qt writes the
/// Kangxi radical (U+2F49 ⽉) into a font's ToUnicode map wherever the font shares that glyph with
/// the common ideograph (U+6708 月), so search and copy-paste of the PDF fail although the page
/// looks right. Every such map is rewritten to the ideograph and appended as an incremental update;
/// the page drawing and all earlier bytes stay as they are. A PDF that needs no change, or that
/// cannot be read with certainty, is returned unchanged.
QByteArray repairPdfText(const QByteArray &pdf);

} // namespace seikyu
