#pragma once

#include "invoice/Invoice.h"
#include "page/PageLayout.h"

#include <QImage>

namespace seikyu {

/// The customer's line as the page shows it: the name, and its honorific after a space when it has one.
QString customerPageLine(const QString &customer, const QString &honorific);

/// The invoice number as the page shows it under the date ("No. 2026-001"); empty without one.
QString invoiceNumberPageText(const QString &number);

/// Every sheet of `invoice` as printed: its regions where the first page has them, its item table
/// sized and cut into pages, the legend and the remarks under the rows, the heading and the page
/// number of further pages. `invoice` is the invoice as its window shows it (see openedInvoice);
/// `stamp` the seal pressed on the issuer block, or none. Needs no widget; the fonts must be
/// available, so an application object for the GUI must exist.
PageLayout layOutInvoice(const Invoice &invoice, const QImage &stamp);

} // namespace seikyu
