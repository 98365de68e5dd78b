// Injected failures: a full disk (one that says so, one that does not, and a real one: a small tmpfs mounted in a
// namespace of the test's own), a folder that vanished, refuses writing or is a file, settings that cannot be written
// or that are damaged, a crash. The previous file stays byte for byte as it was, the open invoice stays as it was and
// can still be saved elsewhere, the user is told which file and why, in the window and on the command line, and an
// unsaved invoice survives the crash.
#include "app/RecoveryStore.h"
#include "document/AtomicWrite.h"
#include "document/WriteFailure.h"
#include "einvoice/EInvoiceExport.h"
#include "einvoice/PdfA3.h"
#include "import/CsvFile.h"
#include "invoice/InvoiceFile.h"
#include "output/PdfExport.h"
#include "sections/SavedLists.h"
#include "support/FullDisk.h"
#include "support/TestSupport.h"
#include "widgets/ImageWell.h"

#include <QProcess>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// Bytes a file may hold while a disk that fills up without a word is simulated; -1 when none is.
std::atomic<long> silentRoom{-1};

} // namespace

// A disk that fills up and does not say so: while silentRoom is set, whatever a write would put into
// a regular file beyond that many bytes is dropped, yet reported as written. This definition stands
// in for the C library's write(), which Qt's file classes call.
extern "C" ssize_t write(int fd, const void *data, size_t size)
{
    struct stat info;
    const long room = silentRoom.load();
    if (room >= 0 && fd > 2 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const long kept = std::clamp(room - long(info.st_size), 0L, long(size));
        return syscall(SYS_write, fd, data, size_t(kept)) < 0 ? -1 : ssize_t(size);
    }
    return syscall(SYS_write, fd, data, size);
}

namespace {

/// Child: edits a new invoice, waits until its recovery copy is on disk, lets a later edit reach
/// the copy too, then dies at once.
int crashAfterEdit()
{
    DocumentController controller;
    controller.setAutosaveDelay(10);
    Document *document = controller.newDocument();
    document->tblePlus();
    document->editCell(1, Column::Name, QStringLiteral("復旧テスト"));
    if (!QTest::qWaitFor([] { return recoveryFiles(QStringLiteral("*.seikyu")) == 1; }, 20000))
        return 2;
    document->editCell(1, Column::Solo, QStringLiteral("4200"));
    QTest::qWait(200);
    std::raise(SIGKILL);
    return 3;
}

/// Child: reopens what a crashed run left, prints it, then crashes again or closes with Don't Save.
int recover(bool crashAgain)
{
    PrompterGuard prompter;
    prompter->saveChoices = {Prompter::SaveChoice::DontSave};
    DocumentController controller;
    std::printf("recovered %d\n", controller.recoverDocuments());
    for (Document *document : controller.documents())
        std::printf("row %s edited %d untitled %d\n", tableTexts(*document).value(1).toUtf8().constData(),
                    document->isEdited() ? 1 : 0, document->filePath().isEmpty() ? 1 : 0);
    std::fflush(stdout);
    if (crashAgain)
        std::raise(SIGKILL);
    controller.closeAll();
    return 0;
}

QByteArray runChild(const char *mode, bool *crashed = nullptr)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode)});
    if (!child.waitForFinished(60000))
        return "timeout";
    if (crashed)
        *crashed = child.exitStatus() == QProcess::CrashExit;
    return child.readAllStandardOutput();
}

enum class Failure { FullDisk, SilentlyFullDisk, VanishedFolder, ReadOnlyFolder, FolderIsAFile };

/// Exit status of a child that could not set up the full disk: the system does not allow the
/// namespace or the mount, and the case is skipped.
constexpr int NoFullDisk = 77;

QByteArray exportedInvoice()
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
        auto document = makeDocument(exportedInvoice());
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

class TestFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        QDir(RecoveryStore::rootFolder()).removeRecursively();
    }
    void init() { clearSettings(); }

    void failedWriteLosesNothing_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<bool>("exporting");
        for (bool exporting : {false, true}) {
            const char *what = exporting ? "export" : "save";
            QTest::addRow("full disk, %s", what) << Failure::FullDisk << exporting;
            QTest::addRow("disk full without a word, %s", what) << Failure::SilentlyFullDisk << exporting;
            QTest::addRow("vanished folder, %s", what) << Failure::VanishedFolder << exporting;
        }
    }
    void failedWriteLosesNothing()
    {
        QFETCH(Failure, failure);
        QFETCH(bool, exporting);
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("f")), path = folder + QStringLiteral("/a.seikyu");
        const QString pdf = folder + QStringLiteral("/a.pdf");
        const QByteArray before = makeDocument()->dataOfType(), oldPdf("%PDF-1.4 an older export\n");
        writeFile(path, before);
        writeFile(pdf, oldPdf);
        DocumentController controller;
        controller.setAutosaveDelay(10);
        Document *document = controller.openFile(path);
        auto honest = qScopeGuard([] { silentRoom = -1; });
        QByteArray page;
        {
            std::optional<test::FullDisk> disk;
            if (failure == Failure::FullDisk)
                disk.emplace(512);
            if (failure == Failure::SilentlyFullDisk)
                silentRoom = 512;
            if (failure == Failure::VanishedFolder)
                QVERIFY(QDir(folder).removeRecursively());
            // The autosave after a change fails quietly and leaves the document edited.
            document->tblePlus();
            page = document->dataOfType();
            QVERIFY(page.size() > 512);
            QTRY_VERIFY(!document->findChild<QTimer *>()->isActive());
            QVERIFY(prompter->alerts.isEmpty());
            if (exporting) {
                prompter->saveAnswers = {pdf};
                prompter->proceedAnswers = {true}; // an unfinished invoice: no sums, no customer, no issuer
                document->window()->findChild<QAction *>(QStringLiteral("exportPdfAction"))->trigger();
                QTRY_COMPARE(prompter->alerts.size(), 1);
                QVERIFY(prompter->alerts.constFirst().startsWith(
                    QStringLiteral("Failed | Failed writing PDF\n%1 could not be written: ").arg(pdf)));
            } else {
                // Save in place, under a new name, and close (which saves in place, then asks).
                prompter->saveAnswers = {folder + QStringLiteral("/new.seikyu")};
                prompter->saveChoices = {Prompter::SaveChoice::Cancel};
                QVERIFY(!controller.save(document) && !controller.saveAs(document) && !controller.close(document));
                QCOMPARE(prompter->alerts.size(), 3);
                QVERIFY(prompter->alerts.at(0).contains(QStringLiteral("a.seikyu")));
                QVERIFY(prompter->alerts.at(1).contains(QStringLiteral("new.seikyu")));
                if (failure == Failure::SilentlyFullDisk)
                    QVERIFY2(prompter->alerts.at(0).contains(QStringLiteral("the disk is full")),
                             qPrintable(prompter->alerts.at(0)));
            }
        }
        silentRoom = -1;
        if (failure == Failure::VanishedFolder) {
            QVERIFY(!QFileInfo::exists(folder));   // nothing was recreated half-way
            QVERIFY(!controller.revert(document)); // nothing to go back to: the page stays
        } else {
            QCOMPARE(readAll(path), before);
            QCOMPARE(readAll(pdf), oldPdf);
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"a.pdf", "a.seikyu"}));
        }
        QCOMPARE(document->dataOfType(), page);
        QVERIFY(document->isEdited());
        QVERIFY(document->filePath().endsWith(QStringLiteral("/a.seikyu")));
        prompter->saveAnswers = {dir.filePath(QStringLiteral("elsewhere.seikyu"))};
        QVERIFY(controller.saveAs(document));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("elsewhere.seikyu"))), page);
        QVERIFY(controller.close(document));
    }

    void eachFailureSaysItsKind()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("gone/a.seikyu"));
        const QString target = dir.filePath(QStringLiteral("a.pdf"));
        QByteArray profile(200, '\0');
        profile.replace(36, 4, "acsp");
        const auto kindOf = [](const auto &result) {
            return result ? std::optional<FaultKind>() : std::optional(result.fault().kind);
        };
        auto honest = qScopeGuard([] { silentRoom = -1; });
        silentRoom = 16;
        const std::optional<FaultKind> silentlyFull = kindOf(writeFileAtomically(target, QByteArray(64, 'x')));
        silentRoom = -1;
        const struct
        {
            const char *what;
            std::optional<FaultKind> kind, expected;
        } cases[] = {
            {"an invoice file that is not there", kindOf(readInvoiceFile(missing)), FaultKind::NotFound},
            {"a folder opened as an invoice", kindOf(readInvoiceFile(dir.path())), FaultKind::BadInput},
            {"rows from a file that is not there", kindOf(readCsvFile(missing)), FaultKind::NotFound},
            {"rows from a folder", kindOf(readCsvFile(dir.path())), FaultKind::BadInput},
            {"rows that are no text", kindOf(readCsvBytes(QByteArray("a\0b", 3))), FaultKind::BadInput},
            {"a write into a folder that is not there", kindOf(writeFileAtomically(missing, "x")),
             FaultKind::Unwritable},
            {"a write onto a disk full without a word", silentlyFull, FaultKind::Unwritable},
            {"a PDF of no bytes", kindOf(writePdfFile({}, target)), FaultKind::Unwritable},
            {"an e-invoice of no bytes", kindOf(writeEInvoiceFile({}, target)), FaultKind::Unwritable},
            {"a PDF/A-3 without its colour profile", kindOf(makePdfA3("%PDF-1.4", {}, {})), FaultKind::NotFound},
            {"a PDF/A-3 of bytes that are no PDF", kindOf(makePdfA3("not a pdf", {}, profile)), FaultKind::BadInput},
            {"an invoice file read", kindOf(readInvoiceFile(writeFile(dir.filePath("b.seikyu"), "{}"))), {}},
        };
        for (const auto &failure : cases)
            QVERIFY2(failure.kind == failure.expected, failure.what);
        QVERIFY(!QFileInfo::exists(target));
        // What the system said goes with the user's message, for the log.
        const Result<void> written = writeFileAtomically(missing, "x");
        QCOMPARE(written.message(), QStringLiteral("the folder does not exist"));
        QVERIFY(!written.detail().isEmpty());
    }

    void settingsThatCannotBeWritten()
    {
        QTemporaryDir dir;
        const QByteArray bytes = makeDocument(R"({"head":"御見積書","whom":"株式会社テスト商事","tail":0,
            "from":"〒100-0001\n東京都\n山田\n03\n銀行","date":"2024-05-01","item":[{}]})")
                                     ->dataOfType();
        const QString path = writeFile(dir.filePath(QStringLiteral("a.seikyu")), bytes);
        // A folder stands where the settings file belongs.
        clearSettings();
        QFile::remove(QSettings().fileName());
        QVERIFY(QDir().mkpath(QSettings().fileName()));
        auto unblock = qScopeGuard([] { QDir(QSettings().fileName()).removeRecursively(); });
        PrompterGuard prompter;
        DocumentController controller;
        controller.setAutosaveDelay(10);
        Document *document = controller.openFile(path);
        // The page shows the file's own texts although the lists could not learn them, and says so
        // once for the three lists.
        QCOMPARE(child<PageButton>(*document, "head")->title() + child<PageButton>(*document, "whom")->title() +
                     child<PageButton>(*document, "home")->title(),
                 QStringLiteral("御見積書株式会社テスト商事 御中〒100-0001\n東京都\n山田\n03\n銀行"));
        QTRY_COMPARE(prompter->alerts.size(), 1);
        QVERIFY(prompter->alerts.constFirst().startsWith(QStringLiteral("Your lists could not be saved.")));
        // An edit taken back autosaves the invoice exactly as it was.
        document->tblePlus();
        document->undoStack()->undo();
        QTRY_VERIFY(!document->isEdited());
        QCOMPARE(readAll(path), bytes);
        // A title that could not be kept leaves the page as it was rather than half-changed; a stamp
        // that could not be kept is still shown.
        document->headShow();
        child<QLineEdit>(*document, "headNewsText")->setText(QStringLiteral("御請求書"));
        document->headPlusExec();
        document->headCopy();
        QVERIFY(child<PageButton>(*document, "head")->title() == QStringLiteral("御見積書") && !document->isEdited());
        document->pushShow();
        child<ImageWell>(*document, "pushTest")->setImage(QImage(8, 8, QImage::Format_ARGB32));
        document->pushCopy();
        QVERIFY(!child<PageButton>(*document, "push")->image().isNull());
        QCOMPARE(prompter->alerts.size(), 3);
        QVERIFY(controller.closeAll());
    }

    void corruptSettingsReadAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("conf");
        QTest::addColumn<int>("titles");
        QTest::addColumn<QString>("title");
        const QString none = QStringLiteral("請求書");
        QTest::newRow("garbage bytes") << QByteArray("\x00\xff\xfe[\x01\x02=\n\n==[[]]\xc3\x28", 14) << 0 << none;
        QTest::newRow("list size not a number") << QByteArray("[head]\nsize=many\nentry\\1=A\n") << 0 << none;
        // A missing or damaged entry keeps its place as empty text, so later ones keep their indexes.
        QTest::newRow("entries missing or of the wrong type")
            << QByteArray("[head]\nsize=3\nentry\\1=@ByteArray(A)\nentry\\3=B\n") << 3 << QString();
        // A size claimed beyond the entries stored costs nothing: only what is there is read.
        QTest::newRow("two thousand million claimed")
            << QByteArray("[head]\nsize=2000000000\nentry\\1=A\nentry\\2=B\n") << 2 << QStringLiteral("A");
        QTest::newRow("stale entries beyond the size")
            << QByteArray("[head]\nsize=1\nentry\\1=A\nentry\\9=Z\n") << 1 << QStringLiteral("A");
        QTest::newRow("stamp not an image")
            << QByteArray("[General]\nhank=@ByteArray(this is not a PNG)\n") << 0 << none;
    }
    void corruptSettingsReadAsAbsent()
    {
        QFETCH(QByteArray, conf);
        writeFile(QSettings().fileName(), conf);
        QSettings().sync(); // a fresh QSettings picks the changed file up, as when another Seikyu wrote it
        auto document = makeDocument();
        QTEST(child<QComboBox>(*document, "headDial")->count(), "titles");
        QTEST(child<PageButton>(*document, "head")->title(), "title");
        QVERIFY(child<PageButton>(*document, "push")->image().isNull() && !document->isEdited());
        // The lists still work from here on.
        document->headShow();
        child<QLineEdit>(*document, "headNewsText")->setText(QStringLiteral("新しい題"));
        document->headPlusExec();
        QCOMPARE(SavedLists::instance().read(QStringLiteral("head")).value_or(QStringList()).constLast(),
                 QStringLiteral("新しい題"));
        document->hide();
    }

    void killedAfterAnEditThenRecovered()
    {
        bool crashed = false;
        runChild("--crash-after-edit", &crashed);
        QVERIFY(crashed);
        QCOMPARE(recoveryFiles(QStringLiteral("*.seikyu")), 1);
        // Started again: the invoice comes back, untitled and edited, with the latest edit; a
        // second crash right after recovering still loses nothing.
        const QByteArray first = runChild("--recover-crash-again", &crashed);
        QVERIFY2(first.startsWith("recovered 1\n") &&
                     first.contains(QStringLiteral("|復旧テスト|4200|00|00 edited 1 untitled 1").toUtf8()),
                 first.constData());
        QCOMPARE(recoveryFiles(QStringLiteral("*.seikyu")), 1);
        // Don't Save is deliberate: the copy goes, and nothing is recovered next time.
        QVERIFY(runChild("--recover-dont-save").contains("recovered 1"));
        QCOMPARE(recoveryFiles(QStringLiteral("*.seikyu")), 0);
        QVERIFY(runChild("--recover-dont-save").contains("recovered 0"));
    }

    void savingOrClosingDropsTheCopy()
    {
        PrompterGuard prompter;
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QTemporaryDir dir;
        {
            DocumentController controller;
            controller.setAutosaveDelay(10);
            QList<Document *> documents{controller.newDocument(), controller.newDocument()};
            for (Document *document : documents)
                document->tblePlus();
            QTRY_COMPARE(recoveryFiles(QStringLiteral("*.seikyu")), 2);
            // A live run's copies are its own: another run does not take them.
            QVERIFY(RecoveryStore().takeOrphans().isEmpty());
            prompter->saveAnswers = {dir.filePath(QStringLiteral("saved.seikyu"))};
            QVERIFY(controller.save(documents.at(0)));
            QCOMPARE(recoveryFiles(QStringLiteral("*.seikyu")), 1);
            QVERIFY(controller.closeAll());
            QCOMPARE(recoveryFiles(QStringLiteral("*.seikyu")), 0);
        }
        QVERIFY(QDir(RecoveryStore::rootFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    void aCopyThatCannotBeTakenOverStays()
    {
        // A crashed run's copy that this run cannot write into its own folder (the disk is full)
        // stays where it is for the next start.
        const QString copy = writeFile(RecoveryStore::rootFolder() + QStringLiteral("/crashed/a.seikyu"), "{}");
        {
            RecoveryStore store;
            const test::FullDisk full(1);
            QVERIFY(store.takeOrphans().isEmpty());
        }
        QCOMPARE(readAll(copy), QByteArray("{}"));
        QDir(RecoveryStore::rootFolder()).removeRecursively();
    }

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
        const QString input = writeFile(dir.filePath(QStringLiteral("in/a.seikyu")), exportedInvoice());
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
        default: // the full disk is a mount of the child's own
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
            auto document = makeDocument(exportedInvoice());
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
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode.startsWith("--crash") || mode.startsWith("--recover")) {
        nameApplication();
        return mode == "--crash-after-edit" ? crashAfterEdit() : recover(mode == "--recover-crash-again");
    }
    TestFailures test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_failures.moc"
