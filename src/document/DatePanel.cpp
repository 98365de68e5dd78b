#include "document/DatePanel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QVBoxLayout>

namespace seikyu {

DatePanel::DatePanel(QWidget *window)
    : PanelSheet(window, QStringLiteral("dateCtrl"), tr("Date")), m_day(makeDatePicker(QStringLiteral("dateDial"))),
      m_era(new QCheckBox(tr("Japanese era (令和)"), this))
{
    m_era->setObjectName(QStringLiteral("dateJaps"));
    auto *form = new QFormLayout;
    form->addRow(tr("Invoice date:"), m_day);
    form->addRow(QString(), m_era);
    column()->addLayout(form);
    addButtons(tr("OK"));
}

void DatePanel::load(const QDate &day, bool japaneseEra)
{
    m_day->setDate(day);
    m_era->setChecked(japaneseEra);
}

QDate DatePanel::day() const
{
    return m_day->date();
}

bool DatePanel::japaneseEra() const
{
    return m_era->isChecked();
}

} // namespace seikyu
