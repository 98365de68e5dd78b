#pragma once

#include "ledger/LedgerStore.h"
#include "ledger/PostgresTarget.h"
#include "ledger/ServerProblem.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>

namespace seikyu {

/// What a look at a server found: the problem in plain words, and the database's own text.
struct ServerReport
{
    ServerProblem problem = ServerProblem::None;
    QString message;       ///< one sentence for the user; on success what the ledger holds
    QString detail;        ///< the driver's text, for those who know PostgreSQL
    int schemaVersion = 0; ///< 0 for an empty database Seikyu will set up
    qint64 entries = 0;

    /// The message, and the driver's text on a line of its own when there is a problem.
    QString told() const;
    /// The same on one line, the driver's text in brackets (a command line's line, a message's clause).
    QString toldInLine() const;
};

/// Connects to the server and looks at the database without changing anything.
ServerReport testServerLedger(const QString &connectionText);

/// Connects, sets up the schema in an empty database or migrates an older one, and gives the
/// store. Nothing, with the report saying why, when the ledger cannot be used.
std::unique_ptr<LedgerStore> openServerLedger(const QString &connectionText, ServerReport *report = nullptr);

/// Connects and looks at the database as testServerLedger does, and gives the store over the
/// connection without preparing it (prepare() sets it up); nothing, with the report saying why.
std::unique_ptr<LedgerStore> connectServerLedger(const QString &connectionText, ServerReport *report);

/// Whether a connection to the server can be made now (nothing is looked at or changed). Safe on
/// any thread: the connection is made and closed on the calling one.
bool serverAnswers(const QString &connectionText);

/// The plain sentence for a problem.
QString serverProblemText(ServerProblem problem);
/// The plain sentence for a right the role `role` lacks, naming what the server's `text` names.
QString permissionDeniedText(const QString &role, const QString &text);

/// Why the server refused a statement on `db`, in a sentence for the user: a right the session's
/// role lacks names the role and the table or function; otherwise what the server said.
QString serverRefusalText(const QSqlDatabase &db, const QString &error);

} // namespace seikyu
