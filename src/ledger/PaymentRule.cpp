#include "ledger/PaymentRule.h"

#include <algorithm>

namespace seikyu {

PaymentFit fitPayment(qint64 amount, qint64 invoiceAmount, qint64 paid)
{
    if (amount <= 0)
        return PaymentFit::Nothing;
    return amount > invoiceAmount - paid ? PaymentFit::Beyond : PaymentFit::Within;
}

qint64 stillOwed(qint64 invoiceAmount, qint64 paid)
{
    return std::max<qint64>(0, invoiceAmount - paid);
}

} // namespace seikyu
