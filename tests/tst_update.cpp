#include "app/PreferencesDialog.h"
#include "update/UpdateChecker.h"
#include "update/UpdateDecision.h"
#include "update/UpdateNotice.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QNetworkProxy>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace seikyu;

namespace {

// A tiny web site on 127.0.0.1 that serves one prepared answer to every request, or stays silent.
class FakeSite : public QObject
{
    Q_OBJECT

public:
    enum class Answer { Json, JsonWithoutLength, Silent };

    explicit FakeSite(QObject *parent = nullptr) : QObject(parent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }

    Answer answer = Answer::Json;
    QByteArray body;
    int connections = 0;
    QList<QByteArray> requestLines;

private:
    void serve(QTcpSocket *socket)
    {
        ++connections;
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            // Answer only a complete request: closing with unread bytes resets the connection,
            // and the client would quietly retry.
            auto request = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", request);
            if (!request.contains("\r\n\r\n") || answer == Answer::Silent)
                return;
            requestLines.append(request.left(request.indexOf("\r\n")));
            QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n";
            if (answer == Answer::Json)
                head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
            socket->write(head + "\r\n" + body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
};

// Records what the application asks the desktop to open instead of starting a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

QByteArray entry(const char *name, const char *dots, const char *vers)
{
    return QByteArray(R"({"name":")") + name + R"(","dots":")" + dots + R"(","vers":")" + vers + R"("})";
}

} // namespace

class UpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void decision_data();
    void decision();
    void machineVersion();
    void productPage_data();
    void productPage();

    void noticeShown();
    void noNotice_data();
    void noNotice();
    void silentServerTimesOut();
    void switchedOff_data();
    void switchedOff();
    void preferencesSwitch();

private:
    void switchOn(bool on) { QSettings().setValue(UpdateChecker::SettingKey, on ? 1 : 0); }

    FakeSite *m_site = nullptr;
};

void UpdateTest::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("SeikyuTest"));
    QCoreApplication::setApplicationName(QStringLiteral("Sample"));
    // A proxy from the environment must not stand between the checker and the local site.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QPixmap icon(32, 32);
    icon.fill(Qt::darkRed);
    QApplication::setWindowIcon(QIcon(icon));
}

void UpdateTest::init()
{
    QSettings().clear();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
    m_site = new FakeSite(this);
    QVERIFY(m_site->listen());
}

void UpdateTest::cleanup()
{
    delete m_site;
    m_site = nullptr;
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void UpdateTest::decision_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("running");
    QTest::addColumn<int>("machine");
    QTest::addColumn<bool>("notice");

    const QByteArray newer = '[' + entry("Sample", "10.13", "1.3") + ']';
    QTest::newRow("1.2 -> 1.3") << newer << "1.2" << 1015 << true;
    QTest::newRow("1.10 before 1.9 as text") << '[' + entry("Sample", "10.13", "1.9") + ']' << "1.10" << 1015 << true;
    QTest::newRow("2.0 after 10.0 as text") << '[' + entry("Sample", "10.13", "10.0") + ']' << "2.0" << 1015 << false;
    QTest::newRow("prefix first") << '[' + entry("Sample", "10.13", "1.2.1") + ']' << "1.2" << 1015 << true;
    QTest::newRow("longer running version") << '[' + entry("Sample", "10.13", "1.2") + ']' << "1.2.1" << 1015 << false;
    QTest::newRow("equal") << '[' + entry("Sample", "10.13", "1.2") + ']' << "1.2" << 1015 << false;
    QTest::newRow("no running version") << newer << "" << 1015 << false;

    QTest::newRow("machine too old") << '[' + entry("Sample", "11.0", "1.3") + ']' << "1.2" << 1015 << false;
    QTest::newRow("machine newer, compared") << '[' + entry("Sample", "10.15", "1.3") + ']' << "1.2" << 1100 << true;
    QTest::newRow("machine newer, same version")
        << '[' + entry("Sample", "10.15", "1.2") + ']' << "1.2" << 1100 << false;
    QTest::newRow("machine exactly required") << '[' + entry("Sample", "10.15", "1.3") + ']' << "1.2" << 1015 << true;
    QTest::newRow("10.15.7 is 10.15") << '[' + entry("Sample", "10.15.7", "1.3") + ']' << "1.2" << 1015 << true;
    QTest::newRow("10.15.7 above 10.14") << '[' + entry("Sample", "10.15.7", "1.3") + ']' << "1.2" << 1014 << false;
    QTest::newRow("leading digits of a component")
        << '[' + entry("Sample", " +10.15beta", "1.3") + ']' << "1.2" << 1014 << false;
    QTest::newRow("no digits read as 0") << '[' + entry("Sample", "x.y", "1.3") + ']' << "1.2" << 0 << true;
    QTest::newRow("huge dots do not wrap")
        << '[' + entry("Sample", "99999999999999999999999.0", "1.3") + ']' << "1.2" << 1015 << false;
    QTest::newRow("no dots") << QByteArray(R"([{"name":"Sample","vers":"1.3"}])") << "1.2" << 0 << true;

    QTest::newRow("first entry wins, fails os")
        << '[' + entry("Sample", "99.0", "1.3") + ',' + entry("Sample", "0.0", "1.3") + ']' << "1.2" << 1015 << false;
    QTest::newRow("first entry wins, not newer")
        << '[' + entry("Sample", "0.0", "1.2") + ',' + entry("Sample", "0.0", "9") + ']' << "1.2" << 1015 << false;
    QTest::newRow("other applications skipped")
        << '[' + entry("Other", "0.0", "9") + ',' + entry("Sample", "0.0", "1.3") + ']' << "1.2" << 1015 << true;
    QTest::newRow("name compared with case") << '[' + entry("sample", "0.0", "1.3") + ']' << "1.2" << 1015 << false;
    QTest::newRow("no entry") << QByteArray("[]") << "1.2" << 1015 << false;

    QTest::newRow("empty") << QByteArray() << "1.2" << 1015 << false;
    QTest::newRow("not JSON") << QByteArray("<html><body>Not found</body></html>") << "1.2" << 1015 << false;
    QTest::newRow("cut short") << newer.left(newer.size() - 3) << "1.2" << 1015 << false;
    QTest::newRow("top level object") << entry("Sample", "0.0", "1.3") << "1.2" << 1015 << false;
    QTest::newRow("top level scalar") << QByteArray("\"1.3\"") << "1.2" << 1015 << false;
    QTest::newRow("entry not object") << QByteArray(R"(["Sample", 1.3, null])") << "1.2" << 1015 << false;
    QTest::newRow("odd entries do not hide ours")
        << QByteArray(R"([1, null, "Sample", [], {"name":5}, {"name":null}, )") + entry("Sample", "0.0", "1.3") + ']'
        << "1.2" << 1015 << true;
    QTest::newRow("name not string") << QByteArray(R"([{"name":["Sample"],"dots":"0.0","vers":"1.3"}])") << "1.2"
                                     << 1015 << false;
    QTest::newRow("dots number") << QByteArray(R"([{"name":"Sample","dots":10.13,"vers":"1.3"}])") << "1.2" << 1015
                                 << false;
    QTest::newRow("dots null") << QByteArray(R"([{"name":"Sample","dots":null,"vers":"1.3"}])") << "1.2" << 1015
                               << false;
    QTest::newRow("dots one component") << '[' + entry("Sample", "11", "1.3") + ']' << "1.2" << 1015 << false;
    QTest::newRow("vers number") << QByteArray(R"([{"name":"Sample","dots":"0.0","vers":1.3}])") << "1.2" << 1015
                                 << false;
    QTest::newRow("vers missing") << QByteArray(R"([{"name":"Sample","dots":"0.0"}])") << "1.2" << 1015 << false;
}

void UpdateTest::decision()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, running);
    QFETCH(int, machine);
    QFETCH(bool, notice);

    QCOMPARE(updateNoticeWanted(file, QStringLiteral("Sample"), running, machine), notice);
}

void UpdateTest::machineVersion()
{
    // On Linux Qt knows no version number, so the kernel's major.minor stands in.
    const QList<QStringView> kernel = QStringView(QSysInfo::kernelVersion()).split(u'.');
    QVERIFY(kernel.size() >= 2);
    QCOMPARE(osVersionNumber(), kernel.at(0).toInt() * 100 + kernel.at(1).toInt());
    QVERIFY(osVersionNumber() > 0);
}

void UpdateTest::productPage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("page");

    QTest::newRow("ASCII") << "Sample Invoice-2" << QByteArray("sampleinvoice2.html");
    QTest::newRow("Japanese") << "請求書 App" << QByteArray("%E8%AB%8B%E6%B1%82%E6%9B%B8app.html");
    QTest::newRow("combining mark kept") << QString::fromUtf8("Cafe\u0301 Noir") << QByteArray("cafe%CC%81noir.html");
    QTest::newRow("beyond the BMP") << QString::fromUtf8("\U0001D400pp") << QByteArray("%F0%9D%90%80pp.html");
    QTest::newRow("URL syntax removed") << "A/B?c#d%e f&g=h" << QByteArray("abcdefgh.html");
}

void UpdateTest::productPage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, page);

    const QUrl url = productPageUrl(QStringLiteral("https://seikyu.example.org/"), name);
    QVERIFY(url.isValid());
    QCOMPARE(url.toEncoded(), "https://seikyu.example.org/" + page);
}

void UpdateTest::noticeShown()
{
    m_site->body = '[' + entry("Other", "0.0", "9.9") + ',' + entry("Sample", "0.0", "1.3") + ']';
    switchOn(true);
    UpdateChecker checker;
    checker.setBaseUrl(m_site->baseUrl());
    QSignalSpy finished(&checker, &UpdateChecker::finished);
    checker.start();
    QVERIFY(!checker.notice()); // the download runs in the background
    QVERIFY(finished.wait());
    QCOMPARE(finished.constFirst().constFirst().toBool(), true);
    QCOMPARE(m_site->requestLines, QList<QByteArray>{"GET /xapp.json HTTP/1.1"});

    UpdateNotice *notice = checker.notice();
    QVERIFY(notice);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->objectName(), QStringLiteral("unew"));
    QVERIFY(!notice->findChild<QLabel *>(QStringLiteral("uicn"))->pixmap().isNull());
    QVERIFY(notice->findChild<QLabel *>(QStringLiteral("utxt"))->text().contains(QStringLiteral("Sample")));

    // The button opens the product page under the same base address and closes the notice.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    QTest::mouseClick(notice->findChild<QPushButton *>(QStringLiteral("revs")), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl(m_site->baseUrl() + QStringLiteral("sample.html"))});
    QVERIFY(!notice->isVisible());

    // Nothing records the notice: the next check shows it again, in the same window.
    checker.start();
    QVERIFY(finished.wait());
    QCOMPARE(finished.at(1).constFirst().toBool(), true);
    QCOMPARE(checker.notice(), notice);
    QVERIFY(notice->isVisible());
}

void UpdateTest::noNotice_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("body");

    const auto json = static_cast<int>(FakeSite::Answer::Json);
    const auto unannounced = static_cast<int>(FakeSite::Answer::JsonWithoutLength);
    QTest::newRow("same version") << json << '[' + entry("Sample", "0.0", "1.2") + ']';
    QTest::newRow("garbage") << json << QByteArray("\x89PNG\r\n\x1a\n garbage \xff\xfe");
    QTest::newRow("empty") << json << QByteArray();
    // A valid, newer entry that only the size cap stops, announced in advance or not.
    const QByteArray oversized =
        '[' + QByteArray(UpdateChecker::MaxUpdateFileSize, ' ') + entry("Sample", "0.0", "1.3") + ']';
    QTest::newRow("over 1 MiB") << json << oversized;
    QTest::newRow("over 1 MiB, no length") << unannounced << oversized;
}

void UpdateTest::noNotice()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, body);

    m_site->answer = static_cast<FakeSite::Answer>(answer);
    m_site->body = body;
    switchOn(true);
    UpdateChecker checker;
    checker.setBaseUrl(m_site->baseUrl());
    QSignalSpy finished(&checker, &UpdateChecker::finished);
    checker.start();
    QVERIFY(finished.wait());
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QVERIFY(!checker.notice());
}

void UpdateTest::silentServerTimesOut()
{
    m_site->answer = FakeSite::Answer::Silent;
    switchOn(true);
    UpdateChecker checker;
    checker.setBaseUrl(m_site->baseUrl());
    checker.setTimeoutMs(500);
    QSignalSpy finished(&checker, &UpdateChecker::finished);
    QElapsedTimer clock;
    clock.start();
    checker.start();
    QVERIFY(finished.wait(10'000));
    QVERIFY(clock.elapsed() < 5'000);
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QCOMPARE(m_site->connections, 1);
    QVERIFY(!checker.notice());

    // A check that has ended makes room for the next one.
    m_site->answer = FakeSite::Answer::Json;
    m_site->body = '[' + entry("Sample", "0.0", "1.3") + ']';
    checker.start();
    QVERIFY(finished.wait());
    QCOMPARE(finished.at(1).constFirst().toBool(), true);
}

void UpdateTest::switchedOff_data()
{
    QTest::addColumn<QVariant>("setting");

    QTest::newRow("absent") << QVariant();
    QTest::newRow("0") << QVariant(0);
    QTest::newRow("not a number") << QVariant(QStringLiteral("yes"));
}

void UpdateTest::switchedOff()
{
    QFETCH(QVariant, setting);

    if (setting.isValid())
        QSettings().setValue(UpdateChecker::SettingKey, setting);
    m_site->body = '[' + entry("Sample", "0.0", "1.3") + ']';
    UpdateChecker checker;
    checker.setBaseUrl(m_site->baseUrl());
    QSignalSpy finished(&checker, &UpdateChecker::finished);
    checker.start();
    QVERIFY(finished.isEmpty());
    QVERIFY(finished.wait());
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    // Had a request been made, it would have reached the site before the check could finish.
    QCOMPARE(m_site->connections, 0);
}

void UpdateTest::preferencesSwitch()
{
    auto *dialog = new PreferencesDialog;
    auto *box = dialog->findChild<QCheckBox *>(QStringLiteral("checkUpdates"));
    QVERIFY(box);
    QVERIFY(!box->isChecked());
    QVERIFY(!QSettings().contains(UpdateChecker::SettingKey));
    box->click();
    QCOMPARE(QSettings().value(UpdateChecker::SettingKey), QVariant(1));
    delete dialog;

    // A dialog opened later shows the stored choice, and the check follows it.
    dialog = new PreferencesDialog;
    box = dialog->findChild<QCheckBox *>(QStringLiteral("checkUpdates"));
    QVERIFY(box->isChecked());
    m_site->body = "[]";
    UpdateChecker checker;
    checker.setBaseUrl(m_site->baseUrl());
    QSignalSpy finished(&checker, &UpdateChecker::finished);
    checker.start();
    QVERIFY(finished.wait());
    QCOMPARE(m_site->connections, 1);

    box->click();
    QCOMPARE(QSettings().value(UpdateChecker::SettingKey), QVariant(0));
    delete dialog;
}

QTEST_MAIN(UpdateTest)
#include "tst_update.moc"
