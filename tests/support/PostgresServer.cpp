#include "support/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace seikyu::test {

namespace {

QString binaries()
{
    const QString wanted = qEnvironmentVariable("SEIKYU_PG_BINARIES");
    if (!wanted.isEmpty())
        return wanted;
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &version : versions) {
        const QString folder = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
        if (QFileInfo(folder + QStringLiteral("/pg_ctl")).isExecutable())
            return folder;
    }
    return QString();
}

bool asRoot()
{
    return geteuid() == 0;
}

/// pg_ctl's arguments to stop the server in `data` the `mode` way (fast, or immediate as a crash would).
QStringList stopping(const QString &data, const char *mode)
{
    return {"-D", data, "-m", QString::fromLatin1(mode), "-w", "stop"};
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

QString PostgresServer::unavailableReason()
{
    const QString folder = binaries();
    if (folder.isEmpty())
        return QStringLiteral("no PostgreSQL server binaries under /usr/lib/postgresql (Debian package postgresql)");
    for (const char *tool : {"initdb", "pg_ctl", "psql"}) {
        const QString path = QStringLiteral("%1/%2").arg(folder, QLatin1String(tool));
        if (!QFileInfo(path).isExecutable() && QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return QStringLiteral("%1 is missing").arg(path);
    }
    if (asRoot() && QStandardPaths::findExecutable(QStringLiteral("runuser")).isEmpty())
        return QStringLiteral("running as root, and runuser is missing to start the server as postgres");
    return QString();
}

PostgresServer::PostgresServer() = default;

PostgresServer::~PostgresServer()
{
    if (m_running) {
        QString output;
        run(QStringLiteral("pg_ctl"), stopping(m_folder->filePath(QStringLiteral("data")), "immediate"), &output);
    }
}

QString PostgresServer::socketFolder() const
{
    return m_folder ? m_folder->path() : QString();
}

void PostgresServer::prepare(QProcess &process, const QString &tool, QStringList arguments) const
{
    QString program = binaries() + QLatin1Char('/') + tool;
    if (!QFileInfo(program).isExecutable())
        program = tool; // psql also lives on the PATH
    if (asRoot() && tool != QLatin1String("psql")) {
        arguments.prepend(program);
        arguments = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + arguments;
        program = QStringLiteral("runuser");
    }
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    environment.remove(QStringLiteral("PGPASSWORD"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(socketFolder());
    process.setProgram(program);
    process.setArguments(arguments);
}

bool PostgresServer::run(const QString &tool, const QStringList &arguments, QString *output, int timeoutMs) const
{
    QProcess process;
    prepare(process, tool, arguments);
    process.start();
    const bool finished = process.waitForFinished(timeoutMs);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void PostgresServer::stopInBackground(QProcess &process)
{
    prepare(process, QStringLiteral("pg_ctl"), stopping(m_folder->filePath(QStringLiteral("data")), "immediate"));
    process.start();
    m_running = false;
}

bool PostgresServer::start(QString *error)
{
    QString output;
    if (!m_folder) {
        m_folder = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/seikyu-pg-XXXXXX"));
        if (!m_folder->isValid()) {
            if (error)
                *error = QStringLiteral("no temporary folder");
            return false;
        }
        QFile::setPermissions(m_folder->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                    QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                    QFileDevice::ExeOther);
        if (asRoot()) {
            QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), m_folder->path()});
        }
    }
    const QString data = m_folder->filePath(QStringLiteral("data"));
    if (!m_initialized) {
        QFile passwordFile(m_folder->filePath(QStringLiteral("superuser-password")));
        passwordFile.open(QIODevice::WriteOnly);
        passwordFile.write("seikyu-test\n");
        passwordFile.close();
        if (asRoot())
            QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), passwordFile.fileName()});
        if (!run(QStringLiteral("initdb"),
                 {"-D", data, "-U", "postgres", "--pwfile=" + passwordFile.fileName(), "--auth-local=trust",
                  "--auth-host=scram-sha-256", "--no-locale", "-E", "UTF8", "--no-sync"},
                 &output, 120000)) {
            if (error)
                *error = output;
            return false;
        }
        m_port = freePort();
        QFile config(data + QStringLiteral("/postgresql.conf"));
        if (!config.open(QIODevice::Append)) {
            if (error)
                *error = QStringLiteral("cannot write postgresql.conf");
            return false;
        }
        config.write(QStringLiteral("\nlisten_addresses = '127.0.0.1'\nport = %1\nunix_socket_directories = '%2'\n"
                                    "fsync = off\nmax_connections = 60\nlc_messages = 'C'\n")
                         .arg(m_port)
                         .arg(m_folder->path())
                         .toUtf8());
        m_initialized = true;
    }
    if (!run(QStringLiteral("pg_ctl"), {"-D", data, "-l", m_folder->filePath("server.log"), "-w", "-t", "60", "start"},
             &output, 90000)) {
        QFile log(m_folder->filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        if (error)
            *error = output + QString::fromLocal8Bit(log.readAll());
        return false;
    }
    m_running = true;
    return true;
}

bool PostgresServer::stop()
{
    QString output;
    const bool stopped =
        run(QStringLiteral("pg_ctl"), stopping(m_folder->filePath(QStringLiteral("data")), "fast"), &output);
    if (stopped)
        m_running = false;
    return stopped;
}

qint64 PostgresServer::mainProcess() const
{
    if (!m_running || !m_folder)
        return 0;
    QFile pidFile(m_folder->filePath(QStringLiteral("data/postmaster.pid")));
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    return pidFile.readLine().trimmed().toLongLong();
}

bool PostgresServer::silence()
{
    const qint64 pid = mainProcess();
    return pid > 0 && ::kill(pid_t(pid), SIGSTOP) == 0;
}

bool PostgresServer::signalEveryProcess(int signal) const
{
    const QList<qint64> processes = everyProcess();
    for (const qint64 pid : processes)
        ::kill(pid_t(pid), signal);
    return !processes.isEmpty();
}

QList<qint64> PostgresServer::everyProcess() const
{
    const qint64 main = mainProcess();
    if (main <= 0)
        return {};
    QList<qint64> found{main};
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces, the rest follows its last ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest.at(1).toLongLong() == main)
            found.append(pid);
    }
    return found;
}

QString PostgresServer::socketConnection(const QString &database) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=postgres").arg(socketFolder()).arg(m_port).arg(database);
}

QString PostgresServer::tcpConnection(const QString &database, const QString &user, const QString &password) const
{
    const QString credentials = password.isEmpty() ? user : user + QLatin1Char(':') + password;
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(credentials).arg(m_port).arg(database);
}

bool PostgresServer::sql(const QString &database, const QString &statements, QString *error, int timeoutMs) const
{
    QString output;
    const bool done = run(QStringLiteral("psql"),
                          {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", socketFolder(), "-p", QString::number(m_port),
                           "-U", "postgres", "-d", database, "-c", statements},
                          &output, timeoutMs);
    if (error)
        *error = output;
    return done;
}

QString PostgresServer::value(const QString &database, const QString &query) const
{
    QString output;
    run(QStringLiteral("psql"),
        {"-X", "-q", "-A", "-t", "-h", socketFolder(), "-p", QString::number(m_port), "-U", "postgres", "-d", database,
         "-c", query},
        &output);
    return output.trimmed();
}

bool PostgresServer::createDatabase(const QString &name, QString *error) const
{
    return sql(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE \"%1\"").arg(name), error);
}

} // namespace seikyu::test
