#pragma once

#include <QSqlDatabase>
#include <QString>

namespace seikyu {

/// One of the ledger's Qt SQL connections, under a name no other connection of the process has:
/// added when made, closed and removed when destroyed. Qt SQL lets a connection be used only on
/// the thread that made it: a SqlConnection is made, used and destroyed on one thread, and work
/// that runs on another makes its own there.
class SqlConnection
{
public:
    /// A connection through `driver` ("QSQLITE", "QPSQL"), named after `kind` ("seikyu-ledger").
    SqlConnection(const QString &driver, const QString &kind);
    ~SqlConnection();
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    const QString &name() const { return m_name; }
    /// The connection, as it stands: open() it once set up.
    QSqlDatabase database() const;

private:
    QString m_name;
};

} // namespace seikyu
