#pragma once

#include "base/Result.h"
#include "ledger/LedgerChain.h"
#include "ledger/LedgerEntry.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace seikyu {

/// The newest entry of a ledger one computer has written or seen: kept outside the database, so a
/// ledger cut back, put back from an older copy or recomputed can no longer pass for the one seen.
struct LedgerAnchor
{
    QString identity; ///< the ledger's own random id (ledger_meta), so ledgers never mix
    QString place;    ///< where the ledger was seen: "local", or the server and database
    qint64 id = 0;
    QString hash;
    friend bool operator==(const LedgerAnchor &, const LedgerAnchor &) = default;
};

/// The anchors of a file; nothing for a file that does not exist, and nothing (unreadable set)
/// for one that does not read as anchors.
QList<LedgerAnchor> readAnchors(const QString &path, bool *unreadable = nullptr);

/// What a ledger holds compared with the anchors this computer kept: the anchored entry must be
/// there with the anchored hash, and no other ledger may have been seen at its place (one place
/// holds one ledger, so that other one was replaced). `entries` are the ledger's, in id order.
QList<ChainProblem> compareWithAnchors(const QList<LedgerAnchor> &anchors, const QString &identity,
                                       const QString &place, const QList<LedgerEntry> &entries);

/// Moves the anchor of `head.identity` on to `head`, under a lock, when `head` is later than the
/// anchored entry and `holdsAnchored(id, hash)` says the ledger still holds that entry unchanged
/// (a later head then chains from it). A ledger first seen is anchored beside what the file keeps.
/// The file is replaced in one step, synced, readable by its owner only. A file that does not
/// read is left as it is (Verify names it): BadInput. Unwritable when it could not be written.
Result<void> advanceAnchor(const QString &path, const LedgerAnchor &head,
                           const std::function<bool(qint64 id, const QString &hash)> &holdsAnchored);

} // namespace seikyu
