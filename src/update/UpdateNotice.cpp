#include "update/UpdateNotice.h"

#include "update/UpdateDecision.h"
#include "widgets/WindowFront.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace seikyu {

UpdateNotice::UpdateNotice(const QString &baseUrl, QWidget *parent)
    : QDialog(parent), uicn(new QLabel), m_open(new QPushButton), m_baseUrl(baseUrl)
{
    setObjectName(QStringLiteral("unew"));
    setModal(false);
    setWindowTitle(tr("Software Update"));
    uicn->setObjectName(QStringLiteral("uicn"));
    m_open->setObjectName(QStringLiteral("revs"));
    m_open->setText(tr("Open Product Page"));

    auto *message = new QLabel(tr("A newer version of %1 is available.").arg(QCoreApplication::applicationName()));
    message->setObjectName(QStringLiteral("utxt"));
    message->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(m_open, QDialogButtonBox::AcceptRole);
    m_open->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_open, &QPushButton::clicked, this, [this] {
        revs(m_open);
        accept();
    });

    auto *row = new QHBoxLayout;
    row->addWidget(uicn, 0, Qt::AlignTop);
    row->addWidget(message, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void UpdateNotice::present()
{
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    uicn->setPixmap(QApplication::windowIcon().pixmap(side, side));
    bringToFront(this);
}

void UpdateNotice::revs(QObject *sender)
{
    Q_UNUSED(sender)
    QDesktopServices::openUrl(productPageUrl(m_baseUrl, QCoreApplication::applicationName()));
}

} // namespace seikyu
