#pragma once

#include "invoice/Invoice.h"
#include "ledger/LedgerEntry.h"
#include "ledger/LedgerRecovery.h"
#include "ledger/LedgerStore.h"
#include "ledger/ReceiptOfPayment.h"
#include "ledger/ServerSession.h"

#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace seikyu {

struct IssueIntent;

/// Where an issued output's entry is once it was issued.
enum class IssueRecording {
    Recorded, ///< in the ledger
    Waiting,  ///< kept on this computer, recorded when the ledger takes it (next recording or start)
    Refused,  ///< refused by the shared ledger's server for good: kept aside on this computer, told why
    Lost,     ///< neither: the user must be told which output has no entry
};

/// How issuing an output went, once the ledger let it be written.
struct IssueOutcome
{
    bool written = false; ///< the output reached its final name (or the printer)
    IssueRecording recording = IssueRecording::Recorded;
    std::optional<QString> message; ///< what the user should be told
};

/// One output of a group issued at once (IssueLedger::issueGroup).
struct GroupedIssue
{
    Invoice invoice;
    QString sourcePath;
    QString target;   ///< the output's final name
    QByteArray bytes; ///< the output itself
    /// The bytes' SHA-256 in hex (bytesSha256), when it was taken beside them on the thread that
    /// made them; empty, it is taken when the group is issued.
    QString sha256;
};

/// How one output of a group went, as issue() would answer for it alone.
struct GroupedOutcome
{
    Result<IssueOutcome> outcome = IssueOutcome();
    QString unwritten; ///< why the output did not reach its name, when it did not
};

/// How a group went: each output's outcome, index by index, and what the user should be told.
struct GroupIssuing
{
    std::vector<GroupedOutcome> each;
    std::optional<QString> message;
};

/// The user's ledger of issued invoices: one SQLite file in the application's data folder, with
/// the archive of the PDFs sent in a folder beside it. One per process, opened when first needed.
///
/// Nothing here ever stands in the way of an export or a print, and no output goes without its
/// entry: an entry the ledger cannot take now (busy, read-only, full disk, a damaged file) waits in
/// a local file and is recorded later (told once per run); one that could not even wait is told
/// every time. A damaged ledger is never moved or replaced unasked: its file is named, and only
/// Recover sets it aside and starts a new one holding what can be read of it.
class IssueLedger
{
public:
    static IssueLedger &instance();
    /// The ledger at another place (tests, the benchmark); closes the one open.
    void setFolder(const QString &folder);

    /// Closes the database (it opens again when next needed).
    void close();

    QString folder() const { return m_folder; }
    QString databasePath() const;
    QString archiveFolder() const;
    /// The newest entry of each ledger this computer wrote or saw, beside the archive.
    QString anchorPath() const;

    /// The local ledger's open store, opening it when needed; a fault when it cannot be used
    /// (BadInput for a damaged one), and for a shared ledger, whose store lives on the server's
    /// thread: withStore() reaches both.
    Result<LedgerStore *> store();
    /// A store to read (search, Verify) that never creates, migrates or moves the ledger: the
    /// open store, else the file opened read-only (one an older Seikyu wrote is read through an
    /// up-to-date copy), else, with no ledger yet, an empty one in memory.
    Result<LedgerStore *> reader();

    /// Runs `work` on the ledger's store where that store lives: at once on the local ledger (the
    /// store to write to, or else the reader), on the server's thread for a shared one, waiting as
    /// the session says (or `boundMs`, when longer) and showing `waitingFor` meanwhile. A fault when the store
    /// cannot be used (BadInput for a damaged ledger) or the server did not answer in time (Unwritable
    /// `toWrite`, else Unreadable). `work` holds what it uses by value.
    template <typename R>
    Result<R> withStore(bool toWrite, std::function<R(LedgerStore &)> work, const QString &waitingFor = {},
                        QWidget *parent = nullptr, int boundMs = 0)
    {
        if (!shared()) {
            const Result<LedgerStore *> here = toWrite ? store() : reader();
            if (!here)
                return here.fault();
            return work(**here);
        }
        auto result = std::make_shared<std::optional<R>>();
        if (const Result<void> reached =
                onServer([work = std::move(work), result](LedgerStore &server) { *result = work(server); },
                         toWrite ? FaultKind::Unwritable : FaultKind::Unreadable, waitingFor, parent, boundMs);
            !reached)
            return reached.fault();
        return std::move(**result);
    }

    /// Recovers what can be read of the damaged ledger at `path` into this one. When `path` is
    /// this ledger, it is set aside once read (only when damaged) and a new one started;
    /// `setAside` then names where it went.
    LedgerRecovery recover(const QString &path, QString *setAside = nullptr);
    /// What recoverLocal() did.
    struct LocalRecovery
    {
        LedgerRecovery done;
        QString setAside;                ///< where this ledger, damaged, was set aside (and stays)
        bool recording = false;          ///< it got as far as recording: a stop no longer undoes it
        std::optional<LedgerEntry> seal; ///< opening the ledger recorded into sealed older entries
    };
    /// recover() of the local ledger, closed first on the window's thread, on connections of its
    /// own (so it may run off the window's thread; tellSealed() its seal on the window's). Stopped
    /// (`stop`) before it records, it changes nothing: a ledger set aside is put back.
    LocalRecovery recoverLocal(const QString &path, const std::atomic<bool> &stop);
    /// Tells the user once that opening the ledger sealed the entries an older version recorded.
    void tellSealed(const std::optional<LedgerEntry> &seal);

    /// Issues an output so that it never goes without its entry nor gets two: the entry-to-be (the
    /// invoice's facts, the source file, the SHA-256 of `bytes`) is kept on disk first with the
    /// archived copy of `bytes`, then `write` puts the output at `target` (for a print job, with
    /// no target and no bytes, it prints), then the entry is recorded, or kept waiting when the
    /// ledger cannot take it now. A process killed anywhere in between has its entry completed (or
    /// its unused copy dropped) by the next settlePending(). `write` failing records nothing.
    /// An issue whose number another invoice holds is not written unless it is a reissue
    /// (setReissues, allowReissue): Refused, its message naming that invoice. `sha256`, when
    /// given, is the digest of `bytes` taken already (on the thread that made them).
    /// A receipt names the payment it `acknowledges` (one of paymentsOf()'s); the local ledger
    /// refuses, before anything is written, one that is no payment or was voided.
    Result<IssueOutcome> issue(const Invoice &invoice, const QString &sourcePath, IssueChannel channel,
                               const QString &target, const QByteArray &bytes, const std::function<bool()> &write,
                               const QString &sha256 = QString(),
                               const std::optional<LedgerEntry> &acknowledges = std::nullopt);
    /// The payments received against the invoice of the issue `issueId`, oldest first, with whether
    /// each was voided and the receipt issued for it, from the ledger in use.
    Result<QList<PaymentReceipts>> paymentsOf(qint64 issueId, QWidget *parent = nullptr);
    /// The payment the next receipt of the invoice issued under `number` (its latest issue that
    /// stands) acknowledges (paymentToAcknowledge). Nothing when there is no such issue or payment,
    /// or when the ledger cannot be read now.
    std::optional<PaymentToAcknowledge> paymentToAcknowledgeOf(const QString &number, QWidget *parent = nullptr);
    /// Issues outputs with every guarantee issue() gives each, made durable as a group: the intents
    /// of all in one transaction; then every output and archived copy written and synced together
    /// before any output takes its final name; then the entries recorded in one transaction (the
    /// anchor moved once) and the intents dropped in one. An output repeating a number or a target
    /// of its group starts the next group. On a shared ledger, for a target that is a link, or when
    /// the group's intents cannot be kept, each output is issued alone.
    GroupIssuing issueGroup(const QList<GroupedIssue> &issues, IssueChannel channel);
    /// Opens the local ledger and the file the intents are kept in, as issue() would: called while
    /// an output's bytes are made elsewhere, so that issuing it waits for neither.
    void prepareToIssue();
    /// What recording the issue would make of its number (see numberUse), asked of the ledger it
    /// goes to: New while the shared ledger's server does not answer (the entry is checked when sent).
    NumberUse numberUseOf(const LedgerEntry &issue);
    /// Whether issues whose number another invoice holds go out as its correction (a reissue)
    /// rather than being refused (the command line's --reissue).
    void setReissues(bool reissues) { m_reissues = reissues; }
    /// The next issue of `number` is the correction of the invoice holding it: the user said so.
    void allowReissue(const QString &number) { m_reissueOf = number; }
    /// A number taken and not used (`why`): given back to its sequence while no later one was
    /// taken, else recorded as unused. Nothing when an issue carries it.
    void releaseNumber(const NumberProposal &taken, const QString &why);

    /// Records an output already written at `pdfPath` (empty for none) as issue() does.
    /// Returns what the user should be told.
    std::optional<QString> recordIssue(const Invoice &invoice, const QString &sourcePath, IssueChannel channel,
                                       const QString &pdfPath);
    /// Completes what earlier runs left: the entries of outputs that reached their names, the
    /// entries waiting for the ledger; drops intents whose output never got written. Cheap when
    /// there is nothing (no file is created). Any command and the window call it on start.
    void settlePending();
    /// The entry of the last successful recordIssue (tests).
    std::optional<LedgerEntry> lastRecorded() const { return m_lastRecorded; }

    /// A message to tell the user now, at most once per run for failures.
    std::optional<QString> takeMessage();

    /// The office's ledger when the preference or SEIKYU_LEDGER puts it on a server, else null.
    ServerSession *shared();
    /// The outbox file of a shared ledger, in the ledger's folder.
    QString outboxPath() const;
    /// The local ledger's outbox file: the intents of outputs on their way, and the entries that
    /// wait for the ledger to take them.
    QString waitingPath() const;
    /// A command line waits for the shared ledger's server as long as libpq does; a window never
    /// waits on a server that does not answer.
    void setWaitsForServer(bool waits)
    {
        m_waitsForServer = waits;
        if (m_shared)
            m_shared->setPatient(waits);
    }

    /// Verify Ledger on `store`: SQLite's check of the file and its write-ahead log, ledgers set
    /// aside earlier, every entry's hash chain, the archived PDFs this computer holds, and the
    /// archived files no entry names. On a shared ledger those are the ones it issued (or finds in its archive); the
    /// others are kept on the computers that issued them.
    /// A fault when the ledger cannot be read.
    Result<LedgerCheck> verify(LedgerStore &store);
    /// Verify Ledger on the ledger in use, local or shared (checked on the server's thread).
    Result<LedgerCheck> verifyLedger(QWidget *parent = nullptr);
    /// verify() of the local ledger on a store opened off the window's thread (openToReadAside),
    /// on that thread: SQLite stops soon after `stop` is set. Reads only this computer's files.
    Result<LedgerCheck> verifyLocal(LedgerStore &store, const std::atomic<bool> &stop);

private:
    IssueLedger();
    /// withStore() on the shared ledger: connects on the server's thread and runs `work` there; a
    /// fault of kind `unanswered` when the server does not answer or cannot be used.
    Result<void> onServer(std::function<void(LedgerStore &)> work, FaultKind unanswered, const QString &waitingFor,
                          QWidget *parent, int boundMs);
    /// verify() less the store's own check: what waits, the local files.
    void completeCheck(LedgerCheck &found, ServerSession *office, const std::atomic<bool> *stop = nullptr);
    /// Sends what waits for the shared ledger's server in the background.
    void sendWaitingNow();
    Result<void> open();
    /// Says which file is damaged and that nothing was changed.
    QString damagedText(const QString &reason) const;
    /// Why the local ledger cannot be used now, in the user's words: damagedText() for a damaged one.
    Fault unusableFault(const Fault &fault) const;
    /// What is wrong with the local ledger's file and its write-ahead log, and the ledgers set
    /// aside beside it, for verify().
    QList<ChainProblem> fileProblems(const std::atomic<bool> *stop);
    /// The entry's archive name as the tax agency wants it, for an output named `target`.
    QString wantedArchiveName(const LedgerEntry &entry, const QString &target) const;
    /// Keeps the intent of issuing `entry` to `target`, naming its archived copy-to-be when
    /// `archived`; nothing when the outbox's file cannot be written (the output is issued all the same).
    std::optional<IssueIntent> intend(const LedgerEntry &entry, const QString &target, bool archived);
    /// Gives the intent the name its archived copy got (none when `copied` failed, which is told).
    void settleArchiveCopy(IssueIntent &intent, const Result<QString> &copied);
    /// Makes the entry's archived copy again from the output at `output` when it is missing or not
    /// whole (a kill while it was written); the name may change.
    void restoreArchiveCopy(LedgerEntry &entry, const QString &output);
    /// The entry an issue of `invoice` would record, its number not yet checked; `sha256` is the
    /// bytes' digest when already taken.
    LedgerEntry entryToIssue(const Invoice &invoice, const QString &sourcePath, IssueChannel channel,
                             const QByteArray &bytes, const QString &sha256 = QString(),
                             const std::optional<LedgerEntry> &acknowledges = std::nullopt);
    /// issueGroup() of issues [from, to), whose numbers and targets all differ.
    void issueRun(const QList<GroupedIssue> &issues, qsizetype from, qsizetype to, IssueChannel channel,
                  std::vector<GroupedOutcome> &outcomes);
    /// issue() of one output of a group on its own, written as any export is.
    GroupedOutcome issueAlone(const GroupedIssue &issue, IssueChannel channel);
    /// Records the entry, or keeps it waiting; Lost when neither could be done.
    IssueRecording deliver(const LedgerEntry &entry, QString *reason);
    /// The outbox file, opened (and made) when needed.
    Result<LedgerOutbox *> outbox();
    /// The outbox file when it exists already and opens, else null.
    LedgerOutbox *existingOutbox();
    /// Whether the ledger or the outbox holds the entry of this origin already.
    bool holdsOrigin(const QString &origin);
    void failed(const QString &reason);
    /// Tells (once per run) that an entry waits on this computer to be recorded.
    void tellWaiting(const QString &reason);
    void tell(const QString &text);
    /// Tells the user once that opening `store` sealed the entries an older version recorded.
    void tellSealed(LedgerStore &store);
    /// Adds what the shared ledger's server refused to what the user is told next.
    void tellRefused(const QStringList &refused);

    bool m_reissues = false;
    QString m_reissueOf;
    std::unique_ptr<ServerSession> m_shared;
    QString m_sharedText; ///< the connection text m_shared was made for
    bool m_waitsForServer = false;

    QString m_folder;
    std::unique_ptr<LedgerStore> m_store;
    std::unique_ptr<LedgerStore> m_reader;
    std::unique_ptr<QTemporaryDir> m_readerCopy; ///< the up-to-date copy m_reader reads, if any
    std::unique_ptr<LedgerOutbox> m_outbox;      ///< the local ledger's (waitingPath())
    QSet<QString> m_writing;                     ///< the origins of this process's outputs on their way
    std::optional<LedgerEntry> m_lastRecorded;
    QString m_pending; ///< what the user has yet to be told
    bool m_toldFailure = false;
};

} // namespace seikyu
