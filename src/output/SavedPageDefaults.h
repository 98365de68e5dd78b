#pragma once

#include "document/AddressOffset.h"
#include "invoice/OpenedInvoice.h"
#include "page/InvoiceSheets.h"

#include <QImage>

namespace seikyu {

/// What a window newly opened on a file shows where the file says nothing: the first entry of each
/// of the user's saved lists (title, customer, issuer), and today's date. Without `withCustomer`,
/// no customer: the customer book is not opened.
PageDefaults savedPageDefaults(bool withCustomer = true);

/// The first customer of the customer book, which a window newly opened on a file that names no
/// customer shows.
std::optional<QString> savedCustomer();

/// The stamp the user saved for every invoice, decoded; none when there is none or it does not
/// decode.
QImage savedStamp();

/// The saved stamp and the address block's place: what every sheet takes from the settings.
SheetLook savedSheetLook();

} // namespace seikyu
