#include "ledger/ReceiptOfPayment.h"

#include "kinds/NextDocument.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

/// A receipt's texts share the translation context of the window that makes it.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(seikyu::IssuedInvoicesWindow)
};

} // namespace

std::optional<PaymentToAcknowledge> paymentToAcknowledge(const QList<PaymentReceipts> &payments, qint64 invoiceAmount)
{
    QList<PaymentReceipts> standing;
    for (const PaymentReceipts &payment : payments) {
        if (!payment.voided)
            standing.append(payment);
    }
    if (standing.isEmpty())
        return std::nullopt;
    if (standing.size() == 1 && standing.constFirst().payment.amount == invoiceAmount)
        return PaymentToAcknowledge{standing.constFirst(), true};
    for (qsizetype i = standing.size() - 1; i >= 0; --i) {
        if (standing.at(i).receiptId == 0)
            return PaymentToAcknowledge{standing.at(i), false};
    }
    return PaymentToAcknowledge{standing.constLast(), false};
}

std::optional<Invoice> receiptOfPayment(const Invoice &invoice, const PaymentToAcknowledge &payment)
{
    const LedgerEntry &paid = payment.paid.payment;
    std::optional<Invoice> receipt = payment.whole
                                         ? std::optional(nextDocument(invoice, DocumentKind::Receipt, paid.paymentDate))
                                         : partPaymentReceipt(invoice, paid.amount, paid.paymentDate);
    if (receipt)
        receipt->payment = paid.id;
    return receipt;
}

QString partOfSeveralRatesText()
{
    return Text::tr("The payment is part of an invoice of more than one tax rate, and which part was paid at which "
                    "rate is not recorded. Make the receipt from the invoice with File ▸ Make Receipt and set what "
                    "was received at each rate.");
}

} // namespace seikyu
