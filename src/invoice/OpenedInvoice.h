#pragma once

#include "invoice/Invoice.h"

namespace seikyu {

/// The amount box of an invoice that asks for no amount yet: its heading alone. The heading starts
/// with U+0008, as invoices have always stored it; it is never drawn.
QString emptyAmountBoxText();

/// An item's unit price set as the amounts are, with its currency mark ("¥1,200"), once its price is;
/// true when the row changed. A header row, a row without a price, or one whose price is not so set,
/// keeps its unit price as typed.
bool setUnitPriceBesideCurrency(ItemRow &row);

/// What a window shows where its file says nothing: the first entry of each of the user's saved
/// lists, else the page's own (the title 請求書, no customer or issuer), and today's date.
struct PageDefaults
{
    QDate today;
    QString title = QStringLiteral("請求書");
    std::optional<QString> customer; ///< shown with the honorific the file chose
    QString issuer;
};

/// The invoice a window newly opened on a file shows: what the file leaves out takes the defaults
/// (and an empty amount box), the rate is one the table knows, and unit prices are set beside the
/// currency as the prices are.
Invoice openedInvoice(Invoice file, const PageDefaults &defaults);

} // namespace seikyu
