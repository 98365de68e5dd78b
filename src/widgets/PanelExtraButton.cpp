#include "widgets/PanelExtraButton.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

QPushButton *addButtonAbovePanelButtons(QDialog *panel, const QString &text, const QString &objectName,
                                        const QString &toolTip)
{
    auto *layout = panel ? qobject_cast<QVBoxLayout *>(panel->layout()) : nullptr;
    if (!layout)
        return nullptr;
    auto *button = new QPushButton(text, panel);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setToolTip(toolTip);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    layout->insertLayout(layout->count() - 1, row);
    return button;
}

} // namespace seikyu
