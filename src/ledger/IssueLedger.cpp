#include "ledger/IssueLedger.h"

#include "document/PrivateFiles.h"
#include "ledger/ArchiveCopy.h"
#include "ledger/ArchiveName.h"
#include "ledger/GroupFiles.h"
#include "ledger/IssueFacts.h"
#include "ledger/IssueIntents.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerOutbox.h"
#include "ledger/LongRead.h"
#include "ledger/NumberSequence.h"
#include "ledger/StatementPlan.h"
#include "sections/FreelancePreferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <future>

namespace seikyu {

namespace {

Q_LOGGING_CATEGORY(lcLedger, "seikyu.ledger")

/// The texts of this file share the translation context "IssueLedger", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(IssueLedger)
};

} // namespace

IssueLedger &IssueLedger::instance()
{
    static IssueLedger ledger;
    return ledger;
}

IssueLedger::IssueLedger() : m_folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
{
    // The database connection must close while Qt SQL is still there, not at the program's exit.
    qAddPostRoutine([] { instance().close(); });
}

void IssueLedger::close()
{
    m_store.reset();
    m_reader.reset();
    m_readerCopy.reset();
    m_outbox.reset();
    m_shared.reset();
}

void IssueLedger::setFolder(const QString &folder)
{
    close();
    m_folder = folder;
    m_toldFailure = false;
    m_pending.clear();
    m_lastRecorded.reset();
}

QString IssueLedger::databasePath() const
{
    return QDir(m_folder).filePath(QStringLiteral("ledger.sqlite"));
}

QString IssueLedger::waitingPath() const
{
    // Apart from the shared ledger's outbox: what waits there is for the office's server only.
    return QDir(m_folder).filePath(QStringLiteral("ledger-waiting.sqlite"));
}

QString IssueLedger::archiveFolder() const
{
    return QDir(m_folder).filePath(QStringLiteral("archive"));
}

QString IssueLedger::anchorPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("ledger-anchor.json"));
}

Result<LedgerStore *> IssueLedger::store()
{
    if (shared())
        return Fault{FaultKind::Unwritable, Text::tr("the shared ledger is reached on the server's thread")};
    if (!m_store) {
        if (const Result<void> opened = open(); !opened)
            return opened.fault();
    }
    return m_store.get();
}

Result<void> IssueLedger::open()
{
    Result<std::unique_ptr<LedgerStore>> opened = LedgerStore::openSqlite(databasePath());
    // An archive made by an older version under a permissive umask: its file names tell customers and amounts.
    keepFolderPrivate(archiveFolder());
    if (!opened) {
        // A damaged ledger stays where it is, as it is: recording into a new one would hide it.
        const Fault unusable = unusableFault(opened.fault());
        qCWarning(lcLedger) << "ledger" << databasePath() << "cannot be used:" << unusable.message << unusable.detail;
        return unusable;
    }
    m_store = std::move(opened).value();
    m_store->setAnchor(anchorPath(), QStringLiteral("local"));
    tellSealed(*m_store);
    return {};
}

void IssueLedger::tellSealed(LedgerStore &store)
{
    tellSealed(store.takeSeal());
}

void IssueLedger::tellSealed(const std::optional<LedgerEntry> &seal)
{
    if (seal) {
        tell(Text::tr("The ledger of issued invoices now covers every column of its entries: entry %1 seals the %n "
                      "entries recorded before it.",
                      nullptr, int(seal->id - 1))
                 .arg(seal->id));
    }
}

Fault IssueLedger::unusableFault(const Fault &fault) const
{
    return Fault{fault.kind, fault.kind == FaultKind::BadInput ? damagedText(fault.message) : fault.message,
                 fault.detail};
}

QString IssueLedger::damagedText(const QString &reason) const
{
    return Text::tr("the ledger “%1” is damaged (%2); it was left as it is. Verify Ledger says what is wrong, and "
                    "Recover… sets it aside and brings its readable entries into a new ledger")
        .arg(QDir::toNativeSeparators(databasePath()), reason);
}

Result<LedgerStore *> IssueLedger::reader()
{
    if (shared() || m_store)
        return store();
    const bool exists = QFileInfo::exists(databasePath());
    if (m_readerCopy) {
        // Once another process has brought the file up to date, it is read itself, as it grows.
        std::unique_ptr<LedgerStore> file =
            LedgerStore::openSqlite(databasePath(), LedgerAccess::ReadOnly).value_or(nullptr);
        if (!file || file->schemaVersion() < CurrentSchemaVersion)
            return m_reader.get();
        m_reader = std::move(file);
        m_reader->setAnchor(anchorPath(), QStringLiteral("local"));
        m_readerCopy.reset();
    }
    if (m_reader && (m_reader->database().databaseName() == QLatin1String(":memory:")) != exists)
        return m_reader.get();
    m_reader.reset();
    m_readerCopy.reset();
    std::optional<Fault> unusable;
    // The store opened, or nothing with its fault kept to be told.
    const auto opened = [&unusable](Result<std::unique_ptr<LedgerStore>> result) {
        if (!result)
            unusable = result.fault();
        return std::move(result).value_or(nullptr);
    };
    if (exists) {
        // Reading changes nothing of the ledger, but an older installation's folders, made under a
        // permissive umask, are made the owner's alone as when recording.
        keepFolderPrivate(m_folder);
        keepFolderPrivate(archiveFolder());
    }
    if (!exists) {
        // Nothing recorded yet: an empty ledger, made nowhere.
        m_reader = opened(LedgerStore::openSqlite(QStringLiteral(":memory:")));
        // A ledger this computer saw here and that is gone now shows as replaced.
        if (m_reader)
            m_reader->setAnchor(anchorPath(), QStringLiteral("local"), false);
    } else if (m_reader = opened(LedgerStore::openSqlite(databasePath(), LedgerAccess::ReadOnly));
               m_reader && m_reader->schemaVersion() < CurrentSchemaVersion) {
        // An older Seikyu's ledger is brought up to date when something is next recorded; until
        // then it is read through an up-to-date copy.
        m_readerCopy = std::make_unique<QTemporaryDir>();
        const QString copy = m_readerCopy->filePath(QStringLiteral("ledger.sqlite"));
        bool copied = false;
        {
            QSqlQuery vacuum(m_reader->database());
            copied = vacuum.exec(
                QStringLiteral("VACUUM INTO '%1'").arg(QString(copy).replace(QLatin1Char('\''), QStringLiteral("''"))));
            if (!copied)
                unusable = sqlFault(vacuum.lastError(), FaultKind::Unwritable);
        }
        m_reader = copied ? opened(LedgerStore::openSqlite(copy)) : nullptr;
        // The copy has an identity of its own: it is compared with what this computer saw here
        // (an older copy put back shows), never anchored.
        if (m_reader)
            m_reader->setAnchor(anchorPath(), QStringLiteral("local"), false);
    } else if (m_reader) {
        m_reader->setAnchor(anchorPath(), QStringLiteral("local"));
    }
    if (!m_reader) {
        if (unusable)
            return unusableFault(*unusable);
        return Fault{FaultKind::Unreadable, QString()};
    }
    return m_reader.get();
}

LedgerRecovery IssueLedger::recover(const QString &path, QString *setAside)
{
    if (!shared()) {
        close();
        const std::atomic<bool> never{false};
        const LocalRecovery local = recoverLocal(path, never);
        tellSealed(local.seal);
        if (setAside)
            *setAside = local.setAside;
        return local.done;
    }
    LedgerRecovery recovery;
    if (!QFileInfo(path).isFile())
        recovery.error = Text::tr("there is no file “%1”").arg(QDir::toNativeSeparators(path));
    else if (Result<LedgerRecovery> recovered = withStore<LedgerRecovery>(
                 true, [path](LedgerStore &server) { return recoverEntries(path, server); },
                 Text::tr("Recovering entries into the office's ledger…"), nullptr, ServerWait::LongWorkMs))
        recovery = std::move(recovered).value();
    else
        recovery.error = recovered.message();
    return recovery;
}

IssueLedger::LocalRecovery IssueLedger::recoverLocal(const QString &path, const std::atomic<bool> &stop)
{
    LocalRecovery found;
    LedgerRecovery &recovery = found.done;
    const bool self = QFileInfo(path).absoluteFilePath() == QFileInfo(databasePath()).absoluteFilePath();
    if (self) {
        Result<std::unique_ptr<LedgerStore>> opened = LedgerStore::openSqlite(databasePath(), LedgerAccess::ReadOnly);
        const bool unreadable = !opened && opened.fault().kind != FaultKind::BadInput;
        recovery.error = opened.message();
        std::unique_ptr<LedgerStore> current = std::move(opened).value_or(nullptr);
        if (current)
            stopSqliteWhen(current->database(), stop);
        const bool whole = current && integrityProblems(current->database()).isEmpty();
        current.reset();
        if (stop)
            return {};
        // Only a ledger found damaged is set aside; one that cannot be read for another reason
        // (its permissions, say) is left to the user.
        if (whole)
            recovery.error = Text::tr("the ledger “%1” is not damaged: there is nothing to recover")
                                 .arg(QDir::toNativeSeparators(databasePath()));
        if (whole || unreadable)
            return found;
        recovery.error.clear();
    }
    if (!QFileInfo(path).isFile()) {
        recovery.error = Text::tr("there is no file “%1”").arg(QDir::toNativeSeparators(path));
        return found;
    }
    // This ledger, damaged, is set aside and the ledger recorded into opened (made, then) only once
    // what can be read of it was read (from a copy): a recovery stopped before changes nothing.
    const auto setAside = [&]() -> Result<void> {
        if (!self || !found.setAside.isEmpty())
            return {};
        found.setAside = setLedgerAside(databasePath());
        if (found.setAside.isEmpty())
            return Fault{FaultKind::Unwritable, Text::tr("the damaged ledger “%1” could not be set aside")
                                                    .arg(QDir::toNativeSeparators(databasePath()))};
        return {};
    };
    std::unique_ptr<LedgerStore> into;
    recovery = recoverEntries(
        path,
        [&]() -> Result<LedgerStore *> {
            if (stop)
                return Fault{FaultKind::Unwritable, QString()};
            found.recording = true;
            if (const Result<void> aside = setAside(); !aside)
                return aside.fault();
            Result<std::unique_ptr<LedgerStore>> opened = LedgerStore::openSqlite(databasePath());
            if (!opened)
                return unusableFault(opened.fault());
            into = std::move(opened).value();
            into->setAnchor(anchorPath(), QStringLiteral("local"));
            found.seal = into->takeSeal();
            return into.get();
        },
        &stop);
    // Nothing could be read of it: it is set aside all the same, and a new ledger is made when needed.
    if (!stop && !found.recording) {
        if (const Result<void> aside = setAside(); !aside)
            recovery.error = aside.message();
    }
    return found;
}

QString IssueLedger::wantedArchiveName(const LedgerEntry &entry, const QString &target) const
{
    QString wanted = archiveFileName(entry.invoiceDate, entry.customer, entry.amount, entry.number);
    // An e-invoice is archived as the XML it is, under the same name.
    if (const QString suffix = QFileInfo(target).suffix().toLower(); suffix == QLatin1String("xml"))
        wanted = wanted.chopped(3) + suffix;
    return wanted;
}

Result<LedgerOutbox *> IssueLedger::outbox()
{
    if (ServerSession *office = shared()) {
        if (const Result<void> usable = office->isUsable(); !usable)
            return usable.fault();
        return &office->outbox();
    }
    if (!m_outbox) {
        Result<std::unique_ptr<LedgerOutbox>> opened = LedgerOutbox::open(waitingPath());
        if (!opened)
            return opened.fault();
        m_outbox = std::move(opened).value();
    }
    return m_outbox.get();
}

LedgerOutbox *IssueLedger::existingOutbox()
{
    if (!shared() && !m_outbox && !QFileInfo::exists(waitingPath()))
        return nullptr;
    return outbox().value_or(nullptr);
}

std::optional<IssueIntent> IssueLedger::intend(const LedgerEntry &entry, const QString &target, bool archived)
{
    const Result<LedgerOutbox *> box = outbox();
    if (!box) {
        qCWarning(lcLedger) << "no intent kept for" << target << ":" << box.message();
        return std::nullopt;
    }
    IssueIntent intent{entry, target, 0};
    if (const Result<void> kept =
            IssueIntents((*box)->database())
                .keep(intent, archived ? wantedArchiveName(entry, target) : QString(), archiveFolder());
        !kept) {
        qCWarning(lcLedger) << "no intent kept for" << target << ":" << kept.message();
        return std::nullopt;
    }
    return intent;
}

void IssueLedger::settleArchiveCopy(IssueIntent &intent, const Result<QString> &copied)
{
    const QString chosen = intent.entry.archiveName;
    if (!copied) {
        // The issue is still recorded, with the output's hash.
        failed(copied.message());
        intent.entry.archiveName.clear();
    } else {
        intent.entry.archiveName = *copied;
    }
    // Left as it was, the intent names a copy that is not there: completed after a kill, the copy
    // is made again from the output.
    if (intent.entry.archiveName == chosen)
        return;
    if (const Result<void> updated = IssueIntents(existingOutbox()->database()).update(intent); !updated)
        qCWarning(lcLedger) << "the intent for" << intent.target << "could not be updated:" << updated.message();
}

void IssueLedger::restoreArchiveCopy(LedgerEntry &entry, const QString &output)
{
    if (entry.archiveName.isEmpty() || fileSha256(QDir(archiveFolder()).filePath(entry.archiveName)) == entry.pdfSha256)
        return;
    // Killed while its copy was being written, after the output reached its name: the output holds
    // the very bytes the entry hashed, so the copy is made again from it. A file of another name's
    // owner is never replaced: the copy then takes the next free name.
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (bytesSha256(bytes) != entry.pdfSha256)
        return;
    // What the kill left at the intent's own name is the start of these very bytes: it goes, and
    // the copy is made whole under that name, not beside it under another.
    const QString cutShort = QDir(archiveFolder()).filePath(entry.archiveName);
    if (QFile part(cutShort); part.open(QIODevice::ReadOnly) && bytes.startsWith(part.readAll())) {
        part.close();
        QFile::remove(cutShort);
    }
    const Result<QString> copied = writeArchiveCopy(archiveFolder(), entry.archiveName, bytes);
    entry.archiveName = copied ? *copied : QString();
}

IssueRecording IssueLedger::deliver(const LedgerEntry &entry, QString *reason)
{
    if (shared()) {
        const SharedRecording recording =
            m_shared->record(entry, m_shared->defaultWait(Text::tr("Recording the invoice in the office's ledger…")));
        tellRefused(recording.refused);
        if (!recording.entry && !recording.keptAside) {
            *reason = recording.entry.message();
            return IssueRecording::Lost;
        }
        if (recording.keptAside)
            return IssueRecording::Refused;
        if (!recording.waiting) {
            m_lastRecorded = *recording.entry;
            return IssueRecording::Recorded;
        }
        if (!m_toldFailure) {
            m_toldFailure = true;
            tell(recording.why.isEmpty()
                     ? Text::tr("The ledger's server does not answer. This invoice waits on this computer and is "
                                "sent to the ledger when the server answers again; nothing is lost if Seikyu is "
                                "closed.")
                     : Text::tr("The ledger's server cannot take this invoice now: %1 The invoice waits on this "
                                "computer and is sent to the ledger once that is put right; nothing is lost if "
                                "Seikyu is closed.")
                           .arg(recording.why));
        }
        return IssueRecording::Waiting;
    }
    std::optional<LedgerEntry> recorded;
    if (const Result<LedgerStore *> ledger = store(); !ledger) {
        *reason = ledger.message();
    } else {
        Result<LedgerEntry> result = (*ledger)->record(entry);
        if (result) {
            recorded = std::move(result).value();
        } else {
            *reason = unusableFault(result.fault()).message;
            // Found damaged while open (a damaged index, say): closed and named, never replaced;
            // the entry waits until the ledger is recovered.
            if (result.fault().kind == FaultKind::BadInput)
                m_store.reset();
        }
    }
    if (recorded) {
        m_lastRecorded = recorded;
        return IssueRecording::Recorded;
    }
    // Kept on this computer and recorded by the next recording or start of Seikyu: the ledger is
    // busy, full or unwritable now, not for good.
    const Result<LedgerOutbox *> box = outbox();
    if (const Result<LedgerEntry> kept = box ? (*box)->add(entry) : Result<LedgerEntry>(box.fault()); !kept) {
        qCWarning(lcLedger) << "an issued invoice could be neither recorded nor kept:" << *reason << kept.message();
        return IssueRecording::Lost;
    }
    tellWaiting(*reason);
    return IssueRecording::Waiting;
}

void IssueLedger::tellWaiting(const QString &reason)
{
    qCWarning(lcLedger) << "an issued invoice waits to be recorded:" << reason;
    if (m_toldFailure)
        return;
    m_toldFailure = true;
    tell(Text::tr("This invoice could not be recorded in the ledger of issued invoices now (%1). It waits on this "
                  "computer and is recorded the next time Seikyu records an invoice or starts; nothing is lost if "
                  "Seikyu is closed.")
             .arg(reason));
}

bool IssueLedger::holdsOrigin(const QString &origin)
{
    if (LedgerOutbox *box = existingOutbox()) {
        for (const LedgerEntry &waiting : box->waiting()) {
            if (waiting.origin == origin)
                return true;
        }
    }
    if (shared())
        return false; // the server's entries name the archive of the computer that issued them
    LedgerStore *ledger = QFileInfo::exists(databasePath()) ? store().value_or(nullptr) : nullptr;
    if (!ledger)
        return false;
    QSqlQuery query(ledger->database());
    query.prepare(QStringLiteral("SELECT 1 FROM ledger_entries WHERE origin = ?"));
    query.addBindValue(origin);
    return query.exec() && query.next();
}

namespace {

/// Every entry of the ledger in use; nothing when it cannot be read now (the recording tells that).
std::optional<QList<LedgerEntry>> readableEntries(IssueLedger &ledger)
{
    const Result<Result<QList<LedgerEntry>>> read =
        ledger.withStore<Result<QList<LedgerEntry>>>(false, [](LedgerStore &store) { return store.entries(); });
    if (!read || !*read)
        return std::nullopt;
    return **read;
}

/// A month is billed once: a statement is refused when a standing statement of another number
/// already covers part of its period for the customer (two made before either was issued). A
/// ledger that cannot be read now is left to the recording, which tells it.
Result<void> statementStillBillable(IssueLedger &ledger, const Invoice &invoice)
{
    if (!invoice.statement)
        return {};
    const std::optional<QList<LedgerEntry>> entries = readableEntries(ledger);
    if (!entries)
        return {};
    const StatementPlan plan =
        planStatement(*entries, invoice.customer.value_or(QString()), invoice.statement->from, invoice.statement->to);
    if (!plan.overlapping || plan.overlapping->number.trimmed() == invoice.number.trimmed())
        return {};
    return Fault{FaultKind::Refused,
                 Text::tr("The ledger already holds the monthly invoice No. %1 for part of this period: this one "
                          "would bill the same deliveries again. Void No. %1 in Issued Invoices first to issue "
                          "this one.")
                     .arg(plan.overlapping->number)};
}

/// What the check before issuing cannot see: another computer recording a statement of the same
/// period in the same moment, or one that waited to be sent. Both stay recorded, as the ledger holds
/// what went out; the user is told which to void, as Verify tells it.
QString statementBilledTwice(IssueLedger &ledger, const LedgerEntry &recorded)
{
    const std::optional<QList<LedgerEntry>> entries = readableEntries(ledger);
    if (!entries)
        return {};
    for (const ChainProblem &overlap : statementOverlaps(*entries)) {
        if (overlap.entryId == recorded.id || overlap.otherEntryId == recorded.id)
            return describeProblem(overlap);
    }
    return {};
}

} // namespace

Result<IssueOutcome> IssueLedger::issue(const Invoice &invoice, const QString &sourcePath, IssueChannel channel,
                                        const QString &target, const QByteArray &bytes,
                                        const std::function<bool()> &write, const QString &sha256,
                                        const std::optional<LedgerEntry> &acknowledges)
{
    LedgerEntry entry = entryToIssue(invoice, sourcePath, channel, bytes, sha256, acknowledges);
    if (const NumberUse use = numberUseOf(entry); use.kind == NumberUse::Kind::Clash) {
        // Never recorded silently: nothing goes out until the user says whose number it is.
        return numberTakenFault(entry.number, *use.earlier);
    }
    if (const Result<void> billable = statementStillBillable(*this, invoice); !billable)
        return billable.fault();
    if (LedgerStore *ledger = shared() ? nullptr : store().value_or(nullptr)) {
        // A receipt for what is no payment would be refused once it is out with the customer.
        if (const Result<void> fits = ledger->checkAcknowledged(entry); !fits)
            return fits.fault();
    }
    std::optional<IssueIntent> intent = intend(entry, target, !bytes.isEmpty());
    if (intent)
        m_writing.insert(intent->entry.origin);
    const auto written = qScopeGuard([&] {
        if (intent)
            m_writing.remove(intent->entry.origin);
    });

    // The archived copy is written and synced on a thread of its own while the output is: the
    // intent is on disk already, so a kill before the copy is whole leaves settlePending() to make
    // it again from the output, or to drop it with an output that never got written.
    std::future<Result<QString>> copying;
    if (intent && !bytes.isEmpty())
        copying = std::async(std::launch::async, writeArchiveCopy, archiveFolder(), intent->entry.archiveName, bytes,
                             CopySync::Now);
    IssueOutcome outcome;
    outcome.written = write();
    if (copying.valid())
        settleArchiveCopy(*intent, copying.get());
    // The output's new name survives a power cut before its entry is recorded.
    if (outcome.written && !target.isEmpty())
        syncFolder(QFileInfo(target).absolutePath());
    QString reason;
    if (!outcome.written) {
        if (intent) {
            if (!intent->entry.archiveName.isEmpty())
                QFile::remove(QDir(archiveFolder()).filePath(intent->entry.archiveName));
            static_cast<void>(IssueIntents(existingOutbox()->database()).drop(intent->entry.origin));
        }
        outcome.message = takeMessage();
        return outcome;
    }
    QString archiveFailure;
    if (intent) {
        entry = intent->entry;
    } else if (!bytes.isEmpty()) {
        const Result<QString> copied = writeArchiveCopy(archiveFolder(), wantedArchiveName(entry, target), bytes);
        entry.archiveName = copied ? *copied : QString();
        if (!copied)
            archiveFailure = copied.message();
    }
    outcome.recording = deliver(entry, &reason);
    if (outcome.recording == IssueRecording::Lost && intent) {
        // Its intent stays: the next recording or start records it.
        outcome.recording = IssueRecording::Waiting;
        tellWaiting(reason);
    } else if (outcome.recording == IssueRecording::Lost) {
        // Not "told once": each output without its entry is named.
        const QString what = target.isEmpty() ? Text::tr("This printed invoice") : QDir::toNativeSeparators(target);
        tell(Text::tr("%1 was issued, but it could be neither recorded in the ledger of issued invoices nor kept to be "
                      "recorded later (%2).")
                 .arg(what, reason));
    } else {
        if (!archiveFailure.isEmpty())
            failed(archiveFailure);
        if (outcome.recording == IssueRecording::Recorded && invoice.statement && m_lastRecorded) {
            if (const QString twice = statementBilledTwice(*this, *m_lastRecorded); !twice.isEmpty())
                tell(twice);
        }
        if (intent)
            static_cast<void>(IssueIntents(existingOutbox()->database()).drop(intent->entry.origin));
    }
    settlePending();
    outcome.message = takeMessage();
    return outcome;
}

LedgerEntry IssueLedger::entryToIssue(const Invoice &invoice, const QString &sourcePath, IssueChannel channel,
                                      const QByteArray &bytes, const QString &sha256,
                                      const std::optional<LedgerEntry> &acknowledges)
{
    LedgerEntry entry = issueEntryOf(invoice);
    if (acknowledges)
        acknowledge(entry, *acknowledges);
    else if (invoice.kind == DocumentKind::Receipt)
        entry.acknowledges = invoice.payment; // the ledger refuses a payment that does not stand
    entry.reissue = m_reissues || (!entry.number.isEmpty() && entry.number == std::exchange(m_reissueOf, QString()));
    entry.channel = channel;
    entry.sourcePath = sourcePath.isEmpty() ? QString() : QFileInfo(sourcePath).absoluteFilePath();
    if (!bytes.isEmpty())
        entry.pdfSha256 = sha256.isEmpty() ? bytesSha256(bytes) : sha256;
    return entry;
}

Result<QList<PaymentReceipts>> IssueLedger::paymentsOf(qint64 issueId, QWidget *parent)
{
    const Result<Result<QList<PaymentReceipts>>> found = withStore<Result<QList<PaymentReceipts>>>(
        false, [issueId](LedgerStore &ledger) { return ledger.paymentsOf(issueId); },
        Text::tr("Looking up the payments in the office's ledger…"), parent);
    if (!found)
        return found.fault();
    return *found;
}

std::optional<PaymentToAcknowledge> IssueLedger::paymentToAcknowledgeOf(const QString &number, QWidget *parent)
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    const Result<std::optional<PaymentToAcknowledge>> found = withStore<std::optional<PaymentToAcknowledge>>(
        false,
        [number](LedgerStore &ledger) -> std::optional<PaymentToAcknowledge> {
            const Result<QList<HeldNumber>> held = ledger.issuesHolding(number);
            for (const HeldNumber &one : held.value_or(QList<HeldNumber>())) {
                if (one.issue.document != DocumentKind::Invoice || one.voided)
                    continue;
                const Result<QList<PaymentReceipts>> payments = ledger.paymentsOf(one.issue.id);
                return payments ? paymentToAcknowledge(*payments, one.issue.amount) : std::nullopt;
            }
            return std::nullopt;
        },
        Text::tr("Looking up the payments in the office's ledger…"), parent);
    return found ? *found : std::nullopt;
}

void IssueLedger::prepareToIssue()
{
    if (shared())
        return;
    static_cast<void>(store());
    static_cast<void>(outbox());
}

NumberUse IssueLedger::numberUseOf(const LedgerEntry &issue)
{
    if (ServerSession *office = shared())
        return office
            ->call<std::optional<NumberUse>>([issue](SharedLedger &ledger) { return ledger.numberUseOf(issue); },
                                             office->defaultWait(Text::tr("Looking up the number in the office's "
                                                                          "ledger…")))
            .value_or(std::nullopt)
            .value_or(NumberUse());
    LedgerStore *ledger = store().value_or(nullptr);
    return ledger ? ledger->numberUseOf(issue).value_or(NumberUse()) : NumberUse();
}

void IssueLedger::releaseNumber(const NumberProposal &taken, const QString &why)
{
    if (taken.text.isEmpty())
        return;
    if (ServerSession *office = shared(); office && taken.shared) {
        // Unanswered, the number stays taken: a gap in the sequence, never a number given twice.
        static_cast<void>(office->call<bool>(
            [taken, why](SharedLedger &ledger) {
                ledger.release(taken, why);
                return true;
            },
            office->defaultWait()));
        return;
    }
    if (taken.shared)
        return; // the ledger is no longer the office's: its server's count is not this computer's
    LedgerStore *ledger = store().value_or(nullptr);
    const QList<HeldNumber> held = ledger ? ledger->issuesHolding(taken.text).value_or({}) : QList<HeldNumber>();
    if (!held.isEmpty() || FreelancePreferences::giveBackNumber(taken))
        return;
    LedgerEntry unused;
    unused.kind = EntryKind::Unused;
    unused.number = taken.text;
    unused.note = why;
    QString reason;
    deliver(unused, &reason);
}

void IssueLedger::settlePending()
{
    LedgerOutbox *box = existingOutbox();
    if (!box)
        return;
    IssueIntents intents(box->database());
    const Result<QList<IssueIntent>> kept = intents.all();
    for (const IssueIntent &intent : kept.value_or(QList<IssueIntent>())) {
        // Another process's output may be on its way still, as may this one's.
        if (m_writing.contains(intent.entry.origin) ||
            (intent.process != thisProcessToken() && intentOwnerRuns(intent.process)))
            continue;
        // A print job cannot be looked at afterwards: one that may have been sent is recorded.
        const bool reached = intent.target.isEmpty() || fileSha256(intent.target) == intent.entry.pdfSha256;
        QString reason;
        if (reached) {
            LedgerEntry entry = intent.entry;
            if (!intent.target.isEmpty())
                restoreArchiveCopy(entry, intent.target);
            if (deliver(entry, &reason) == IssueRecording::Lost)
                continue; // tried again next time
        } else if (!intent.entry.archiveName.isEmpty() && !holdsOrigin(intent.entry.origin)) {
            // Never issued: its archived copy would be a record of nothing.
            QFile::remove(QDir(archiveFolder()).filePath(intent.entry.archiveName));
        }
        // An output of a group killed before it took its name is still beside it.
        if (!reached && !intent.target.isEmpty())
            QFile::remove(partFileOf(intent.target, intent.entry.origin));
        static_cast<void>(intents.drop(intent.entry.origin));
    }
    if (shared() || box->count() == 0)
        return;
    if (LedgerStore *ledger = store().value_or(nullptr)) {
        const OutboxSending sending = box->send(*ledger);
        tellRefused(sending.refused);
    }
}

void IssueLedger::failed(const QString &reason)
{
    qCWarning(lcLedger) << "an issued invoice was not recorded:" << reason;
    if (m_toldFailure)
        return;
    m_toldFailure = true;
    tell(Text::tr("This invoice could not be recorded in the ledger of issued invoices (%1). It was issued all the "
                  "same; Seikyu will not say this again until it is restarted.")
             .arg(reason));
}

std::optional<QString> IssueLedger::recordIssue(const Invoice &invoice, const QString &sourcePath, IssueChannel channel,
                                                const QString &pdfPath)
{
    QByteArray bytes;
    if (QFile written(pdfPath); !pdfPath.isEmpty()) {
        if (written.open(QIODevice::ReadOnly))
            bytes = written.readAll();
        else
            failed(written.errorString());
    }
    const Result<IssueOutcome> outcome = issue(invoice, sourcePath, channel, pdfPath, bytes, [] { return true; });
    return outcome ? outcome->message : outcome.message();
}

void IssueLedger::tell(const QString &text)
{
    m_pending = m_pending.isEmpty() ? text : m_pending + QLatin1Char('\n') + text;
}

std::optional<QString> IssueLedger::takeMessage()
{
    if (m_pending.isEmpty())
        return std::nullopt;
    return std::exchange(m_pending, QString());
}

} // namespace seikyu
