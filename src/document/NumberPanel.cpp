#include "document/NumberPanel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

NumberPanel::NumberPanel(QWidget *window) : PanelSheet(window, QStringLiteral("numbCtrl"), tr("Invoice Number"))
{
    m_localHint = tr("The invoice's number, shown under the date. The next number of your sequence is "
                     "offered (Preferences set its pattern); type any other if you like. Leave it empty "
                     "for an invoice without a number.");
    m_hint = addHint(m_localHint);
    m_hint->setObjectName(QStringLiteral("numbHint"));
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("numbText"));
    m_field->setMinimumWidth(220);
    m_field->setMaxLength(100);
    auto *next = new QPushButton(tr("Next Number"), this);
    next->setObjectName(QStringLiteral("numbNext"));
    next->setAutoDefault(false);
    next->setToolTip(tr("Puts the next number of your sequence into the field."));
    connect(next, &QPushButton::clicked, this, &NumberPanel::nextNumberAsked);
    auto *row = new QHBoxLayout;
    row->addWidget(m_field, 1);
    row->addWidget(next);
    auto *form = new QFormLayout;
    form->addRow(tr("Invoice number:"), row);
    column()->addLayout(form);
    m_server = new QLabel(this);
    m_server->setObjectName(QStringLiteral("numbServer"));
    m_server->setWordWrap(true);
    m_server->hide();
    column()->addWidget(m_server);
    addButtons(tr("OK"));
}

void NumberPanel::load(const QString &number, bool shared)
{
    quiet();
    m_hint->setText(shared ? tr("The invoice's number, shown under the date. With the shared ledger none is "
                                "offered: Next Number takes the next one from the office's server, or type "
                                "it. Leave it empty for an invoice without a number.")
                           : m_localHint);
    m_field->setPlaceholderText(shared ? tr("No number yet") : QString());
    m_field->setText(number);
    m_field->selectAll();
    m_field->setFocus();
}

QString NumberPanel::number() const
{
    return m_field->text().trimmed();
}

void NumberPanel::setNumber(const QString &number)
{
    m_field->setText(number);
}

void NumberPanel::say(const QString &text, bool grow)
{
    m_server->setText(text);
    m_server->show();
    if (grow)
        adjustSize();
}

void NumberPanel::quiet()
{
    m_server->hide();
}

} // namespace seikyu
