#include "app/PreferencesDialog.h"

#include "update/UpdateChecker.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_checkUpdates);
    layout->addStretch();
    layout->addWidget(buttons);
}

} // namespace seikyu
