#pragma once

#include "base/Result.h"
#include "invoice/Invoice.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace seikyu {

/// The keys an invoice file gives the invoice's members. Messages about a file's contents cite them.
namespace InvoiceFileKey {
inline const QString Title = QStringLiteral("head");
inline const QString Date = QStringLiteral("date");
inline const QString Customer = QStringLiteral("whom");
inline const QString Issuer = QStringLiteral("from");
inline const QString AmountBox = QStringLiteral("full");
inline const QString Rows = QStringLiteral("item");
inline const QString JapaneseEra = QStringLiteral("jgen");
inline const QString HonorificChoice = QStringLiteral("tail");
inline const QString TaxOnTop = QStringLiteral("plus");
inline const QString TaxRate = QStringLiteral("rate"); ///< also a row's own rate
inline const QString Withholding = QStringLiteral("hold");
inline const QString Number = QStringLiteral("numb");
inline const QString DueDate = QStringLiteral("dues");
inline const QString Remarks = QStringLiteral("note");
inline const QString CustomerElectronicAddress = QStringLiteral("peer");
inline const QString PostalCode = QStringLiteral("post");
inline const QString Address = QStringLiteral("addr");
inline const QString Department = QStringLiteral("dept");
inline const QString Attention = QStringLiteral("attn");
inline const QString Kind = QStringLiteral("kind");
inline const QString Paper = QStringLiteral("paper");
inline const QString Statement = QStringLiteral("statement");
inline const QString Payment = QStringLiteral("payment");
inline const QString Amounts = QStringLiteral("amounts");
inline const QString MadeFrom = QStringLiteral("from_document");
} // namespace InvoiceFileKey

/// The file's text of a document kind ("quote", …) and back; any text no kind has is an invoice.
QString documentKindText(DocumentKind kind);
DocumentKind documentKindOf(const QString &text);

/// The file's bytes: UTF-8 JSON, indented, with the nine members every invoice has and the
/// optional ones that differ from an older invoice's defaults.
QByteArray writeInvoice(const Invoice &invoice);

/// Parses a file: the invoice, every member already checked for type (one missing, null or of the
/// wrong type is absent). Refuses (BadInput, with the reason for the user) bytes that are not
/// JSON, a top level that is not an object and an "item" that is not an array of objects;
/// everything else is taken leniently.
Result<Invoice> readInvoiceBytes(const QByteArray &bytes);

/// Reads a whole invoice file, refusing what cannot be one; the bytes, or why not: NotFound, BadInput
/// (a folder, a file far larger than any invoice) or Unreadable (with the system's text as detail).
Result<QByteArray> readInvoiceFile(const QString &path);

} // namespace seikyu
