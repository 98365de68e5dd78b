// The window's word on entries that wait for the shared ledger's server.
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerOutbox.h"

#include <QLabel>

namespace seikyu {

void IssuedInvoicesWindow::showWaiting(bool connected)
{
    SharedLedger *office = IssueLedger::instance().shared();
    if (!office)
        return;
    // When a silent server answers again, what waited is sent: show the ledger as it is then.
    connect(&office->watch(), &ServerWatch::answered, this, &IssuedInvoicesWindow::refresh, Qt::UniqueConnection);
    QStringList said;
    if (connected) {
        const OutboxSending sending = office->sendWaiting();
        said += sending.numberClashes;
    }
    const QString waiting = waitingText(office->waitingCount());
    if (!waiting.isEmpty())
        said.prepend(waiting);
    if (said.isEmpty()) {
        if (connected)
            m_problem->hide();
        return;
    }
    if (!connected)
        said.prepend(m_problem->text());
    m_problem->setText(said.join(QLatin1Char('\n')));
    m_problem->show();
}

} // namespace seikyu
