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
    };
    Kind kind = Kind::Changed;
    qint64 entryId = 0;
    QString archiveName; ///< for the PDF problems
    friend bool operator==(const ChainProblem &, const ChainProblem &) = default;
};

/// Checks entries read back in id order: each must hash to what it carries, name the hash of the
/// entry before it and follow it without a gap. An entry whose fields were edited is Changed; one
/// that follows a removed entry (or a rewritten predecessor whose hash was recomputed) is Missing.
QList<ChainProblem> verifyChain(const QList<LedgerEntry> &entries);

/// Checks the archived copies: `actualHashes` maps each archive name found on disk to the SHA-256
/// of its bytes. Every entry that archived a PDF must find it there with the recorded hash.
QList<ChainProblem> verifyArchive(const QList<LedgerEntry> &entries, const QHash<QString, QString> &actualHashes);

/// One plain sentence naming the entry or archived PDF and what is wrong with it (translated).
QString describeProblem(const ChainProblem &problem);

} // namespace seikyu
