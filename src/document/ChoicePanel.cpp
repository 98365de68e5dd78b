#include "document/ChoicePanel.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace seikyu {

ChoicePanel::ChoicePanel(QWidget *window, const ChoiceWords &words) : PanelSheet(window, words.name, words.title)
{
    addHint(words.hint);
    m_first = new QRadioButton(words.first, this);
    m_first->setObjectName(words.firstName);
    m_second = new QRadioButton(words.second, this);
    m_second->setObjectName(words.secondName);
    auto *choice = new QButtonGroup(this);
    choice->addButton(m_first);
    choice->addButton(m_second);
    column()->addWidget(m_first);
    column()->addWidget(m_second);
    addButtons(tr("OK"));
}

ChoiceWords ChoicePanel::paperWords()
{
    return {QStringLiteral("paperCtrl"),
            tr("Receipt"),
            tr("A receipt handed over on paper for ¥50,000 or more (without the tax it states) needs a "
               "revenue stamp; the page says how much and leaves a box for it. A receipt sent "
               "electronically needs none."),
            tr("On paper"),
            tr("Sent electronically"),
            QStringLiteral("paperSheet"),
            QStringLiteral("paperSent")};
}

ChoiceWords ChoicePanel::amountsWords()
{
    return {QStringLiteral("amountsCtrl"),
            tr("Delivery Slip"),
            tr("A slip that goes with the goods may leave its prices to the invoice: without them, its paper "
               "shows the items and quantities only. The file keeps the prices either way."),
            tr("With prices and amounts"),
            tr("Items and quantities only"),
            QStringLiteral("amountsShown"),
            QStringLiteral("amountsHidden")};
}

void ChoicePanel::load(bool first)
{
    (first ? m_first : m_second)->setChecked(true);
}

bool ChoicePanel::first() const
{
    return m_first->isChecked();
}

} // namespace seikyu
