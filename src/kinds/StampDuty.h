#pragma once

#include <QtGlobal>

namespace seikyu {

/// What decides the revenue stamp (収入印紙) a receipt needs.
struct ReceiptStampQuestion
{
    qint64 amount = 0;    ///< the amount received, in yen
    qint64 statedTax = 0; ///< the consumption tax the receipt states apart; 0 when it states none
    bool onPaper = true;  ///< handed over on paper; a receipt sent electronically needs no stamp
    bool business = true; ///< received in the course of business (営業に関しない receipts need none)
};

/// The revenue stamp a receipt (a document of the 17th kind) needs, in yen; 0 when none. It is
/// reckoned from the amount without the tax the receipt states apart.
qint64 receiptStampDuty(const ReceiptStampQuestion &question);

} // namespace seikyu
