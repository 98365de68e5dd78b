// Entries of the ledger as the tests record them: an issue, a payment of one, a void of one.
#pragma once

#include "ledger/LedgerEntry.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace seikyu::test {

/// A PDF issue of a 請求書 to `customer` (御中), dated 7 December 2026 unless said.
LedgerEntry issue(const QString &customer, qint64 amount, const QString &number = {});
LedgerEntry issue(const QString &customer, qint64 amount, const QDate &date, const QString &number = {});
/// A payment of `amount` against `of`, received on 20 December 2026.
LedgerEntry payment(const LedgerEntry &of, qint64 amount);
/// The void of `of`, saying why.
LedgerEntry voiding(const LedgerEntry &of, const QString &why);
/// `entries` numbered 1, 2, 3, … and chained in `hashForm`, one a day from `firstRecorded` on.
QList<LedgerEntry> chained(QList<LedgerEntry> entries, int hashForm, const QDateTime &firstRecorded);

} // namespace seikyu::test
