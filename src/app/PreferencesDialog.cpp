#include "app/PreferencesDialog.h"

#include "table/TaxPreferences.h"
#include "update/UpdateChecker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QVBoxLayout>

namespace seikyu {

PreferencesDialog::PreferencesDialog(QWidget *parent) : QDialog(parent), m_checkUpdates(new QCheckBox)
{
    setObjectName(QStringLiteral("PreferencesDialog"));
    setWindowTitle(tr("Preferences"));
    m_checkUpdates->setObjectName(QStringLiteral("checkUpdates"));
    m_checkUpdates->setText(tr("Check for updates at start-up"));
    m_checkUpdates->setChecked(QSettings().value(UpdateChecker::SettingKey).toLongLong() != 0);
    connect(m_checkUpdates, &QCheckBox::toggled, this,
            [](bool on) { QSettings().setValue(UpdateChecker::SettingKey, on ? 1 : 0); });

    auto *form = new QFormLayout;
    addTaxChoices(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_checkUpdates);
    layout->addStretch();
    layout->addWidget(buttons);
}

void PreferencesDialog::addTaxChoices(QFormLayout *form)
{
    const TaxPreferences current = TaxPreferences::load();
    m_taxRate = new QComboBox(this);
    m_taxRate->setObjectName(QStringLiteral("taxRate"));
    m_taxRate->addItem(tr("8 % (as invoices of earlier versions)"), 8);
    m_taxRate->addItem(tr("10 % (the standard rate since October 2019)"), 10);
    m_taxRate->setCurrentIndex(current.rate == 10 ? 1 : 0);
    m_taxRate->setAccessibleName(tr("Consumption tax of new invoices"));
    form->addRow(tr("Consumption tax of new invoices:"), m_taxRate);
    auto *hint = new QLabel(tr("Since October 2019 the standard rate is 10 %; 8 % is the reduced rate for food "
                               "and drink and newspapers, which you mark row by row in the item table."),
                            this);
    hint->setWordWrap(true);
    form->addRow(QString(), hint);

    m_taxRounding = new QComboBox(this);
    m_taxRounding->setObjectName(QStringLiteral("taxRounding"));
    m_taxRounding->addItem(tr("Round half up (四捨五入)"), static_cast<int>(TaxRounding::HalfAwayFromZero));
    m_taxRounding->addItem(tr("Round down (切り捨て)"), static_cast<int>(TaxRounding::Down));
    m_taxRounding->addItem(tr("Round up (切り上げ)"), static_cast<int>(TaxRounding::Up));
    m_taxRounding->setCurrentIndex(m_taxRounding->findData(static_cast<int>(current.rounding)));
    m_taxRounding->setAccessibleName(tr("Rounding of the consumption tax"));
    form->addRow(tr("Tax rounding, once per rate:"), m_taxRounding);

    auto save = [this] {
        TaxPreferences chosen;
        chosen.rate = m_taxRate->currentData().toInt();
        chosen.rounding = static_cast<TaxRounding>(m_taxRounding->currentData().toInt());
        chosen.save();
    };
    connect(m_taxRate, &QComboBox::currentIndexChanged, this, save);
    connect(m_taxRounding, &QComboBox::currentIndexChanged, this, save);
}

} // namespace seikyu
