#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

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
    /// The invoice-number pattern and where its sequence goes on; the usual payment term.
    void addNumberChoices(QFormLayout *form);
    void addDueChoices(QFormLayout *form);
    /// Where the customer's address block sits for the user's window envelopes, and a sheet to check it.
    void addAddressChoices(QFormLayout *form);
    /// Shows the number the next invoice dated today gets, and where its sequence stands.
    void showNextNumber();

    QCheckBox *m_checkUpdates;
    QComboBox *m_taxRate = nullptr;
    QComboBox *m_taxRounding = nullptr;
    QLineEdit *m_numberPattern = nullptr;
    QSpinBox *m_numberNext = nullptr;
    QLabel *m_numberPreview = nullptr;
    QComboBox *m_dueTerm = nullptr;
    QSpinBox *m_dueDay = nullptr;
    QDoubleSpinBox *m_addressRight = nullptr;
    QDoubleSpinBox *m_addressDown = nullptr;
};

} // namespace seikyu
