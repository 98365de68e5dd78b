#include "widgets/SegmentedControl.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace seikyu {

SegmentedControl::SegmentedControl(const QStringList &labels, QWidget *parent)
    : QWidget(parent), m_group(new QButtonGroup(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < labels.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setText(labels.at(i));
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setMinimumWidth(56);
        button->setObjectName(QStringLiteral("segment%1").arg(i));
        m_group->addButton(button, i);
        layout->addWidget(button);
    }
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedControl::selectedSegmentChanged);
    connect(m_group, &QButtonGroup::idToggled, this, &SegmentedControl::selectionChanged);
}

int SegmentedControl::segmentCount() const
{
    return static_cast<int>(m_group->buttons().size());
}

int SegmentedControl::selectedSegment() const
{
    return m_group->checkedId();
}

void SegmentedControl::setSelectedSegment(int index)
{
    if (index < 0 || index >= segmentCount()) {
        // An exclusive group refuses to uncheck its last button, so let go of exclusivity briefly.
        if (QAbstractButton *checked = m_group->checkedButton()) {
            m_group->setExclusive(false);
            checked->setChecked(false);
            m_group->setExclusive(true);
        }
        return;
    }
    m_group->button(index)->setChecked(true);
}

QString SegmentedControl::labelForSegment(int index) const
{
    QAbstractButton *button = m_group->button(index);
    return button ? button->text() : QString();
}

} // namespace seikyu
