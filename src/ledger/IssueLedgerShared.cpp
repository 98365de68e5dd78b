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
    if (const Result<void> usable = session->isUsable(); !usable) {
        failed(usable.message());
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

Result<void> IssueLedger::onServer(std::function<void(LedgerStore &)> work, FaultKind unanswered,
                                   const QString &waitingFor, QWidget *parent, int boundMs)
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
        if (!answers || !answers->connected)
            return Fault{unanswered, answers ? answers->error : answers.message(), answers.detail()};
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
    if (!reached || !reached->connected)
        return Fault{unanswered, reached ? reached->error : reached.message(), reached.detail()};
    tellSealed(reached->seal);
    return {};
}

void IssueLedger::tellRefused(const QStringList &refused)
{
    // Each refusal is told, however many: each is something the user did that the ledger lacks.
    for (const QString &said : refused)
        m_pending = m_pending.isEmpty() ? said : m_pending + QLatin1Char('\n') + said;
}

Result<LedgerCheck> IssueLedger::verify(LedgerStore &store)
{
    // Each computer archives the PDFs it issues in its own folder.
    ServerSession *office = shared();
    Result<LedgerCheck> found = store.check(archiveFolder(), office ? recordingHostName() : QString());
    if (found)
        completeCheck(*found, office);
    return found;
}

Result<LedgerCheck> IssueLedger::verifyLedger(QWidget *parent)
{
    if (!shared()) {
        const Result<LedgerStore *> store = reader();
        if (!store)
            return store.fault();
        return verify(**store);
    }
    Result<Result<LedgerCheck>> checked = withStore<Result<LedgerCheck>>(
        false,
        [archive = archiveFolder(), host = recordingHostName()](LedgerStore &server) {
            return server.check(archive, host);
        },
        Text::tr("Verifying the office's ledger…"), parent, ServerWait::LongWorkMs);
    if (!checked)
        return checked.fault();
    Result<LedgerCheck> found = std::move(checked).value();
    if (found)
        completeCheck(*found, shared());
    return found;
}

Result<LedgerCheck> IssueLedger::verifyLocal(LedgerStore &store, const std::atomic<bool> &stop)
{
    Result<LedgerCheck> found = store.check(archiveFolder(), QString());
    if (found)
        completeCheck(*found, nullptr, &stop);
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
        Result<std::unique_ptr<LedgerStore>> opened = LedgerStore::openSqlite(databasePath(), LedgerAccess::ReadOnly);
        const QString reason = opened.message();
        const std::unique_ptr<LedgerStore> file = std::move(opened).value_or(nullptr);
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
