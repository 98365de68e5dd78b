#pragma once

#include "base/Result.h"
#include "ledger/LedgerEntry.h"
#include "sections/InvoiceNumber.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace seikyu {

/// Takes the next invoice number of the date's sequence from the shared ledger's database. One
/// statement counts the sequence on, so any number of people, at the same instant, each get a
/// number of their own, and a number once taken is never given again unless given back. A
/// sequence starts at 1 on the server, whatever this computer counted. A number already in the
/// ledger (typed by hand earlier) is passed over. Unwritable, with the database's reason, when the
/// server cannot be reached: taking a number needs it; Refused when the sequence has no free number.
Result<NumberProposal> takeSharedNumber(const QSqlDatabase &db, const QString &pattern, const QDate &date);

/// The number takeSharedNumber would give now, without taking it (a preview of the pattern).
Result<NumberProposal> peekSharedNumber(const QSqlDatabase &db, const QString &pattern, const QDate &date);

/// Gives a number taken and not used back to its sequence, when it is still the last one taken
/// (one compare-and-set of the counter, through ledger_give_back_number on PostgreSQL). False
/// when a later number was taken meanwhile; Unwritable when the server could not do it.
Result<bool> giveBackSharedNumber(const QSqlDatabase &db, const NumberProposal &taken);

/// The issue that already holds `number` for another invoice than one of `customer` (the same
/// number and customer is the same invoice issued again), or nothing. A voided issue still holds
/// its number: numbers are never given twice. Unreadable when the server could not be asked.
Result<std::optional<LedgerEntry>> holderOfNumber(const QSqlDatabase &db, const QString &number,
                                                  const QString &customer);

/// "No. 2026-0043 is already in the ledger: entry 12, for 株式会社A, ￥33,000, dated 2026-12-07.
/// Recorded by taro on desk2."
QString numberTakenText(const QString &number, const LedgerEntry &holder);

/// The refusal of an issue whose number another invoice holds: issued with --reissue (or Reissue in
/// the window) it becomes that invoice's correction, which no other refusal can.
Fault numberTakenFault(const QString &number, const LedgerEntry &holder);
bool isNumberTaken(const Fault &fault);

} // namespace seikyu
