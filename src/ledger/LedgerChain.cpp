#include "ledger/LedgerChain.h"

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

} // namespace seikyu
