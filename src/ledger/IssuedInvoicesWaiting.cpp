// The window's word on entries that wait for the shared ledger's server, on those it refused, and
// on what cannot be recorded while it does not answer.
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerOutbox.h"
#include "ledger/LedgerRoles.h"
#include "widgets/Prompter.h"

#include <QLabel>

namespace seikyu {

namespace {

/// The refused entries in words, the latest few, and how many more there are.
QStringList refusedLines(const QList<RefusedEntry> &refused)
{
    constexpr qsizetype shown = 5;
    QStringList lines;
    for (qsizetype i = std::max<qsizetype>(0, refused.size() - shown); i < refused.size(); ++i)
        lines.append(refusedText(refused.at(i).entry, refused.at(i).reason));
    if (refused.size() > shown)
        lines.append(IssuedInvoicesWindow::tr("… and %n more refused entries kept aside on this computer.", nullptr,
                                              int(refused.size() - shown)));
    return lines;
}

} // namespace

void IssuedInvoicesWindow::showWaiting(bool connected)
{
    ServerSession *office = IssueLedger::instance().shared();
    if (!office)
        return;
    // When a silent server answers again, what waited is sent: show the ledger as it is then.
    connect(office, &ServerSession::answered, this, &IssuedInvoicesWindow::refresh, Qt::UniqueConnection);
    sayWaiting(OutboxSending{});
    if (!connected || office->waitingCount() == 0)
        return;
    // Sent on the server's thread; the window says how it went when it is done.
    QPointer<IssuedInvoicesWindow> self(this);
    office->sendWaiting([self](const OutboxSending &sending) {
        if (!self)
            return;
        if (sending.sent > 0)
            self->refresh();
        self->sayWaiting(sending);
    });
}

void IssuedInvoicesWindow::sayWaiting(const OutboxSending &sent)
{
    ServerSession *office = IssueLedger::instance().shared();
    if (!office)
        return;
    // What the window says already (a date that does not read, a server that does not answer)
    // stays first; what was said here the last time is said afresh.
    static constexpr char SaidHere[] = "saidOfWaiting";
    const QString shown = m_problem->isHidden() ? QString() : m_problem->text();
    QStringList said;
    if (!shown.isEmpty() && shown != m_problem->property(SaidHere).toString())
        said.append(shown);
    const int waiting = office->waitingCount();
    said.append(waitingText(waiting));
    if (!sent.error.isEmpty() && waiting > 0)
        said.append(tr("Sending the waiting entries stopped: %1").arg(sent.error));
    said += sent.numberClashes;
    // What the server refused stays in view: it is in no ledger, only aside on this computer.
    said += refusedLines(office->outbox().refused());
    if (office->loginMayAlter())
        said.append(alterableLoginText());
    said.removeAll(QString());
    if (said.isEmpty()) {
        m_problem->hide();
        return;
    }
    const QString text = said.join(QLatin1Char('\n'));
    m_problem->setText(text);
    m_problem->setProperty(SaidHere, text);
    m_problem->show();
}

void IssuedInvoicesWindow::sayNotRecorded(const QString &what, const QString &error)
{
    // A payment or a void waiting on this computer could not be shown against its invoice until
    // the server took it, and would invite recording it twice: without the server, none is made.
    QString why = error;
    if (why.isEmpty())
        why = IssueLedger::instance().shared()
                  ? tr("The ledger's server does not answer. Nothing was recorded; try again when it answers.")
                  : m_problem->text();
    Prompter::instance().alert(this, what, why);
}

} // namespace seikyu
