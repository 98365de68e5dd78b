#pragma once

#include "base/Result.h"
#include "ledger/LedgerOutbox.h"
#include "ledger/LedgerStore.h"
#include "ledger/ServerLedger.h"
#include "ledger/ServerWatch.h"
#include "sections/InvoiceNumber.h"

#include <functional>
#include <memory>
#include <optional>

namespace seikyu {

/// How recording an entry in the shared ledger went.
struct SharedRecording
{
    /// As recorded on the server, or as kept in the outbox; else why it is neither: Refused when
    /// the server refused it (kept aside, when keptAside says so).
    Result<LedgerEntry> entry = Fault{FaultKind::Unwritable, QString()};
    bool waiting = false;   ///< kept in the outbox: the server did not answer
    bool keptAside = false; ///< the server refused it: it is with the outbox's refused ones
    QStringList refused;    ///< what waited and the server refused meanwhile (kept aside)
    QString why;            ///< waiting for a reason other than silence: the server's problem, in words
};

/// The office's ledger on a PostgreSQL server, with the outbox that keeps entries while the
/// server cannot be reached. Exporting and printing go on without the server; a number does not.
///
/// A server that does not answer never holds up the caller: after a failure the caller is told at
/// once, the watch looks for the server in the background, and what waits is sent as soon as the
/// server answers again (with an event loop running).
class SharedLedger
{
public:
    SharedLedger(QString connectionText, std::unique_ptr<LedgerOutbox> outbox);
    SharedLedger(const SharedLedger &) = delete;
    SharedLedger &operator=(const SharedLedger &) = delete;

    /// Connects when not connected; the report says why not. Returns at once while the watch
    /// takes the server for silent.
    bool connect(ServerReport *report = nullptr);
    /// The watch over the server (answered() says when a silent server answers again).
    ServerWatch &watch() { return *m_watch; }
    /// The server's store while connected, else null.
    LedgerStore *server() { return m_server.get(); }
    LedgerOutbox &outbox() { return *m_outbox; }
    /// Called with each new connection to the server (the session keeps its socket at hand).
    void setConnectedHook(std::function<void(const QSqlDatabase &)> hook) { m_connected = std::move(hook); }
    /// Where this computer keeps the newest head of the server's ledger it wrote or saw.
    void setAnchorFile(const QString &path) { m_anchorFile = path; }

    /// Sends what waits, then records the entry on the server; when the server does not answer,
    /// keeps the entry in the outbox. An entry the server refuses (one that refers to a voided
    /// issue, say) is neither. An entry that refers to one still waiting names it by its origin
    /// (referTo does that); it waits behind it, and the server resolves the reference.
    SharedRecording record(const LedgerEntry &entry);
    /// Sends what waits when the server answers.
    OutboxSending sendWaiting();
    int waitingCount() const { return m_outbox->count(); }

    /// Whether the login may alter the server's tables, and so switch their protection off (as
    /// found when it last connected).
    bool loginMayAlter() const { return m_loginMayAlter; }

    /// The next number of the office's sequence; Unwritable, with the reason, without the server.
    Result<NumberProposal> takeNumber(const QString &pattern, const QDate &date);
    /// The number takeNumber would give now, not taken; Unreadable, with the reason, without the server.
    Result<NumberProposal> peekNumber(const QString &pattern, const QDate &date);
    /// What recording the issue would make of its number (NumberUse), asked of the server; while
    /// it does not answer, of the issues waiting here, else nothing (checked when it is sent).
    std::optional<NumberUse> numberUseOf(const LedgerEntry &issue);
    /// A number taken from the sequence that no invoice will carry: given back while no later one
    /// was taken, else recorded as unused with `why` (sent later when the server does not answer).
    /// Nothing is done when an issue holds it or waits here to be sent with it.
    void release(const NumberProposal &taken, const QString &why);

private:
    /// After a failure: drops a connection the server no longer answers on. True when it did.
    bool dropIfGone();
    /// The reason a number cannot be taken without the server, with what `report` says.
    static QString numberNeedsServerText(const ServerReport &report);

    QString m_connectionText;
    QString m_anchorFile;
    std::function<void(const QSqlDatabase &)> m_connected;
    std::unique_ptr<LedgerOutbox> m_outbox;
    std::unique_ptr<LedgerStore> m_server;
    std::unique_ptr<ServerWatch> m_watch;
    bool m_loginMayAlter = false;
    ServerReport m_report; ///< what the last connecting found
};

} // namespace seikyu
