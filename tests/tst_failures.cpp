// Injected failures: a full disk (one that says so, and one that does not), a folder that vanished, settings that
// cannot be written or that are damaged, a crash. The previous file stays byte for byte as it was, the open invoice
// stays as it was and can still be saved elsewhere, the user is told, and an unsaved invoice survives the crash.
#include "app/RecoveryStore.h"
#include "document/AtomicWrite.h"
#include "einvoice/EInvoiceExport.h"
#include "einvoice/PdfA3.h"
#include "import/CsvFile.h"
#include "invoice/InvoiceFile.h"
#include "output/PdfExport.h"
#include "sections/SavedLists.h"
#include "support/FullDisk.h"
#include "support/TestSupport.h"
#include "widgets/ImageWell.h"

#include <QDirIterator>
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

int recoveryCopies()
{
    int count = 0;
    for (QDirIterator it(RecoveryStore::rootFolder(), {"*.seikyu"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext(); it.next())
        ++count;
    return count;
}

/// Child: edits a new invoice, waits until its recovery copy is on disk, lets a later edit reach
/// the copy too, then dies at once.
int crashAfterEdit()
{
    DocumentController controller;
    controller.setAutosaveDelay(10);
    Document *document = controller.newDocument();
    document->tblePlus();
    document->editCell(1, Column::Name, QStringLiteral("復旧テスト"));
    if (!QTest::qWaitFor([] { return recoveryCopies() == 1; }, 20000))
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

enum class Failure { FullDisk, SilentlyFullDisk, VanishedFolder };

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
        QCOMPARE(document->head->title() + document->whom->title() + document->home->title(),
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
        document->headNewsText->setText(QStringLiteral("御請求書"));
        document->headPlusExec();
        document->headCopy();
        QVERIFY(document->head->title() == QStringLiteral("御見積書") && !document->isEdited());
        document->pushShow();
        document->pushTest->setImage(QImage(8, 8, QImage::Format_ARGB32));
        document->pushCopy();
        QVERIFY(!document->push->image().isNull());
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
        QTEST(document->headDial->count(), "titles");
        QTEST(document->head->title(), "title");
        QVERIFY(document->push->image().isNull() && !document->isEdited());
        // The lists still work from here on.
        document->headShow();
        document->headNewsText->setText(QStringLiteral("新しい題"));
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
        QCOMPARE(recoveryCopies(), 1);
        // Started again: the invoice comes back, untitled and edited, with the latest edit; a
        // second crash right after recovering still loses nothing.
        const QByteArray first = runChild("--recover-crash-again", &crashed);
        QVERIFY2(first.startsWith("recovered 1\n") &&
                     first.contains(QStringLiteral("|復旧テスト|4200|00|00 edited 1 untitled 1").toUtf8()),
                 first.constData());
        QCOMPARE(recoveryCopies(), 1);
        // Don't Save is deliberate: the copy goes, and nothing is recovered next time.
        QVERIFY(runChild("--recover-dont-save").contains("recovered 1"));
        QCOMPARE(recoveryCopies(), 0);
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
            QTRY_COMPARE(recoveryCopies(), 2);
            // A live run's copies are its own: another run does not take them.
            QVERIFY(RecoveryStore().takeOrphans().isEmpty());
            prompter->saveAnswers = {dir.filePath(QStringLiteral("saved.seikyu"))};
            QVERIFY(controller.save(documents.at(0)));
            QCOMPARE(recoveryCopies(), 1);
            QVERIFY(controller.closeAll());
            QCOMPARE(recoveryCopies(), 0);
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
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode.startsWith("--crash") || mode.startsWith("--recover")) {
        nameApplication();
        return mode == "--crash-after-edit" ? crashAfterEdit() : recover(mode == "--recover-crash-again");
    }
    TestFailures test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_failures.moc"
