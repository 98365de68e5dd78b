#pragma once

#include "invoice/Invoice.h"

#include <optional>

namespace seikyu {

/// The document of kind `target` made from `source` (a quotation's delivery slip, a slip's invoice,
/// an invoice's receipt), dated `date`: the customer and their addresses, the issuer, the rows with
/// their sums, the rates and the amount carried over; the kind's own title; no number and no due
/// date yet (the new document is given them as one of its kind). The remarks go along, but a receipt
/// starts its 但し書き afresh, naming what was paid; a receipt is handed over on paper unless the
/// user says otherwise. It names the source ("見積書 No. Q2026-0001", or its title and date without a
/// number), which its ledger entry records.
Invoice nextDocument(const Invoice &source, DocumentKind target, const QDate &date);

/// The receipt of `received`, paid on `paidOn`, of part of `invoice`: one line of the amount
/// received, its tax within it at the invoice's one rate, and the 但し書き "… の代金の一部として".
/// Nothing for an invoice of more than one rate (which part of the payment is at which rate is
/// the payer's to say) or with income tax withheld (what was received is not what was billed).
std::optional<Invoice> partPaymentReceipt(const Invoice &invoice, qint64 received, const QDate &paidOn);

} // namespace seikyu
