#include "app/ServerSetupDialog.h"

#include "ledger/LedgerSetup.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <memory>

namespace seikyu {

ServerSetupDialog::ServerSetupDialog(const QString &officeRole, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ServerSetupDialog"));
    setWindowTitle(tr("Set Up Server"));
    auto *intro = new QLabel(tr("The ledger's tables will belong to the administrator's role; the office's role may "
                                "only read them, add entries and take numbers, so no one at the office can change "
                                "or delete what was recorded. An existing ledger is taken over with every entry."),
                             this);
    intro->setWordWrap(true);
    m_admin = new QLineEdit(this);
    m_admin->setObjectName(QStringLiteral("setupAdmin"));
    m_admin->setPlaceholderText(QStringLiteral("postgresql://postgres@db.office/seikyu"));
    m_role = new QLineEdit(officeRole, this);
    m_role->setObjectName(QStringLiteral("setupRole"));
    auto *form = new QFormLayout;
    form->addRow(tr("Administrator's connection:"), m_admin);
    auto *hint = new QLabel(tr("A password typed here is used for this setup only and never stored."), this);
    hint->setWordWrap(true);
    form->addRow(QString(), hint);
    form->addRow(tr("Office role:"), m_role);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("setupResult"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_run = buttons->addButton(tr("Set Up"), QDialogButtonBox::ActionRole);
    m_run->setObjectName(QStringLiteral("setupRun"));
    connect(m_run, &QPushButton::clicked, this, &ServerSetupDialog::setUp);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(m_result);
    layout->addWidget(buttons);
}

void ServerSetupDialog::setUp()
{
    if (m_running)
        return;
    m_running = true;
    m_run->setEnabled(false);
    m_result->setText(tr("Setting up the server…"));
    auto result = std::make_shared<LedgerSetupResult>();
    QThread *worker = QThread::create(
        [result, admin = m_admin->text(), role = m_role->text()] { *result = setUpServerLedger(admin, role); });
    // The thread goes when done, whether or not this dialog is still there to show the result;
    // a quitting application waits for it (the connection's time-outs bound the wait).
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(qApp, &QCoreApplication::aboutToQuit, worker, [worker] { worker->wait(); });
    connect(worker, &QThread::finished, this, [this, result] {
        QStringList lines = result->done;
        if (!result->error.isEmpty())
            lines.append(result->error);
        if (!result->detail.isEmpty())
            lines.append(result->detail);
        m_result->setText(lines.join(QLatin1Char('\n')));
        m_running = false;
        m_run->setEnabled(true);
        Q_EMIT setupDone();
    });
    worker->start();
}

} // namespace seikyu
