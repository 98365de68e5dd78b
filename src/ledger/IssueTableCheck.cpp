#include "ledger/IssueTableCheck.h"

#include "ledger/LedgerSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

Result<QList<qint64>> issuesOutOfStep(const QSqlDatabase &db)
{
    // Both ways round: rows the entries give that the table lacks (or holds otherwise), and rows
    // the table holds that the entries do not give.
    const QString columns = issueStateColumns();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id FROM (%1 EXCEPT SELECT %2 FROM ledger_issues) AS lacking UNION "
                                   "SELECT id FROM (SELECT %2 FROM ledger_issues EXCEPT %1) AS extra ORDER BY id")
                        .arg(issueStateSelect(), columns)))
        return Fault{FaultKind::Unreadable, query.lastError().text(), query.lastError().text()};
    QList<qint64> ids;
    while (query.next())
        ids.append(query.value(0).toLongLong());
    return ids;
}

} // namespace seikyu
