#pragma once

#include "ledger/LedgerStore.h"
#include "ledger/PostgresTarget.h"

#include <QString>
#include <memory>

namespace seikyu {

/// What stands between Seikyu and a shared ledger on a PostgreSQL server.
enum class ServerProblem {
    None,
    BadText,        ///< the connection text does not read
    NoServer,       ///< nothing answers at that address
    WrongPassword,  ///< the server refuses the user name or password
    NoSuchDatabase, ///< the server has no database of that name
    NotLedger,      ///< the database holds other things than a Seikyu ledger
    NewerSchema,    ///< a newer Seikyu set up the ledger
    Other,
};

/// What a look at a server found: the problem in plain words, and the database's own text.
struct ServerReport
{
    ServerProblem problem = ServerProblem::None;
    QString message;       ///< one sentence for the user; on success what the ledger holds
    QString detail;        ///< the driver's text, for those who know PostgreSQL
    int schemaVersion = 0; ///< 0 for an empty database Seikyu will set up
    qint64 entries = 0;
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

} // namespace seikyu
