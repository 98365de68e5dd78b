#include "document/RemarksPanel.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace seikyu {

RemarksPanel::RemarksPanel(QWidget *window) : PanelSheet(window, QStringLiteral("noteCtrl"), tr("Remarks"))
{
    addHint(tr("A few lines under the item table: who pays the transfer fee, the project's name. "
               "Leave it empty for an invoice without remarks."));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("noteText"));
    m_text->setTabChangesFocus(true); // Tab goes on to the buttons; Return starts a new line
    m_text->setMinimumSize(420, 110);
    column()->addWidget(m_text, 1);
    addButtons(tr("OK"));
}

void RemarksPanel::load(const QString &remarks)
{
    m_text->setPlainText(remarks);
    m_text->setFocus();
}

QString RemarksPanel::typed() const
{
    return m_text->toPlainText();
}

} // namespace seikyu
