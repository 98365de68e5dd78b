#pragma once

#include "base/Result.h"
#include "ledger/LedgerOutbox.h"
#include "ledger/SharedLedger.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QThread;
class QWidget;

namespace seikyu {

/// How long a caller waits for the server, and what it tells the user meanwhile.
struct ServerWait
{
    /// A window waits briefly: the entry waits in the outbox, a search says the server is silent.
    static constexpr int WindowMs = 5000;
    /// Work that takes long by its nature (Verify, copying a ledger), with a way to stop waiting.
    static constexpr int LongWorkMs = 5 * 60 * 1000;
    /// A command line has nobody typing: it waits longer, but not for ever.
    static constexpr int CommandLineMs = 30000;

    int boundMs = WindowMs;
    QString waitingFor; ///< "Recording the invoice on the ledger's server…"; empty: the wait is not shown
    QWidget *parent = nullptr;
};

/// The office's ledger on its PostgreSQL server, reached on a thread of its own.
///
/// libpq waits for a server without bound: a host that stops answering in the middle of a query
/// leaves the caller in poll() until the server comes back. So the connection and everything that
/// uses it (the SharedLedger) live on the session's thread, and a caller waits for a piece of work
/// a bounded time, with its own event loop running: the window keeps painting and answering input,
/// and a window-modal note says what it waits for. When the bound passes, the connection's socket
/// is shut down, which ends the waiting query with an error on the session's thread; the caller is
/// told the server did not answer. Work is done in the order given.
///
/// The outbox (a local file) is opened on the caller's thread too: entries are kept there when the
/// server is not waited for.
class ServerSession : public QObject
{
    Q_OBJECT

public:
    ServerSession(const QString &connectionText, const QString &outboxPath, const QString &anchorFile, bool patient);
    ~ServerSession() override;
    ServerSession(const ServerSession &) = delete;
    ServerSession &operator=(const ServerSession &) = delete;

    /// Whether the outbox could be opened (the session is of no use without it), or why not.
    Result<void> isUsable() const { return m_usable; }
    /// The outbox as seen from the caller's thread.
    LedgerOutbox &outbox() { return *m_outbox; }
    int waitingCount() const { return m_outbox->count(); }
    /// Whether the login, when last connected, owns the ledger's tables or may alter them.
    bool loginMayAlter() const;

    /// A command line waits longer and never shows a note.
    void setPatient(bool patient);
    bool patient() const { return m_patient; }
    /// The wait a caller on this session uses unless it says otherwise.
    ServerWait defaultWait(const QString &waitingFor = {}, QWidget *parent = nullptr, int boundMs = 0) const;

    /// Runs `work` on the session's thread and waits for it as `wait` says. Unreadable, saying the
    /// server did not answer, when it did not finish in time (or the caller is already waiting for
    /// the server). `work` must hold what it uses by value: it may run after the caller stopped waiting.
    template <typename R> Result<R> call(std::function<R(SharedLedger &)> work, const ServerWait &wait)
    {
        auto result = std::make_shared<std::optional<R>>();
        if (Result<void> finished =
                runAndWait([work = std::move(work), result](SharedLedger &office) { *result = work(office); }, wait);
            !finished)
            return finished.fault();
        // Done without running: the session's thread has no ledger (it is being closed).
        if (!*result)
            return Fault{FaultKind::Unreadable, QString()};
        return std::move(**result);
    }
    /// call() for work that may fail itself: its value or fault, or the server's silence.
    template <typename R> Result<R> callFallible(std::function<Result<R>(SharedLedger &)> work, const ServerWait &wait)
    {
        Result<Result<R>> answered = call<Result<R>>(std::move(work), wait);
        if (!answered)
            return answered.fault();
        return std::move(*answered);
    }
    /// Runs `work` on the session's thread without waiting; `done` (may be empty) then runs on
    /// this thread with the result, unless the session went away meanwhile.
    void post(std::function<OutboxSending(SharedLedger &)> work, std::function<void(const OutboxSending &)> done);

    /// Records the entry on the server, waiting as `wait` says; when the server does not answer in
    /// time, the entry is kept in the outbox (under its origin, so it is recorded once however it
    /// gets there).
    SharedRecording record(const LedgerEntry &entry, const ServerWait &wait);
    /// Sends what waits in the background; `done` says how it went.
    void sendWaiting(std::function<void(const OutboxSending &)> done = {});

Q_SIGNALS:
    /// The silent server answers again (what waited is being sent).
    void answered();

private:
    Result<void> runAndWait(std::function<void(SharedLedger &)> work, const ServerWait &wait);
    /// Ends what the session's thread waits for on the network, if anything.
    void abortWaiting();

    struct Shared;
    std::shared_ptr<Shared> m_state;
    std::unique_ptr<QThread> m_thread;
    QObject *m_worker = nullptr; ///< lives on m_thread; deleted there
    std::unique_ptr<LedgerOutbox> m_outbox;
    Result<void> m_usable; ///< the outbox opened, or why not
    bool m_patient = false;
    bool m_waiting = false;
};

/// "The ledger's server did not answer within 4 seconds."
QString serverSilentText(int boundMs);

} // namespace seikyu
