#include "ledger/IssueTableCheck.h"

#include "ledger/LedgerSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

std::optional<QList<qint64>> issuesOutOfStep(const QSqlDatabase &db, QString *error)
{
    // Both ways round: rows the entries give that the table lacks (or holds otherwise), and rows
    // the table holds that the entries do not give.
    const QString columns = issueStateColumns();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id FROM (%1 EXCEPT SELECT %2 FROM ledger_issues) AS lacking UNION "
                                   "SELECT id FROM (SELECT %2 FROM ledger_issues EXCEPT %1) AS extra ORDER BY id")
                        .arg(issueStateSelect(), columns))) {
        if (error)
            *error = query.lastError().text();
        return std::nullopt;
    }
    QList<qint64> ids;
    while (query.next())
        ids.append(query.value(0).toLongLong());
    return ids;
}

bool rebuildIssueTable(const QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    for (const QString &statement :
         {QStringLiteral("DELETE FROM ledger_issues"),
          QStringLiteral("INSERT INTO ledger_issues (%1) %2").arg(issueStateColumns(), issueStateSelect())}) {
        if (!query.exec(statement)) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

} // namespace seikyu
