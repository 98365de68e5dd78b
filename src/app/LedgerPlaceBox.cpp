#include "app/LedgerPlaceBox.h"

#include "app/ServerSetupDialog.h"
#include "ledger/BackgroundWork.h"
#include "ledger/IssueLedger.h"
#include "ledger/LedgerCopy.h"
#include "ledger/LedgerLocation.h"
#include "ledger/PostgresTarget.h"
#include "ledger/ServerLedger.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

namespace seikyu {

LedgerPlaceBox::LedgerPlaceBox(QWidget *parent) : QGroupBox(tr("Ledger"), parent)
{
    setObjectName(QStringLiteral("ledgerPlace"));
    const LedgerLocation location = ledgerLocation(QSettings());
    m_fromEnvironment = location.fromEnvironment;
    const QSettings settings;
    const bool shared = settings.value(QStringLiteral("ledger/place")).toString() == QLatin1String("server");

    m_local = new QRadioButton(tr("On this computer"), this);
    m_local->setObjectName(QStringLiteral("ledgerLocal"));
    m_server = new QRadioButton(tr("Shared server (PostgreSQL)"), this);
    m_server->setObjectName(QStringLiteral("ledgerServer"));
    (shared ? m_server : m_local)->setChecked(true);
    m_connection = new QLineEdit(settings.value(QStringLiteral("ledger/server")).toString(), this);
    m_connection->setObjectName(QStringLiteral("ledgerConnection"));
    m_connection->setAccessibleName(tr("Server connection"));
    m_connection->setPlaceholderText(QStringLiteral("host=db.office dbname=seikyu user=taro"));
    auto *hint = new QLabel(tr("A libpq connection string or URI, e.g. “host=db.office port=5432 dbname=seikyu "
                               "user=taro” or “postgresql://taro@db.office/seikyu”. Seikyu never stores a "
                               "password: PostgreSQL's password file (~/.pgpass) or service file "
                               "(~/.pg_service.conf) supplies it."),
                            this);
    hint->setWordWrap(true);
    m_test = new QPushButton(tr("Test Connection"), this);
    m_test->setObjectName(QStringLiteral("ledgerTest"));
    m_copy = new QPushButton(tr("Copy My Local Ledger to the Server"), this);
    m_copy->setObjectName(QStringLiteral("ledgerCopy"));
    m_setUp = new QPushButton(tr("Set Up Server…"), this);
    m_setUp->setObjectName(QStringLiteral("ledgerSetUp"));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("ledgerResult"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_local);
    layout->addWidget(m_server);
    layout->addWidget(m_connection);
    layout->addWidget(hint);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_test);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_setUp);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(m_result);
    if (m_fromEnvironment) {
        m_result->setText(tr("The environment variable SEIKYU_LEDGER sets the server instead: %1")
                              .arg(parsePostgresTarget(location.server).value_or(PostgresTarget()).display()));
    }

    connect(m_local, &QRadioButton::toggled, this, [this] {
        save();
        updateEnabled();
    });
    connect(m_connection, &QLineEdit::editingFinished, this, &LedgerPlaceBox::save);
    connect(m_test, &QPushButton::clicked, this, &LedgerPlaceBox::testConnection);
    connect(m_copy, &QPushButton::clicked, this, &LedgerPlaceBox::copyLocalLedger);
    connect(m_setUp, &QPushButton::clicked, this, &LedgerPlaceBox::setUpServer);
    updateEnabled();
}

void LedgerPlaceBox::updateEnabled()
{
    const bool server = m_server->isChecked() && !m_fromEnvironment;
    m_local->setEnabled(!m_fromEnvironment);
    m_server->setEnabled(!m_fromEnvironment);
    m_connection->setEnabled(server);
    m_test->setEnabled(server || m_fromEnvironment);
    m_copy->setEnabled(server || m_fromEnvironment);
}

bool LedgerPlaceBox::save()
{
    LedgerLocation location;
    location.place = m_server->isChecked() ? LedgerPlace::Shared : LedgerPlace::Local;
    location.server = m_connection->text().trimmed();
    if (!location.server.isEmpty()) {
        const Result<PostgresTarget> target = parsePostgresTarget(location.server);
        if (!target) {
            m_result->setText(tr("The connection text was not kept: %1").arg(target.message()));
            return false;
        }
        if (!target->password.isEmpty()) {
            m_result->setText(tr("The connection text was not kept. Leave the password out: Seikyu does not store "
                                 "passwords. Put it in PostgreSQL's password file (~/.pgpass) instead."));
            return false;
        }
    }
    QSettings settings;
    setLedgerLocation(settings, location);
    if (!m_fromEnvironment)
        m_result->clear();
    return true;
}

bool LedgerPlaceBox::keptOr(const QString &notDone)
{
    if (m_fromEnvironment || save())
        return true;
    m_result->setText(m_result->text() + QLatin1Char('\n') + notDone);
    return false;
}

void LedgerPlaceBox::testConnection()
{
    // A text that was not kept is not tested: the ledger would go on being where it was.
    if (!keptOr(tr("Nothing was tested.")))
        return;
    const LedgerLocation location = ledgerLocation(QSettings());
    const QString text = location.fromEnvironment ? location.server : m_connection->text();
    // A server that does not answer keeps the test waiting for libpq's time, not the window.
    m_test->setEnabled(false);
    m_result->setText(tr("Testing the connection…"));
    auto report = std::make_shared<ServerReport>();
    runInBackground(
        this, [text, report] { *report = testServerLedger(text); },
        [this, report] {
            m_test->setEnabled(true);
            m_result->setText(report->told());
        });
}

void LedgerPlaceBox::copyLocalLedger()
{
    // Nor is a ledger copied to a server other than the one the text names.
    if (!keptOr(tr("Nothing was copied.")))
        return;
    IssueLedger &ledger = IssueLedger::instance();
    if (!ledger.shared()) {
        m_result->setText(tr("Choose the shared server first."));
        return;
    }
    const QString localPath = ledger.databasePath();
    if (!QFileInfo::exists(localPath)) {
        m_result->setText(tr("There is no local ledger to copy."));
        return;
    }
    // Copied on the server's thread, the local ledger read there too.
    ServerSession *office = ledger.shared();
    const Result<LedgerCopying> copied = office->call<LedgerCopying>(
        [localPath](SharedLedger &shared) {
            LedgerCopying copying;
            ServerReport report;
            Result<std::unique_ptr<LedgerStore>> opened = LedgerStore::openSqlite(localPath);
            copying.error = opened.message();
            std::unique_ptr<LedgerStore> local = std::move(opened).value_or(nullptr);
            if (local && !shared.connect(&report))
                copying.error = report.message;
            if (local && shared.server())
                copying = copyLedger(*local, *shared.server());
            return copying;
        },
        office->defaultWait(tr("Copying the local ledger to the server…"), window(), ServerWait::LongWorkMs));
    QString shown;
    if (!copied || (!copied->complete && copied->copied + copied->alreadyThere == 0 && !copied->error.isEmpty())) {
        shown = tr("Nothing was copied: %1").arg(copied ? copied->error : copied.message());
    } else {
        const LedgerCopying &copying = *copied;
        shown = copying.complete
                    ? tr("Copied %1 entries to the server; %2 were there from an earlier copy.")
                          .arg(copying.copied)
                          .arg(copying.alreadyThere)
                    : tr("The copy stopped after %1 entries: %2. Run it again to copy the rest; nothing is copied "
                         "twice.")
                          .arg(copying.copied + copying.alreadyThere)
                          .arg(copying.error);
    }
    m_result->setText(shown);
}

void LedgerPlaceBox::setUpServer()
{
    const LedgerLocation location = ledgerLocation(QSettings());
    const QString text = location.fromEnvironment ? location.server : m_connection->text();
    auto *dialog = new ServerSetupDialog(parsePostgresTarget(text).value_or(PostgresTarget()).user, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace seikyu
