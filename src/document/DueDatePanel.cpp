#include "document/DueDatePanel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QVBoxLayout>

namespace seikyu {

DueDatePanel::DueDatePanel(QWidget *window) : PanelSheet(window, QStringLiteral("duesCtrl"), tr("Payment Due Date"))
{
    addHint(tr("When the customer is to pay, shown under the invoice amount. It is proposed from "
               "the invoice date by your usual terms (Preferences)."));
    m_used = new QCheckBox(tr("Show a payment due date"), this);
    m_used->setObjectName(QStringLiteral("duesUsed"));
    m_day = makeDatePicker(QStringLiteral("duesDial"));
    connect(m_used, &QCheckBox::toggled, m_day, &QWidget::setEnabled);
    auto *form = new QFormLayout;
    form->addRow(QString(), m_used);
    form->addRow(tr("Pay by:"), m_day);
    column()->addLayout(form);
    addButtons(tr("OK"));
}

void DueDatePanel::load(const QDate &due)
{
    m_used->setChecked(true);
    m_day->setDate(due);
}

QDate DueDatePanel::dueDate() const
{
    return m_used->isChecked() ? m_day->date() : QDate();
}

} // namespace seikyu
