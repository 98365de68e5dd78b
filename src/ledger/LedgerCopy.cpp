#include "ledger/LedgerCopy.h"

#include "ledger/LedgerStore.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

LedgerCopying copyLedger(LedgerStore &from, LedgerStore &to)
{
    LedgerCopying copying;
    const Result<QList<LedgerEntry>> entries = from.entries(0);
    if (!entries) {
        copying.error = entries.message();
        return copying;
    }
    qint64 lastBefore = 0;
    QSqlQuery last(to.database());
    if (last.exec(QStringLiteral("SELECT max(id) FROM ledger_entries")) && last.next())
        lastBefore = last.value(0).toLongLong();
    last.finish();
    QHash<qint64, qint64> copyOf; // local id → id in the target
    for (LedgerEntry entry : *entries) {
        if (entry.kind == EntryKind::Seal)
            continue; // a seal vouches for this ledger's own rows; the target chains the copies itself
        const qint64 localId = entry.id;
        entry.origin = QStringLiteral("copy:") + entry.hash;
        if (entry.refersTo != 0) {
            const auto target = copyOf.constFind(entry.refersTo);
            if (target == copyOf.cend()) {
                copying.error = QStringLiteral("entry %1 refers to entry %2, which was not copied")
                                    .arg(localId)
                                    .arg(entry.refersTo);
                return copying;
            }
            entry.refersTo = *target;
        }
        // The payment came before its receipt, so it is copied already.
        entry.acknowledges = copyOf.value(entry.acknowledges);
        entry.id = 0;
        entry.previousHash.clear();
        entry.hash.clear();
        entry.invoiceId = 0;
        const Result<LedgerEntry> recorded = to.record(entry);
        if (!recorded) {
            copying.error = recorded.message();
            return copying;
        }
        copyOf.insert(localId, recorded->id);
        if (recorded->id > lastBefore)
            ++copying.copied;
        else
            ++copying.alreadyThere;
    }
    copying.complete = true;
    return copying;
}

} // namespace seikyu
