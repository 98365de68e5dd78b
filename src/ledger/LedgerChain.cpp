#include "ledger/LedgerChain.h"

#include "table/Amounts.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>

namespace seikyu {

QList<ChainProblem> verifyChain(const QList<LedgerEntry> &entries, bool sealRequired)
{
    QList<ChainProblem> problems;
    QString expectedPrevious = GenesisHash;
    qint64 expectedId = 1;
    qsizetype lastSeal = -1;
    int highestForm = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const LedgerEntry &entry = entries.at(i);
        if (entry.id != expectedId || entry.previousHash != expectedPrevious)
            problems.append({ChainProblem::Kind::Missing, entry.id, {}});
        // An entry of the older form after a newer one would leave its other columns uncovered.
        if (entryHash(entry) != entry.hash || entry.hashForm < highestForm)
            problems.append({ChainProblem::Kind::Changed, entry.id, {}});
        if (entry.kind == EntryKind::Seal) {
            lastSeal = i;
            if (entry.pdfSha256 != sealDigest(entries.mid(0, i)))
                problems.append({ChainProblem::Kind::SealBroken, entry.id, {}});
        }
        highestForm = std::max(highestForm, entry.hashForm);
        // Go on from what the entry says of itself, so one fault is named once, not at every
        // entry after it.
        expectedPrevious = entry.hash;
        expectedId = entry.id + 1;
    }
    // Entries of the older form that no seal follows: a ledger made now never holds them.
    for (qsizetype i = lastSeal + 1; sealRequired && i < entries.size(); ++i) {
        if (entries.at(i).hashForm < 2) {
            if (const ChainProblem changed{ChainProblem::Kind::Changed, entries.at(i).id, {}};
                !problems.contains(changed))
                problems.append(changed);
            break;
        }
    }
    return problems;
}

QList<ChainProblem> verifyArchive(const QList<LedgerEntry> &entries, const QHash<QString, QString> &actualHashes)
{
    return checkArchive(entries, actualHashes, QString()).problems;
}

LedgerCheck checkArchive(const QList<LedgerEntry> &entries, const QHash<QString, QString> &actualHashes,
                         const QString &thisHost)
{
    const auto issuedHere = [&thisHost](const LedgerEntry &entry) {
        return thisHost.isEmpty() || entry.issuedByHost.isEmpty() ||
               entry.issuedByHost.compare(thisHost, Qt::CaseInsensitive) == 0;
    };
    // Other computers may archive under a name this one uses too: a file here that is this
    // computer's own (by its name) or some entry's copy (by its bytes) says nothing about theirs.
    QSet<QString> namesHere;
    QSet<QString> recordedCopies; // "name/hash"
    for (const LedgerEntry &entry : entries) {
        if (entry.archiveName.isEmpty())
            continue;
        recordedCopies.insert(entry.archiveName + QLatin1Char('/') + entry.pdfSha256);
        if (issuedHere(entry))
            namesHere.insert(entry.archiveName);
    }
    LedgerCheck check;
    for (const LedgerEntry &entry : entries) {
        if (entry.archiveName.isEmpty())
            continue;
        const bool here = issuedHere(entry);
        const auto found = actualHashes.constFind(entry.archiveName);
        if (found == actualHashes.constEnd()) {
            if (here) {
                ++check.pdfsCheckedHere;
                check.problems.append({ChainProblem::Kind::PdfMissing, entry.id, entry.archiveName});
            } else {
                ++check.pdfsKeptElsewhere;
            }
        } else if (*found == entry.pdfSha256) {
            ++check.pdfsCheckedHere;
        } else if (!here && (namesHere.contains(entry.archiveName) ||
                             recordedCopies.contains(entry.archiveName + QLatin1Char('/') + *found))) {
            ++check.pdfsKeptElsewhere;
        } else {
            ++check.pdfsCheckedHere;
            check.problems.append({ChainProblem::Kind::PdfChanged, entry.id, entry.archiveName});
        }
    }
    return check;
}

QString archiveReachText(const LedgerCheck &check)
{
    if (check.pdfsKeptElsewhere <= 0)
        return QString();
    return QCoreApplication::translate("Ledger",
                                       "%n archived PDF(s) were checked on this computer; %1 more are kept on the "
                                       "computers that issued them and are checked there.",
                                       nullptr, check.pdfsCheckedHere)
        .arg(check.pdfsKeptElsewhere);
}

QString fingerprintText(qint64 id, const QString &hash)
{
    if (id <= 0)
        return QString();
    return QStringLiteral("#%1 %2 %3 %4").arg(id).arg(hash.mid(0, 8), hash.mid(8, 8), hash.mid(16, 8));
}

QString fingerprintLine(const LedgerCheck &check)
{
    if (check.headId <= 0)
        return QString();
    return QCoreApplication::translate("Ledger",
                                       "The ledger's fingerprint (its newest entry; note it at each closing): "
                                       "%1")
        .arg(fingerprintText(check.headId, check.headHash));
}

QHash<qint64, QString> entryNames(const QList<ChainProblem> &problems, const QList<LedgerEntry> &entries)
{
    QHash<qint64, const LedgerEntry *> byId;
    for (const LedgerEntry &entry : entries)
        byId.insert(entry.id, &entry);
    const auto invoiceName = [](const LedgerEntry &issue) {
        return issue.number.isEmpty()
                   ? QCoreApplication::translate("Ledger", "the invoice of %1 to %2")
                         .arg(issue.invoiceDate.toString(Qt::ISODate), issue.customer)
                   : QCoreApplication::translate("Ledger", "No. %1 (%2)").arg(issue.number, issue.customer);
    };
    QHash<qint64, QString> names;
    for (const ChainProblem &problem : problems) {
        const LedgerEntry *entry = byId.value(problem.entryId);
        if (!entry || names.contains(entry->id))
            continue;
        if (entry->kind == EntryKind::Issue || entry->kind == EntryKind::Copy) {
            names.insert(entry->id, invoiceName(*entry));
        } else if (const LedgerEntry *issue = byId.value(entry->invoiceId ? entry->invoiceId : entry->refersTo);
                   entry->kind == EntryKind::Payment && issue) {
            names.insert(entry->id, QCoreApplication::translate("Ledger", "The payment of %1 on %2")
                                        .arg(mark(entry->amount), invoiceName(*issue)));
        }
    }
    return names;
}

QString describeProblem(const ChainProblem &problem, const QHash<qint64, QString> &names)
{
    // An entry's id, a number the window never shows, only where the entry has no name.
    const QString subject =
        names.value(problem.entryId, QCoreApplication::translate("Ledger", "Entry %1").arg(problem.entryId));
    const QString named =
        names.value(problem.entryId, QCoreApplication::translate("Ledger", "entry %1").arg(problem.entryId));
    switch (problem.kind) {
    case ChainProblem::Kind::Changed:
        return QCoreApplication::translate("Ledger", "%1 was changed after it was recorded.").arg(subject);
    case ChainProblem::Kind::Missing:
        return QCoreApplication::translate("Ledger", "Entries before entry %1 were removed or rewritten.")
            .arg(problem.entryId);
    case ChainProblem::Kind::PdfChanged:
        return QCoreApplication::translate("Ledger", "The archived PDF “%1” of %2 is not the one sent.")
            .arg(problem.archiveName, named);
    case ChainProblem::Kind::PdfMissing:
        return QCoreApplication::translate("Ledger", "The archived PDF “%1” of %2 is missing.")
            .arg(problem.archiveName, named);
    case ChainProblem::Kind::SearchStale:
        return QCoreApplication::translate("Ledger",
                                           "What searches showed of %1 had been changed; it was worked out again "
                                           "from the entries.")
            .arg(named);
    case ChainProblem::Kind::SearchChanged:
        return QCoreApplication::translate("Ledger", "What searches show of %1 was changed outside Seikyu; the entries "
                                                     "themselves are as recorded.")
            .arg(named);
    case ChainProblem::Kind::Damaged:
        return QCoreApplication::translate("Ledger",
                                           "The ledger file “%1” is damaged (%2). Nothing was changed; Recover… "
                                           "brings its readable entries into a new ledger.")
            .arg(problem.archiveName, problem.detail);
    case ChainProblem::Kind::SetAside:
        return QCoreApplication::translate("Ledger",
                                           "A damaged ledger was set aside as “%1”; entries it holds may be missing "
                                           "here. Recover… brings its readable entries back; then keep it in a safe "
                                           "place outside this folder.")
            .arg(problem.archiveName);
    case ChainProblem::Kind::Unrecorded:
        return QCoreApplication::translate("Ledger", "The archived file “%1” belongs to no entry of the ledger.")
            .arg(problem.archiveName);
    case ChainProblem::Kind::SealBroken:
        return QCoreApplication::translate("Ledger",
                                           "An entry before entry %1 was changed in a column that only that entry's "
                                           "seal covers (who issued it, where it came from, the invoice it belongs "
                                           "to or the customer as searched).")
            .arg(problem.entryId);
    case ChainProblem::Kind::AnchorLost:
        return QCoreApplication::translate("Ledger",
                                           "Entry %1 (%2), the newest this computer had seen, is no longer in the "
                                           "ledger: the newest entries were deleted, or an older copy of the ledger "
                                           "was put back.")
            .arg(problem.entryId)
            .arg(fingerprintText(problem.entryId, problem.archiveName));
    case ChainProblem::Kind::AnchorChanged:
        return QCoreApplication::translate("Ledger",
                                           "Entry %1 is not the one this computer had seen (%2): the chain was "
                                           "recomputed after entries were changed, or an older copy of the ledger "
                                           "was put back and written on.")
            .arg(problem.entryId)
            .arg(fingerprintText(problem.entryId, problem.archiveName));
    case ChainProblem::Kind::Replaced:
        return QCoreApplication::translate("Ledger",
                                           "This is not the ledger this computer last saw here (its newest entry was "
                                           "%1): the ledger was replaced by another one, or its identity was changed.")
            .arg(fingerprintText(problem.entryId, problem.archiveName));
    case ChainProblem::Kind::AnchorUnreadable:
        return QCoreApplication::translate("Ledger",
                                           "This computer's record of the newest entry it saw (%1) cannot be read, so "
                                           "deleted newest entries or an older copy put back would go unnoticed.")
            .arg(problem.archiveName);
    case ChainProblem::Kind::TriggerMissing:
        return QCoreApplication::translate("Ledger",
                                           "The ledger's trigger “%1” is missing on the server, so the database no "
                                           "longer guards the ledger as Seikyu set it up; the administrator puts it "
                                           "back with seikyu --ledger-setup.")
            .arg(problem.archiveName);
    case ChainProblem::Kind::TriggerDisabled:
        return QCoreApplication::translate("Ledger",
                                           "The ledger's trigger “%1” is switched off on the server, so the database "
                                           "no longer guards the ledger as Seikyu set it up; the administrator "
                                           "switches it on again with seikyu --ledger-setup.")
            .arg(problem.archiveName);
    case ChainProblem::Kind::NumberClash:
        return QCoreApplication::translate("Ledger",
                                           "No. %1 is on two invoices: entry %2 and entry %3. Both are kept and "
                                           "counted; void the mistaken one and issue it again under a new number.")
            .arg(problem.detail)
            .arg(problem.otherEntryId)
            .arg(problem.entryId);
    case ChainProblem::Kind::StatementOverlap:
        return QCoreApplication::translate("Ledger",
                                           "The monthly invoice No. %1 (entry %2) bills deliveries the monthly "
                                           "invoice of entry %3 bills already: the customer is billed for them "
                                           "twice. Void the mistaken one in Issued Invoices.")
            .arg(problem.detail)
            .arg(problem.entryId)
            .arg(problem.otherEntryId);
    }
    return {};
}

} // namespace seikyu
