#pragma once

#include "invoice/Invoice.h"
#include "page/PageLayout.h"

#include <QImage>
#include <QPointF>

namespace seikyu {

/// The customer's line as the page shows it: the name, and its honorific after a space when it has one.
QString customerPageLine(const QString &customer, const QString &honorific);

/// The invoice number as the page shows it under the date ("No. 2026-001"); empty without one.
QString invoiceNumberPageText(const QString &number);

/// The customer's address block as the page shows it in an envelope's window: 〒 and the postal
/// code, the address lines, the company, the department and the person, with the honorific the
/// customer line has (様 naming a person, 御中 a company). Empty when the invoice has no address.
QString addressBlockText(const QString &customer, const QString &honorific, const CustomerPostalAddress &address);

/// What the page takes from outside the invoice: the seal pressed on the issuer block (or none) and
/// where the user's envelopes want the address block, in millimetres right and down.
struct SheetLook
{
    QImage stamp;
    QPointF addressOffset;
    /// The issuer receives money in the course of business, so a paper receipt may need a revenue
    /// stamp; false for issuers outside business (営業に関しない), whose receipts need none.
    bool issuerInBusiness = true;
};

/// Every sheet of `invoice` as printed: its regions where the first page has them, its item table
/// sized and cut into pages, the legend and the remarks under the rows, the heading and the page
/// number of further pages. `invoice` is the invoice as its window shows it (see openedInvoice).
/// With a customer address, the address block takes the customer line's place for a window
/// envelope, and the title moves to the right. Needs no widget; the fonts must be available, so an
/// application object for the GUI must exist.
PageLayout layOutInvoice(const Invoice &invoice, const SheetLook &look);

} // namespace seikyu
