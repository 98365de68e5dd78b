#pragma once

#include <QDialog>

class QCheckBox;

namespace seikyu {

/// Edit ▸ Preferences…: the per-user choices that have no place on the invoice itself. Every change
/// is saved at once; the dialog only has to be closed.
class PreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PreferencesDialog(QWidget *parent = nullptr);

private:
    QCheckBox *m_checkUpdates;
};

} // namespace seikyu
