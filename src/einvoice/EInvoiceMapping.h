#pragma once

#include "einvoice/XmlTree.h"
#include "invoice/Invoice.h"

#include <QDate>
#include <QStringList>

namespace seikyu {

/// The customization (JP PINT) and the business process a Japanese Peppol invoice declares.
inline const QString JpPintCustomization = QStringLiteral("urn:peppol:pint:billing-1@jp-1");
inline const QString JpPintProfile = QStringLiteral("urn:peppol:bis:billing");

/// An invoice as a JP PINT e-invoice: the UBL 2.1 Invoice, or why it cannot be one.
struct EInvoice
{
    XmlElement document;  ///< the Invoice element; meaningful only when nothing was refused
    QStringList refusals; ///< what is missing or wrong, one sentence each, for the user
    QStringList warnings; ///< what the user should know although the invoice is written
    bool ok() const { return refusals.isEmpty(); }
};

/// Maps an invoice onto JP PINT. The money comes from the table's own sums rows,
/// exactly as the page shows them; they are first checked to be what the totals make of the
/// items now, so a table edited after its sums is refused rather than written with other figures.
/// Prices that include the tax are stated without it, each rate's lines adding up to its base
/// less its contained tax. `shownDate` is the date the page shows a file without one.
EInvoice mapEInvoice(const Invoice &invoice, const QDate &shownDate);

/// The XML document of a mapped invoice.
QByteArray eInvoiceXml(const EInvoice &invoice);

} // namespace seikyu
