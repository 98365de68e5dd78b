#include "app/EInvoiceRecording.h"

#include "invoice/InvoiceFile.h"
#include "output/BatchTargets.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>

namespace seikyu {

void recordEInvoicesInLedger(bool commandLine)
{
    setEInvoiceIssuer([commandLine](const WrittenEInvoice &written,
                                    const std::function<Result<void>()> &write) -> Result<IssuedEInvoice> {
        const Result<Invoice> read = readInvoiceBytes(written.invoiceFile);
        if (!read) {
            if (const Result<void> done = write(); !done)
                return done.fault();
            return IssuedEInvoice{};
        }
        Invoice issued = *read;
        if (!issued.date.isValid())
            issued.date = QDate::currentDate(); // as a window shows a file without a date
        // Not written until the ledger has the file written, which it may refuse to do.
        std::optional<Result<void>> wrote;
        const Result<IssueOutcome> outcome = IssueLedger::instance().issue(
            issued, written.sourcePath, IssueChannel::EInvoice, written.path, written.xml, [&] {
                wrote = write();
                return wrote->ok();
            });
        if (outcome && outcome->message) {
            if (commandLine)
                std::fprintf(stderr, "seikyu: %s\n", outcome->message->toLocal8Bit().constData());
            else
                Prompter::instance().inform(nullptr,
                                            QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"),
                                            *outcome->message);
        }
        return eInvoiceIssued(outcome, wrote, commandLine);
    });
}

Result<IssuedEInvoice> eInvoiceIssued(const Result<IssueOutcome> &outcome, const std::optional<Result<void>> &wrote,
                                      bool commandLine)
{
    if (!outcome) {
        const Fault &stopped = outcome.fault();
        return Fault{stopped.kind,
                     commandLine && stopped.kind == FaultKind::Refused ? refusedExportText(stopped) : stopped.message,
                     stopped.detail};
    }
    if (outcome->written)
        return IssuedEInvoice{outcome->recording == IssueRecording::Lost ||
                              outcome->recording == IssueRecording::Refused};
    if (wrote && !*wrote)
        return wrote->fault();
    // The ledger stopped before the file was written (or its write said it wrote it, and the
    // ledger did not take that): never a failure without a word.
    return Fault{FaultKind::Unwritable, QCoreApplication::translate("IssueLedger", "The invoice was not issued.")};
}

} // namespace seikyu
