// The installed tree: `cmake --install` of this build into a temporary prefix must give a desktop application that a
// Linux desktop can launch, find in its menus and software centre, and open invoice files with.
#include <QDirIterator>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// Runs a program; its exit code (-1 when it could not run), with everything it printed.
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
        // Tests are built into <build dir>/tests; the install rules, and the cmake that made them,
        // belong to <build dir>.
        const QString build = QCoreApplication::applicationDirPath() + QStringLiteral("/..");
        QFile cache(build + QStringLiteral("/CMakeCache.txt"));
        if (!cache.open(QIODevice::ReadOnly))
            QSKIP("not run from a CMake build tree");
        const QString cmake = QRegularExpression(QStringLiteral("CMAKE_COMMAND:INTERNAL=(.*)"))
                                  .match(QString::fromLocal8Bit(cache.readAll()))
                                  .captured(1);
        QString output;
        QVERIFY2(run(cmake, {"--install", build, "--prefix", m_prefix.path()}, &output) == 0, qPrintable(output));
    }

    void installedFiles()
    {
        for (const char *path : {"bin/seikyu", "share/applications/seikyu.desktop", "share/mime/packages/seikyu.xml",
                                 "share/icons/hicolor/scalable/apps/seikyu.svg",
                                 "share/icons/hicolor/scalable/mimetypes/application-x-seikyu.svg",
                                 "share/metainfo/io.github.seikyu.Seikyu.metainfo.xml", "share/man/man1/seikyu.1.gz",
                                 "share/doc/seikyu/README.md", "share/doc/seikyu/copyright"})
            QVERIFY2(QFileInfo(m_prefix.filePath(QString::fromLatin1(path))).size() > 0, path);
        QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("bin/seikyu"))).isExecutable());
        // An icon in the wrong size folder is scaled by every desktop that shows it, and blurs.
        for (const int size : {48, 128, 256}) {
            for (const char *name : {"apps/seikyu.png", "mimetypes/application-x-seikyu.png"})
                QCOMPARE(
                    QImageReader(m_prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/%2").arg(size).arg(name)))
                        .size(),
                    QSize(size, size));
        }
    }

    void invoiceFilesAreTheirOwnType()
    {
        // What a file manager does with a double-clicked invoice: look its type up in the shared MIME
        // database (the installed tree ahead of the system's) and find the application for it.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_prefix.filePath(QStringLiteral("share")) + ":/usr/share"));
        const QMimeType type =
            QMimeDatabase().mimeTypeForFile(QStringLiteral("2026-12 ACME.seikyu"), QMimeDatabase::MatchExtension);
        QCOMPARE(type.name(), QStringLiteral("application/x-seikyu"));
        QVERIFY(type.inherits(QStringLiteral("application/json")));
        QFile entry(m_prefix.filePath(QStringLiteral("share/applications/seikyu.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly) && entry.readAll().contains("\nMimeType=application/x-seikyu;"));
    }

    void validatorsAcceptTheEntries()
    {
        // The whole tree for appstream, so that the launchable desktop entry is checked to exist too.
        for (const auto &[tool, arguments, complaint] :
             {std::tuple{"desktop-file-validate", QStringList{m_prefix.filePath("share/applications/seikyu.desktop")},
                         "\\S"},
              {"appstreamcli", QStringList{"validate-tree", "--no-net", m_prefix.path()}, "^\\s*[EW]:"}}) {
            const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
            QString output;
            if (!program.isEmpty())
                QVERIFY2(run(program, arguments, &output) == 0 &&
                             !output.contains(QRegularExpression(complaint, QRegularExpression::MultilineOption)),
                         qPrintable(output));
        }
    }

    void manPageDocumentsEveryOptionAndVariable()
    {
        const QString source = qEnvironmentVariable("SEIKYU_SOURCE_DIR");
        if (source.isEmpty())
            QSKIP("SEIKYU_SOURCE_DIR is not set");
        const auto read = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QString manual = read(source + QStringLiteral("/resources/seikyu.1.in"));
        manual.replace(QStringLiteral("\\-"), QStringLiteral("-")).remove(QStringLiteral("\\&"));
        QVERIFY(!manual.isEmpty());
        const auto documented = [&manual](const QString &name) {
            return manual.contains(
                QRegularExpression(QStringLiteral("(^|[^\\w-])%1($|[^\\w-])").arg(QRegularExpression::escape(name))));
        };
        const auto found = [](const QString &text, const char *pattern) {
            QSet<QString> names;
            for (auto it = QRegularExpression(QString::fromLatin1(pattern)).globalMatch(text); it.hasNext();)
                names.insert(it.next().captured(1));
            return names;
        };
        // Every option the program takes: those its code names, and those its --help lists.
        QSet<QString> options = found(read(source + QStringLiteral("/src/app/main.cpp")) +
                                          read(source + QStringLiteral("/src/ledger/LedgerCommandLine.cpp")),
                                      "\"(--?[a-z][a-z-]*)[=\"]");
        for (const QString &name : found(read(source + QStringLiteral("/src/app/main.cpp")),
                                         "QCommandLineOption\\(\\s*QStringLiteral\\(\"([a-z-]+)\"\\)"))
            options.insert(QStringLiteral("--") + name);
        QString help;
        QVERIFY(run(m_prefix.filePath(QStringLiteral("bin/seikyu")), {QStringLiteral("--help")}, &help) == 0);
        options += found(help, "(?:^|\\s)(--?[a-z][a-z-]*)");
        QVERIFY(options.contains(QStringLiteral("--export-ubl")) && options.contains(QStringLiteral("--from")));
        for (const QString &option : std::as_const(options))
            QVERIFY2(documented(option), qPrintable(option + QStringLiteral(" is not in the manual page")));

        // Every environment variable the program reads.
        QSet<QString> variables;
        QDirIterator files(source + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString code = read(files.next());
            variables += found(code, "(?:qEnvironmentVariable\\w*|getenv)\\(\\s*\"([A-Z_]+)\"");
            variables += found(code, "\"((?:SEIKYU|PG)[A-Z_]*)\"");
            variables += found(code, "for \\(const char \\*\\w+ : \\{((?:\"[A-Z_]+\",? ?)+)\\}\\)");
        }
        QVERIFY(variables.contains(QStringLiteral("SEIKYU_LEDGER")));
        for (QString variable : std::as_const(variables)) {
            for (const QString &name : variable.remove(QLatin1Char('"')).split(QLatin1Char(','), Qt::SkipEmptyParts))
                QVERIFY2(documented(name.trimmed()), qPrintable(name + QStringLiteral(" is not in the manual page")));
        }
    }

private:
    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
