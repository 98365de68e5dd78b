#include "app/EInvoiceRecording.h"

#include "document/InvoiceFile.h"
#include "einvoice/EInvoiceExport.h"
#include "ledger/IssueFacts.h"
#include "ledger/IssueLedger.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>

namespace seikyu {

void recordEInvoicesInLedger(bool commandLine)
{
    setEInvoiceObserver([commandLine](const WrittenEInvoice &written) {
        if (written.inPdf)
            return;
        const InvoiceReadResult read = readInvoice(written.invoiceFile);
        if (!read.contents)
            return;
        const std::optional<QString> told =
            IssueLedger::instance().recordIssue(issuedPageOf(*read.contents, QDate::currentDate()), written.sourcePath,
                                                IssueChannel::EInvoice, written.path);
        if (!told)
            return;
        if (commandLine)
            std::fprintf(stderr, "seikyu: %s\n", told->toLocal8Bit().constData());
        else
            Prompter::instance().inform(nullptr,
                                        QCoreApplication::translate("IssueLedger", "Ledger of issued invoices"), *told);
    });
}

} // namespace seikyu
