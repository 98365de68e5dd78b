#include "support/OlderLedgers.h"

#include "ledger/SearchFolding.h"
#include "support/LedgerEntries.h"

namespace seikyu::test {

QList<LedgerEntry> firstFormChain()
{
    LedgerEntry issued = issue(QStringLiteral("ＡＢＣ商店"), 5000, QDate(2025, 12, 1), QStringLiteral("ＩＮＶ-９"));
    LedgerEntry reissued = issued;
    reissued.refersTo = 1;
    LedgerEntry paid;
    paid.kind = EntryKind::Payment;
    paid.refersTo = 2;
    paid.amount = 2000;
    paid.paymentDate = QDate(2025, 12, 20);
    return chained({issued, reissued, paid}, 1, QDateTime(QDate(2025, 12, 1), QTime(8, 0), Qt::UTC));
}

QStringList olderLedger(const LedgerDialect &dialect, int version, const QList<LedgerEntry> &chain)
{
    QStringList statements = createStatements(dialect, version);
    const QString laterColumns =
        version == 4 ? QStringLiteral(", invoice_id, customer_folded, issued_by_user, issued_by_host") : QString();
    const auto date = [](const QDate &day) { return day.isValid() ? day.toString(Qt::ISODate) : QString(); };
    for (const LedgerEntry &e : chain) {
        const QString later = version == 4 ? QStringLiteral(", 1, '%1', 'taro', 'pc-1'")
                                                 .arg(e.customer.isEmpty() ? QString() : foldForSearch(e.customer))
                                           : QString();
        statements.append(QStringLiteral("INSERT INTO ledger_entries (%1%16) VALUES (%2, '%3', '%4', '%5', %6, '%7', "
                                         "'%8', '%9', '%10', '%11', '', %12, '', 0, '', '', '', '', '', '%13', '%14', "
                                         "'%15'%17)")
                              .arg(entryColumns(1))
                              .arg(e.id)
                              .arg(entryKindKey(e.kind), timestampText(e.recordedAt), channelKey(e.channel))
                              .arg(e.refersTo)
                              .arg(e.title, e.number, date(e.invoiceDate), e.customer, e.honorific)
                              .arg(e.amount)
                              .arg(date(e.paymentDate), e.previousHash, e.hash, laterColumns, later));
    }
    return statements;
}

} // namespace seikyu::test
