#include "ledger/IssueRecording.h"

#include "document/Document.h"
#include "ledger/IssueLedger.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>

namespace seikyu {

void recordIssued(Document &document, IssueChannel channel, const QString &pdfPath, QWidget *parent)
{
    const std::optional<QString> message =
        IssueLedger::instance().recordIssue(document.pageState(), document.filePath(), channel, pdfPath);
    if (message) {
        Prompter::instance().inform(parent, QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"),
                                    *message);
    }
}

} // namespace seikyu
