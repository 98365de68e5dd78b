#include "ledger/SqlConnection.h"

#include <QAtomicInt>

namespace seikyu {

namespace {

/// Connections made on different threads at once still get names of their own.
QString nextName(const QString &kind)
{
    static QAtomicInt counter;
    return QStringLiteral("%1-%2").arg(kind).arg(counter.fetchAndAddRelaxed(1) + 1);
}

} // namespace

SqlConnection::SqlConnection(const QString &driver, const QString &kind) : m_name(nextName(kind))
{
    QSqlDatabase::addDatabase(driver, m_name);
}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = database();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

} // namespace seikyu
