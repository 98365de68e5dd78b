#include "ledger/EntryJson.h"

#include "invoice/InvoiceFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace seikyu {

namespace {

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate dateOf(const QJsonValue &value)
{
    return QDate::fromString(value.toString(), Qt::ISODate);
}

qint64 integerOf(const QJsonValue &value)
{
    // Amounts travel as text: a double would round amounts beyond 2^53.
    return value.toString().toLongLong();
}

} // namespace

QByteArray entryToJson(const LedgerEntry &entry)
{
    QJsonObject object{
        {QStringLiteral("kind"), entryKindKey(entry.kind)},
        {QStringLiteral("recorded_at"), timestampText(entry.recordedAt)},
        {QStringLiteral("channel"), channelKey(entry.channel)},
        {QStringLiteral("refers_to"), QString::number(entry.refersTo)},
        {QStringLiteral("title"), entry.title},
        {QStringLiteral("number"), entry.number},
        {QStringLiteral("invoice_date"), dateText(entry.invoiceDate)},
        {QStringLiteral("customer"), entry.customer},
        {QStringLiteral("honorific"), entry.honorific},
        {QStringLiteral("registration_number"), entry.registrationNumber},
        {QStringLiteral("amount"), QString::number(entry.amount)},
        {QStringLiteral("taxes"), encodeTaxLines(entry.taxes)},
        {QStringLiteral("withholding"), QString::number(entry.withholding)},
        {QStringLiteral("due_date"), dateText(entry.dueDate)},
        {QStringLiteral("source_path"), entry.sourcePath},
        {QStringLiteral("pdf_sha256"), entry.pdfSha256},
        {QStringLiteral("archive_name"), entry.archiveName},
        {QStringLiteral("note"), entry.note},
        {QStringLiteral("payment_date"), dateText(entry.paymentDate)},
        {QStringLiteral("issued_by_user"), entry.issuedByUser},
        {QStringLiteral("issued_by_host"), entry.issuedByHost},
        {QStringLiteral("origin"), entry.origin},
        {QStringLiteral("refers_to_origin"), entry.refersToOrigin},
        {QStringLiteral("reissue"), entry.reissue},
        {QStringLiteral("document_kind"), documentKindText(entry.document)},
        {QStringLiteral("acknowledges"), QString::number(entry.acknowledges)},
        {QStringLiteral("acknowledges_origin"), entry.acknowledgesOrigin},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<LedgerEntry> entryFromJson(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    const std::optional<EntryKind> kind = entryKindOfKey(o.value(QStringLiteral("kind")).toString());
    if (!kind)
        return std::nullopt;
    LedgerEntry entry;
    entry.kind = *kind;
    entry.recordedAt = timestampOfText(o.value(QStringLiteral("recorded_at")).toString());
    entry.channel = channelOfKey(o.value(QStringLiteral("channel")).toString());
    entry.refersTo = integerOf(o.value(QStringLiteral("refers_to")));
    entry.title = o.value(QStringLiteral("title")).toString();
    entry.number = o.value(QStringLiteral("number")).toString();
    entry.invoiceDate = dateOf(o.value(QStringLiteral("invoice_date")));
    entry.customer = o.value(QStringLiteral("customer")).toString();
    entry.honorific = o.value(QStringLiteral("honorific")).toString();
    entry.registrationNumber = o.value(QStringLiteral("registration_number")).toString();
    entry.amount = integerOf(o.value(QStringLiteral("amount")));
    entry.taxes = decodeTaxLines(o.value(QStringLiteral("taxes")).toString());
    entry.withholding = integerOf(o.value(QStringLiteral("withholding")));
    entry.dueDate = dateOf(o.value(QStringLiteral("due_date")));
    entry.sourcePath = o.value(QStringLiteral("source_path")).toString();
    entry.pdfSha256 = o.value(QStringLiteral("pdf_sha256")).toString();
    entry.archiveName = o.value(QStringLiteral("archive_name")).toString();
    entry.note = o.value(QStringLiteral("note")).toString();
    entry.paymentDate = dateOf(o.value(QStringLiteral("payment_date")));
    entry.issuedByUser = o.value(QStringLiteral("issued_by_user")).toString();
    entry.issuedByHost = o.value(QStringLiteral("issued_by_host")).toString();
    entry.origin = o.value(QStringLiteral("origin")).toString();
    entry.refersToOrigin = o.value(QStringLiteral("refers_to_origin")).toString();
    entry.reissue = o.value(QStringLiteral("reissue")).toBool();
    // Kept by an older version: an invoice's, acknowledging nothing.
    entry.document = documentKindOf(o.value(QStringLiteral("document_kind")).toString());
    entry.acknowledges = integerOf(o.value(QStringLiteral("acknowledges")));
    entry.acknowledgesOrigin = o.value(QStringLiteral("acknowledges_origin")).toString();
    return entry;
}

} // namespace seikyu
