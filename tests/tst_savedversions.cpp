// What a file goes back to and how it is written: Revert to Saved returns to the version last
// opened or saved although autosave has written over the file (and survives a crash), the atomic
// writer reports a final step that fails, and batch export names each PDF after its input.
#include "app/RecoveryStore.h"
#include "document/AtomicWrite.h"
#include "output/BatchExport.h"
#include "support/TestSupport.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QUndoStack>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// While set, renaming onto a path that ends so fails as a full disk would make it fail.
std::atomic<const char *> failingRenameTarget{nullptr};

} // namespace

// Stands in for the C library's rename(), which Qt's QSaveFile calls to put the written file in
// place: the last step of an atomic write, after every byte was written and flushed.
extern "C" int rename(const char *from, const char *to)
{
    const char *failing = failingRenameTarget.load();
    if (failing && std::strlen(to) >= std::strlen(failing) &&
        std::strcmp(to + std::strlen(to) - std::strlen(failing), failing) == 0) {
        errno = ENOSPC;
        return -1;
    }
    return static_cast<int>(syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}

namespace {

QByteArray invoice(const QString &item)
{
    return QStringLiteral(R"({"head": "請求書", "date": "2026-04-30", "whom": "株式会社テスト食品", "jgen": 0,
        "plus": 1, "tail": 0, "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
        {"date": "4/1", "name": "%1", "solo": "4500", "much": 10, "sums": "￥45,000"}]})")
        .arg(item)
        .toUtf8();
}

QString itemOf(const Document &document)
{
    return tableTexts(document).value(1).section(u'|', 1, 1);
}

/// Child: opens the file, changes it, waits until autosave has written the change, and dies.
int crashAfterAutosave(const QString &path)
{
    DocumentController controller;
    controller.setAutosaveDelay(10);
    Document *document = controller.openFile(path);
    if (!document)
        return 2;
    document->editCell(1, Column::Name, QStringLiteral("落ちる前の変更"));
    if (!QTest::qWaitFor([&] { return !document->isEdited(); }, 20000))
        return 3;
    std::raise(SIGKILL);
    return 4;
}

} // namespace

class TestSavedVersions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init()
    {
        clearSettings();
        QDir(RecoveryStore::rootFolder()).removeRecursively();
    }
    void cleanup() { QTRY_VERIFY(noWindowShown()); }

    void revertAfterAutosaveGoesBackToTheOpenedVersion()
    {
        PrompterGuard prompter;
        QTemporaryDir folder;
        const QByteArray opened = invoice(QStringLiteral("キャベツ"));
        const QString path = writeFile(folder.filePath(QStringLiteral("april.seikyu")), opened);
        DocumentController controller;
        controller.setAutosaveDelay(10);
        Document *document = controller.openFile(path);
        QVERIFY(document);
        QCOMPARE(recoveryFiles(QStringLiteral("*.saved")), 1);

        // Two changes, each saved in place by autosave: the file no longer holds what was opened.
        document->editCell(1, Column::Name, QStringLiteral("白菜"));
        document->tblePlus();
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(readAll(path).contains("白菜"));

        // Revert from the menu: the page and the file are the opened version again, byte for byte
        // in the file.
        QAbstractItemModelTester tester(document->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAction *revert = child<QAction>(*document, "revertAction");
        QVERIFY(revert->isEnabled());
        revert->trigger();
        QCOMPARE(itemOf(*document), QStringLiteral("キャベツ"));
        QCOMPARE(document->tableModel()->count(), 2);
        QCOMPARE(readAll(path), opened);
        QVERIFY(!document->isEdited() && !anyGuideBorder(*document));
        QVERIFY(prompter->alerts.isEmpty());

        // Revert is itself a step: Undo brings the edits back (and autosave writes them), Redo
        // reverts again.
        QUndoStack *undo = document->undoStack();
        QCOMPARE(undo->undoText(), QStringLiteral("Revert to Saved"));
        undo->undo();
        QCOMPARE(itemOf(*document), QStringLiteral("白菜"));
        QCOMPARE(document->tableModel()->count(), 3);
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(readAll(path).contains("白菜"));
        undo->undo(); // the steps before the revert are still there
        QCOMPARE(document->tableModel()->count(), 2);
        undo->redo();
        undo->redo();
        QCOMPARE(itemOf(*document), QStringLiteral("キャベツ"));
        QTRY_VERIFY(!document->isEdited());

        // An explicit save makes the version Revert goes back to; autosave does not.
        document->editCell(1, Column::Name, QStringLiteral("人参"));
        QVERIFY(controller.save(document));
        const QByteArray saved = readAll(path);
        document->editCell(1, Column::Name, QStringLiteral("玉葱"));
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(controller.revert(document));
        QCOMPARE(itemOf(*document), QStringLiteral("人参"));
        QCOMPARE(readAll(path), saved);

        // Save As makes the version of the new file; the old file's is forgotten.
        const QString copy = folder.filePath(QStringLiteral("april-copy.seikyu"));
        document->editCell(1, Column::Name, QStringLiteral("胡瓜"));
        prompter->saveAnswers = {copy};
        QVERIFY(controller.saveAs(document));
        const QByteArray savedAs = readAll(copy);
        document->editCell(1, Column::Name, QStringLiteral("茄子"));
        QTRY_VERIFY(!document->isEdited());
        QCOMPARE(recoveryFiles(QStringLiteral("*.saved")), 1);
        QVERIFY(controller.revert(document));
        QCOMPARE(itemOf(*document), QStringLiteral("胡瓜"));
        QCOMPARE(readAll(copy), savedAs);
        QCOMPARE(readAll(path), saved);

        // Closing the window forgets the version; opening again keeps the file as it is then.
        QVERIFY(controller.close(document));
        QCOMPARE(recoveryFiles(QStringLiteral("*.saved")), 0);
        document = controller.openFile(path);
        document->editCell(1, Column::Name, QStringLiteral("大根"));
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(controller.revert(document));
        QCOMPARE(itemOf(*document), QStringLiteral("人参"));
        QVERIFY(controller.close(document));
    }

    void aFailedFinalStepLosesNothing()
    {
        // The atomic writer whose last step fails says so and leaves the file and its folder as they were;
        // unhindered, it replaces the file.
        QTemporaryDir folder;
        const QString kept = writeFile(folder.filePath(QStringLiteral("kept.seikyu")), "before");
        failingRenameTarget = "kept.seikyu";
        const Result<void> written = writeFileAtomically(kept, "after");
        failingRenameTarget = nullptr;
        QVERIFY(!written && !written.message().isEmpty());
        QCOMPARE(readAll(kept), QByteArray("before"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.seikyu")});
        const Result<void> unhindered = writeFileAtomically(kept, "after");
        QVERIFY2(unhindered, qPrintable(unhindered.message()));
        QCOMPARE(readAll(kept), QByteArray("after"));

        // Nor is anything reverted: the page keeps the edits, the file what autosave last wrote, the
        // user is told, and Revert works once the file can be written.
        PrompterGuard prompter;
        const QString path = writeFile(folder.filePath(QStringLiteral("april.seikyu")), invoice("キャベツ"));
        DocumentController controller;
        Document *document = controller.openFile(path);
        document->editCell(1, Column::Name, QStringLiteral("白菜"));
        QVERIFY(controller.save(document));
        const QByteArray saved = readAll(path);
        document->editCell(1, Column::Name, QStringLiteral("玉葱"));
        failingRenameTarget = "april.seikyu";
        QVERIFY(!controller.revert(document));
        failingRenameTarget = nullptr;
        QCOMPARE(itemOf(*document), QStringLiteral("玉葱"));
        QCOMPARE(readAll(path), saved);
        QCOMPARE(prompter->alerts.size(), 1);
        QVERIFY(prompter->alerts.constFirst().contains(QStringLiteral("april.seikyu")));
        QVERIFY(document->isEdited());
        QVERIFY(controller.revert(document));
        QCOMPARE(itemOf(*document), QStringLiteral("白菜"));
        QCOMPARE(readAll(path), saved);
        QVERIFY(controller.close(document));
    }

    void theOpenedVersionSurvivesACrash()
    {
        QTemporaryDir folder;
        const QByteArray opened = invoice(QStringLiteral("キャベツ"));
        const QString path = writeFile(folder.filePath(QStringLiteral("april.seikyu")), opened);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--crash-after-autosave"), path});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY(readAll(path).contains("落ちる前の変更"));
        QCOMPARE(recoveryFiles(QStringLiteral("*.saved")), 1);

        // The next run takes the dead run's version over: the file opened again reverts to what was
        // opened before the crash, not to what autosave wrote.
        PrompterGuard prompter;
        DocumentController controller;
        QCOMPARE(controller.recoverDocuments(), 0);
        Document *document = controller.openFile(path);
        QCOMPARE(itemOf(*document), QStringLiteral("落ちる前の変更"));
        QVERIFY(controller.revert(document));
        QCOMPARE(itemOf(*document), QStringLiteral("キャベツ"));
        QCOMPARE(readAll(path), opened);
        QVERIFY(controller.close(document));
        QCOMPARE(recoveryFiles(QStringLiteral("*.saved")), 0);
    }

    void batchNamesKeepEveryDotButTheLast()
    {
        const std::pair<const char *, const char *> names[] = {{"請求書.2025-04.seikyu", "請求書.2025-04.pdf"},
                                                               {"請求書.seikyu", "請求書.pdf"},
                                                               {"a.b.c.json", "a.b.c.pdf"},
                                                               {"請求書", "請求書.pdf"},
                                                               {".請求書", ".請求書.pdf"}};
        for (const auto &[input, pdf] : names) {
            QTemporaryDir folder;
            const QString source = writeFile(folder.filePath("in/" + QString::fromUtf8(input)), invoice("キャベツ"));
            const QDir out(folder.filePath(QStringLiteral("out")));
            QVERIFY(out.mkpath(QStringLiteral(".")));
            QCOMPARE(exportInvoicesAsPdf(out.path(), {source}, nullptr), 0);
            QCOMPARE(out.entryList(QDir::Files | QDir::Hidden), QStringList{QString::fromUtf8(pdf)});
            QVERIFY(readAll(out.filePath(QString::fromUtf8(pdf))).startsWith("%PDF"));
        }
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--crash-after-autosave") == 0) {
        nameApplication();
        return crashAfterAutosave(QString::fromLocal8Bit(argv[2]));
    }
    TestSavedVersions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savedversions.moc"
