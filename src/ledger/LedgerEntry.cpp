#include "ledger/LedgerEntry.h"

#include "invoice/InvoiceFile.h"

#include <QCryptographicHash>
#include <QStringList>

namespace seikyu {

QString entryKindKey(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Issue:
        return QStringLiteral("issue");
    case EntryKind::Void:
        return QStringLiteral("void");
    case EntryKind::Payment:
        return QStringLiteral("payment");
    case EntryKind::Copy:
        return QStringLiteral("copy");
    case EntryKind::Seal:
        return QStringLiteral("seal");
    case EntryKind::Unused:
        return QStringLiteral("unused");
    }
    return {};
}

bool isReceivable(DocumentKind kind)
{
    return kind == DocumentKind::Invoice;
}

bool sameInvoiceFacts(const LedgerEntry &a, const LedgerEntry &b)
{
    return a.title == b.title && a.number == b.number && a.invoiceDate == b.invoiceDate && a.customer == b.customer &&
           a.honorific == b.honorific && a.registrationNumber == b.registrationNumber && a.amount == b.amount &&
           a.taxes == b.taxes && a.withholding == b.withholding && a.dueDate == b.dueDate;
}

std::optional<EntryKind> entryKindOfKey(const QString &key)
{
    for (EntryKind kind :
         {EntryKind::Issue, EntryKind::Void, EntryKind::Payment, EntryKind::Copy, EntryKind::Seal, EntryKind::Unused}) {
        if (entryKindKey(kind) == key)
            return kind;
    }
    return std::nullopt;
}

QString channelKey(IssueChannel channel)
{
    switch (channel) {
    case IssueChannel::None:
        return {};
    case IssueChannel::Pdf:
        return QStringLiteral("pdf");
    case IssueChannel::Print:
        return QStringLiteral("print");
    case IssueChannel::Batch:
        return QStringLiteral("batch");
    case IssueChannel::EInvoice:
        return QStringLiteral("e-invoice");
    }
    return {};
}

IssueChannel channelOfKey(const QString &key)
{
    for (IssueChannel channel : {IssueChannel::Pdf, IssueChannel::Print, IssueChannel::Batch, IssueChannel::EInvoice}) {
        if (channelKey(channel) == key)
            return channel;
    }
    return IssueChannel::None;
}

QString encodeTaxLines(const QList<TaxLine> &lines)
{
    QStringList parts;
    for (const TaxLine &line : lines) {
        QString part = QStringLiteral("%1:%2:%3").arg(line.rate).arg(line.base).arg(line.tax);
        if (line.included)
            part += QStringLiteral(":in");
        parts.append(part);
    }
    return parts.join(QLatin1Char(';'));
}

QList<TaxLine> decodeTaxLines(const QString &text)
{
    QList<TaxLine> lines;
    for (const QString &part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList fields = part.split(QLatin1Char(':'));
        if (fields.size() < 3)
            continue;
        bool rateOk = false, baseOk = false, taxOk = false;
        TaxLine line;
        line.rate = fields[0].toInt(&rateOk);
        line.base = fields[1].toLongLong(&baseOk);
        line.tax = fields[2].toLongLong(&taxOk);
        line.included = fields.size() > 3 && fields[3] == QLatin1String("in");
        if (rateOk && baseOk && taxOk)
            lines.append(line);
    }
    return lines;
}

QString timestampText(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

namespace {

/// The number of `count` ASCII digits at `from`, or -1.
int digitsAt(const QString &text, qsizetype from, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text.at(from + i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

QDate dateOfText(const QString &text)
{
    // A ledger reads a hundred thousand dates when it opens: its own form is read by hand.
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return text.isEmpty() ? QDate() : QDate::fromString(text, Qt::ISODate);
    const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    return year < 0 || month < 0 || day < 0 ? QDate() : QDate(year, month, day);
}

QDateTime timestampOfText(const QString &text)
{
    // yyyy-MM-ddTHH:mm:ss.zzzZ, as timestampText writes it; anything else the slow way.
    if (text.size() == 24 && text.at(10) == QLatin1Char('T') && text.at(23) == QLatin1Char('Z')) {
        const QDate date = dateOfText(text.left(10));
        const int hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2),
                  ms = digitsAt(text, 20, 3);
        if (date.isValid() && hour >= 0 && minute >= 0 && second >= 0 && ms >= 0)
            return QDateTime(date, QTime(hour, minute, second, ms), Qt::UTC);
    }
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() ? time.toUTC() : QDateTime();
}

namespace {

void appendField(QByteArray &bytes, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    bytes += QByteArray::number(utf8.size());
    bytes += ':';
    bytes += utf8;
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

/// The facts of the invoice, as hash form 1 covers them.
QByteArray factBytes(const LedgerEntry &entry)
{
    QByteArray bytes;
    bytes.reserve(512);
    for (const QString &field : {QString::number(entry.id),
                                 entryKindKey(entry.kind),
                                 timestampText(entry.recordedAt),
                                 channelKey(entry.channel),
                                 QString::number(entry.refersTo),
                                 entry.title,
                                 entry.number,
                                 dateText(entry.invoiceDate),
                                 entry.customer,
                                 entry.honorific,
                                 entry.registrationNumber,
                                 QString::number(entry.amount),
                                 encodeTaxLines(entry.taxes),
                                 QString::number(entry.withholding),
                                 dateText(entry.dueDate),
                                 entry.sourcePath,
                                 entry.pdfSha256,
                                 entry.archiveName,
                                 entry.note,
                                 dateText(entry.paymentDate)})
        appendField(bytes, field);
    return bytes;
}

/// The columns hash form 1 left out: who recorded the entry, where it came from, what it derives.
void appendRestOfRow(QByteArray &bytes, const LedgerEntry &entry)
{
    for (const QString &field : {QString::number(entry.hashForm), QString::number(entry.invoiceId),
                                 entry.customerFolded, entry.issuedByUser, entry.issuedByHost, entry.origin})
        appendField(bytes, field);
}

/// What an entry says beyond an invoice's issue, each named: absent for an invoice, so an
/// invoice's bytes stay what they were before documents had kinds, and with a field count of their
/// own, so no entry with them reads as one without.
void appendDocumentFields(QByteArray &bytes, const LedgerEntry &entry)
{
    if (entry.document != DocumentKind::Invoice) {
        appendField(bytes, QStringLiteral("document"));
        appendField(bytes, documentKindText(entry.document));
    }
    if (entry.acknowledges != 0) {
        appendField(bytes, QStringLiteral("acknowledges"));
        appendField(bytes, QString::number(entry.acknowledges));
    }
}

} // namespace

QByteArray canonicalBytes(const LedgerEntry &entry)
{
    QByteArray bytes = factBytes(entry);
    if (entry.hashForm >= 2)
        appendRestOfRow(bytes, entry);
    appendDocumentFields(bytes, entry);
    return bytes;
}

QByteArray rowBytes(const LedgerEntry &entry)
{
    QByteArray row = factBytes(entry);
    appendRestOfRow(row, entry);
    appendDocumentFields(row, entry);
    appendField(row, entry.previousHash);
    appendField(row, entry.hash);
    return row;
}

QString sealDigest(const QList<LedgerEntry> &entries)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    for (const LedgerEntry &entry : entries)
        digest.addData(rowBytes(entry));
    return QString::fromLatin1(digest.result().toHex());
}

QString entryHash(const LedgerEntry &entry)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(entry.previousHash.toLatin1());
    hash.addData(canonicalBytes(entry));
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace seikyu
