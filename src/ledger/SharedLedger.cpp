#include "ledger/SharedLedger.h"

#include "ledger/NumberSequence.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace seikyu {

SharedLedger::SharedLedger(QString connectionText, std::unique_ptr<LedgerOutbox> outbox)
    : m_connectionText(std::move(connectionText)), m_outbox(std::move(outbox)),
      m_watch(std::make_unique<ServerWatch>(m_connectionText))
{
    // What waits goes as soon as the server is back, not when someone next exports.
    QObject::connect(m_watch.get(), &ServerWatch::answered, m_watch.get(), [this] {
        if (m_outbox->count() > 0)
            sendWaiting();
    });
}

bool SharedLedger::connect(ServerReport *report)
{
    if (m_server && !dropIfGone())
        return true;
    if (!m_watch->mayConnect()) {
        if (report) {
            *report = ServerReport();
            report->problem = ServerProblem::NoServer;
            report->message = serverProblemText(report->problem);
        }
        return false;
    }
    ServerReport found;
    m_server = openServerLedger(m_connectionText, &found);
    if (m_server && !m_anchorFile.isEmpty()) {
        // The server and database name where the ledger is seen, never the password.
        const Result<PostgresTarget> target = parsePostgresTarget(m_connectionText);
        m_server->setAnchor(
            m_anchorFile,
            target ? QStringLiteral("postgresql://%1:%2/%3").arg(target->host).arg(target->port).arg(target->dbname)
                   : QString());
    }
    if (m_server && m_connected)
        m_connected(m_server->database());
    if (m_server) {
        m_loginMayAlter = m_server->loginMayAlter();
        m_watch->connected();
    } else if (found.problem == ServerProblem::NoServer) {
        m_watch->failed();
    }
    m_report = found;
    if (report)
        *report = found;
    return m_server != nullptr;
}

bool SharedLedger::dropIfGone()
{
    if (!m_server)
        return true;
    QSqlQuery ping(m_server->database());
    if (m_server->database().isOpen() && ping.exec(QStringLiteral("SELECT 1")))
        return false;
    m_server.reset();
    m_watch->failed();
    return true;
}

OutboxSending SharedLedger::sendWaiting()
{
    if (m_outbox->count() == 0 || !connect()) {
        OutboxSending nothing;
        nothing.waiting = m_outbox->count();
        return nothing;
    }
    OutboxSending sending = m_outbox->send(*m_server);
    if (!sending.error.isEmpty())
        dropIfGone();
    return sending;
}

SharedRecording SharedLedger::record(const LedgerEntry &entry)
{
    SharedRecording recording;
    // What waits goes first, so the ledger keeps the order things happened in, and an entry that
    // refers to a waiting one finds it there.
    bool caughtUp = m_outbox->count() == 0;
    if (!caughtUp) {
        const OutboxSending sending = sendWaiting();
        recording.refused = sending.refused;
        caughtUp = sending.waiting == 0;
    }
    if (caughtUp && connect()) {
        Result<LedgerEntry> recorded = m_server->record(entry);
        if (recorded) {
            recording.entry = std::move(recorded);
            return recording;
        }
        const QString said = serverRefusalText(m_server->database(), recorded.message());
        if (recorded.fault().kind == FaultKind::Refused) {
            // Not in the ledger, and not lost either: it is kept aside as a refused waiting one is.
            recording.entry = Fault{FaultKind::Refused, said, recorded.detail()};
            if (const Result<LedgerEntry> kept = m_outbox->setAside(entry, said)) {
                recording.keptAside = true;
                recording.refused.append(refusedText(*kept, said));
            }
            return recording;
        }
        if (!dropIfGone())
            recording.why = said;
    } else if (m_report.problem != ServerProblem::None && m_report.problem != ServerProblem::NoServer) {
        recording.why = m_report.toldInLine();
    }
    // The server does not answer, or failed for a reason of its own (a full disk): the entry waits.
    recording.entry = m_outbox->add(entry);
    recording.waiting = recording.entry.ok();
    return recording;
}

QString SharedLedger::numberNeedsServerText(const ServerReport &report)
{
    return QCoreApplication::translate("seikyu::SharedLedger",
                                       "Taking a number needs the ledger's server: %1 Type the number by hand; it is "
                                       "checked when the server answers again.")
        .arg(report.message);
}

Result<NumberProposal> SharedLedger::takeNumber(const QString &pattern, const QDate &date)
{
    // Numbers typed while the server was away go to the ledger first, so the sequence passes over them.
    if (m_outbox->count() > 0)
        sendWaiting();
    ServerReport report;
    if (!connect(&report))
        return Fault{FaultKind::Unwritable, numberNeedsServerText(report), report.message};
    Result<NumberProposal> number = takeSharedNumber(m_server->database(), pattern, date);
    if (number)
        return number;
    Fault fault = number.fault();
    if (classifyServerError(fault.message) == ServerProblem::PermissionDenied) {
        // Which role, and which table or function: the administrator's to grant, nothing to try again.
        fault.message = serverRefusalText(m_server->database(), fault.message);
        fault.kind = FaultKind::Refused;
    }
    dropIfGone();
    return fault;
}

Result<NumberProposal> SharedLedger::peekNumber(const QString &pattern, const QDate &date)
{
    ServerReport report;
    if (!connect(&report))
        return Fault{FaultKind::Unreadable, numberNeedsServerText(report), report.message};
    Result<NumberProposal> number = peekSharedNumber(m_server->database(), pattern, date);
    if (!number)
        dropIfGone();
    return number;
}

std::optional<NumberUse> SharedLedger::numberUseOf(const LedgerEntry &issue)
{
    if (!connect()) {
        // What this computer issued while away is known here: the server checks the rest on arrival.
        QList<HeldNumber> waiting;
        for (const LedgerEntry &entry : m_outbox->waiting()) {
            if (entry.kind == EntryKind::Issue && entry.number == issue.number && !issue.number.isEmpty())
                waiting.prepend({entry, false});
        }
        if (waiting.isEmpty())
            return std::nullopt;
        return seikyu::numberUse(issue, waiting);
    }
    const Result<NumberUse> use = m_server->numberUseOf(issue);
    if (!use) {
        dropIfGone();
        return std::nullopt;
    }
    return *use;
}

void SharedLedger::release(const NumberProposal &taken, const QString &why)
{
    for (const LedgerEntry &waiting : m_outbox->waiting()) {
        if (waiting.number == taken.text)
            return; // issued while the server was away
    }
    if (connect()) {
        const Result<QList<HeldNumber>> held = m_server->issuesHolding(taken.text);
        if (held && !held->isEmpty())
            return;
        if (held && giveBackSharedNumber(m_server->database(), taken).value_or(false))
            return;
    }
    LedgerEntry unused;
    unused.kind = EntryKind::Unused;
    unused.number = taken.text;
    unused.note = why;
    record(unused);
}

} // namespace seikyu
