// Unsaved untitled invoices survive a crash: the process is killed after an edit and started again.
#include "app/RecoveryStore.h"
#include "support/TestSupport.h"

#include <QDirIterator>
#include <QProcess>
#include <csignal>
#include <cstdio>

using namespace seikyu;
using namespace seikyu::test;

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

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        QDir(RecoveryStore::rootFolder()).removeRecursively();
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
            const FullDisk full(1);
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
        QCoreApplication::setApplicationName(QStringLiteral("Seikyu"));
        QCoreApplication::setOrganizationName(QStringLiteral("Seikyu"));
        QStandardPaths::setTestModeEnabled(true);
        return mode == "--crash-after-edit" ? crashAfterEdit() : recover(mode == "--recover-crash-again");
    }
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
