#include "support/SqliteFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace seikyu::test {

QString onSqliteFile(const QString &path, const QStringList &statements, qint64 *value)
{
    const QString name = QStringLiteral("onSqliteFile");
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            error = db.lastError().text();
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (error.isEmpty() && !query.exec(statement))
                error = query.lastError().text();
        }
        if (value)
            *value = error.isEmpty() && query.next() ? query.value(0).toLongLong() : 0;
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

qint64 sqliteValue(const QString &path, const QString &statement)
{
    qint64 value = 0;
    onSqliteFile(path, {statement}, &value);
    return value;
}

void overwriteIndexPage(const QString &path, const QByteArray &bytes)
{
    const qint64 page =
        sqliteValue(path, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'ledger_entries_number'"));
    const qint64 size = sqliteValue(path, QStringLiteral("PRAGMA page_size"));
    QFile file(path);
    if (page > 0 && file.open(QIODevice::ReadWrite) && file.seek((page - 1) * size + 8))
        file.write(bytes.left(size - 8));
}

} // namespace seikyu::test
