// The part of IssueLedger that serves an office's ledger on a PostgreSQL server.
#include "ledger/IssueLedger.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerLocation.h"
#include "ledger/LongRead.h"
#include "ledger/RecordingPlace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QSettings>
#include <QTimer>

namespace seikyu {

namespace {

/// The same translation context as the rest of IssueLedger.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(IssueLedger)
};

} // namespace

QString IssueLedger::outboxPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("ledger-outbox.sqlite"));
}

ServerSession *IssueLedger::shared()
{
    const LedgerLocation location = ledgerLocation(QSettings());
    if (location.place != LedgerPlace::Shared) {
        m_shared.reset();
        return nullptr;
    }
    if (m_shared && m_sharedText == location.server)
        return m_shared.get();
    m_shared.reset();
    auto session = std::make_unique<ServerSession>(location.server, outboxPath(), anchorPath(), m_waitsForServer);
    QString reason;
    if (!session->isUsable(&reason)) {
        failed(reason);
        return nullptr;
    }
    m_sharedText = location.server;
    m_shared = std::move(session);
    // What waits goes as soon as the server answers again, without anyone exporting meanwhile; what
    // the server refuses then is told with the next message.
    QObject::connect(m_shared.get(), &ServerSession::answered, m_shared.get(), [this] { sendWaitingNow(); });
    static QPointer<QTimer> retry;
    if (!retry && QCoreApplication::instance()) {
        retry = new QTimer(QCoreApplication::instance());
        retry->setInterval(60 * 1000);
        QObject::connect(retry, &QTimer::timeout, [] {
            if (instance().m_shared && instance().m_shared->waitingCount() > 0)
                instance().sendWaitingNow();
        });
        retry->start();
    }
    return m_shared.get();
}

void IssueLedger::sendWaitingNow()
{
    // Never waited for: the server's thread sends, and says afterwards what was refused.
    m_shared->sendWaiting([this](const OutboxSending &sending) { tellRefused(sending.refused); });
}

bool IssueLedger::onServer(std::function<void(LedgerStore &)> work, QString *error, const QString &waitingFor,
                           QWidget *parent, int boundMs)
{
    struct Reached
    {
        bool connected = false;
        QString error;
        std::optional<LedgerEntry> seal;
    };
    ServerSession *office = shared();
    if (boundMs > office->defaultWait().boundMs) {
        // Long work is waited for long; a server that does not answer at all is found out first.
        const Result<Reached> answers = office->call<Reached>(
            [](SharedLedger &ledger) {
                Reached found;
                ServerReport report;
                found.connected = ledger.connect(&report);
                found.error = report.message;
                return found;
            },
            office->defaultWait(waitingFor, parent));
        if (!answers || !answers->connected) {
            if (error)
                *error = answers ? answers->error : answers.message();
            return false;
        }
    }
    const Result<Reached> reached = office->call<Reached>(
        [work = std::move(work)](SharedLedger &ledger) {
            Reached found;
            ServerReport report;
            if (!ledger.connect(&report)) {
                found.error = report.message;
                return found;
            }
            found.connected = true;
            found.seal = ledger.server()->takeSeal();
            work(*ledger.server());
            return found;
        },
        office->defaultWait(waitingFor, parent, boundMs));
    if (!reached || !reached->connected) {
        if (error)
            *error = reached ? reached->error : reached.message();
        return false;
    }
    tellSealed(reached->seal);
    return true;
}

void IssueLedger::tellRefused(const QStringList &refused)
{
    // Each refusal is told, however many: each is something the user did that the ledger lacks.
    for (const QString &said : refused)
        m_pending = m_pending.isEmpty() ? said : m_pending + QLatin1Char('\n') + said;
}

LedgerCheck IssueLedger::verify(LedgerStore &store, QString *error)
{
    // Each computer archives the PDFs it issues in its own folder.
    ServerSession *office = shared();
    LedgerCheck found = store.check(archiveFolder(), office ? recordingHostName() : QString(), error);
    completeCheck(found, office);
    return found;
}

LedgerCheck IssueLedger::verifyLedger(QString *error, QWidget *parent)
{
    if (!shared()) {
        LedgerStore *store = reader(error);
        return store ? verify(*store, error) : LedgerCheck();
    }
    struct Checked
    {
        LedgerCheck check;
        QString error;
    };
    const std::optional<Checked> checked = withStore<Checked>(
        false,
        [archive = archiveFolder(), host = recordingHostName()](LedgerStore &server) {
            Checked found;
            found.check = server.check(archive, host, &found.error);
            return found;
        },
        error, Text::tr("Verifying the office's ledger…"), parent, ServerWait::LongWorkMs);
    if (!checked)
        return LedgerCheck();
    if (error && !checked->error.isEmpty())
        *error = checked->error;
    LedgerCheck found = checked->check;
    completeCheck(found, shared());
    return found;
}

LedgerCheck IssueLedger::verifyLocal(LedgerStore &store, const std::atomic<bool> &stop, QString *error)
{
    LedgerCheck found = store.check(archiveFolder(), QString(), error);
    completeCheck(found, nullptr, &stop);
    return found;
}

void IssueLedger::completeCheck(LedgerCheck &found, ServerSession *office, const std::atomic<bool> *stop)
{
    QSet<QString> waiting; // archived copies whose entries wait in the outbox
    if (office) {
        for (const LedgerEntry &entry : office->outbox().waiting())
            waiting.insert(entry.archiveName);
    }
    for (const QString &name : std::as_const(found.unrecorded)) {
        if (!waiting.contains(name))
            found.problems.append({ChainProblem::Kind::Unrecorded, 0, name, {}});
    }
    if (!office)
        found.problems = fileProblems(stop) + found.problems;
}

QList<ChainProblem> IssueLedger::fileProblems(const std::atomic<bool> *stop)
{
    QList<ChainProblem> problems;
    const QString path = QDir::toNativeSeparators(databasePath());
    if (const std::optional<QString> wal = walDamage(databasePath() + QStringLiteral("-wal"))) {
        problems.append({ChainProblem::Kind::Damaged, 0, path + QStringLiteral("-wal"), *wal});
    } else if (QFileInfo::exists(databasePath())) {
        // The file itself, not the copy an older ledger may be read through.
        QString reason;
        std::unique_ptr<LedgerStore> file =
            LedgerStore::openSqlite(databasePath(), nullptr, &reason, LedgerAccess::ReadOnly);
        if (file && stop)
            stopSqliteWhen(file->database(), *stop);
        const QStringList damage = file ? integrityProblems(file->database()) : QStringList{reason};
        if (!damage.isEmpty())
            problems.append({ChainProblem::Kind::Damaged, 0, path, damage.join(QStringLiteral("; "))});
    }
    for (const QString &aside : setAsideLedgers(databasePath()))
        problems.append({ChainProblem::Kind::SetAside, 0, QDir(m_folder).filePath(aside), {}});
    return problems;
}

} // namespace seikyu
