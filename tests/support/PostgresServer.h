// A PostgreSQL server of the tests' own: initdb and pg_ctl in a temporary folder, reached on a
// socket in that folder and on a free port of 127.0.0.1 (where it asks for a password). As the
// server refuses to run as root, a root test runs it as the `postgres` user.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

namespace seikyu::test {

class PostgresServer
{
public:
    /// Why no server can be started here (the binaries are missing), or empty.
    static QString unavailableReason();

    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    /// initdb (once) and start; false with the tools' output in `error`.
    bool start(QString *error = nullptr);
    bool stop();
    /// Starts stopping the server at once (as a crash or a pulled cable would) and returns; the
    /// server is gone when `process` finishes.
    void stopInBackground(QProcess &process);
    bool isRunning() const { return m_running; }
    /// The server stops answering without going away, as a host that drops every packet: its
    /// main process is suspended, so a new connection is taken in by the system and then waits
    /// unanswered. Connections made before go on working.
    bool silence();
    /// Every process of the server stops, those serving connections made before too, as a host
    /// that is paused: a query in flight waits for ever.
    bool silenceEveryProcess() { return signalEveryProcess(SIGSTOP); }
    /// The suspended server answers again (the connections that waited are taken up).
    bool resume() { return signalEveryProcess(SIGCONT); }

    QString socketFolder() const;
    int port() const { return m_port; }
    /// A connection text to `database` over the socket, as the superuser (no password there).
    QString socketConnection(const QString &database) const;
    /// A URI to `database` over TCP, where the server asks for the password.
    QString tcpConnection(const QString &database, const QString &user, const QString &password = {}) const;

    /// Runs SQL through psql as the superuser; false with psql's output in `error`.
    bool sql(const QString &database, const QString &statements, QString *error = nullptr, int timeoutMs = 60000) const;
    /// The first value of the first row of a query, as psql prints it.
    QString value(const QString &database, const QString &query) const;
    bool createDatabase(const QString &name, QString *error = nullptr) const;

private:
    /// The server's main process, from its pid file; 0 when not running.
    qint64 mainProcess() const;
    /// The main process and the ones it started.
    QList<qint64> everyProcess() const;
    bool signalEveryProcess(int signal) const;
    bool run(const QString &tool, const QStringList &arguments, QString *output, int timeoutMs = 60000) const;
    void prepare(QProcess &process, const QString &tool, QStringList arguments) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    int m_port = 0;
    bool m_initialized = false;
    bool m_running = false;
};

} // namespace seikyu::test
