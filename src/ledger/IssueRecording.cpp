#include "ledger/IssueRecording.h"

#include "document/Document.h"
#include "ledger/IssueLedger.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>

namespace seikyu {

bool issueOutput(Document &document, IssueChannel channel, const QString &target, const QByteArray &bytes,
                 const std::function<bool()> &write, QWidget *parent)
{
    const IssueOutcome outcome =
        IssueLedger::instance().issue(document.pageState(), document.filePath(), channel, target, bytes, write);
    if (outcome.message) {
        Prompter::instance().inform(parent, QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"),
                                    *outcome.message);
    }
    return outcome.written;
}

} // namespace seikyu
