#pragma once

#include "invoice/Invoice.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace seikyu {

/// What a ledger entry records. Entries are only ever added: a correction is a new entry.
enum class EntryKind {
    Issue,   ///< an invoice sent: exported as PDF, printed, or exported by a batch
    Void,    ///< an earlier entry declared mistaken, with the reason
    Payment, ///< money received against an issued invoice
    /// The invoice it refers to sent again unchanged: an output sent, owed once (it is no reissue)
    Copy,
    /// written once when an older ledger is brought to whole-row hashes: its hash covers a digest
    /// of every column of every entry before it (pdfSha256 holds the digest)
    Seal,
    /// a number taken from the office's sequence that no invoice will carry, with why (note), so
    /// the sequence reads whole
    Unused,
};

/// How an invoice was issued.
enum class IssueChannel { None, Pdf, Print, Batch, EInvoice };

/// One consumption-tax rate's base and tax, as the invoice's sums rows state them.
struct TaxLine
{
    int rate = 0;          ///< percent: 10, 8, or 0 for the exempt rows' total
    qint64 base = 0;       ///< the prices at that rate
    qint64 tax = 0;        ///< the tax at that rate
    bool included = false; ///< the tax is contained in the prices (内消費税)
    friend bool operator==(const TaxLine &, const TaxLine &) = default;
};

/// The hash every chain starts from: what the first entry names as the one before it.
inline const QString GenesisHash = QString(64, QLatin1Char('0'));

/// How an entry's hash is taken. 1: the invoice's facts only, as ledgers before whole-row hashes
/// recorded them (their other columns are covered by the seal that follows them); 2: every stored
/// column.
inline constexpr int CurrentHashForm = 2;

/// One entry of the ledger. Every stored field is covered by the hash (in hash form 1, the fields
/// up to `hash`); `invoiceId` and `customerFolded` are derived and kept to make searches quick.
struct LedgerEntry
{
    qint64 id = 0; ///< 1, 2, 3, … in the order recorded, without gaps
    EntryKind kind = EntryKind::Issue;
    QDateTime recordedAt; ///< UTC, to the millisecond
    IssueChannel channel = IssueChannel::None;
    qint64 refersTo = 0; ///< the earlier entry this one reissues, voids or pays; 0 for none
    /// What an issue sent: an invoice (as every entry recorded before documents had kinds), a
    /// quotation, a delivery slip or a receipt. Only an invoice is owed and paid.
    DocumentKind document = DocumentKind::Invoice;
    /// The payment entry a receipt's issue acknowledges; 0 for none.
    qint64 acknowledges = 0;

    // What the invoice said (issues); a payment or void repeats nothing of it.
    QString title;
    QString number;
    QDate invoiceDate;
    QString customer;  ///< the customer's name, without the honorific
    QString honorific; ///< 御中, 様 or empty
    QString registrationNumber;
    qint64 amount = 0; ///< the payable amount; for a payment, the amount received
    QList<TaxLine> taxes;
    qint64 withholding = 0; ///< the income tax withheld, as a positive amount
    QDate dueDate;
    QString sourcePath;
    QString pdfSha256;   ///< lower-case hex of the PDF sent; empty for a print
    QString archiveName; ///< the archived copy's file name in the archive folder
    QString note;        ///< why a void was made; a payment's remark
    QDate paymentDate;

    QString previousHash; ///< the hash of entry id − 1 (GenesisHash for the first)
    QString hash;         ///< entryHash(*this)

    qint64 invoiceId = 0; ///< the first issue of this invoice (itself for a first issue)
    QString customerFolded;

    // Kept beside the hashed facts, as the derived columns are.
    QString issuedByUser; ///< the operating system's user name of who recorded it
    QString issuedByHost; ///< the machine it was recorded on
    QString origin;       ///< where an entry made elsewhere came from; recorded once per origin
    /// The entry this one refers to, named by its origin while that entry has no id yet (it waits
    /// to be sent with this one). The ledger puts that entry's id in refersTo when it records this.
    QString refersToOrigin;
    /// The payment a receipt acknowledges, named by its origin while it waits to be sent (as
    /// refersToOrigin); the ledger puts its id in acknowledges.
    QString acknowledgesOrigin;
    int hashForm = CurrentHashForm;
    /// Travels with an issue to the ledger, never stored: the issue corrects the invoice that holds
    /// its number (the user said so). The ledger makes it refer to that invoice; without it, an
    /// issue is never taken for a reissue because of its number.
    bool reissue = false;
};

/// Whether two issues state the same invoice: every fact the page gives (title, date, customer,
/// honorific, registration number, amount, tax lines, withholding, due date) and the number.
bool sameInvoiceFacts(const LedgerEntry &a, const LedgerEntry &b);

QString entryKindKey(EntryKind kind);
/// Whether a document of this kind is owed: only an invoice is; a quotation, a delivery slip and a
/// receipt are recorded, never paid.
bool isReceivable(DocumentKind kind);
std::optional<EntryKind> entryKindOfKey(const QString &key);
QString channelKey(IssueChannel channel);
IssueChannel channelOfKey(const QString &key);

/// Tax lines as stored: "rate:base:tax[:in]" joined by ";", e.g. "10:50000:5000;8:1000:80".
QString encodeTaxLines(const QList<TaxLine> &lines);
/// The tax lines of a stored text; the parts that do not read are skipped.
QList<TaxLine> decodeTaxLines(const QString &text);

/// The timestamp form kept in the ledger: UTC, ISO 8601 with milliseconds and a trailing Z.
QString timestampText(const QDateTime &time);
QDateTime timestampOfText(const QString &text);
/// A yyyy-MM-dd date as kept in the ledger; invalid for empty text.
QDate dateOfText(const QString &text);

/// The bytes the hash is taken over: every covered field (as the entry's hash form covers them),
/// each as its UTF-8 length, ':' and its bytes, in a fixed order. Nothing in one field can pass for
/// another. The document's kind and the payment acknowledged follow, each behind its name, only
/// when the entry has them (not an invoice, a payment named): an invoice's entry hashes as every
/// entry recorded before them did.
QByteArray canonicalBytes(const LedgerEntry &entry);
/// Every stored column of an entry, hashes included, as canonicalBytes lays fields out: what a
/// seal covers of it.
QByteArray rowBytes(const LedgerEntry &entry);
/// What a seal covers of the entries before it: SHA-256 (lower-case hex) over the rowBytes of
/// each, in the order given.
QString sealDigest(const QList<LedgerEntry> &entries);
/// SHA-256 (lower-case hex) over the previous hash and the entry's canonical bytes.
QString entryHash(const LedgerEntry &entry);

} // namespace seikyu
