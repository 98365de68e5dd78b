// An export that cannot be written says which file and why, in the window and on the command line:
// a folder that refuses writing, a folder that vanished or never was, a disk that is really full (a
// small tmpfs mounted in a namespace of the test's own). What was at the target stays as it was.
#include "document/WriteFailure.h"
#include "output/PdfExport.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <cstdio>
#include <unistd.h>

using namespace seikyu;
using namespace seikyu::test;

namespace {

enum class Failure { ReadOnlyFolder, VanishedFolder, FolderIsAFile, FullDisk };

/// Exit status of a child that could not set up the full disk: the system does not allow the
/// namespace or the mount, and the case is skipped.
constexpr int NoFullDisk = 77;

QByteArray invoiceBytes()
{
    return QByteArrayLiteral(R"({"head": "御請求書", "date": "2025-05-01", "whom": "丸の内物産", "tail": 0,
        "from": "〒100-0005\n東京都千代田区丸の内\n株式会社サンプル\n03-1234-5678\nみずほ銀行",
        "full": "御請求金額\n￥108,000",
        "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
                 {"date": "05/01", "name": "デザイン料", "solo": "50000", "much": 2, "sums": "100000"},
                 {"date": " ", "name": " ", "solo": "", "much": " ", "sums": " "},
                 {"date": " ", "name": " ", "solo": "", "much": "小計", "sums": "100000"},
                 {"date": " ", "name": " ", "solo": "", "much": "消費税", "sums": "8000"},
                 {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "108000"}]})");
}

/// The environment for a child whose lines the test reads: in English.
QProcessEnvironment englishEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("LANGUAGE"));
    return environment;
}

/// Runs a program with a small, empty tmpfs mounted on \a folder, in a user and mount namespace of
/// its own (so no privilege is needed and nothing outside sees the mount). The program's standard
/// output and error, merged; the exit code in \a status.
QByteArray runOnFullDisk(const QString &folder, const QString &program, const QStringList &arguments, int *status)
{
    QProcess child;
    child.setProcessEnvironment(englishEnvironment());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QStringLiteral("unshare"),
        QStringList{"--user", "--map-root-user", "--mount", "sh", "-c",
                    QStringLiteral("mount -t tmpfs -o size=8k seikyu-test \"$1\" || exit %1; shift; exec \"$@\"")
                        .arg(NoFullDisk),
                    "sh", folder, program} +
            arguments);
    if (!child.waitForStarted(10000)) {
        *status = NoFullDisk; // no unshare here
        return {};
    }
    child.waitForFinished(120000);
    *status = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    return child.readAll();
}

/// Child: on a disk with a small old file, exports an invoice next to it through the window's
/// command and prints each alert; then whether the old file is as it was.
int exportOntoFullDisk(const QString &folder)
{
    initApplication();
    const QString old = folder + QStringLiteral("/old.txt");
    const QByteArray oldBytes(2048, 'x');
    writeFile(old, oldBytes);
    {
        PrompterGuard prompter;
        prompter->saveAnswers = {folder + QStringLiteral("/a.pdf")};
        auto document = makeDocument(invoiceBytes());
        exportPdf(*document, nullptr);
        for (const QString &alert : std::as_const(prompter->alerts))
            std::printf("alert: %s\n", alert.toUtf8().constData());
    }
    std::printf("old file kept: %d\nnew file left: %d\n", readAll(old) == oldBytes ? 1 : 0,
                QFileInfo::exists(folder + QStringLiteral("/a.pdf")) ? 1 : 0);
    return 0;
}

/// Makes a folder refuse writing, for root too: root passes over permissions, but not over the
/// immutable attribute. False when neither can be done here.
bool makeReadOnly(const QString &folder)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0;
}

void makeWritable(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return;
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

class TestWriteFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }

    void exportSaysWhichFileAndWhy_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only folder") << Failure::ReadOnlyFolder << "permission denied";
        QTest::newRow("vanished folder") << Failure::VanishedFolder << "the folder does not exist";
        QTest::newRow("a file where the folder should be") << Failure::FolderIsAFile << "the folder does not exist";
        QTest::newRow("full disk") << Failure::FullDisk << "the disk is full";
    }
    void exportSaysWhichFileAndWhy()
    {
        QFETCH(Failure, failure);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString input = writeFile(dir.filePath(QStringLiteral("in/a.seikyu")), invoiceBytes());
        QString folder = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray oldPdf("%PDF-1.4 an older export\n");
        writeFile(folder + QStringLiteral("/a.pdf"), oldPdf);
        auto writable = qScopeGuard([&] { makeWritable(folder); });
        switch (failure) {
        case Failure::ReadOnlyFolder:
            if (!makeReadOnly(folder))
                QSKIP("Running as root where chattr is not supported: root writes into any folder.");
            break;
        case Failure::VanishedFolder:
            QVERIFY(QDir(folder).removeRecursively());
            break;
        case Failure::FolderIsAFile:
            folder = writeFile(dir.filePath(QStringLiteral("out.txt")), "a file, not a folder");
            break;
        case Failure::FullDisk:
            break;
        }
        const QString target = folder + QStringLiteral("/a.pdf");
        const QString expected = QStringLiteral("%1 could not be written: %2.").arg(target, reason);

        // The window: the alert names the PDF and says why.
        if (failure == Failure::FullDisk) {
            int status = 0;
            const QString output = QString::fromUtf8(runOnFullDisk(folder, QCoreApplication::applicationFilePath(),
                                                                   {"--export-onto-full-disk", folder}, &status));
            if (status == NoFullDisk)
                QSKIP("This system allows no tmpfs in a user namespace: no real full disk to write to.");
            QCOMPARE(status, 0);
            QVERIFY2(output.contains(QStringLiteral("alert: Failed | Failed writing PDF\n") + expected),
                     qPrintable(output));
            QVERIFY2(output.contains(QStringLiteral("old file kept: 1\nnew file left: 0")), qPrintable(output));
        } else {
            PrompterGuard prompter;
            prompter->saveAnswers = {target};
            auto document = makeDocument(invoiceBytes());
            exportPdf(*document, nullptr);
            QCOMPARE(prompter->alerts, QStringList{QStringLiteral("Failed | Failed writing PDF\n") + expected});
        }

        // The command line: one line, naming the PDF rather than the invoice it was made from.
        int status = 0;
        const QString binary = qEnvironmentVariable("SEIKYU_BINARY");
        const QStringList arguments{"--export-pdf", target, input};
        QString output;
        if (failure == Failure::FullDisk) {
            output = QString::fromUtf8(runOnFullDisk(folder, binary, arguments, &status));
        } else {
            QProcess process;
            process.setProcessEnvironment(englishEnvironment());
            process.start(binary, arguments);
            QVERIFY(process.waitForFinished(60000));
            status = process.exitCode();
            output = QString::fromUtf8(process.readAllStandardError() + process.readAllStandardOutput());
        }
        QCOMPARE(status, 1);
        QCOMPARE(output, QStringLiteral("seikyu: %1: could not be written: %2\n").arg(target, reason));
        QVERIFY(!output.contains(input));

        if (failure == Failure::ReadOnlyFolder) {
            makeWritable(folder);
            QCOMPARE(readAll(target), oldPdf); // what was there stays
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"a.pdf"});
        }
        if (failure == Failure::FullDisk)
            QCOMPARE(readAll(target), oldPdf); // the mount was the namespace's own: the folder is untouched
    }

    void reasonsComeFromThePlace()
    {
        QTemporaryDir dir;
        // A path through a missing folder, however deep, names the folder as missing.
        QCOMPARE(writeFailureReason(dir.filePath(QStringLiteral("no/such/a.pdf")), 10, QFileDevice::OpenError,
                                    QStringLiteral("No such file or directory")),
                 QStringLiteral("the folder does not exist"));
        // A folder of the name itself is in the way.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a.pdf")));
        QCOMPARE(writeFailureReason(dir.filePath(QStringLiteral("a.pdf")), 10, QFileDevice::OpenError, {}),
                 QStringLiteral("a folder of that name is in the way"));
        // More than the disk holds is a full disk, whatever the system called it.
        QCOMPARE(writeFailureReason(dir.filePath(QStringLiteral("b.pdf")), std::numeric_limits<qint64>::max(),
                                    QFileDevice::WriteError, QStringLiteral("Input/output error")),
                 QStringLiteral("the disk is full"));
        // Otherwise the system's own words, on one line.
        QCOMPARE(writeFailureReason(dir.filePath(QStringLiteral("b.pdf")), 10, QFileDevice::WriteError,
                                    QStringLiteral("File too\nlarge")),
                 QStringLiteral("File too large"));
        QCOMPARE(writeFailureMessage(QStringLiteral("/x/請求書.pdf"), QStringLiteral("permission denied")),
                 QStringLiteral("/x/請求書.pdf could not be written: permission denied."));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--export-onto-full-disk")
        return exportOntoFullDisk(QString::fromLocal8Bit(argv[2]));
    TestWriteFailures test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writefailures.moc"
