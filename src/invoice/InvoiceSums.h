#pragma once

#include "invoice/Invoice.h"
#include "table/Amounts.h"

#include <QList>
#include <optional>

namespace seikyu {

/// The items taxed at one rate, and their consumption tax.
struct RateSum
{
    int rate = 0;        ///< in percent; 0 for the items outside every tax base (非課税)
    qint64 subtotal = 0; ///< the items' prices
    qint64 tax = 0;      ///< the tax added on top, or contained in prices that include it; 0 at rate 0

    friend bool operator==(const RateSum &, const RateSum &) = default;
};

/// What an invoice's items add up to.
struct InvoiceSums
{
    QList<RateSum> rates;     ///< each rate an item is taxed at: the standard rate, the reduced one, then 0
    bool taxIncluded = false; ///< the taxes are contained in the prices rather than added to them
    qint64 total = 0;         ///< 合計
    qint64 withheld = 0;      ///< the income tax withheld (源泉徴収税); 0 without withholding
    qint64 payable = 0;       ///< what the customer pays: the total less what is withheld

    friend bool operator==(const InvoiceSums &, const InvoiceSums &) = default;
};

/// The sums of the invoice's items, counted and worked out as Add Sum works them out, with every
/// rate stated on its own as a qualified invoice states it. Each rate's tax is rounded by
/// `rounding`, which is the user's choice rather than the invoice's. Nothing when a sum leaves the
/// signed 64-bit range.
std::optional<InvoiceSums> sumsOf(const Invoice &invoice, TaxRounding rounding = TaxRounding::HalfAwayFromZero);

} // namespace seikyu
