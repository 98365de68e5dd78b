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
    setEInvoiceIssuer([commandLine](const WrittenEInvoice &written, const std::function<bool()> &write, QString *error,
                                    bool *unrecorded) {
        const InvoiceReadResult read = readInvoice(written.invoiceFile);
        if (!read.invoice)
            return write();
        Invoice issued = *read.invoice;
        if (!issued.date.isValid())
            issued.date = QDate::currentDate(); // as a window shows a file without a date
        const IssueOutcome outcome = IssueLedger::instance().issue(issued, written.sourcePath, IssueChannel::EInvoice,
                                                                   written.path, written.xml, write);
        *unrecorded = outcome.recording == IssueRecording::Lost || outcome.recording == IssueRecording::Refused;
        if (!outcome.refusal.isEmpty() && error)
            *error = commandLine ? notExportedUnlessReissued(outcome.refusal) : outcome.refusal;
        if (outcome.message) {
            if (commandLine)
                std::fprintf(stderr, "seikyu: %s\n", outcome.message->toLocal8Bit().constData());
            else
                Prompter::instance().inform(
                    nullptr, QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"), *outcome.message);
        }
        return outcome.written;
    });
}

} // namespace seikyu
