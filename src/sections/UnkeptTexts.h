#pragma once

#include <QStringList>

class QWidget;

namespace seikyu {

/// Whether one of the texts a panel is about to take holds a character an invoice file cannot
/// keep as it is (U+FFFE, U+FEFF, half of a surrogate pair), which the user is then told: the
/// file would be refused when it is opened again. Refused where it was typed, not at the save.
bool refusesUnkeptText(QWidget *parent, const QStringList &texts);

} // namespace seikyu
