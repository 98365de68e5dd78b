// The installed tree: `cmake --install` of this build into a temporary prefix must give a desktop
// application that a Linux desktop can launch, find in its menus and software centre, and open
// invoice files with.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// Runs a program; gives its exit code (-1 when it could not run) and everything it printed.
int run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    *output = QString::fromLocal8Bit(process.readAll());
    return finished ? process.exitCode() : -1;
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Tests are built into <build dir>/tests; the install rules belong to <build dir>.
        const QString buildDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
        QFile cache(buildDir + QStringLiteral("/CMakeCache.txt"));
        if (!cache.open(QIODevice::ReadOnly))
            QSKIP("not run from a CMake build tree");
        // The cmake of this build, not whichever one is first on PATH.
        const QString cmake =
            QRegularExpression(QStringLiteral("^CMAKE_COMMAND:INTERNAL=(.*)$"), QRegularExpression::MultilineOption)
                .match(QString::fromLocal8Bit(cache.readAll()))
                .captured(1);
        QVERIFY(!cmake.isEmpty() && m_prefix.isValid());
        QString output;
        QVERIFY2(run(cmake, {QStringLiteral("--install"), buildDir, QStringLiteral("--prefix"), m_prefix.path()},
                     &output) == 0,
                 qPrintable(output));
    }

    void installedFiles()
    {
        for (const char *path : {"bin/seikyu", "share/applications/seikyu.desktop", "share/mime/packages/seikyu.xml",
                                 "share/icons/hicolor/scalable/apps/seikyu.svg",
                                 "share/icons/hicolor/scalable/mimetypes/application-x-seikyu.svg",
                                 "share/metainfo/io.github.seikyu.Seikyu.metainfo.xml", "share/man/man1/seikyu.1.gz",
                                 "share/doc/seikyu/README.md", "share/doc/seikyu/copyright"}) {
            const QFileInfo info(m_prefix.filePath(QString::fromLatin1(path)));
            QVERIFY2(info.isFile() && info.size() > 0, path);
        }
        QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("bin/seikyu"))).isExecutable());
        // An icon in the wrong size folder is scaled by every desktop that shows it, and blurs.
        for (const int size : {48, 128, 256}) {
            for (const char *name : {"apps/seikyu.png", "mimetypes/application-x-seikyu.png"}) {
                QImageReader reader(
                    m_prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/%2").arg(size).arg(name)));
                QCOMPARE(reader.size(), QSize(size, size));
            }
        }
    }

    void invoiceFilesAreTheirOwnType()
    {
        // What a file manager does when an invoice is double-clicked: look its type up in the shared
        // MIME database (here the installed tree ahead of the system's) and find the entry for it.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_prefix.filePath(QStringLiteral("share")) +
                                                   QStringLiteral(":/usr/local/share:/usr/share")));
        const QMimeDatabase database;
        const QMimeType type =
            database.mimeTypeForFile(QStringLiteral("2026-12 ACME.seikyu"), QMimeDatabase::MatchExtension);
        QCOMPARE(type.name(), QStringLiteral("application/x-seikyu"));
        QVERIFY(type.inherits(QStringLiteral("application/json")));
        QCOMPARE(database.mimeTypeForFile(QStringLiteral("data.json"), QMimeDatabase::MatchExtension).name(),
                 QStringLiteral("application/json"));
        QFile entry(m_prefix.filePath(QStringLiteral("share/applications/seikyu.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nMimeType=application/x-seikyu;"));
    }

    void validatorsAcceptTheEntries_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint"); // printed although the tool succeeds
        QTest::newRow("desktop entry") << "desktop-file-validate"
                                       << QStringList{m_prefix.filePath(
                                              QStringLiteral("share/applications/seikyu.desktop"))}
                                       << "\\S";
        // The whole tree, so that the launchable desktop entry is checked to exist as well.
        QTest::newRow("metainfo") << "appstreamcli"
                                  << QStringList{QStringLiteral("validate-tree"), QStringLiteral("--no-net"),
                                                 m_prefix.path()}
                                  << "^\\s*[EW]:";
    }

    void validatorsAcceptTheEntries()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            QSKIP("the validator is not installed");
        QString output;
        QCOMPARE(run(program, arguments, &output), 0);
        QVERIFY2(!output.contains(QRegularExpression(complaint, QRegularExpression::MultilineOption)),
                 qPrintable(output));
    }

private:
    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
