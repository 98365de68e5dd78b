#include "document/ReceiptPanel.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace seikyu {

ReceiptPanel::ReceiptPanel(QWidget *window) : PanelSheet(window, QStringLiteral("paperCtrl"), tr("Receipt"))
{
    addHint(tr("A receipt handed over on paper for ¥50,000 or more (without the tax it states) needs a "
               "revenue stamp; the page says how much and leaves a box for it. A receipt sent "
               "electronically needs none."));
    m_paper = new QRadioButton(tr("On paper"), this);
    m_paper->setObjectName(QStringLiteral("paperSheet"));
    m_electronic = new QRadioButton(tr("Sent electronically"), this);
    m_electronic->setObjectName(QStringLiteral("paperSent"));
    auto *choice = new QButtonGroup(this);
    choice->addButton(m_paper);
    choice->addButton(m_electronic);
    column()->addWidget(m_paper);
    column()->addWidget(m_electronic);
    addButtons(tr("OK"));
}

void ReceiptPanel::load(bool paper)
{
    (paper ? m_paper : m_electronic)->setChecked(true);
}

bool ReceiptPanel::paper() const
{
    return m_paper->isChecked();
}

} // namespace seikyu
