#include "support/ServerFixture.h"

#include "ledger/LedgerLocation.h"
#include "ledger/ServerLedger.h"

#include <cstdio>

namespace seikyu::test {

void ServerFixture::start()
{
    const QString why = missing();
    if (!why.isEmpty()) {
        std::printf("The tests against a server are skipped: %s\n", qPrintable(why));
        return;
    }
    m_server = std::make_unique<PostgresServer>();
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
}

bool ServerFixture::ready(QString *error)
{
    return m_server && (m_server->isRunning() || m_server->start(error));
}

TestDatabase ServerFixture::freshDatabase()
{
    const QString name = m_prefix + QString::number(++m_databases);
    QString error;
    if (!m_server->createDatabase(name, &error))
        qWarning("%s", qPrintable(error));
    return {name, m_server->socketConnection(name)};
}

std::unique_ptr<LedgerStore> ServerFixture::freshLedger(TestDatabase *database)
{
    const TestDatabase made = freshDatabase();
    if (database)
        *database = made;
    ServerReport report;
    std::unique_ptr<LedgerStore> store = openServerLedger(made.connection, &report);
    if (!store)
        qWarning("%s %s", qPrintable(report.message), qPrintable(report.detail));
    return store;
}

bool ServerFixture::createRole(const QString &role) const
{
    QString error;
    const bool made = m_server->sql(
        QStringLiteral("postgres"),
        QStringLiteral("DO $$ BEGIN CREATE ROLE %1 LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END $$").arg(role),
        &error);
    if (!made)
        qWarning("%s", qPrintable(error));
    return made;
}

QString ServerFixture::asRole(const QString &connection, const QString &role)
{
    return QString(connection).replace(QStringLiteral("user=postgres"), QStringLiteral("user=") + role);
}

OwnLedger::OwnLedger(const QString &folder, const QString &connection)
{
    if (connection.isEmpty())
        qunsetenv(LedgerEnvironmentVariable);
    else
        qputenv(LedgerEnvironmentVariable, connection.toUtf8());
    IssueLedger::instance().setFolder(folder);
}

OwnLedger::~OwnLedger()
{
    IssueLedger::instance().close();
    qunsetenv(LedgerEnvironmentVariable);
}

} // namespace seikyu::test
