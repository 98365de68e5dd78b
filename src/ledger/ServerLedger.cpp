#include "ledger/ServerLedger.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QVariant>
#include <algorithm>
#include <utility>

namespace seikyu {

namespace {

/// The texts of this file share one translation context, declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(ServerLedger)
};

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("seikyu-server-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

/// A connection that goes away with this object unless released to a store.
class Connection
{
public:
    Connection() : m_name(nextConnectionName()) {}
    ~Connection()
    {
        if (m_name.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &name() const { return m_name; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }
    QString release() { return std::exchange(m_name, QString()); }

    bool open(const PostgresTarget &target, QString *detail)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
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
        if (db.open())
            return true;
        if (detail)
            *detail = db.lastError().text().trimmed();
        return false;
    }

private:
    QString m_name;
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

ServerReport refusal(const PostgresTarget &target, const QString &detail)
{
    ServerReport report;
    report.detail = detail;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        report.problem = ServerProblem::Other;
        report.message = Text::tr("Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql).");
        return report;
    }
    if (!somethingListens(target)) {
        report.problem = ServerProblem::NoServer;
    } else {
        // The same login to a database every server has tells a missing database from a refused login.
        PostgresTarget probe = target;
        probe.dbname = QStringLiteral("template1");
        Connection connection;
        report.problem = target.dbname != probe.dbname && connection.open(probe, nullptr)
                             ? ServerProblem::NoSuchDatabase
                             : ServerProblem::WrongPassword;
    }
    report.message = serverProblemText(report.problem);
    return report;
}

/// What the database holds: nothing, a Seikyu ledger of some version, or other things.
ServerReport inspect(const QSqlDatabase &db)
{
    ServerReport report;
    const QStringList tables = db.tables();
    if (!tables.contains(QStringLiteral("ledger_meta"))) {
        if (!tables.isEmpty())
            report.problem = ServerProblem::NotLedger;
        report.message = report.problem == ServerProblem::None
                             ? Text::tr("The database is empty; Seikyu will set up the ledger in it.")
                             : serverProblemText(report.problem);
        return report;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT value FROM ledger_meta WHERE key = 'schema_version'")) || !query.next() ||
        query.value(0).toInt() <= 0 || !tables.contains(QStringLiteral("ledger_entries"))) {
        report.problem = ServerProblem::NotLedger;
        report.detail = query.lastError().text().trimmed();
        report.message = serverProblemText(report.problem);
        return report;
    }
    report.schemaVersion = query.value(0).toInt();
    if (report.schemaVersion > CurrentSchemaVersion) {
        report.problem = ServerProblem::NewerSchema;
        report.message = serverProblemText(report.problem);
        return report;
    }
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
    case ServerProblem::Other:
        break;
    }
    return Text::tr("The server could not be used.");
}

ServerReport testServerLedger(const QString &connectionText)
{
    ServerReport report;
    QString reason;
    const std::optional<PostgresTarget> target = parsePostgresTarget(connectionText, &reason);
    if (!target) {
        report.problem = ServerProblem::BadText;
        report.message = reason;
        return report;
    }
    Connection connection;
    QString detail;
    if (!connection.open(*target, &detail))
        return refusal(*target, detail);
    return inspect(connection.database());
}

bool serverAnswers(const QString &connectionText)
{
    const std::optional<PostgresTarget> target = parsePostgresTarget(connectionText);
    if (!target)
        return false;
    Connection connection;
    return connection.open(*target, nullptr);
}

std::unique_ptr<LedgerStore> connectServerLedger(const QString &connectionText, ServerReport *report)
{
    ServerReport &found = *report;
    found = ServerReport();
    QString reason;
    const std::optional<PostgresTarget> target = parsePostgresTarget(connectionText, &reason);
    if (!target) {
        found.problem = ServerProblem::BadText;
        found.message = reason;
        return nullptr;
    }
    Connection connection;
    QString detail;
    if (!connection.open(*target, &detail)) {
        found = refusal(*target, detail);
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
    if (!store->prepare(&found.detail)) {
        found.problem = ServerProblem::Other;
        found.message =
            store->awaitsAdministrator() ? found.detail : Text::tr("Seikyu could not set up the ledger on the server.");
        return nullptr;
    }
    found.schemaVersion = store->schemaVersion();
    return store;
}

} // namespace seikyu
