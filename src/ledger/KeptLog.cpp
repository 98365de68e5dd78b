#include "ledger/KeptLog.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <sqlite3.h>

namespace seikyu {

void keepLogBetweenRuns(const QSqlDatabase &db, int foldEveryPages)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    if (!connection)
        return;
    int keep = 1;
    sqlite3_file_control(connection, "main", SQLITE_FCNTL_PERSIST_WAL, &keep);
    sqlite3_db_config(connection, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(foldEveryPages));
}

} // namespace seikyu
