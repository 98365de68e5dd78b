#pragma once

#include "base/Result.h"
#include "invoice/Invoice.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// What a month's statement is made for.
struct MonthlyRequest
{
    QString customer;
    QDate from;
    QDate to;
    bool itemised = true; ///< each slip's items; otherwise one line per slip (per rate)
    /// The issuer's side to start from when no slip's file can be read (the open invoice's); none
    /// leaves the issuer to the new document's own default.
    std::optional<Invoice> base;
};

/// A statement made, with what the user should know of how.
struct MonthlyOutcome
{
    Invoice statement;
    int slipCount = 0;
    QStringList notes; ///< e.g. slips listed as one line because their files changed
};

/// The month's statement from the ledger (this computer's or the office's): the period's unbilled
/// delivery slips of the customer, the balance carried from the previous statement, the due date
/// from the customer's terms in the customer book. Itemised slips are read from the files they were
/// issued from, when those still bill what the ledger recorded; otherwise listed as the ledger
/// recorded them. Refused (Refused) when there is nothing to bill, or as the ledger refuses a read.
Result<MonthlyOutcome> makeMonthlyInvoice(const MonthlyRequest &request);

/// Whether the command line asks for a month's statement (--monthly-invoice).
bool isMonthlyInvoiceCommand(const QStringList &arguments);

/// Runs `seikyu --monthly-invoice OUT.seikyu --customer NAME --period FROM..TO [--one-line-per-slip]`:
/// writes the statement as an invoice file. Returns 0 when written, 1 when it could not be made or
/// written, 2 when the command line is wrong.
int runMonthlyInvoiceCommand(const QStringList &arguments);

} // namespace seikyu
