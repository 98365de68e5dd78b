#include "ledger/ServerSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QSqlDriver>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <atomic>
#include <libpq-fe.h>
#include <mutex>
#include <sys/socket.h>

namespace seikyu {

namespace {

/// How long a caller holds back the user's input before the note on what it waits for shows: a
/// server that answers at once is not announced, and nothing typed meanwhile is handled later
/// than this.
constexpr int QuietWaitMs = 150;

/// The socket of a PostgreSQL connection, or -1.
int socketOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return -1;
    const QVariant handle = db.driver()->handle();
    // The driver names the type by libpq's struct tag.
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0)
        return -1;
    PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    return connection ? PQsocket(connection) : -1;
}

} // namespace

QString serverSilentText(int boundMs)
{
    const int seconds = std::max(1, (boundMs + 999) / 1000);
    return QCoreApplication::translate("seikyu::ServerSession",
                                       "The ledger's server did not answer within %n second(s).", nullptr, seconds);
}

/// What the caller's thread and the session's thread share.
struct ServerSession::Shared
{
    QString connectionText;
    QString outboxPath;
    QString anchorFile;
    std::atomic<bool> patient{false};

    std::mutex mutex;
    bool working = false; ///< work runs on the session's thread
    std::atomic<bool> loginMayAlter{false};
    int socket = -1; ///< the socket that work uses, while it runs

    /// Made, used and destroyed on the session's thread only.
    std::unique_ptr<SharedLedger> office;

    SharedLedger *ledger(ServerSession *session)
    {
        if (office)
            return office.get();
        Result<std::unique_ptr<LedgerOutbox>> outbox = LedgerOutbox::open(outboxPath);
        if (!outbox)
            return nullptr;
        office = std::make_unique<SharedLedger>(connectionText, std::move(outbox).value());
        office->setAnchorFile(anchorFile);
        office->watch().setPatient(patient);
        office->setConnectedHook([this](const QSqlDatabase &db) {
            const std::lock_guard<std::mutex> lock(mutex);
            socket = socketOf(db);
        });
        // The watch lives here; the session tells its own thread, where the windows are.
        QObject::connect(&office->watch(), &ServerWatch::answered, &office->watch(), [session] {
            QMetaObject::invokeMethod(session, &ServerSession::answered, Qt::QueuedConnection);
        });
        return office.get();
    }

    void run(ServerSession *session, const std::function<void(SharedLedger &)> &work)
    {
        SharedLedger *shared = ledger(session);
        if (!shared)
            return;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            working = true;
            socket = shared->server() ? socketOf(shared->server()->database()) : -1;
        }
        work(*shared);
        loginMayAlter = shared->loginMayAlter();
        const std::lock_guard<std::mutex> lock(mutex);
        working = false;
        socket = -1;
    }
};

ServerSession::ServerSession(const QString &connectionText, const QString &outboxPath, const QString &anchorFile,
                             bool patient)
    : m_state(std::make_shared<Shared>()), m_thread(std::make_unique<QThread>()), m_patient(patient)
{
    m_state->connectionText = connectionText;
    m_state->outboxPath = outboxPath;
    m_state->anchorFile = anchorFile;
    m_state->patient = patient;
    if (Result<std::unique_ptr<LedgerOutbox>> opened = LedgerOutbox::open(outboxPath))
        m_outbox = std::move(opened).value();
    else
        m_usable = opened.fault();
    m_thread->setObjectName(QStringLiteral("seikyu-server"));
    m_worker = new QObject;
    m_worker->moveToThread(m_thread.get());
    m_thread->start();
}

ServerSession::~ServerSession()
{
    abortWaiting();
    // The ledger, its connection and its watch go on the thread they were made on, after the
    // work given before; then the thread ends.
    QMetaObject::invokeMethod(
        m_worker,
        [state = m_state] {
            state->office.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    while (!m_thread->wait(1000))
        abortWaiting(); // work given meanwhile (a send the watch started) waits on the server
    delete m_worker;
}

bool ServerSession::loginMayAlter() const
{
    return m_state->loginMayAlter;
}

void ServerSession::setPatient(bool patient)
{
    m_patient = patient;
    m_state->patient = patient;
    QMetaObject::invokeMethod(
        m_worker,
        [state = m_state, patient] {
            if (state->office)
                state->office->watch().setPatient(patient);
        },
        Qt::QueuedConnection);
}

ServerWait ServerSession::defaultWait(const QString &waitingFor, QWidget *parent, int boundMs) const
{
    ServerWait wait;
    wait.boundMs = m_patient ? ServerWait::CommandLineMs : ServerWait::WindowMs;
    wait.boundMs = std::max(wait.boundMs, boundMs);
    wait.waitingFor = m_patient ? QString() : waitingFor;
    wait.parent = parent;
    return wait;
}

void ServerSession::abortWaiting()
{
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    // The query waiting on the socket fails at once; the connection is dropped there.
    if (m_state->working && m_state->socket >= 0)
        ::shutdown(m_state->socket, SHUT_RDWR);
}

Result<void> ServerSession::runAndWait(std::function<void(SharedLedger &)> work, const ServerWait &wait)
{
    if (m_waiting) {
        // A timer or a window asking while the user's thread already waits: it does not wait too.
        return Fault{FaultKind::Unreadable, serverSilentText(0)};
    }
    struct Call
    {
        std::atomic<bool> done{false};
        QPointer<QEventLoop> loop;
    };
    auto call = std::make_shared<Call>();
    QPointer<ServerSession> self(this);
    QMetaObject::invokeMethod(
        m_worker,
        [state = m_state, work = std::move(work), call, self] {
            state->run(self, work);
            call->done = true;
            QMetaObject::invokeMethod(
                self,
                [call] {
                    if (call->loop)
                        call->loop->quit();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);

    m_waiting = true;
    QElapsedTimer waited;
    waited.start();
    if (!QThread::currentThread()->eventDispatcher()) {
        while (!call->done && waited.elapsed() < wait.boundMs)
            QThread::msleep(5);
    } else {
        QEventLoop loop;
        call->loop = &loop;
        QTimer bound;
        bound.setSingleShot(true);
        connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
        // First a moment without the user's input, so that nothing typed lands elsewhere meanwhile.
        bound.start(std::min(QuietWaitMs, wait.boundMs));
        if (!call->done)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        std::unique_ptr<QProgressDialog> note;
        if (!call->done && waited.elapsed() < wait.boundMs) {
            if (!wait.waitingFor.isEmpty() && qobject_cast<QApplication *>(QCoreApplication::instance())) {
                note = std::make_unique<QProgressDialog>(wait.waitingFor, tr("Stop Waiting"), 0, 0, wait.parent);
                note->setObjectName(QStringLiteral("serverWait"));
                note->setWindowTitle(tr("Ledger's server"));
                note->setWindowModality(wait.parent ? Qt::WindowModal : Qt::ApplicationModal);
                note->setMinimumDuration(0);
                connect(note.get(), &QProgressDialog::canceled, &loop, &QEventLoop::quit);
                note->show();
            }
            bound.start(int(std::max<qint64>(1, wait.boundMs - waited.elapsed())));
            if (!call->done)
                loop.exec(note ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        }
        call->loop = nullptr;
    }
    m_waiting = false;
    if (call->done)
        return {};
    abortWaiting();
    return Fault{FaultKind::Unreadable, serverSilentText(wait.boundMs)};
}

void ServerSession::post(std::function<OutboxSending(SharedLedger &)> work,
                         std::function<void(const OutboxSending &)> done)
{
    QPointer<ServerSession> self(this);
    QMetaObject::invokeMethod(
        m_worker,
        [state = m_state, work = std::move(work), done = std::move(done), self] {
            auto result = std::make_shared<OutboxSending>();
            state->run(self, [&](SharedLedger &office) { *result = work(office); });
            if (done)
                QMetaObject::invokeMethod(
                    self, [done, result] { done(*result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

SharedRecording ServerSession::record(const LedgerEntry &entry, const ServerWait &wait)
{
    // One origin, whichever way the entry reaches the server: it is recorded there once.
    LedgerEntry sent = entry;
    if (sent.origin.isEmpty())
        sent.origin = QStringLiteral("outbox:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (Result<SharedRecording> recording =
            call<SharedRecording>([sent](SharedLedger &office) { return office.record(sent); }, wait))
        return std::move(*recording);
    // The session's thread may still record it when the server answers; kept here meanwhile, it
    // is not lost if Seikyu closes first, nor recorded twice.
    SharedRecording recording;
    recording.entry = m_outbox ? m_outbox->add(sent) : Result<LedgerEntry>(m_usable.fault());
    recording.waiting = recording.entry.ok();
    return recording;
}

void ServerSession::sendWaiting(std::function<void(const OutboxSending &)> done)
{
    post([](SharedLedger &office) { return office.sendWaiting(); }, std::move(done));
}

} // namespace seikyu
