#include "document/StampPanel.h"

#include "widgets/ImageWell.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

StampPanel::StampPanel(QWidget *window)
    : PanelSheet(window, QStringLiteral("pushCtrl"), tr("Stamp")), m_well(new ImageWell(this))
{
    m_well->setObjectName(QStringLiteral("pushTest"));
    m_well->setMinimumSize(200, 200);
    column()->addWidget(m_well, 1);
    const auto addButton = [this](const QString &name, const QString &text) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    QPushButton *choose = addButton(QStringLiteral("pushChoose"), tr("Choose…"));
    QPushButton *none = addButton(QStringLiteral("pushKillExec"), tr("No stamp"));
    connect(choose, &QPushButton::clicked, this, &StampPanel::chooseAsked);
    connect(none, &QPushButton::clicked, this, &StampPanel::noneAsked);
    auto *row = new QHBoxLayout;
    row->addWidget(choose);
    row->addWidget(none);
    row->addStretch();
    column()->addLayout(row);
    addButtons(tr("OK"));
}

QImage StampPanel::image() const
{
    return m_well->image();
}

void StampPanel::setImage(const QImage &image)
{
    m_well->setImage(image);
}

} // namespace seikyu
