#include "document/PanelSheet.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

PanelSheet::PanelSheet(QWidget *window, const QString &name, const QString &title) : QDialog(window)
{
    setObjectName(name);
    setWindowTitle(title);
    new QVBoxLayout(this);
}

QVBoxLayout *PanelSheet::column() const
{
    return static_cast<QVBoxLayout *>(layout());
}

QLabel *PanelSheet::addHint(const QString &text)
{
    auto *hint = new QLabel(text, this);
    hint->setWordWrap(true);
    column()->addWidget(hint);
    return hint;
}

QPushButton *PanelSheet::addButtons(const QString &confirm, bool withCancel)
{
    auto *buttons = new QDialogButtonBox(this);
    if (withCancel) {
        QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
        cancel->setObjectName(objectName() + QStringLiteral("Cancel"));
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    QPushButton *ok = buttons->addButton(confirm, QDialogButtonBox::AcceptRole);
    ok->setObjectName(objectName() + QStringLiteral("Ok"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &PanelSheet::confirmed);
    column()->addWidget(buttons);
    return ok;
}

QDateEdit *PanelSheet::makeDatePicker(const QString &name)
{
    auto *picker = new QDateEdit(this);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    return picker;
}

} // namespace seikyu
