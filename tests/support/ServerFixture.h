// The PostgreSQL server a test executable shares: started once, each test in a database of its own,
// roles made once for the whole server, and the ledger a test works on opened in one call.
#pragma once

#include "ledger/IssueLedger.h"
#include "ledger/LedgerStore.h"
#include "support/PostgresServer.h"

#include <QtTest>
#include <memory>

namespace seikyu::test {

/// A database of the test server and the text that reaches it over the socket, as the superuser.
struct TestDatabase
{
    QString name;
    QString connection;
};

class ServerFixture
{
public:
    /// `prefix` names the databases this executable makes.
    explicit ServerFixture(const QString &prefix) : m_prefix(prefix) {}

    /// Starts the server; where none can run here, says so once and leaves the tests to skip.
    void start();
    bool available() const { return m_server != nullptr; }
    /// Why no server runs here.
    static QString missing() { return PostgresServer::unavailableReason(); }
    /// Running again if a test left it stopped; false with why in `error`.
    bool ready(QString *error);

    PostgresServer *operator->() const { return m_server.get(); }
    PostgresServer *server() const { return m_server.get(); }

    /// A new empty database.
    TestDatabase freshDatabase();
    /// A new database with the ledger set up in it, opened as the superuser.
    std::unique_ptr<LedgerStore> freshLedger(TestDatabase *database = nullptr);
    /// A role that may log in, granted nothing (made once for the whole server).
    bool createRole(const QString &role) const;
    /// A socket connection text of the superuser's, as `role` instead.
    static QString asRole(const QString &connection, const QString &role);

private:
    std::unique_ptr<PostgresServer> m_server;
    QString m_prefix;
    int m_databases = 0;
};

/// Lets a silenced server answer again however the test ends.
class ResumeAtEnd
{
public:
    explicit ResumeAtEnd(PostgresServer *server) : m_server(server) {}
    ~ResumeAtEnd() { m_server->resume(); }
    ResumeAtEnd(const ResumeAtEnd &) = delete;
    ResumeAtEnd &operator=(const ResumeAtEnd &) = delete;

private:
    PostgresServer *m_server;
};

/// Seikyu's own ledger for one test, kept in `folder`, and the office's on the server `connection`
/// names (as SEIKYU_LEDGER names it). However the test ends, the ledger is closed and the variable
/// taken away: a test that fails midway leaves the next one no server it did not ask for.
class OwnLedger
{
public:
    explicit OwnLedger(const QString &folder, const QString &connection = QString());
    ~OwnLedger();
    OwnLedger(const OwnLedger &) = delete;
    OwnLedger &operator=(const OwnLedger &) = delete;
    IssueLedger *operator->() const { return &IssueLedger::instance(); }
    IssueLedger &operator*() const { return IssueLedger::instance(); }
};

} // namespace seikyu::test

/// Skips the test where no server can run here; fails it where the server does not start again.
#define REQUIRE_SERVER(fixture)                                                                                        \
    do {                                                                                                               \
        if (!(fixture).available())                                                                                    \
            QSKIP(qPrintable(seikyu::test::ServerFixture::missing()));                                                 \
        QString serverError;                                                                                           \
        QVERIFY2((fixture).ready(&serverError), qPrintable(serverError));                                              \
    } while (false)
