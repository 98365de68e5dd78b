#include "ledger/LedgerSetup.h"

#include "ledger/LedgerRoles.h"
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerStore.h"
#include "ledger/PostgresTarget.h"
#include "ledger/ServerLedger.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace seikyu {

namespace {

/// The texts of this file share one translation context, declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(LedgerSetup)
};

/// `message` for the user, and the server's own words as the detail, for those who know PostgreSQL.
Fault serverFault(const QSqlError &error, FaultKind otherwise, const QString &message)
{
    return Fault{faultKindOf(error, otherwise), message, error.text().trimmed()};
}

/// Runs the statements in one transaction under the ledger's write lock; `failure` says what did
/// not happen when it fails.
Result<void> inOneTransaction(const QSqlDatabase &db, const QStringList &statements, const QString &failure)
{
    QSqlQuery query(db);
    for (const QString &statement : postgresDialect().beginWrite + statements + QStringList{QStringLiteral("COMMIT")}) {
        if (!query.exec(statement)) {
            const Fault fault = serverFault(query.lastError(), FaultKind::Unwritable, failure);
            query.exec(QStringLiteral("ROLLBACK"));
            return fault;
        }
    }
    return {};
}

/// The ledger's tables and functions another role than the login owns, and the roles that own them.
struct OwnedByOthers
{
    QStringList objects; ///< as "TABLE name" or "FUNCTION name(args)"
    QStringList owners;
};

Result<OwnedByOthers> ownedByOthers(const QSqlDatabase &db)
{
    QStringList functions = ownerFunctions();
    functions += {QStringLiteral("ledger_entries_refuse()"), QStringLiteral("ledger_issues_follow()")};
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("SELECT 'TABLE ' || c.oid::regclass::text, pg_get_userbyid(c.relowner) FROM pg_class c "
                           "WHERE c.oid IN (to_regclass('ledger_meta'), to_regclass('ledger_entries'), "
                           "to_regclass('ledger_numbers'), to_regclass('ledger_issues')) AND c.relowner <> "
                           "(SELECT oid FROM pg_roles WHERE rolname = current_user) "
                           "UNION ALL SELECT 'FUNCTION ' || p.oid::regprocedure::text, "
                           "pg_get_userbyid(p.proowner) FROM pg_proc p WHERE p.oid IN (%1) AND p.proowner <> "
                           "(SELECT oid FROM pg_roles WHERE rolname = current_user)")
                .arg(QStringLiteral("to_regprocedure('%1')")
                         .arg(functions.join(QStringLiteral("'), to_regprocedure('"))))))
        return serverFault(query.lastError(), FaultKind::Unreadable,
                           Text::tr("The ledger's tables could not be read."));
    OwnedByOthers found;
    while (query.next()) {
        found.objects.append(query.value(0).toString());
        if (!found.owners.contains(query.value(1).toString()))
            found.owners.append(query.value(1).toString());
    }
    return found;
}

/// Whether `office` can be the office's role here (Refused, saying why, when not): it must exist,
/// be another role than the administrator's, and hold no rights that would let it alter the
/// tables anyway.
Result<void> checkOfficeRole(const QSqlDatabase &db, const QString &office, const QString &admin)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT rolsuper, pg_has_role(oid, (SELECT oid FROM pg_roles WHERE rolname = "
                                 "current_user), 'MEMBER') FROM pg_roles WHERE rolname = ?"));
    query.addBindValue(office);
    if (!query.exec())
        return serverFault(query.lastError(), FaultKind::Unreadable, Text::tr("The server's roles could not be read."));
    if (!query.next())
        return Fault{
            FaultKind::Refused,
            Text::tr("There is no role “%1” on the server. Create it first (CREATE ROLE %2 LOGIN PASSWORD '…'), "
                     "then run the setup again.")
                .arg(office, sqlIdentifier(office))};
    if (office == admin)
        return Fault{
            FaultKind::Refused,
            Text::tr("The office role must be another role than the administrator's (%1): the role that owns the "
                     "ledger can switch its protection off.")
                .arg(admin)};
    if (query.value(0).toBool())
        return Fault{FaultKind::Refused,
                     Text::tr("“%1” is a superuser, which may do anything with the ledger. Give the office a role "
                              "without superuser rights.")
                         .arg(office)};
    if (query.value(1).toBool())
        return Fault{
            FaultKind::Refused,
            Text::tr("“%1” is a member of the administrator's role %2 and would hold its rights. Give the office a "
                     "role of its own.")
                .arg(office, admin)};
    return {};
}

/// What the office role is given, and everything else it held taken back.
QStringList officeGrants(const QString &schema, const QString &office, bool needsSchemaUsage)
{
    const QString tables = QStringLiteral("ledger_meta, ledger_entries, ledger_numbers, ledger_issues");
    const QString role = sqlIdentifier(office);
    const QString functions = ownerFunctions().join(QStringLiteral(", "));
    QStringList statements = {QStringLiteral("REVOKE ALL ON TABLE %1 FROM PUBLIC, %2").arg(tables, role),
                              QStringLiteral("GRANT SELECT ON TABLE %1 TO %2").arg(tables, role),
                              QStringLiteral("GRANT INSERT ON TABLE ledger_entries TO %1").arg(role),
                              QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC, %2").arg(functions, role),
                              QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO %2").arg(functions, role)};
    if (needsSchemaUsage)
        statements.append(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(sqlIdentifier(schema), role));
    return statements;
}

} // namespace

LedgerSetupResult setUpServerLedger(const QString &adminConnection, const QString &officeRole)
{
    LedgerSetupResult result;
    auto stop = [&result](int status, const QString &error, const QString &detail = QString()) {
        result.status = status;
        result.error = error;
        result.detail = detail;
        return result;
    };
    const QString office = officeRole.trimmed();
    if (office.isEmpty())
        return stop(2, Text::tr("Name the office's role: the one the office's computers log in as."));
    const Result<PostgresTarget> target = parsePostgresTarget(adminConnection);
    if (!target)
        return stop(2, target.message());
    ServerReport report;
    std::unique_ptr<LedgerStore> store = connectServerLedger(adminConnection, &report);
    if (!store)
        return stop(1, report.message, report.detail);
    const QSqlDatabase db = store->database();
    QSqlQuery who(db);
    if (!who.exec(QStringLiteral("SELECT current_user, current_schema()")) || !who.next())
        return stop(1, Text::tr("The server's roles could not be read."), who.lastError().text().trimmed());
    const QString admin = who.value(0).toString();
    const QString schema = who.value(1).toString();
    who.finish();
    result.done.append(Text::tr("Connected to %1 as %2.").arg(target->display(), admin));
    if (const Result<void> fits = checkOfficeRole(db, office, admin); !fits)
        return stop(1, fits.message(), fits.detail());
    who.prepare(QStringLiteral("SELECT has_schema_privilege(?, current_schema(), 'USAGE')"));
    who.addBindValue(office);
    if (!who.exec() || !who.next())
        return stop(1, Text::tr("The server's roles could not be read."), who.lastError().text().trimmed());
    const bool needsSchemaUsage = !who.value(0).toBool();
    who.finish();

    // Taken over first: bringing an older schema up to date needs the tables' owner.
    const Result<OwnedByOthers> owned = ownedByOthers(db);
    if (!owned)
        return stop(1, owned.message(), owned.detail());
    if (!owned->objects.isEmpty()) {
        QStringList statements;
        for (const QString &object : owned->objects)
            statements.append(QStringLiteral("ALTER %1 OWNER TO CURRENT_USER").arg(object));
        if (const Result<void> taken = inOneTransaction(
                db, statements,
                Text::tr("The ledger's tables could not be taken over from %1. Connect as a superuser, or as a role "
                         "that is a member of %1.")
                    .arg(owned->owners.join(QStringLiteral(", "))));
            !taken)
            return stop(1, taken.message(), taken.detail());
        result.done.append(Text::tr("The ledger's tables and functions, owned by %1 until now, belong to %2.")
                               .arg(owned->owners.join(QStringLiteral(", ")), admin));
    }
    if (const Result<void> prepared = store->prepare(); !prepared)
        return stop(1, Text::tr("Seikyu could not set up the ledger on the server."), prepared.message());
    if (report.schemaVersion == 0)
        result.done.append(Text::tr("Set up the ledger (schema version %1).").arg(store->schemaVersion()));
    else if (report.schemaVersion < store->schemaVersion())
        result.done.append(Text::tr("Brought the ledger from schema version %1 to %2; its %n entries and their "
                                    "chain are kept.",
                                    nullptr, int(report.entries))
                               .arg(report.schemaVersion)
                               .arg(store->schemaVersion()));
    else
        result.done.append(
            Text::tr("The ledger's %n entries and their chain are kept as they were.", nullptr, int(report.entries)));

    // The guards and the functions are made afresh (a trigger switched off is switched on again),
    // then the office's rights.
    QStringList statements = postgresDialect().appendOnlyGuards + postgresIssueFollowing() +
                             ownerFunctionStatements(schema) +
                             QStringList{QStringLiteral("ALTER TABLE ledger_entries ENABLE TRIGGER USER")};
    statements += officeGrants(schema, office, needsSchemaUsage);
    if (const Result<void> granted =
            inOneTransaction(db, statements, Text::tr("The office role's rights could not be set."));
        !granted)
        return stop(1, granted.message(), granted.detail());
    result.done.append(Text::tr("%1 may read the ledger and add entries; it takes numbers, and keeps what searches "
                                "read, only through functions that run as %2.")
                           .arg(office, admin));

    const Result<LedgerRights> rights = ledgerRights(db, office);
    if (!rights)
        return stop(1, Text::tr("The office role's rights could not be read."), rights.message());
    if (rights->mayAlter)
        return stop(1, Text::tr("%1 still owns the schema %2 (or the database), so it could drop the ledger's "
                                "tables. Give the schema to %3 (ALTER SCHEMA %2 OWNER TO %3, or ALTER DATABASE … "
                                "OWNER TO %3) and run the setup again.")
                           .arg(office, sqlIdentifier(schema), sqlIdentifier(admin)));
    result.done.append(Text::tr("%1 can no longer change, delete or empty entries, drop the ledger's tables or "
                                "switch off their triggers.")
                           .arg(office));
    return result;
}

} // namespace seikyu
