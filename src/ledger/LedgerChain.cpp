#include "ledger/LedgerChain.h"

#include <QCoreApplication>

namespace seikyu {

QList<ChainProblem> verifyChain(const QList<LedgerEntry> &entries)
{
    QList<ChainProblem> problems;
    QString expectedPrevious = GenesisHash;
    qint64 expectedId = 1;
    for (const LedgerEntry &entry : entries) {
        if (entry.id != expectedId || entry.previousHash != expectedPrevious)
            problems.append({ChainProblem::Kind::Missing, entry.id, {}});
        if (entryHash(entry) != entry.hash)
            problems.append({ChainProblem::Kind::Changed, entry.id, {}});
        // Go on from what the entry says of itself, so one fault is named once, not at every
        // entry after it.
        expectedPrevious = entry.hash;
        expectedId = entry.id + 1;
    }
    return problems;
}

QList<ChainProblem> verifyArchive(const QList<LedgerEntry> &entries, const QHash<QString, QString> &actualHashes)
{
    QList<ChainProblem> problems;
    for (const LedgerEntry &entry : entries) {
        if (entry.archiveName.isEmpty())
            continue;
        const auto found = actualHashes.constFind(entry.archiveName);
        if (found == actualHashes.constEnd())
            problems.append({ChainProblem::Kind::PdfMissing, entry.id, entry.archiveName});
        else if (*found != entry.pdfSha256)
            problems.append({ChainProblem::Kind::PdfChanged, entry.id, entry.archiveName});
    }
    return problems;
}

QString describeProblem(const ChainProblem &problem)
{
    switch (problem.kind) {
    case ChainProblem::Kind::Changed:
        return QCoreApplication::translate("Ledger", "Entry %1 was changed after it was recorded.")
            .arg(problem.entryId);
    case ChainProblem::Kind::Missing:
        return QCoreApplication::translate("Ledger", "Entries before entry %1 were removed or rewritten.")
            .arg(problem.entryId);
    case ChainProblem::Kind::PdfChanged:
        return QCoreApplication::translate("Ledger", "The archived PDF “%1” of entry %2 is not the one sent.")
            .arg(problem.archiveName)
            .arg(problem.entryId);
    case ChainProblem::Kind::PdfMissing:
        return QCoreApplication::translate("Ledger", "The archived PDF “%1” of entry %2 is missing.")
            .arg(problem.archiveName)
            .arg(problem.entryId);
    case ChainProblem::Kind::SearchStale:
        return QCoreApplication::translate("Ledger",
                                           "What searches showed of entry %1 had been changed; it was worked out "
                                           "again from the entries.")
            .arg(problem.entryId);
    }
    return {};
}

} // namespace seikyu
