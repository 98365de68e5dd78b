#pragma once

#include "base/Result.h"
#include "ledger/LedgerChain.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// What a role may do with a shared ledger's tables on the server.
struct LedgerRights
{
    /// It may alter or drop them, and so switch their protection off: it owns them or their
    /// schema, is a member of the role that does, or is a superuser.
    bool mayAlter = false;
    bool owns = false; ///< it is the role that owns every one of them
    QString owner;     ///< the role that owns the entries' table
    QString schema;    ///< the schema the tables are in
};

/// The rights of `role` (empty: the login itself) over the ledger's tables; Unreadable, with the
/// database's reason, when they cannot be read or there are no tables.
Result<LedgerRights> ledgerRights(const QSqlDatabase &db, const QString &role = {});

/// The functions through which a login that does not own the tables changes what it must: it
/// counts a number sequence on and keeps the table searches read. They run with the owner's
/// rights and look for tables in `schema` only; only the owner may call them until it grants it
/// (`ledger_issues_follow`, the trigger function, runs with the owner's rights too). With `owner`,
/// they are given to that role (the tables' owner, when someone else sets them up).
QStringList ownerFunctionStatements(const QString &schema, const QString &owner = {});
/// The functions ownerFunctionStatements makes, as GRANT and REVOKE name them.
QStringList ownerFunctions();
/// Whether ownerFunctionStatements' functions are in place in the login's schema.
bool ownerFunctionsInPlace(const QSqlDatabase &db);

/// The ledger's triggers (up to schema `version`) that are missing or switched off, as problems.
Result<QList<ChainProblem>> triggerProblems(const QSqlDatabase &db, int version);

/// One sentence: this login may switch the ledger's protection off, and how to set up the server
/// with separate roles.
QString alterableLoginText();

/// `name` quoted as an SQL identifier.
QString sqlIdentifier(const QString &name);

} // namespace seikyu
