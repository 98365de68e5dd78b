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
#include <QXmlStreamReader>
#include <memory>

namespace {

struct Run
{
    int exitCode = -1;
    QString output; ///< standard output
    QString errors; ///< standard error

    QString all() const { return output + errors; }
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {-1, {}, process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

/// The entries of the [Desktop Entry] group, localized keys included ("Name[ja]").
QHash<QString, QString> desktopEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QHash<QString, QString> entries;
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0 && !line.startsWith(QLatin1Char('#')))
            entries.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return entries;
}

/// Every element of an XML file as "name" → texts, and attributes as "name@attribute" → values.
QMultiHash<QString, QString> xmlValues(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMultiHash<QString, QString> values;
    QXmlStreamReader xml(&file);
    const QStringList containers = {QStringLiteral("component"),  QStringLiteral("mime-info"),
                                    QStringLiteral("mime-type"),  QStringLiteral("description"),
                                    QStringLiteral("releases"),   QStringLiteral("provides"),
                                    QStringLiteral("categories"), QStringLiteral("keywords")};
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QString name = xml.name().toString();
        for (const QXmlStreamAttribute &attribute : xml.attributes())
            values.insert(name + QLatin1Char('@') + attribute.qualifiedName().toString(), attribute.value().toString());
        if (!containers.contains(name))
            values.insert(name, xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified());
    }
    return values;
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void installedFiles_data();
    void installedFiles();
    void iconRenders_data();
    void iconRenders();
    void entriesAgree();
    void invoiceFilesAreTheirOwnType();
    void desktopEntryValidates();
    void metainfoValidates();
    void manualPageFormats();

private:
    QString installed(const QString &relative) const { return m_prefix->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_prefix;
};

void InstallTest::initTestCase()
{
    // Tests are built into <build dir>/tests; the install rules belong to <build dir>.
    const QString buildDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    QFile cache(buildDir + QStringLiteral("/CMakeCache.txt"));
    if (!cache.open(QIODevice::ReadOnly | QIODevice::Text))
        QSKIP("not run from a CMake build tree");
    // The cmake of this build, not whichever one is first on PATH.
    QString cmake;
    while (!cache.atEnd()) {
        const QByteArray line = cache.readLine().trimmed();
        if (line.startsWith("CMAKE_COMMAND:"))
            cmake = QString::fromLocal8Bit(line.mid(line.indexOf('=') + 1));
    }
    if (cmake.isEmpty())
        cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    QVERIFY(!cmake.isEmpty());

    m_prefix = std::make_unique<QTemporaryDir>();
    QVERIFY(m_prefix->isValid());
    const Run install =
        run(cmake, {QStringLiteral("--install"), buildDir, QStringLiteral("--prefix"), m_prefix->path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.all()));
}

void InstallTest::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("program") << "bin/seikyu";
    QTest::newRow("desktop entry") << "share/applications/seikyu.desktop";
    QTest::newRow("file type") << "share/mime/packages/seikyu.xml";
    QTest::newRow("app icon, scalable") << "share/icons/hicolor/scalable/apps/seikyu.svg";
    QTest::newRow("document icon, scalable") << "share/icons/hicolor/scalable/mimetypes/application-x-seikyu.svg";
    QTest::newRow("metainfo") << "share/metainfo/io.github.seikyu.Seikyu.metainfo.xml";
    QTest::newRow("manual page") << "share/man/man1/seikyu.1.gz";
    QTest::newRow("guide") << "share/doc/seikyu/README.md";
    QTest::newRow("copyright") << "share/doc/seikyu/copyright";
}

void InstallTest::installedFiles()
{
    QFETCH(QString, path);
    QFileInfo info(installed(path));
    if (path.endsWith(QLatin1String(".gz")) && !info.exists())
        info.setFile(installed(path.chopped(3))); // built without gzip
    QVERIFY2(info.isFile(), qPrintable(path));
    QVERIFY(info.size() > 0);
    if (path.startsWith(QLatin1String("bin/")))
        QVERIFY(info.isExecutable());
}

void InstallTest::iconRenders_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    for (const int size : {48, 128, 256}) {
        const QString folder = QStringLiteral("share/icons/hicolor/%1x%1/").arg(size);
        QTest::addRow("app %d", size) << folder + QStringLiteral("apps/seikyu.png") << size;
        QTest::addRow("document %d", size) << folder + QStringLiteral("mimetypes/application-x-seikyu.png") << size;
    }
}

void InstallTest::iconRenders()
{
    // An icon in the wrong size folder is scaled by every desktop that shows it, and blurs.
    QFETCH(QString, path);
    QFETCH(int, size);
    QImageReader reader(installed(path));
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), QSize(size, size));
}

void InstallTest::entriesAgree()
{
    // The pieces find each other by name: the desktop entry names the icon, the program and the
    // file type; the metainfo names the desktop entry; the file type names its icon by convention.
    const QHash<QString, QString> entry = desktopEntry(installed(QStringLiteral("share/applications/seikyu.desktop")));
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("seikyu %F"));
    QVERIFY(QFileInfo(installed(QStringLiteral("bin/") + entry.value(QStringLiteral("Exec")).section(' ', 0, 0)))
                .isExecutable());
    QVERIFY(QFileInfo::exists(installed(
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(entry.value(QStringLiteral("Icon"))))));
    QCOMPARE(entry.value(QStringLiteral("MimeType")), QStringLiteral("application/x-seikyu;"));
    QCOMPARE(entry.value(QStringLiteral("Categories")), QStringLiteral("Office;Finance;"));
    QVERIFY(entry.value(QStringLiteral("Name[ja]")).contains(QStringLiteral("請求書")));
    QVERIFY(!entry.value(QStringLiteral("Comment[ja]")).isEmpty());

    const QMultiHash<QString, QString> mime = xmlValues(installed(QStringLiteral("share/mime/packages/seikyu.xml")));
    QCOMPARE(mime.value(QStringLiteral("mime-type@type")), QStringLiteral("application/x-seikyu"));
    QCOMPARE(mime.value(QStringLiteral("glob@pattern")), QStringLiteral("*.seikyu"));
    QCOMPARE(mime.value(QStringLiteral("sub-class-of@type")), QStringLiteral("application/json"));
    QVERIFY2(!mime.contains(QStringLiteral("magic")), "invoice files are recognised by name, never by content");
    QCOMPARE(mime.values(QStringLiteral("comment@xml:lang")), QStringList{QStringLiteral("ja")});

    const QMultiHash<QString, QString> info =
        xmlValues(installed(QStringLiteral("share/metainfo/io.github.seikyu.Seikyu.metainfo.xml")));
    QCOMPARE(info.value(QStringLiteral("id")), QStringLiteral("io.github.seikyu.Seikyu"));
    QCOMPARE(info.value(QStringLiteral("launchable")), QStringLiteral("seikyu.desktop"));
    QCOMPARE(info.value(QStringLiteral("launchable@type")), QStringLiteral("desktop-id"));
    QCOMPARE(info.value(QStringLiteral("url")), QStringLiteral(SEIKYU_PRODUCT_URL));
    QCOMPARE(info.value(QStringLiteral("release@version")), QStringLiteral(SEIKYU_VERSION));
    QCOMPARE(info.value(QStringLiteral("binary")), QStringLiteral("seikyu"));
    QCOMPARE(info.value(QStringLiteral("mediatype")), entry.value(QStringLiteral("MimeType")).chopped(1));
}

void InstallTest::invoiceFilesAreTheirOwnType()
{
    // What a file manager does when an invoice is double-clicked: look its type up in the shared
    // MIME database (here the installed tree ahead of the system's) and find the desktop entry
    // that handles that type.
    const QString share = installed(QStringLiteral("share"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(share + QStringLiteral(":/usr/local/share:/usr/share")));
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("2026-12 ACME.seikyu"), QMimeDatabase::MatchExtension);
    QCOMPARE(type.name(), QStringLiteral("application/x-seikyu"));
    QVERIFY(type.inherits(QStringLiteral("application/json")));
    QCOMPARE(type.globPatterns(), QStringList{QStringLiteral("*.seikyu")});
    // Other JSON files stay what they were.
    QCOMPARE(database.mimeTypeForFile(QStringLiteral("data.json"), QMimeDatabase::MatchExtension).name(),
             QStringLiteral("application/json"));

    const QString cache = installed(QStringLiteral("share/applications/mimeinfo.cache"));
    if (!QFileInfo::exists(cache))
        QSKIP("update-desktop-database is not installed (Debian package desktop-file-utils)");
    QFile file(cache);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(QStringLiteral("application/x-seikyu=seikyu.desktop;")));
}

void InstallTest::desktopEntryValidates()
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
    const Run check = run(validator, {installed(QStringLiteral("share/applications/seikyu.desktop"))});
    QVERIFY2(check.exitCode == 0, qPrintable(check.all()));
    // It reports hints and deprecations without failing; the entry should have none.
    QVERIFY2(check.all().trimmed().isEmpty(), qPrintable(check.all()));
}

void InstallTest::metainfoValidates()
{
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (appstream.isEmpty())
        QSKIP("appstreamcli is not installed (Debian package appstream)");
    // The whole tree, so that the launchable desktop entry is checked to exist as well.
    const Run check = run(appstream, {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), m_prefix->path()});
    QVERIFY2(check.exitCode == 0, qPrintable(check.all()));
    QVERIFY2(
        !check.all().contains(QRegularExpression(QStringLiteral("^\\s*[EW]:"), QRegularExpression::MultilineOption)),
        qPrintable(check.all()));
}

void InstallTest::manualPageFormats()
{
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty())
        QSKIP("man is not installed (Debian package man-db)");
    QString page = installed(QStringLiteral("share/man/man1/seikyu.1.gz"));
    if (!QFileInfo::exists(page))
        page = installed(QStringLiteral("share/man/man1/seikyu.1"));

    // The way Debian's lintian checks a page: every groff warning is a fault.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    environment.insert(QStringLiteral("MANROFFSEQ"), QString());
    const Run warnings = run(man,
                             {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                              QStringLiteral("-l"), QStringLiteral("-Tutf8"), QStringLiteral("-Z"), page},
                             environment);
    QVERIFY2(warnings.exitCode == 0 && warnings.errors.isEmpty(), qPrintable(warnings.errors));

    const Run text = run(man,
                         {QStringLiteral("-E"), QStringLiteral("UTF-8"), QStringLiteral("-l"), QStringLiteral("-P"),
                          QStringLiteral("cat"), page},
                         environment);
    QCOMPARE(text.exitCode, 0);
    for (const char *expected : {"NAME", "SYNOPSIS", "OPTIONS", "FILES", "SEE ALSO", "--export-pdf", "--version",
                                 "--help", "~/.config/Seikyu/Seikyu.conf", ".seikyu"})
        QVERIFY2(text.output.contains(QLatin1String(expected)), expected);
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
