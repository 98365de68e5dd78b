#pragma once

class QDialog;
class QPushButton;
class QString;

namespace seikyu {

/// Adds a button at the right of a panel, just above its closing buttons (the panel's last item),
/// for a way out of the panel (another window, more fields). It never answers Return: that stays the
/// panel's OK. Nothing when the panel has no vertical layout.
QPushButton *addButtonAbovePanelButtons(QDialog *panel, const QString &text, const QString &objectName,
                                        const QString &toolTip);

} // namespace seikyu
