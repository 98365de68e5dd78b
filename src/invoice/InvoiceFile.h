#pragma once

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
} // namespace InvoiceFileKey

struct InvoiceReadResult
{
    std::optional<Invoice>
        invoice;   ///< every member already checked for type: one missing, null or of the wrong type is absent
    QString error; ///< why the file was refused, for the user
};

/// The file's bytes: UTF-8 JSON, indented, with the nine members every invoice has and the
/// optional ones that differ from an older invoice's defaults.
QByteArray writeInvoice(const Invoice &invoice);

/// Parses a file. Refuses (with a reason) bytes that are not JSON, a top level that is not an
/// object and an "item" that is not an array of objects; everything else is taken leniently.
InvoiceReadResult readInvoice(const QByteArray &bytes);

/// Reads a whole invoice file, refusing what cannot be one; the bytes or an explanation for the user.
bool readInvoiceFile(const QString &path, QByteArray *bytes, QString *error);

} // namespace seikyu
