// Unsaved untitled invoices survive a crash: the process is killed after an edit and started again.
#include "app/RecoveryStore.h"
#include "support/TestSupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <csignal>
#include <cstdio>

using namespace seikyu;
using namespace seikyu::test;

namespace {

int recoveryCopies()
{
    int count = 0;
    QDirIterator it(RecoveryStore::rootFolder(), {QStringLiteral("*.seikyu")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

bool waitFor(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

void setUpChild()
{
    QCoreApplication::setApplicationName(QStringLiteral("Seikyu"));
    QCoreApplication::setOrganizationName(QStringLiteral("Seikyu"));
    QStandardPaths::setTestModeEnabled(true);
}

/// Child: edits a new invoice, waits until its recovery copy is on disk, then dies at once.
int crashAfterEdit()
{
    DocumentController controller;
    controller.setAutosaveDelay(10);
    Document *document = controller.newDocument();
    document->tblePlus();
    document->editCell(1, Column::Name, QStringLiteral("復旧テスト"));
    if (!waitFor([] { return recoveryCopies() == 1; }))
        return 2;
    // Let a later edit reach the copy too.
    document->editCell(1, Column::Solo, QStringLiteral("4200"));
    QCoreApplication::processEvents();
    QTest::qWait(200);
    std::raise(SIGKILL);
    return 3;
}

/// Child: reopens what a crashed run left, prints it, then closes with the given answer.
int recover(Prompter::SaveChoice answer, bool crashAgain)
{
    PrompterGuard prompter;
    prompter->saveChoices = {answer, answer, answer};
    DocumentController controller;
    const int reopened = controller.recoverDocuments();
    std::printf("recovered %d\n", reopened);
    for (Document *document : controller.documents()) {
        std::printf("row %s\n", tableTexts(*document).value(1).toUtf8().constData());
        std::printf("edited %d untitled %d\n", document->isEdited() ? 1 : 0, document->filePath().isEmpty() ? 1 : 0);
    }
    std::fflush(stdout);
    if (crashAgain)
        std::raise(SIGKILL);
    controller.closeAll();
    QCoreApplication::processEvents();
    return 0;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private:
    QByteArray runChild(const QString &mode, bool *crashed = nullptr)
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {mode});
        if (!child.waitForFinished(60000))
            return "timeout";
        if (crashed)
            *crashed = child.exitStatus() == QProcess::CrashExit;
        return child.readAllStandardOutput();
    }

private slots:
    void initTestCase()
    {
        initApplication();
        QDir(RecoveryStore::rootFolder()).removeRecursively();
    }

    void killedAfterAnEditThenRecovered()
    {
        bool crashed = false;
        runChild(QStringLiteral("--crash-after-edit"), &crashed);
        QVERIFY(crashed);
        QCOMPARE(recoveryCopies(), 1);

        // Started again: the invoice comes back, untitled and edited, with the latest edit.
        const QByteArray first = runChild(QStringLiteral("--recover-crash-again"), &crashed);
        QVERIFY2(first.contains("recovered 1"), first.constData());
        QVERIFY2(first.contains(QStringLiteral("|復旧テスト|4200|00|00").toUtf8()), first.constData());
        QVERIFY(first.contains("edited 1 untitled 1"));
        // A second crash right after recovering still loses nothing.
        QCOMPARE(recoveryCopies(), 1);

        // Don't Save is deliberate: the copy goes, and nothing is recovered next time.
        const QByteArray second = runChild(QStringLiteral("--recover-dont-save"));
        QVERIFY2(second.contains("recovered 1"), second.constData());
        QCOMPARE(recoveryCopies(), 0);
        QVERIFY(runChild(QStringLiteral("--recover-dont-save")).contains("recovered 0"));
    }

    void cleanRunLeavesNothing()
    {
        PrompterGuard prompter;
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        {
            DocumentController controller;
            controller.setAutosaveDelay(10);
            Document *document = controller.newDocument();
            document->tblePlus();
            QTRY_COMPARE(recoveryCopies(), 1);
            // A live run's copies are its own: another run does not take them.
            RecoveryStore other;
            QVERIFY(other.takeOrphans().isEmpty());
            QVERIFY(controller.close(document));
            QCOMPARE(recoveryCopies(), 0);
        }
        QVERIFY(QDir(RecoveryStore::rootFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    void savingDropsTheCopy()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        controller.setAutosaveDelay(10);
        Document *document = controller.newDocument();
        document->tblePlus();
        QTRY_COMPARE(recoveryCopies(), 1);
        prompter->saveAnswers = {dir.filePath(QStringLiteral("saved.seikyu"))};
        QVERIFY(controller.save(document));
        QCOMPARE(recoveryCopies(), 0);
        QVERIFY(controller.close(document));
    }

    void aCopyThatCannotBeTakenOverStays()
    {
        // A crashed run's copy that this run cannot write into its own folder (the disk is full)
        // stays where it is for the next start.
        const QString copy = RecoveryStore::rootFolder() + QStringLiteral("/crashed/a.seikyu");
        writeFile(copy, QByteArray(4096, 'x'));
        {
            RecoveryStore store;
            const FullDisk full(1024);
            QVERIFY(store.takeOrphans().isEmpty());
        }
        QCOMPARE(readAll(copy), QByteArray(4096, 'x'));
        QDir(RecoveryStore::rootFolder()).removeRecursively();
    }
};

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode.startsWith("--crash") || mode.startsWith("--recover")) {
        QApplication app(argc, argv);
        setUpChild();
        if (mode == "--crash-after-edit")
            return crashAfterEdit();
        return recover(Prompter::SaveChoice::DontSave, mode == "--recover-crash-again");
    }
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
