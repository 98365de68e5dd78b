#include "ledger/LedgerSearch.h"

#include <QCoreApplication>

namespace seikyu {

PaymentStatus statusOf(qint64 amount, qint64 paid, bool voided, DocumentKind document)
{
    if (voided)
        return PaymentStatus::Voided;
    if (!isReceivable(document))
        return PaymentStatus::NotOwed;
    if (paid >= amount)
        return PaymentStatus::Paid;
    if (paid > 0)
        return PaymentStatus::PartlyPaid;
    return PaymentStatus::Unpaid;
}

QString statusText(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::Unpaid:
        return QCoreApplication::translate("Ledger", "Unpaid");
    case PaymentStatus::PartlyPaid:
        return QCoreApplication::translate("Ledger", "Partly paid");
    case PaymentStatus::Paid:
        return QCoreApplication::translate("Ledger", "Paid");
    case PaymentStatus::Voided:
        return QCoreApplication::translate("Ledger", "Void");
    case PaymentStatus::NotOwed:
        return QCoreApplication::translate("Ledger", "Not billed");
    }
    return {};
}

QString documentKindName(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Invoice:
        break;
    case DocumentKind::Quote:
        return QCoreApplication::translate("Ledger", "Quotation");
    case DocumentKind::Delivery:
        return QCoreApplication::translate("Ledger", "Delivery slip");
    case DocumentKind::Receipt:
        return QCoreApplication::translate("Ledger", "Receipt");
    }
    return QCoreApplication::translate("Ledger", "Invoice");
}

bool isPastDue(PaymentStatus status, const QDate &dueDate, const QDate &today)
{
    return (status == PaymentStatus::Unpaid || status == PaymentStatus::PartlyPaid) && dueDate.isValid() &&
           dueDate < today;
}

} // namespace seikyu
