#pragma once

#include "invoice/Invoice.h"
#include "ledger/LedgerStore.h"

#include <QList>
#include <optional>

namespace seikyu {

/// The payment a receipt made now from an invoice acknowledges.
struct PaymentToAcknowledge
{
    PaymentReceipts paid;
    bool whole = false; ///< it alone paid the whole invoice
};

/// Of an invoice's payments, the one its next receipt acknowledges: the only payment standing when
/// it paid all of `invoiceAmount`; else the newest standing payment without a receipt; else the
/// newest standing one (a receipt again). Nothing when no payment stands.
std::optional<PaymentToAcknowledge> paymentToAcknowledge(const QList<PaymentReceipts> &payments, qint64 invoiceAmount);

/// The receipt of that payment made from `invoice`, dated the day it was paid and naming it: the
/// invoice's own rows when the payment was the whole; otherwise one line of the part received, which
/// an invoice of several rates cannot have (nothing then).
std::optional<Invoice> receiptOfPayment(const Invoice &invoice, const PaymentToAcknowledge &payment);

/// What the user is told when a payment of part of an invoice of several rates has no receipt made
/// for it: which part was paid at which rate is theirs to say.
QString partOfSeveralRatesText();

} // namespace seikyu
