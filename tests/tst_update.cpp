#include "update/UpdateChecker.h"
#include "update/UpdateDecision.h"
#include "update/UpdateNotice.h"

#include <QApplication>
#include <QDesktopServices>
#include <QNetworkProxy>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

using namespace seikyu;

namespace {

// A tiny web site on 127.0.0.1 that serves one prepared answer to every request, or stays silent.
class FakeSite : public QObject
{
    Q_OBJECT

public:
    FakeSite() { connect(&server, &QTcpServer::newConnection, this, &FakeSite::serve); }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort()); }

    QTcpServer server;
    QByteArray body;            // null: the site never answers
    QList<QByteArray> requests; // their first lines
    QList<QUrl> opened;         // what the application asked the desktop to open

public slots:
    void open(const QUrl &url) { opened.append(url); }

private:
    void serve()
    {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            // Answer only a complete request: closing with unread bytes resets the connection,
            // and the client would quietly retry.
            const QByteArray request = socket->peek(socket->bytesAvailable());
            if (!request.contains("\r\n\r\n"))
                return;
            requests.append(socket->readAll().left(request.indexOf("\r\n")));
            if (body.isNull())
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    }
};

QByteArray entry(const char *name, const char *dots, const char *vers)
{
    return QByteArray(R"({"name":")") + name + R"(","dots":")" + dots + R"(","vers":")" + vers + R"("})";
}

// An update file with one entry for "Sample".
QByteArray sample(const char *dots, const char *vers)
{
    return '[' + entry("Sample", dots, vers) + ']';
}

} // namespace

class UpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void decision_data();
    void decision();
    void productPage();
    void check_data();
    void check();

private:
    std::unique_ptr<FakeSite> m_site;
};

void UpdateTest::init()
{
    QCoreApplication::setOrganizationName(QStringLiteral("SeikyuTest"));
    QCoreApplication::setApplicationName(QStringLiteral("Sample"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
    QSettings().clear();
    // A proxy from the environment must not stand between the checker and the local site.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    m_site = std::make_unique<FakeSite>();
    QVERIFY(m_site->server.listen(QHostAddress::LocalHost, 0));
}

void UpdateTest::decision_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("running");
    QTest::addColumn<int>("machine");
    QTest::addColumn<bool>("notice");

    // Versions compare as plain text, unit by unit, as the update file always has (1.10 orders before
    // 1.9); the first "Sample" entry decides.
    QTest::newRow("1.2 -> 1.3") << sample("10.13", "1.3") << "1.2" << 1015 << true;
    QTest::newRow("1.10 after 1.9") << sample("10.13", "1.9") << "1.10" << 1015 << true;
    QTest::newRow("10.0 after 2.0") << sample("10.13", "10.0") << "2.0" << 1015 << false;
    QTest::newRow("1.2.1 after 1.2") << sample("10.13", "1.2.1") << "1.2" << 1015 << true;
    QTest::newRow("1.2 before 1.2.1") << sample("10.13", "1.2") << "1.2.1" << 1015 << false;
    QTest::newRow("equal") << sample("10.13", "1.2") << "1.2" << 1015 << false;
    QTest::newRow("no running version") << sample("10.13", "1.3") << "" << 1015 << false;
    QTest::newRow("machine too old") << sample("11.0", "1.3") << "1.2" << 1015 << false;
    QTest::newRow("10.15.7 is 10.15") << sample("10.15.7", "1.3") << "1.2" << 1015 << true;
    QTest::newRow("10.15.7 above 10.14") << sample("10.15.7", "1.3") << "1.2" << 1014 << false;
    QTest::newRow("huge dots do not wrap") << sample("99999999999999999999999.0", "1.3") << "1.2" << 1015 << false;
    QTest::newRow("no dots") << QByteArray(R"([{"name":"Sample","vers":"1.3"}])") << "1.2" << 0 << true;
    QTest::newRow("first entry wins, fails os")
        << '[' + entry("Sample", "99.0", "1.3") + ',' + entry("Sample", "0.0", "1.3") + ']' << "1.2" << 1015 << false;
    QTest::newRow("odd entries and other names skipped")
        << QByteArray(R"([1, null, [], {"name":5}, )") + entry("sample", "99.0", "9") + ',' +
               sample("0.0", "1.3").mid(1)
        << "1.2" << 1015 << true;
    // Files that are not JSON or have the wrong shape offer nothing.
    for (const char *file :
         {"", "[]", "<html><body>Not found</body></html>", R"([{"name":"Sample","dots":"0.0","vers":"1.)",
          R"({"name":"Sample","dots":"0.0","vers":"1.3"})", R"([{"name":"Sample","dots":10.13,"vers":"1.3"}])",
          R"([{"name":"Sample","dots":"0.0","vers":1.3}])"})
        QTest::addRow("%s", file) << QByteArray(file) << "1.2" << 1015 << false;
}

void UpdateTest::decision()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, running);
    QFETCH(int, machine);
    QFETCH(bool, notice);
    QCOMPARE(updateNoticeWanted(file, QStringLiteral("Sample"), running, machine), notice);
}

void UpdateTest::productPage()
{
    // Lower case, without spaces, punctuation or URL syntax; other characters percent-encoded.
    const QString base = QStringLiteral("https://seikyu.example.org/");
    QCOMPARE(productPageUrl(base, QStringLiteral("Sample Invoice-2")).toEncoded(), base + "sampleinvoice2.html");
    QCOMPARE(productPageUrl(base, QStringLiteral("請求書 App")).toEncoded(),
             base + "%E8%AB%8B%E6%B1%82%E6%9B%B8app.html");
    QCOMPARE(productPageUrl(base, QStringLiteral("A/B?c#d%e f&g=h")).toEncoded(), base + "abcdefgh.html");
}

void UpdateTest::check_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("shown");

    const QByteArray newer = '[' + entry("Other", "0.0", "9.9") + ',' + entry("Sample", "0.0", "1.3") + ']';
    QTest::newRow("notice shown") << "1" << newer << true;
    // A valid, newer entry that only the size cap stops.
    QTest::newRow("over 1 MiB") << "1" << QByteArray(UpdateChecker::MaxUpdateFileSize, ' ') + newer << false;
    QTest::newRow("server never answers") << "1" << QByteArray() << false;
    // Switched off: no request at all.
    QTest::newRow("NU 0") << "0" << newer << false;
    QTest::newRow("NU absent") << "" << newer << false;
}

void UpdateTest::check()
{
    QFETCH(QString, setting);
    QFETCH(QByteArray, body);
    QFETCH(bool, shown);

    if (!setting.isEmpty())
        QSettings().setValue(UpdateChecker::SettingKey, setting);
    m_site->body = body;
    UpdateChecker checker;
    checker.setBaseUrl(m_site->baseUrl());
    checker.setTimeoutMs(body.isNull() ? 500 : 20'000);
    QSignalSpy finished(&checker, &UpdateChecker::finished);
    checker.start();
    QVERIFY(finished.isEmpty()); // the check runs in the background
    QVERIFY(finished.wait(10'000));
    QCOMPARE(finished.constFirst().constFirst().toBool(), shown);
    // Had a request been made, it would have reached the site before the check could finish.
    QCOMPARE(m_site->requests, setting.toInt() ? QList<QByteArray>{"GET /xapp.json HTTP/1.1"} : QList<QByteArray>{});
    QCOMPARE(checker.notice() != nullptr, shown);
    if (!shown)
        return;

    QVERIFY(checker.notice()->isVisible());
    // The button opens the product page under the same base address and closes the notice.
    QDesktopServices::setUrlHandler(QStringLiteral("http"), m_site.get(), "open");
    QTest::mouseClick(checker.notice()->findChild<QPushButton *>(QStringLiteral("revs")), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(m_site->opened, QList<QUrl>{QUrl(m_site->baseUrl() + QStringLiteral("sample.html"))});
    QVERIFY(!checker.notice()->isVisible());
}

QTEST_MAIN(UpdateTest)
#include "tst_update.moc"
