#pragma once

#include "ledger/LedgerSearch.h"

#include <QSqlDatabase>
#include <optional>

namespace seikyu {

/// One page of what a search found in the database, with the sums over everything it found.
struct LedgerPage
{
    QList<IssuedInvoice> rows; ///< newest first, at most the limit asked for
    QList<qint64> paid;        ///< what was received against each row's invoice
    LedgerTotals totals;       ///< over every issue found, not only this page
};

/// What a search's rows are ordered by. Ties go newest recorded first, whichever way.
enum class LedgerOrder { Recorded, Date, Number, Customer, Amount, Due, Paid, Status };

/// Which rows of a search to read: `limit` rows from `offset`, in this order.
struct LedgerSlice
{
    LedgerOrder order = LedgerOrder::Recorded;
    bool descending = true;
    int offset = 0;
    int limit = 200;
};

/// The search LedgerIndex::search makes, run by the database over ledger_issues (each issue with
/// its payments, void and reissue, kept by triggers; see LedgerSchema), for ledgers too large to
/// hold in memory, as an office's shared one grows to be. An issue without an invoice date is
/// dated by the UTC day it was recorded.
std::optional<LedgerPage> searchLedger(const QSqlDatabase &db, const LedgerFilter &filter, const LedgerSlice &slice,
                                       QString *error = nullptr);

} // namespace seikyu
