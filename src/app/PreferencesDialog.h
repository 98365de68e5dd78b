#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;

namespace seikyu {

/// Edit ▸ Preferences…: the per-user choices that have no place on the invoice itself. Every change
/// is saved at once; the dialog only has to be closed.
class PreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PreferencesDialog(QWidget *parent = nullptr);

private:
    /// The consumption tax of new invoices: their rate and how each rate's tax is rounded.
    void addTaxChoices(QFormLayout *form);

    QCheckBox *m_checkUpdates;
    QComboBox *m_taxRate = nullptr;
    QComboBox *m_taxRounding = nullptr;
};

} // namespace seikyu
