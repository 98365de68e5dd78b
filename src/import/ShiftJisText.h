#pragma once

#include <QByteArray>
#include <QString>
#include <variant>

namespace seikyu {

/// The text in Shift_JIS as Japanese Windows and Excel read it (CP932), or, when it holds a
/// character that encoding does not have, the index of the first such character: nothing is
/// ever replaced by a question mark.
std::variant<QByteArray, qsizetype> toShiftJis(const QString &text);

} // namespace seikyu
