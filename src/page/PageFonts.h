#pragma once

#include <QFont>
#include <QString>

namespace seikyu {

/// The page is set in one Mincho face; sizes are pixels, and one page pixel is one point of paper.
QFont pageFont(int pixelSize, bool bold = false);
/// The Gothic face, for headings where a sans face reads better.
QFont pageGothicFont(int pixelSize, bool bold = false);

/// The page's text without control characters (U+0008 and the like), which fonts draw as boxes;
/// line feeds are kept.
QString printableText(const QString &text);

/// True while a widget is being rendered into a PDF or onto a printer rather than the screen:
/// screen-only hints (placeholders, selection, hover) are then left out.
bool isRenderingForOutput();
void setRenderingForOutput(bool rendering);

} // namespace seikyu
