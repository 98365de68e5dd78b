#pragma once

#include "base/Result.h"
#include "ledger/LedgerChain.h"
#include "ledger/LedgerEntry.h"
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerSearch.h"
#include "ledger/NumberUse.h"
#include "ledger/SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

class QSqlQuery;

namespace seikyu {

/// A payment received against an invoice, and the receipt that acknowledges it.
struct PaymentReceipts
{
    LedgerEntry payment;
    bool voided = false;
    qint64 receiptId = 0; ///< the latest receipt's issue (not voided) acknowledging it; 0 for none
};

/// How an SQLite ledger file is opened.
enum class LedgerAccess {
    ReadWrite, ///< created when missing, its schema brought up to date
    /// read as it is: never created, migrated or written (a search, Verify); a ledger written by
    /// an older Seikyu reads as far as its schema goes
    ReadOnly,
};

/// The ledger's entries in a database reached through Qt SQL. Entries are only ever added; every
/// write is one transaction that holds the database's write lock, so several processes recording
/// at once each get the next id and the chain stays whole. The store is used from the thread that
/// made it.
class LedgerStore
{
public:
    /// Opens (creating it when missing) an SQLite ledger file and brings its schema up to date,
    /// or, ReadOnly, opens it as it is. A damaged file is BadInput, and so is a damaged
    /// write-ahead log, found before SQLite reads it (it would drop what follows the damage without
    /// a word, and the next write would overwrite it); a folder or file that cannot be written is
    /// Unwritable, a missing file opened ReadOnly NotFound.
    static Result<std::unique_ptr<LedgerStore>> openSqlite(const QString &path,
                                                           LedgerAccess access = LedgerAccess::ReadWrite);

    /// A store over a connection the caller opened (for instance QPSQL), of `dialect`, which it
    /// owns from now on. Call prepare() next.
    LedgerStore(std::unique_ptr<SqlConnection> connection, LedgerDialect dialect);
    ~LedgerStore();
    LedgerStore(const LedgerStore &) = delete;
    LedgerStore &operator=(const LedgerStore &) = delete;

    /// Sets up the session, then creates the schema or migrates an older one.
    /// Refused when the login may not bring an older schema up to date (awaitsAdministrator()).
    Result<void> prepare();
    /// Reads the schema's version of a ledger opened read-only; BadInput without the entries' table
    /// or a version.
    Result<void> prepareToRead();
    bool isReadOnly() const { return m_readOnly; }
    int schemaVersion();
    QSqlDatabase database() const;

    /// Adds an entry; the store gives it its id, time (when unset), previous hash, hash and the
    /// derived columns. An issue with a number that names no earlier entry is what numberUse makes
    /// of it: a copy of the invoice it repeats unchanged, a reissue when it says it is one, else an
    /// invoice of its own (beside another that holds the number: a clash, which Verify reports).
    /// One without a number refers to the last issue of the same source file, date and customer.
    /// A payment must refer to an issue, a void to an issue or a payment not voided yet; an entry
    /// that names the one it refers to by origin refers to the entry of that origin.
    /// The recorded entry; Refused when the entry itself is the problem (sending it again would
    /// fail the same way).
    Result<LedgerEntry> record(LedgerEntry entry);
    /// Adds entries in one transaction, as record() adds each (an import, a migration): all or
    /// none. The number recorded.
    Result<qsizetype> recordAll(const QList<LedgerEntry> &entries);
    /// recordAll() answering with the entries as recorded, in order.
    Result<QList<LedgerEntry>> recordEach(const QList<LedgerEntry> &entries);
    Result<LedgerEntry> recordPayment(qint64 issueId, const QDate &date, qint64 amount,
                                      const QString &note = QString());
    Result<LedgerEntry> recordVoid(qint64 entryId, const QString &reason);

    /// The payments received against the invoice the issue `issueId` belongs to, oldest first, each
    /// with whether it was voided and the receipt issued for it, if any.
    Result<QList<PaymentReceipts>> paymentsOf(qint64 issueId);

    /// Refused, saying why, unless the entry acknowledges nothing, or is a receipt's issue
    /// acknowledging a payment (by id) that stands.
    Result<void> checkAcknowledged(const LedgerEntry &entry);

    /// Every issue holding `number`, newest first, with whether it was voided.
    Result<QList<HeldNumber>> issuesHolding(const QString &number);
    /// What recording `issue` now would make of its number (see numberUse): New for an issue
    /// that names the entry it refers to or has no number.
    Result<NumberUse> numberUseOf(const LedgerEntry &issue);

    /// Every entry after `afterId`, in id order, as stored.
    Result<QList<LedgerEntry>> entries(qint64 afterId = 0);
    std::optional<LedgerEntry> entry(qint64 id);

    /// The hash chain checked entry by entry, and every archived PDF against its recorded hash.
    Result<QList<ChainProblem>> verify(const QString &archiveFolder);
    /// The hash chain checked entry by entry, and the archived PDFs as checkArchive() checks them
    /// on the computer `thisHost` (empty: every PDF belongs in `archiveFolder`).
    /// With the anchor problems too once setAnchor() named the anchor file: the ledger must still
    /// hold the newest entry this computer wrote or saw; an intact ledger moves the anchor on.
    /// A fault when the entries cannot be read. The search table worked out again and failing to
    /// be written is no fault of the check: its problems stand, and it is worked out next time.
    Result<LedgerCheck> check(const QString &archiveFolder, const QString &thisHost);

    /// Keeps the newest entry this store records or sees in the anchor file at `path`, for the
    /// ledger seen at `place` ("local", or the server and database).
    /// `advances` false: compared with only, never moved on (a temporary copy read in the ledger's place).
    void setAnchor(const QString &path, const QString &place, bool advances = true);
    /// Moves the anchor on to the ledger's newest entry when that follows the anchored one (a
    /// read of the ledger: what another computer recorded is anchored here too).
    void noteHead();
    /// The ledger's own random id; empty for a ledger that lost it.
    QString identity() const { return m_identity; }
    /// The seal this store wrote when it brought an older ledger to whole-row hashes on opening,
    /// once: what the user is to be told.
    std::optional<LedgerEntry> takeSeal() { return std::exchange(m_sealed, std::nullopt); }
    /// On a server: whether the login may alter the ledger's tables, and so switch their
    /// protection off (found when the store was prepared).
    bool loginMayAlter() const { return m_loginMayAlter; }
    /// On a server: prepare() stopped because the schema is older and only its owner may bring it
    /// up to date (its fault says so).
    bool awaitsAdministrator() const { return m_awaitsAdministrator; }

private:
    /// Runs statements that change the ledger (or end a transaction): a failure is Unwritable
    /// unless the error says more.
    Result<void> run(const QStringList &statements);
    /// Ends the transaction begun, undoing what it did.
    void rollBack();
    Result<void> migrate(int fromVersion);
    Result<void> fillDerivedColumns();
    /// Schema 6: each entry's number as searches compare it, and ledger_issues' copy of it.
    Result<void> fillFoldedNumbers();
    QList<ChainProblem> searchTableProblems();
    Result<LedgerEntry> recordLocked(LedgerEntry entry);

    Result<void> insert(const LedgerEntry &entry);
    /// entries(), naming in `notAsStored` the entries whose row is not what the store writes for them.
    Result<QList<LedgerEntry>> readEntries(qint64 afterId, QList<qint64> *notAsStored);
    Result<void> giveIdentity();
    /// On a server: the functions a login that does not own the tables changes them through.
    Result<void> keepOwnerFunctions(const struct LedgerRights &rights);
    Result<void> sealEarlierEntries();
    void keepHead(qint64 id, const QString &hash);
    /// The ledger's identity (ledger_meta's ledger_id) into m_identity, the anchors' key.
    void readIdentity();

    std::unique_ptr<SqlConnection> m_connection;
    LedgerDialect m_dialect;
    int m_version = 0;
    bool m_readOnly = false;
    QString m_identity;
    QString m_anchorFile;
    bool m_advancesAnchor = true;
    QString m_place;
    std::optional<LedgerEntry> m_sealed;
    bool m_loginMayAlter = false;
    bool m_awaitsAdministrator = false;
    /// While recordEach() records a group (m_inGroup): its insert statement, prepared once for its columns.
    struct GroupInsert
    {
        QString columns;
        QSqlQuery query;
    };
    bool m_inGroup = false;
    std::optional<GroupInsert> m_groupInsert;
};

/// The entry on the row a query stands on, which selected entryColumns(version).
LedgerEntry entryOfRow(const class QSqlQuery &query, int version);

/// The kind of fault an SQL error stands for: a refusal by the ledger's rules, a file that cannot
/// be written, a damaged one (BadInput), else `otherwise` (Unreadable while reading, Unwritable
/// while writing).
FaultKind faultKindOf(const class QSqlError &error, FaultKind otherwise);
/// The fault of an SQL error, its text both the user's words and the log's.
Fault sqlFault(const class QSqlError &error, FaultKind otherwise);
/// Whether the error is SQLite's "busy" or "locked": another connection holds what was asked for,
/// and asking again shortly will do.
bool isBusy(const class QSqlError &error);
/// Runs `statement`, asking again for a few seconds while SQLite answers "busy" at once.
bool execPatiently(QSqlQuery &query, const QString &statement);

} // namespace seikyu
