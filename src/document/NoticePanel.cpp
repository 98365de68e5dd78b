#include "document/NoticePanel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace seikyu {

NoticePanel::NoticePanel(QWidget *window, const QString &name, const QString &title, const QString &confirm,
                         bool withCancel)
    : PanelSheet(window, name, title), m_text(new QLabel(this))
{
    m_text->setObjectName(name + QStringLiteral("Text"));
    column()->addWidget(m_text);
    addButtons(confirm, withCancel);
}

void NoticePanel::setText(const QString &text)
{
    m_text->setText(text);
}

} // namespace seikyu
