#pragma once

#include <QtGlobal>

namespace seikyu {

/// How a payment stands against what its invoice still asks for.
enum class PaymentFit {
    Nothing, ///< not a payment (nothing or less): nothing is recorded
    Within,  ///< at most what is owed: recorded
    Beyond,  ///< more than what is owed (or anything once it is paid): recorded only when the user says so
};

/// A payment of `amount` against an invoice of `invoiceAmount` that received `paid` so far.
PaymentFit fitPayment(qint64 amount, qint64 invoiceAmount, qint64 paid);

/// What the invoice still asks for, as the user is told it: never below nothing.
qint64 stillOwed(qint64 invoiceAmount, qint64 paid);

} // namespace seikyu
