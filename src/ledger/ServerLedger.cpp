#include "ledger/ServerLedger.h"

#include "ledger/SqlConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QVariant>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>
#include <utility>

namespace seikyu {

namespace {

/// The texts of this file share one translation context, declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(ServerLedger)
};

/// The connect_timeout the text gives, in seconds (libpq takes less than 2 as 2, 0 as none).
int connectTimeout(const PostgresTarget &target)
{
    for (const auto &[key, value] : target.options) {
        if (key == QLatin1String("connect_timeout"))
            return value.toInt() <= 0 ? 0 : std::max(2, value.toInt());
    }
    return 0;
}

/// A connection that goes away with this object unless released to a store.
class Connection
{
public:
    Connection()
        : m_connection(std::make_unique<SqlConnection>(QStringLiteral("QPSQL"), QStringLiteral("seikyu-server")))
    {}

    QSqlDatabase database() const { return m_connection->database(); }
    std::unique_ptr<SqlConnection> release() { return std::move(m_connection); }

    bool open(const PostgresTarget &target, QString *detail)
    {
        QSqlDatabase db = database();
        db.setHostName(target.host);
        if (target.port > 0)
            db.setPort(target.port);
        db.setDatabaseName(target.dbname);
        db.setUserName(target.user);
        db.setPassword(target.password);
        PostgresTarget withTimeout = target;
        const bool timed = std::any_of(target.options.cbegin(), target.options.cend(), [](const auto &option) {
            return option.first == QLatin1String("connect_timeout");
        });
        // A server that does not answer is reported in seconds, not after the system's minutes.
        if (!timed)
            withTimeout.options.append({QStringLiteral("connect_timeout"), QStringLiteral("5")});
        // Nor does a host that went away in the middle of a session hold a query for the system's
        // minutes of retransmission: what the server has not acknowledged in 5 s ends the session.
        const bool userTimed = std::any_of(target.options.cbegin(), target.options.cend(), [](const auto &option) {
            return option.first == QLatin1String("tcp_user_timeout");
        });
        if (!userTimed)
            withTimeout.options.append({QStringLiteral("tcp_user_timeout"), QStringLiteral("5000")});
        withTimeout.options.append({QStringLiteral("application_name"), QStringLiteral("Seikyu")});
        db.setConnectOptions(withTimeout.connectOptions());
        QElapsedTimer waited;
        waited.start();
        if (db.open())
            return true;
        m_waitedMs = waited.elapsed();
        m_timeoutMs = 1000 * (timed ? connectTimeout(target) : 5);
        if (detail)
            *detail = serverSaid(db.lastError().text());
        return false;
    }

    /// Whether the failed open() waited as long as libpq waits for an answer.
    bool timedOut() const { return m_timeoutMs > 0 && m_waitedMs >= m_timeoutMs - 250; }

private:
    std::unique_ptr<SqlConnection> m_connection;
    qint64 m_waitedMs = 0;
    qint64 m_timeoutMs = 0;
};

/// Whether anything listens where the target points: tells a server that is not there from one
/// that refuses the login, whatever language libpq words its messages in.
bool somethingListens(const PostgresTarget &target)
{
    for (const auto &[key, value] : target.options) {
        if (key == QLatin1String("service"))
            return true; // the address is in the service file; let libpq's answer stand
    }
    QString host = target.host;
    for (const auto &[key, value] : target.options) {
        if (key == QLatin1String("hostaddr"))
            host = value;
    }
    if (host.isEmpty())
        host = qEnvironmentVariable("PGHOST", QStringLiteral("/var/run/postgresql"));
    host = host.section(QLatin1Char(','), 0, 0);
    int port = target.port;
    if (port <= 0)
        port = qEnvironmentVariableIntValue("PGPORT");
    if (port <= 0)
        port = 5432;
    if (host.startsWith(QLatin1Char('/'))) {
        QLocalSocket socket;
        socket.connectToServer(QStringLiteral("%1/.s.PGSQL.%2").arg(host).arg(port));
        return socket.waitForConnected(3000);
    }
    QTcpSocket socket;
    socket.connectToHost(host, quint16(port));
    return socket.waitForConnected(5000);
}

/// The name libpq logs in with when the text gives none.
QString loginName(const PostgresTarget &target)
{
    if (!target.user.isEmpty())
        return target.user;
    if (const QString user = qEnvironmentVariable("PGUSER"); !user.isEmpty())
        return user;
    if (const passwd *account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
    return QString();
}

/// The role a session works as.
QString roleOf(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT current_user")) && query.next() ? query.value(0).toString() : QString();
}

/// The report of a problem found with the server, `detail` what the driver said of it.
ServerReport problemReport(ServerProblem problem, const QString &detail, const QString &role = QString())
{
    ServerReport report;
    report.problem = problem;
    report.detail = detail;
    report.message =
        problem == ServerProblem::PermissionDenied ? permissionDeniedText(role, detail) : serverProblemText(problem);
    return report;
}

/// The report of a right the session's role was found to lack before the server refused anything.
ServerReport lackedRight(const QSqlDatabase &db, const QString &kind, const QString &name)
{
    ServerReport report;
    report.problem = ServerProblem::PermissionDenied;
    report.message = permissionDeniedText(roleOf(db), QStringLiteral("permission denied for %1 %2").arg(kind, name));
    return report;
}

ServerReport refusal(const PostgresTarget &target, const Connection &connection, const QString &detail)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        ServerReport report = problemReport(ServerProblem::Other, detail);
        report.message = Text::tr("Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql).");
        return report;
    }
    ServerProblem problem = classifyServerError(detail);
    if (problem == ServerProblem::None) {
        // Words in a language not known here: what can be seen without them. A host that takes
        // the connection and then says nothing is silent, however many are listening.
        if (connection.timedOut() || !somethingListens(target)) {
            problem = ServerProblem::NoServer;
        } else {
            // The same login to a database every server has tells a missing database from the rest.
            PostgresTarget probe = target;
            probe.dbname = QStringLiteral("template1");
            Connection other;
            problem = target.dbname != probe.dbname && other.open(probe, nullptr) ? ServerProblem::NoSuchDatabase
                                                                                  : ServerProblem::Other;
        }
    }
    return problemReport(problem, detail, loginName(target));
}

/// The report of a statement that failed on `db`: a right the role lacks, a server gone, or `otherwise`.
ServerReport statementProblem(const QSqlDatabase &db, const QSqlError &error, ServerProblem otherwise)
{
    const QString said = serverSaid(error.text());
    ServerProblem problem = classifyServerError(said, error.nativeErrorCode());
    if (problem != ServerProblem::PermissionDenied && problem != ServerProblem::NoServer)
        problem = otherwise;
    return problemReport(problem, said, problem == ServerProblem::PermissionDenied ? roleOf(db) : QString());
}

/// What the database holds: nothing, a Seikyu ledger of some version, or other things.
ServerReport inspect(const QSqlDatabase &db)
{
    ServerReport report;
    const QStringList tables = db.tables();
    QSqlQuery query(db);
    if (!tables.contains(QStringLiteral("ledger_meta"))) {
        if (!tables.isEmpty())
            return problemReport(ServerProblem::NotLedger, QString());
        // Setting the ledger up creates tables, which a role may not do in every schema.
        if (query.exec(QStringLiteral("SELECT coalesce(current_schema(), 'public'), "
                                      "has_schema_privilege(coalesce(current_schema(), 'public'), 'CREATE')")) &&
            query.next() && !query.value(1).toBool()) {
            return lackedRight(db, QStringLiteral("schema"), query.value(0).toString());
        }
        report.message = Text::tr("The database is empty; Seikyu will set up the ledger in it.");
        return report;
    }
    if (!query.exec(QStringLiteral("SELECT value FROM ledger_meta WHERE key = 'schema_version'")))
        return statementProblem(db, query.lastError(), ServerProblem::NotLedger);
    if (!query.next() || query.value(0).toInt() <= 0 || !tables.contains(QStringLiteral("ledger_entries")))
        return problemReport(ServerProblem::NotLedger, QString());
    report.schemaVersion = query.value(0).toInt();
    if (report.schemaVersion > CurrentSchemaVersion)
        return problemReport(ServerProblem::NewerSchema, QString());
    if (query.exec(QStringLiteral("SELECT count(*) FROM ledger_entries")) && query.next())
        report.entries = query.value(0).toLongLong();
    report.message = Text::tr("Connected: the ledger holds %n entries.", nullptr, int(report.entries));
    return report;
}

} // namespace

QString serverProblemText(ServerProblem problem)
{
    switch (problem) {
    case ServerProblem::None:
        return QString();
    case ServerProblem::BadText:
        return Text::tr("The connection text does not read.");
    case ServerProblem::NoServer:
        return Text::tr(
            "No PostgreSQL server answers at that address. Is the server running, and the name and port right?");
    case ServerProblem::WrongPassword:
        return Text::tr("The server refuses the user name or password. Check the user, and the password in your "
                        "PostgreSQL password file (~/.pgpass).");
    case ServerProblem::NoSuchDatabase:
        return Text::tr(
            "The server has no database of that name. Ask the administrator to create it (it may be empty).");
    case ServerProblem::NotLedger:
        return Text::tr(
            "That database holds other data and is not a Seikyu ledger. Give Seikyu a database of its own.");
    case ServerProblem::NewerSchema:
        return Text::tr("A newer version of Seikyu set up this ledger. Update Seikyu to use it.");
    case ServerProblem::PermissionDenied:
        return permissionDeniedText(QString(), QString());
    case ServerProblem::Tls:
        return Text::tr("The encrypted connection (TLS) to the server could not be made: the server offers none "
                        "while sslmode asks for it, or its certificate does not check. Check sslmode and the "
                        "certificate files with the administrator.");
    case ServerProblem::Other:
        break;
    }
    return Text::tr("The server could not be used.");
}

QString permissionDeniedText(const QString &role, const QString &text)
{
    const DeniedObject object = deniedObject(text);
    QString what;
    if (object.kind == QLatin1String("table") || object.kind == QLatin1String("view"))
        what = Text::tr("the table “%1”").arg(object.name);
    else if (object.kind == QLatin1String("function") || object.kind == QLatin1String("procedure"))
        what = Text::tr("the function “%1”").arg(object.name);
    else if (object.kind == QLatin1String("schema"))
        what = Text::tr("the schema “%1”").arg(object.name);
    else if (object.kind == QLatin1String("sequence"))
        what = Text::tr("the sequence “%1”").arg(object.name);
    else if (object.kind == QLatin1String("database"))
        what = Text::tr("the database “%1”").arg(object.name);
    const QString who = role.isEmpty() ? Text::tr("The login Seikyu uses") : Text::tr("The role “%1”").arg(role);
    if (what.isEmpty())
        return Text::tr("%1 lacks a right it needs on the server (permission denied). Ask the server's "
                        "administrator to grant it the office's rights.")
            .arg(who);
    return Text::tr("%1 has no right to use %2 on the server (permission denied). Ask the server's administrator "
                    "to grant it the office's rights.")
        .arg(who, what);
}

QString serverRefusalText(const QSqlDatabase &db, const QString &error)
{
    const QString said = serverSaid(error);
    if (classifyServerError(said) == ServerProblem::PermissionDenied)
        return permissionDeniedText(roleOf(db), said);
    // The server's first line, without its "ERROR:" and the state QPSQL appends.
    QString line = said.section(QLatin1Char('\n'), 0, 0).trimmed();
    static const QRegularExpression severity(QStringLiteral("^[A-Z]+:\\s+"));
    line.remove(severity);
    if (const QString state = sqlStateIn(said); !state.isEmpty())
        line.remove(QStringLiteral("(%1)").arg(state));
    return line.trimmed().isEmpty() ? said : line.trimmed();
}

QString ServerReport::told() const
{
    if (problem == ServerProblem::None || detail.isEmpty())
        return message;
    return message + QLatin1Char('\n') + detail;
}

QString ServerReport::toldInLine() const
{
    if (problem == ServerProblem::None || detail.isEmpty())
        return message;
    return QStringLiteral("%1 (%2)").arg(message, detail.simplified());
}

ServerReport testServerLedger(const QString &connectionText)
{
    const Result<PostgresTarget> target = parsePostgresTarget(connectionText);
    if (!target) {
        ServerReport unread;
        unread.problem = ServerProblem::BadText;
        unread.message = target.message();
        return unread;
    }
    Connection connection;
    QString detail;
    if (!connection.open(*target, &detail))
        return refusal(*target, connection, detail);
    ServerReport report = inspect(connection.database());
    if (report.problem != ServerProblem::None || report.schemaVersion == 0)
        return report;
    // Issuing adds entries: a role that may only read is told before the first export.
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("SELECT has_table_privilege('ledger_entries', 'INSERT')")) && query.next() &&
        !query.value(0).toBool()) {
        return lackedRight(connection.database(), QStringLiteral("table"), QStringLiteral("ledger_entries"));
    }
    return report;
}

bool serverAnswers(const QString &connectionText)
{
    const Result<PostgresTarget> target = parsePostgresTarget(connectionText);
    if (!target)
        return false;
    Connection connection;
    return connection.open(*target, nullptr);
}

std::unique_ptr<LedgerStore> connectServerLedger(const QString &connectionText, ServerReport *report)
{
    ServerReport &found = *report;
    found = ServerReport();
    const Result<PostgresTarget> target = parsePostgresTarget(connectionText);
    if (!target) {
        found.problem = ServerProblem::BadText;
        found.message = target.message();
        return nullptr;
    }
    Connection connection;
    QString detail;
    if (!connection.open(*target, &detail)) {
        found = refusal(*target, connection, detail);
        return nullptr;
    }
    found = inspect(connection.database());
    if (found.problem != ServerProblem::None)
        return nullptr;
    return std::make_unique<LedgerStore>(connection.release(), postgresDialect());
}

std::unique_ptr<LedgerStore> openServerLedger(const QString &connectionText, ServerReport *report)
{
    ServerReport local;
    ServerReport &found = report ? *report : local;
    std::unique_ptr<LedgerStore> store = connectServerLedger(connectionText, &found);
    if (!store)
        return nullptr;
    if (const Result<void> prepared = store->prepare(); !prepared) {
        const QString error = prepared.message();
        if (store->awaitsAdministrator()) {
            found.problem = ServerProblem::Other;
            found.message = error;
            found.detail = error;
            return nullptr;
        }
        found = statementProblem(store->database(),
                                 QSqlError(QString(), error, QSqlError::StatementError, sqlStateIn(error)),
                                 ServerProblem::Other);
        found.message = Text::tr("Seikyu could not set up the ledger on the server: %1")
                            .arg(found.problem == ServerProblem::Other ? serverRefusalText(store->database(), error)
                                                                       : found.message);
        return nullptr;
    }
    found.schemaVersion = store->schemaVersion();
    return store;
}

} // namespace seikyu
