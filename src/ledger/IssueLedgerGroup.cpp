// The part of IssueLedger that issues a batch's outputs as one group: a few syncs for the whole
// group instead of a dozen for each output, with every guarantee an output issued alone has.
#include "document/AtomicWrite.h"
#include "ledger/ArchiveCopy.h"
#include "ledger/GroupFiles.h"
#include "ledger/IssueIntents.h"
#include "ledger/IssueLedger.h"
#include "ledger/NumberSequence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QSet>

namespace seikyu {

namespace {

Q_LOGGING_CATEGORY(lcGroup, "seikyu.ledger")

/// Where the run of issues starting at `from` ends: before the first that repeats a number or a
/// target of the run (recorded after it, it is what the earlier one's entry makes of it), or that
/// must go alone.
qsizetype runEnd(const QList<GroupedIssue> &issues, qsizetype from, const std::function<bool(qsizetype)> &alone)
{
    QSet<QString> numbers, targets;
    qsizetype to = from;
    for (; to < issues.size() && !alone(to); ++to) {
        const QString &number = issues[to].invoice.number;
        const QString target = QFileInfo(issues[to].target).absoluteFilePath();
        if ((!number.isEmpty() && numbers.contains(number)) || targets.contains(target))
            break;
        numbers.insert(number);
        targets.insert(target);
    }
    return to;
}

} // namespace

GroupIssuing IssueLedger::issueGroup(const QList<GroupedIssue> &issues, IssueChannel channel)
{
    GroupIssuing done;
    done.each.resize(size_t(issues.size()));
    // An office's ledger takes its entries one by one on its server's thread: there each goes alone,
    // as does an output whose name is a link, which an export's own write follows and a rename
    // replaces, and a monthly invoice, which the ledger must first find billing no month twice.
    const bool together = !shared();
    const auto alone = [&](qsizetype i) {
        return !together || issues[i].invoice.statement || QFileInfo(issues[i].target).isSymLink();
    };
    for (qsizetype from = 0; from < issues.size();) {
        if (alone(from)) {
            done.each[size_t(from)] = issueAlone(issues[from], channel);
            ++from;
            continue;
        }
        const qsizetype to = std::max(runEnd(issues, from, alone), from + 1);
        issueRun(issues, from, to, channel, done.each);
        from = to;
    }
    // What waited for a busy ledger is recorded with the group, as after any issue.
    settlePending();
    done.message = takeMessage();
    return done;
}

GroupedOutcome IssueLedger::issueAlone(const GroupedIssue &issue, IssueChannel channel)
{
    GroupedOutcome alone;
    Result<void> written;
    alone.outcome = this->issue(issue.invoice, issue.sourcePath, channel, issue.target, issue.bytes, [&] {
        written = writeFileAtomically(issue.target, issue.bytes);
        return written.ok();
    });
    alone.unwritten = written.message();
    return alone;
}

void IssueLedger::issueRun(const QList<GroupedIssue> &issues, qsizetype from, qsizetype to, IssueChannel channel,
                           std::vector<GroupedOutcome> &outcomes)
{
    std::vector<qsizetype> members; // the issues of the group, by index
    QList<IssueIntent> intents;     // theirs, in the same order
    QStringList wanted;
    for (qsizetype i = from; i < to; ++i) {
        const GroupedIssue &issue = issues[i];
        LedgerEntry entry = entryToIssue(issue.invoice, issue.sourcePath, channel, issue.bytes, issue.sha256);
        if (const NumberUse use = numberUseOf(entry); use.kind == NumberUse::Kind::Clash) {
            // Never recorded silently: nothing goes out until the user says whose number it is.
            outcomes[size_t(i)].outcome = numberTakenFault(entry.number, *use.earlier);
            continue;
        }
        members.push_back(i);
        intents.append(IssueIntent{entry, issue.target, 0});
        wanted.append(wantedArchiveName(entry, issue.target));
    }
    if (intents.isEmpty())
        return;
    // 1. Every intent on disk in one transaction, before any output takes its name.
    const Result<LedgerOutbox *> box = outbox();
    const Result<void> kept =
        box ? IssueIntents((*box)->database()).keepAll(intents, wanted, archiveFolder()) : Result<void>(box.fault());
    if (!kept) {
        qCWarning(lcGroup) << "no intents kept for a group, each is issued alone:" << kept.message();
        for (const qsizetype i : members)
            outcomes[size_t(i)] = issueAlone(issues[i], channel);
        return;
    }
    for (const IssueIntent &intent : std::as_const(intents))
        m_writing.insert(intent.entry.origin);
    const auto writing = qScopeGuard([&] {
        for (const IssueIntent &intent : std::as_const(intents))
            m_writing.remove(intent.entry.origin);
    });

    // 2. Every archived copy and every output written beside its name, then all of them synced at
    // once: no output takes its name before its bytes are on disk. A kill before that leaves only
    // files the next run removes with their intents.
    QStringList folders{archiveFolder()};
    for (qsizetype k = 0; k < intents.size(); ++k) {
        IssueIntent &intent = intents[k];
        const QByteArray &bytes = issues[members[size_t(k)]].bytes;
        settleArchiveCopy(intent,
                          writeArchiveCopy(archiveFolder(), intent.entry.archiveName, bytes, CopySync::WithGroup));
        GroupedOutcome &outcome = outcomes[size_t(members[size_t(k)])];
        if (const Result<void> part =
                writePartFile(partFileOf(intent.target, intent.entry.origin), bytes, intent.target);
            !part)
            outcome.unwritten = part.message();
        folders.append(QFileInfo(intent.target).absolutePath());
    }
    folders.removeDuplicates();
    if (!syncFileSystems(folders))
        qCWarning(lcGroup) << "a group's files could not all be synced";

    // 3. Each output takes its name; the folders' new names synced once each.
    QStringList origins;
    QList<LedgerEntry> entries;
    std::vector<size_t> recorded; // index in `intents` of each entry
    for (qsizetype k = 0; k < intents.size(); ++k) {
        const IssueIntent &intent = intents[k];
        GroupedOutcome &outcome = outcomes[size_t(members[size_t(k)])];
        if (outcome.unwritten.isEmpty()) {
            if (const Result<void> named =
                    putPartInPlace(partFileOf(intent.target, intent.entry.origin), intent.target);
                !named)
                outcome.unwritten = named.message();
        }
        if (!outcome.unwritten.isEmpty()) {
            // Not issued: its copy would be a record of nothing.
            if (!intent.entry.archiveName.isEmpty())
                QFile::remove(QDir(archiveFolder()).filePath(intent.entry.archiveName));
            origins.append(intent.entry.origin);
            continue;
        }
        outcome.outcome->written = true;
        entries.append(intent.entry);
        recorded.push_back(size_t(k));
    }
    folders.removeOne(archiveFolder());
    for (const QString &folder : std::as_const(folders))
        syncFolder(folder);

    // 4. The entries recorded in one transaction; should the ledger refuse the group, each on its
    // own, kept waiting when the ledger cannot take it now.
    Result<QList<LedgerEntry>> all = QList<LedgerEntry>();
    if (!entries.isEmpty()) {
        const Result<LedgerStore *> ledger = store();
        all = ledger ? (*ledger)->recordEach(entries) : Result<QList<LedgerEntry>>(ledger.fault());
    }
    if (all && !all->isEmpty())
        m_lastRecorded = all->constLast();
    for (qsizetype e = 0; e < entries.size(); ++e) {
        const IssueIntent &intent = intents[qsizetype(recorded[size_t(e)])];
        IssueOutcome &outcome = *outcomes[size_t(members[recorded[size_t(e)]])].outcome;
        if (all) {
            origins.append(intent.entry.origin);
            continue;
        }
        QString reason;
        outcome.recording = deliver(intent.entry, &reason);
        if (outcome.recording == IssueRecording::Lost) {
            // Its intent stays: the next recording or start records it.
            outcome.recording = IssueRecording::Waiting;
            tellWaiting(reason);
            continue;
        }
        origins.append(intent.entry.origin);
    }
    // 5. The intents settled, in one transaction.
    if (origins.isEmpty())
        return;
    if (const Result<void> dropped = IssueIntents(existingOutbox()->database()).dropAll(origins); !dropped)
        qCWarning(lcGroup) << "a group's intents could not be dropped:" << dropped.message();
}

} // namespace seikyu
