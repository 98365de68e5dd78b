#include "ledger/IssueRecording.h"

#include "document/Document.h"
#include "ledger/IssueFacts.h"
#include "ledger/IssueLedger.h"
#include "ledger/NumberSequence.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>

namespace seikyu {

bool settleInvoiceNumber(Document &document, QWidget *parent)
{
    // A new number may be another invoice's too (one typed by hand earlier): asked again, a few times.
    for (int asked = 0; asked < 5; ++asked) {
        const LedgerEntry entry = issueEntryOf(document.pageState());
        const NumberUse use = IssueLedger::instance().numberUseOf(entry);
        if (use.kind != NumberUse::Kind::Clash)
            return true;
        const int chosen = Prompter::instance().askToChoose(
            parent, QCoreApplication::translate("IssueLedger", "No. %1 is another invoice's number.").arg(entry.number),
            numberTakenText(entry.number, *use.earlier) + QLatin1Char('\n') +
                QCoreApplication::translate("IssueLedger",
                                            "Take a new number for this invoice, or issue it as the correction of "
                                            "that invoice (a reissue, which replaces it in the ledger)?"),
            {QCoreApplication::translate("IssueLedger", "Take a New Number"),
             QCoreApplication::translate("IssueLedger", "Issue as a Correction")});
        if (chosen < 0)
            return false;
        if (chosen == 1) {
            IssueLedger::instance().allowReissue(entry.number);
            return true;
        }
        if (const Result<void> taken = document.takeInvoiceNumber(); !taken) {
            Prompter::instance().alert(
                parent, QCoreApplication::translate("IssueLedger", "No number can be taken now."), taken.message());
            return false;
        }
        document.updateChangeCount(Document::ChangeDone);
    }
    return false;
}

bool issueOutput(Document &document, IssueChannel channel, const QString &target, const QByteArray &bytes,
                 const std::function<bool()> &write, QWidget *parent, const std::optional<LedgerEntry> &acknowledges)
{
    const Result<IssueOutcome> outcome = IssueLedger::instance().issue(document.pageState(), document.filePath(),
                                                                       channel, target, bytes, write, {}, acknowledges);
    if (!outcome) {
        Prompter::instance().alert(parent, QCoreApplication::translate("IssueLedger", "The invoice was not issued."),
                                   outcome.message());
        return false;
    }
    if (outcome->message) {
        Prompter::instance().inform(parent, QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"),
                                    *outcome->message);
    }
    return outcome->written;
}

} // namespace seikyu
