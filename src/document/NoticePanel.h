#pragma once

#include "document/PanelSheet.h"

#include <QPointer>

namespace seikyu {

/// A panel that says one thing and asks for one answer: a question with Cancel beside its
/// confirming button, or a notice with OK alone. Its text is `<name>Text` by name.
class NoticePanel : public PanelSheet
{
    Q_OBJECT

public:
    NoticePanel(QWidget *window, const QString &name, const QString &title, const QString &confirm, bool withCancel);

    void setText(const QString &text);

private:
    QPointer<QLabel> m_text;
};

} // namespace seikyu
