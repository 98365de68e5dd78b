#pragma once

#include "document/PanelSheet.h"

#include <QDate>
#include <QPointer>

class QCheckBox;

namespace seikyu {

/// The payment due date panel: whether the invoice shows a due date, and which.
class DueDatePanel : public PanelSheet
{
    Q_OBJECT

public:
    explicit DueDatePanel(QWidget *window);

    /// Opens asking for a due date: `due` is offered, shown.
    void load(const QDate &due);
    /// The due date chosen; none when the invoice is to show none.
    QDate dueDate() const;

private:
    QPointer<QCheckBox> m_used;
    QPointer<QDateEdit> m_day;
};

} // namespace seikyu
