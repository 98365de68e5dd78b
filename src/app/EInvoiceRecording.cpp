#include "app/EInvoiceRecording.h"

#include "einvoice/EInvoiceExport.h"
#include "invoice/InvoiceFile.h"
#include "ledger/IssueLedger.h"
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
        Result<void> wrote = Fault{FaultKind::Unwritable, QString()};
        const IssueOutcome outcome = IssueLedger::instance().issue(issued, written.sourcePath, IssueChannel::EInvoice,
                                                                   written.path, written.xml, [&] {
                                                                       wrote = write();
                                                                       return wrote.ok();
                                                                   });
        if (outcome.message) {
            if (commandLine)
                std::fprintf(stderr, "seikyu: %s\n", outcome.message->toLocal8Bit().constData());
            else
                Prompter::instance().inform(
                    nullptr, QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"), *outcome.message);
        }
        if (outcome.written)
            return IssuedEInvoice{outcome.recording == IssueRecording::Lost ||
                                  outcome.recording == IssueRecording::Refused};
        if (!outcome.refusal.isEmpty())
            return Fault{FaultKind::Refused,
                         commandLine ? notExportedUnlessReissued(outcome.refusal) : outcome.refusal};
        return wrote ? Fault{FaultKind::Unwritable, QString()} : wrote.fault();
    });
}

} // namespace seikyu
