#pragma once

namespace seikyu {

/// From now on (until called with false), FreeType's lookups of a character's glyph (FT_Get_Char_Index) in a Unicode
/// character map are answered from a table of the map's first 65,536 characters, read once per
/// font face and thread, rather than by searching the font's character map each time. The answers
/// are FreeType's own.
///
/// Qt writes the text map of every font it embeds in a PDF by looking up each of those 65,536
/// characters in the font: against IPAex's map of 10,718 ranges, half of the work of exporting an
/// invoice. The table makes that part cheap.
void useGlyphLookupTables(bool use = true);

/// Whether the lookups go through the tables, i.e. the program's own FT_Get_Char_Index is the one
/// the libraries call (it is only when it is linked into the executable).
bool glyphLookupTablesInUse();

} // namespace seikyu
