#include "ledger/LedgerRoles.h"

#include "ledger/LedgerSchema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

/// The ledger's tables, as to_regclass finds them on the search path.
QString ledgerTables()
{
    return QStringLiteral("to_regclass('ledger_meta'), to_regclass('ledger_entries'), to_regclass('ledger_numbers'), "
                          "to_regclass('ledger_issues')");
}

} // namespace

QString sqlIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Result<LedgerRights> ledgerRights(const QSqlDatabase &db, const QString &role)
{
    // The schema's owner may drop the tables in it; a member of a role may act as that role.
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT bool_or(r.rolsuper OR pg_has_role(r.oid, c.relowner, 'MEMBER') OR "
                                 "pg_has_role(r.oid, n.nspowner, 'MEMBER')), bool_and(c.relowner = r.oid), "
                                 "pg_get_userbyid(min(c.relowner) FILTER (WHERE c.relname = 'ledger_entries')), "
                                 "min(n.nspname) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                                 "JOIN pg_roles r ON r.rolname = COALESCE(NULLIF(?::text, ''), current_user::text) "
                                 "WHERE c.oid IN (%1)")
                      .arg(ledgerTables()));
    query.addBindValue(role.isNull() ? QStringLiteral("") : role);
    if (!query.exec() || !query.next() || query.isNull(0)) {
        const QString unread = query.lastError().text().trimmed();
        return Fault{FaultKind::Unreadable, unread, unread};
    }
    return LedgerRights{query.value(0).toBool(), query.value(1).toBool(), query.value(2).toString(),
                        query.value(3).toString()};
}

QStringList ownerFunctions()
{
    return {QStringLiteral("ledger_take_number(text, bigint)"), QStringLiteral("ledger_issues_clear_from(bigint)"),
            QStringLiteral("ledger_issues_rebuild()"), QStringLiteral("ledger_give_back_number(text, bigint)")};
}

QStringList ownerFunctionStatements(const QString &schema, const QString &owner)
{
    // A fixed search path: a caller's own schema cannot put tables of its own in the way.
    const QString rights = QStringLiteral("SECURITY DEFINER SET search_path = %1, pg_temp").arg(sqlIdentifier(schema));
    QStringList statements = {
        // One statement counts the sequence on: the row lock makes it atomic.
        QStringLiteral("CREATE OR REPLACE FUNCTION ledger_take_number(text, bigint) RETURNS bigint LANGUAGE sql %1 "
                       "AS $$ INSERT INTO ledger_numbers (counter, last_used) VALUES ($1, $2) ON CONFLICT (counter) "
                       "DO UPDATE SET last_used = ledger_numbers.last_used + 1 RETURNING last_used $$")
            .arg(rights),
        // A number taken and not used goes back only while it is still the newest taken.
        QStringLiteral("CREATE OR REPLACE FUNCTION ledger_give_back_number(text, bigint) RETURNS boolean LANGUAGE sql "
                       "%1 AS $$ WITH given AS (UPDATE ledger_numbers SET last_used = last_used - 1 WHERE counter = $1 "
                       "AND last_used = $2 RETURNING 1) SELECT EXISTS (SELECT 1 FROM given) $$")
            .arg(rights),
        // Only rows no entry holds: what searches read of a recorded entry stays.
        QStringLiteral("CREATE OR REPLACE FUNCTION ledger_issues_clear_from(bigint) RETURNS void LANGUAGE sql %1 AS "
                       "$$ DELETE FROM ledger_issues WHERE id >= $1 AND NOT EXISTS (SELECT 1 FROM ledger_entries "
                       "WHERE id >= $1) $$")
            .arg(rights),
        QStringLiteral("CREATE OR REPLACE FUNCTION ledger_issues_rebuild() RETURNS void LANGUAGE sql %1 AS $$ "
                       "DELETE FROM ledger_issues; INSERT INTO ledger_issues (%2) %3 $$")
            .arg(rights, issueStateColumns(), issueStateSelect()),
        QStringLiteral("ALTER FUNCTION ledger_issues_follow() %1").arg(rights)};
    for (const QString &function : ownerFunctions())
        statements.append(QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC").arg(function));
    if (!owner.isEmpty()) {
        for (const QString &function : ownerFunctions() + QStringList{QStringLiteral("ledger_issues_follow()")})
            statements.append(QStringLiteral("ALTER FUNCTION %1 OWNER TO %2").arg(function, sqlIdentifier(owner)));
    }
    return statements;
}

bool ownerFunctionsInPlace(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral(
               "SELECT count(*) FROM pg_proc WHERE prosecdef AND proconfig IS NOT NULL AND proname IN "
               "('ledger_take_number', 'ledger_issues_clear_from', 'ledger_issues_rebuild', 'ledger_issues_follow', "
               "'ledger_give_back_number') "
               "AND pronamespace = (SELECT oid FROM pg_namespace WHERE nspname = current_schema())")) &&
           query.next() && query.value(0).toInt() == 5;
}

Result<QList<ChainProblem>> triggerProblems(const QSqlDatabase &db, int version)
{
    QStringList triggers = {QStringLiteral("ledger_entries_append_only"), QStringLiteral("ledger_entries_no_truncate")};
    if (version >= 4)
        triggers.append(QStringLiteral("ledger_issues_follow"));
    QSqlQuery query(db);
    // 'O' and 'A' fire in every ordinary session; 'D' never, 'R' only where changes are replayed.
    query.prepare(QStringLiteral("SELECT t.name, g.tgenabled IN ('O', 'A') FROM unnest(string_to_array(?, ',')) "
                                 "WITH ORDINALITY AS t(name, i) LEFT JOIN pg_trigger g ON g.tgname = t.name AND "
                                 "g.tgrelid = to_regclass('ledger_entries') ORDER BY t.i"));
    query.addBindValue(triggers.join(QLatin1Char(',')));
    QList<ChainProblem> problems;
    if (!query.exec()) {
        const QString unread = query.lastError().text().trimmed();
        return Fault{FaultKind::Unreadable, unread, unread};
    }
    while (query.next()) {
        if (query.isNull(1))
            problems.append({ChainProblem::Kind::TriggerMissing, 0, query.value(0).toString()});
        else if (!query.value(1).toBool())
            problems.append({ChainProblem::Kind::TriggerDisabled, 0, query.value(0).toString()});
    }
    return problems;
}

QString alterableLoginText()
{
    return QCoreApplication::translate(
        "seikyu::LedgerRoles",
        "This login owns the ledger's tables on the server (or may alter them), so it could switch their protection "
        "off and rewrite history: let the administrator set up the server with a separate office role (seikyu "
        "--ledger-setup, or Preferences ▸ Set Up Server…) and use that role here.");
}

} // namespace seikyu
