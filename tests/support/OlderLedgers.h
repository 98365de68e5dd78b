// Ledgers as earlier versions of Seikyu left them, to bring up to date.
#pragma once

#include "ledger/LedgerEntry.h"
#include "ledger/LedgerSchema.h"

#include <QList>
#include <QStringList>

namespace seikyu::test {

/// An issue to ＡＢＣ商店 numbered ＩＮＶ-９, its reissue and a payment of 2,000 against the reissue,
/// chained in the first hash form as the first Seikyu with a ledger recorded them.
QList<LedgerEntry> firstFormChain();
/// The statements that make a ledger of schema `version` (1, or 4, which kept who recorded each
/// entry and the folded customer) in `dialect` holding `chain`.
QStringList olderLedger(const LedgerDialect &dialect, int version, const QList<LedgerEntry> &chain);

} // namespace seikyu::test
