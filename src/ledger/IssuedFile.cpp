#include "ledger/IssuedFile.h"

#include "invoice/InvoiceFile.h"
#include "ledger/IssueFacts.h"

namespace seikyu {

std::optional<Invoice> issuedFileOf(const LedgerEntry &issue)
{
    if (issue.sourcePath.isEmpty())
        return std::nullopt;
    const Result<QByteArray> bytes = readInvoiceFile(issue.sourcePath);
    const Result<Invoice> read = bytes ? readInvoiceBytes(*bytes) : Result<Invoice>(bytes.fault());
    if (!read || read->kind != issue.document || read->number.trimmed() != issue.number.trimmed() ||
        issueEntryOf(*read).amount != issue.amount)
        return std::nullopt;
    return *read;
}

} // namespace seikyu
