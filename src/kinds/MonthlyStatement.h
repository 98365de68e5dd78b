#pragma once

#include "base/Result.h"
#include "invoice/Invoice.h"
#include "invoice/InvoiceSums.h"

#include <QList>

namespace seikyu {

/// The figures of a month's statement (合計請求書): the balance carried from the previous statement
/// and the period's delivery slips, billed as one qualified invoice.
struct StatementSums
{
    qint64 previous = 0;  ///< 前回御請求額: what the previous statement billed
    qint64 paid = 0;      ///< 御入金額: the payments recorded since
    qint64 carried = 0;   ///< 繰越金額: what is still owed of it
    qint64 purchases = 0; ///< 今回御買上額: the period's items, without their tax
    QList<RateSum> rates; ///< each rate's base and tax, worked out once over the whole period
    qint64 tax = 0;       ///< 消費税額: the taxes of every rate
    qint64 billed = 0;    ///< 今回御請求額: carried, purchases and tax

    friend bool operator==(const StatementSums &, const StatementSums &) = default;
};

/// The statement's figures from the previous statement's amount, the payments since and the
/// period's delivery slips. Each rate's tax is worked out once over every slip's items (so the slips
/// need not be qualified invoices themselves), rounded by `rounding`. Refused when the slips mix
/// prices that include their tax with prices that do not, or when a sum leaves the 64-bit range.
Result<StatementSums> statementSums(qint64 previous, qint64 paid, const QList<Invoice> &slips,
                                    TaxRounding rounding = TaxRounding::HalfAwayFromZero);

/// One delivery slip as a statement lists it: itemised, a line naming the slip (its date and number)
/// over its items; otherwise its rows as they are (the one line per rate the ledger recorded).
struct StatementSlip
{
    Invoice slip;
    bool itemised = false;
};

/// The month's statement made on `base` (its issuer, customer and their addresses, era): an invoice
/// dated the closing day, due `due`, listing the slips by date and number with the sums of the whole
/// period under them. The amount box bills 今回御請求額, the carried balance with the period's total;
/// the remarks state the six figures and the period. Refused as statementSums refuses.
Result<Invoice> monthlyInvoice(const Invoice &base, const StatementFacts &facts, const QList<StatementSlip> &slips,
                               const QDate &due);

/// The figures a statement's remarks state: 前回御請求額 … 今回御請求額, then the period.
QString statementRemarks(const StatementSums &sums, const StatementFacts &facts);

} // namespace seikyu
