#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

namespace seikyu {

/// Rewrites the text maps (ToUnicode streams) of a PDF laid out as Qt writes it: one classic
/// cross-reference table, each object where the table says, each map an uncompressed stream of a
/// direct length. Each map `rewrite` changes is written in its object's place, compressed, and the
/// table follows; every other byte stays as it was. Without a full parse and a new file, this is a
/// small part of what reading and writing the whole document costs.
///
/// Nothing when the file is not laid out that way (a full reader must then do it); the PDF itself
/// when no map changed.
std::optional<QByteArray> withTextMapsRewritten(const QByteArray &pdf,
                                                const std::function<QByteArray(const QByteArray &map)> &rewrite);

} // namespace seikyu
