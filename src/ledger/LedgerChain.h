#pragma once

#include "ledger/LedgerEntry.h"

#include <QHash>
#include <QList>
#include <QString>

namespace seikyu {

/// One thing found wrong with the ledger.
struct ChainProblem
{
    enum class Kind {
        Changed,    ///< the entry's fields no longer give its hash: edited outside Seikyu
        Missing,    ///< entries before this one were removed (the ids jump, or the chain breaks)
        PdfChanged, ///< the archived PDF's bytes are not the ones recorded
        PdfMissing, ///< the archived PDF is gone
        /// what the search reads of the issue (paid, voided, its searched columns) no longer
        /// followed the entries; the table it reads was rebuilt from them
        SearchStale,
        SearchChanged, ///< as SearchStale, found by a check that only reads: the table was left as it is
        Damaged,       ///< the file named by archiveName is damaged; detail says how
        SetAside,      ///< a ledger set aside as damaged lies beside this one (archiveName)
        Unrecorded,    ///< the archived file archiveName is no entry's copy
        /// a column of an entry before this seal, one its own hash does not cover, was changed
        SealBroken,
        /// the newest entry this computer had seen (entryId) is gone: the newest entries were
        /// deleted, or an older copy of the ledger was put back
        AnchorLost,
        /// the entry this computer had seen (entryId) has another hash: the chain was recomputed
        AnchorChanged,
        /// another ledger is where this computer last saw the one of its anchor (entryId)
        Replaced,
        /// this computer's anchor file cannot be read
        AnchorUnreadable,
        /// a trigger of the ledger's server (archiveName) is missing: entries may be changed there
        TriggerMissing,
        /// a trigger of the ledger's server (archiveName) is switched off
        TriggerDisabled,
        /// two invoices carry one number (detail): the invoice of entry entryId and the earlier one
        /// of entry otherEntryId; both stay in the ledger and are counted
        NumberClash,
        /// the monthly invoice of entry entryId (number in detail) bills part of the period the
        /// earlier one of entry otherEntryId bills for the same customer
        StatementOverlap,
    };
    Kind kind = Kind::Changed;
    qint64 entryId = 0;
    /// for the PDF problems; the file for the file problems; for the anchor problems, the hash this
    /// computer saw; the trigger for the trigger problems
    QString archiveName;
    QString detail = {};     ///< what is wrong with a damaged file; the number two invoices carry
    qint64 otherEntryId = 0; ///< the other invoice of a number clash or of a monthly invoice's overlap
    friend bool operator==(const ChainProblem &, const ChainProblem &) = default;
};

/// Checks entries read back in id order: each must hash to what it carries, name the hash of the
/// entry before it and follow it without a gap. An entry whose fields were edited is Changed; one
/// that follows a removed entry (or a rewritten predecessor whose hash was recomputed) is Missing.
/// An entry of hash form 1 must come before a seal (and before every entry of a later form), and
/// each seal's digest must still match the entries before it, else it is SealBroken. Without
/// `sealRequired` (a ledger of an older schema), entries of form 1 need no seal.
QList<ChainProblem> verifyChain(const QList<LedgerEntry> &entries, bool sealRequired = true);

/// What a check of the ledger found, and how far this computer's archive could take it.
struct LedgerCheck
{
    QList<ChainProblem> problems;
    qint64 headId = 0; ///< the newest entry: what the ledger's fingerprint names
    QString headHash;
    int pdfsCheckedHere = 0;   ///< archived PDFs compared with the copy this computer holds (or misses)
    int pdfsKeptElsewhere = 0; ///< archived PDFs other computers issued and keep in their own archives
    QStringList unrecorded;    ///< files in the archive folder no entry names
    /// the login may alter the server's tables, and so switch their protection off (alterableLoginText)
    bool loginMayAlter = false;
    /// what the problems' entries are to the user (entryNames), by entry id
    QHash<qint64, QString> names;
};

/// Checks the archived copies: `actualHashes` maps each archive name found on disk to the SHA-256
/// of its bytes. Every entry that archived a PDF must find it there with the recorded hash.
QList<ChainProblem> verifyArchive(const QList<LedgerEntry> &entries, const QHash<QString, QString> &actualHashes);

/// The same for a ledger several computers share, each archiving the PDFs it issued in its own
/// folder: `thisHost` names this computer. A PDF it issued (or whose entry names no computer)
/// must be here. One another computer issued is kept there: it is checked here only when a file
/// of that name is here that is not this computer's own under the same name, nor any entry's
/// copy; a file here whose bytes are not the ones recorded is always reported, once. An empty
/// `thisHost` expects every PDF here, as verifyArchive does.
LedgerCheck checkArchive(const QList<LedgerEntry> &entries, const QHash<QString, QString> &actualHashes,
                         const QString &thisHost);

/// One plain sentence saying how many archived PDFs were checked on this computer and that the
/// others are kept on the computers that issued them (translated); empty when none are elsewhere.
QString archiveReachText(const LedgerCheck &check);

/// The ledger's fingerprint as people note and compare it: the newest entry's id and the first 96
/// bits of its hash in groups, e.g. "#12 9f86d081 884c7d65 9a2feaa0"; empty for an empty ledger.
QString fingerprintText(qint64 id, const QString &hash);
/// One line giving the checked ledger's fingerprint (translated); empty for an empty ledger.
QString fingerprintLine(const LedgerCheck &check);

/// What the problems' entries are to the user, by id: an invoice by its number and customer
/// ("No. A-1 (株式会社サンプル商事)"), a payment by its amount and that invoice. Entries of other
/// kinds, and ids not among `entries`, have no name.
QHash<qint64, QString> entryNames(const QList<ChainProblem> &problems, const QList<LedgerEntry> &entries);

/// One plain sentence naming the entry or archived PDF and what is wrong with it (translated):
/// the entry by its name in `names`, else by its id.
QString describeProblem(const ChainProblem &problem, const QHash<qint64, QString> &names = {});

} // namespace seikyu
