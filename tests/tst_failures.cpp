// Injected failures: a full disk, a folder that refuses writes, a folder that vanished, settings
// that cannot be written or that are damaged. Whatever goes wrong, the user's previous file stays
// byte for byte as it was, the open invoice stays as it was and can still be saved elsewhere, and
// the user is told (or, where nothing is lost, nothing happens at all).
#include "app/DocumentController.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "table/ItemTableModel.h"
#include "widgets/ImageWell.h"
#include "widgets/PageButton.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace seikyu;
using namespace seikyu::test;

namespace {

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

bool canCreateIn(const QString &folder)
{
    QFile probe(folder + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

/// Makes a folder refuse new files, for root too: permissions first, and where they do not stop
/// the writer (root), the immutable attribute. Undone when the guard goes.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString folder) : m_folder(std::move(folder))
    {
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup);
        if (canCreateIn(m_folder))
            m_immutable = setImmutable(m_folder, true);
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            setImmutable(m_folder, false);
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool refusesWrites() const { return !canCreateIn(m_folder); }

private:
    QString m_folder;
    bool m_immutable = false;
};

QByteArray sampleFile()
{
    return QStringLiteral(R"({
    "head": "御請求書",
    "date": "2024-05-01",
    "whom": "千代田商事",
    "from": "100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行",
    "full": "\b御請求金額\n￥1,080",
    "item": [
        {"date": "日付", "name": "項目", "solo": "単価", "much": "個数", "sums": "価格"},
        {"date": "05-01", "name": "設計", "solo": "￥1,000", "much": 1, "sums": "￥1,000"}
    ],
    "jgen": 0,
    "tail": 1,
    "plus": 1
})")
        .toUtf8();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QAction *exportAction(Document *document)
{
    return document->window()->findChild<QAction *>(QStringLiteral("exportPdfAction"));
}

/// The page as the user sees it, to prove a failure left the open invoice untouched.
QStringList pageTexts(const Document &document)
{
    QStringList texts = tableTexts(document);
    texts << document.head->title() << document.date->title() << document.whom->title() << document.home->title()
          << document.sums->title();
    return texts;
}

QString settingsPath()
{
    return QSettings().fileName();
}

} // namespace

class TestFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }
    void cleanup()
    {
        QTRY_VERIFY(std::none_of(QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
                                 [](QWidget *w) { return w->isVisible(); }));
    }

    void fullDiskSavesNothingAndLosesNothing()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.seikyu"));
        writeAll(path, sampleFile());
        const QByteArray before = readAll(path);

        DocumentController controller;
        controller.setAutosaveDelay(10);
        Document *document = controller.openFile(path);
        QVERIFY(document);
        document->tblePlus();
        const QStringList page = pageTexts(*document);
        {
            FullDisk disk(512);
            // The autosave after the change fails quietly and leaves the document edited.
            QVERIFY(document->dataOfType().size() > 512);
            auto *autosave = document->findChild<QTimer *>();
            QVERIFY(autosave && autosave->isActive());
            QTRY_VERIFY(!autosave->isActive());
            QCOMPARE(readAll(path), before);
            QVERIFY(document->isEdited());
            QVERIFY(prompter->alerts.isEmpty());

            // Save as to a new name writes no partial file there.
            prompter->saveAnswers = {dir.filePath(QStringLiteral("new.seikyu"))};
            QVERIFY(!controller.saveAs(document));
            QCOMPARE(prompter->alerts.size(), 1);
            QVERIFY(prompter->alerts.constLast().contains(QStringLiteral("new.seikyu")));
            QCOMPARE(document->filePath(), QFileInfo(path).canonicalFilePath());

            // Closing tries to save in place, says why it could not, and asks; Cancel keeps it open.
            prompter->saveChoices = {Prompter::SaveChoice::Cancel};
            QVERIFY(!controller.close(document));
            QCOMPARE(prompter->alerts.size(), 2);
            QCOMPARE(controller.documents().size(), 1);
        }
        QCOMPARE(readAll(path), before);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("a.seikyu")});
        QCOMPARE(pageTexts(*document), page);
        QVERIFY(document->isEdited());

        // With space again, the next save writes the page the user still has.
        QVERIFY(controller.save(document));
        QCOMPARE(readAll(path), document->dataOfType());
        QVERIFY(controller.close(document));
    }

    void fullDiskExport()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = controller.newDocument();
        QAction *action = exportAction(document);
        if (!action || !action->isEnabled())
            QSKIP("File ▸ Export as PDF… is not available in this build");
        const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
        prompter->saveAnswers = {pdf};
        action->trigger();
        QTRY_VERIFY(QFileInfo(pdf).size() > 1000);
        QVERIFY(prompter->alerts.isEmpty());
        const QByteArray before = readAll(pdf);

        document->tblePlus();
        const QStringList page = pageTexts(*document);
        {
            FullDisk disk(4096);
            prompter->saveAnswers = {pdf};
            action->trigger();
            QTRY_COMPARE(prompter->alerts.size(), 1);
        }
        QCOMPARE(prompter->alerts.constFirst(), QStringLiteral("Failed | Failed writing PDF"));
        QCOMPARE(readAll(pdf), before);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("invoice.pdf")});
        QCOMPARE(pageTexts(*document), page);
        QVERIFY(document->filePath().isEmpty()); // exporting never turns into saving

        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.close(document));
    }

    void readOnlyFolder()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/a.seikyu");
        writeAll(path, sampleFile());
        const QString pdf = folder + QStringLiteral("/a.pdf");
        writeAll(pdf, QByteArray("%PDF-1.4 an older export\n"));
        const QByteArray before = readAll(path);

        DocumentController controller;
        Document *document = controller.openFile(path);
        QVERIFY(document);
        document->editCell(1, Column::Name, QStringLiteral("変更"));
        const QStringList page = pageTexts(*document);
        {
            ReadOnlyFolder locked(folder);
            if (!locked.refusesWrites())
                QSKIP("this file system lets the user write into a read-only folder (root without chattr)");
            QVERIFY(!controller.save(document));
            QCOMPARE(prompter->alerts.size(), 1);
            QVERIFY(prompter->alerts.constFirst().contains(QStringLiteral("a.seikyu")));
            QVERIFY(document->isEdited());

            if (QAction *action = exportAction(document); action && action->isEnabled()) {
                prompter->saveAnswers = {pdf};
                action->trigger();
                QTRY_COMPARE(prompter->alerts.size(), 2);
                QCOMPARE(prompter->alerts.constLast(), QStringLiteral("Failed | Failed writing PDF"));
            }
        }
        QCOMPARE(readAll(path), before);
        QCOMPARE(readAll(pdf), QByteArray("%PDF-1.4 an older export\n"));
        QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("a.pdf"), QStringLiteral("a.seikyu")}));
        QCOMPARE(pageTexts(*document), page);

        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.seikyu"));
        prompter->saveAnswers = {elsewhere};
        QVERIFY(controller.saveAs(document));
        QCOMPARE(readAll(elsewhere), document->dataOfType());
        QVERIFY(controller.close(document));
    }

    void vanishedFolder()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("project"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/a.seikyu");
        writeAll(path, sampleFile());

        DocumentController controller;
        controller.setAutosaveDelay(60000); // the test saves by hand
        Document *document = controller.openFile(path);
        QVERIFY(document);
        document->tblePlus();
        const QStringList page = pageTexts(*document);
        // The folder goes away under the open invoice (a USB stick pulled, a synced folder removed).
        QVERIFY(QDir(folder).removeRecursively());

        QVERIFY(!controller.save(document));
        QCOMPARE(prompter->alerts.size(), 1);
        QVERIFY(!QFileInfo::exists(folder)); // nothing was recreated half-way
        QVERIFY(document->isEdited());
        QCOMPARE(pageTexts(*document), page);

        if (QAction *action = exportAction(document); action && action->isEnabled()) {
            prompter->saveAnswers = {folder + QStringLiteral("/a.pdf")};
            action->trigger();
            QTRY_COMPARE(prompter->alerts.size(), 2);
            QCOMPARE(prompter->alerts.constLast(), QStringLiteral("Failed | Failed writing PDF"));
            QVERIFY(!QFileInfo::exists(folder));
        }

        // Revert has nothing to go back to: it says so and keeps the page.
        const qsizetype alerts = prompter->alerts.size();
        QVERIFY(!controller.revert(document));
        QCOMPARE(prompter->alerts.size(), alerts + 1);
        QCOMPARE(pageTexts(*document), page);

        const QString elsewhere = dir.filePath(QStringLiteral("rescued.seikyu"));
        prompter->saveAnswers = {elsewhere};
        QVERIFY(controller.saveAs(document));
        QVERIFY(!document->isEdited());
        QCOMPARE(readAll(elsewhere), document->dataOfType());
        QVERIFY(controller.close(document));
    }

    void settingsThatCannotBeWritten_data()
    {
        QTest::addColumn<bool>("fileIsFolder");
        QTest::newRow("settings file is a folder") << true;
        QTest::newRow("settings folder is a file") << false;
    }

    void settingsThatCannotBeWritten()
    {
        QFETCH(bool, fileIsFolder);
        const QString file = settingsPath();
        const QString folder = QFileInfo(file).absolutePath();
        QFile::remove(file);
        QDir(folder).removeRecursively();
        if (fileIsFolder) {
            QVERIFY(QDir().mkpath(file));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
            writeAll(folder, "not a folder");
        }
        auto restore = qScopeGuard([&] {
            if (fileIsFolder)
                QDir(file).removeRecursively();
            else
                QFile::remove(folder);
            QDir().mkpath(folder);
            clearSettings();
        });

        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = controller.newDocument();
        QVERIFY(document);
        // A title added through its panel still reaches the page for this session.
        QTest::mouseClick(document->head, Qt::LeftButton);
        QTest::mouseClick(document->window()->findChild<QToolButton *>(QStringLiteral("headPlusButton")),
                          Qt::LeftButton);
        // Japanese arrives from the input method as committed text.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("御見積書"));
        QApplication::sendEvent(document->headNewsText, &commit);
        QTest::keyClick(document->headNewsText, Qt::Key_Return);
        QTest::mouseClick(document->window()->findChild<QPushButton *>(QStringLiteral("headCtrlOk")), Qt::LeftButton);
        QVERIFY(!SavedLists::instance().lastWriteSucceeded());
        // The entry could not be kept, so there is nothing to put on the page: the page and the
        // invoice stay exactly as they were rather than half-changed.
        QCOMPARE(document->head->title(), QStringLiteral("請求書"));
        QVERIFY(!document->isEdited());
        // The stamp cannot be kept either; the page still shows it.
        QImage stamp(8, 8, QImage::Format_ARGB32);
        stamp.fill(Qt::red);
        document->pushTest->setImage(stamp);
        document->pushShow();
        QTest::mouseClick(document->window()->findChild<QPushButton *>(QStringLiteral("pushCtrlOk")), Qt::LeftButton);
        QVERIFY(!document->push->image().isNull());
        QVERIFY(!SavedLists::instance().lastWriteSucceeded());

        // The settings file was never replaced by anything else.
        QCOMPARE(QFileInfo(fileIsFolder ? file : folder).isDir(), fileIsFolder);

        // The user's lists will not survive this session: that must not go unsaid.
        QVERIFY(!prompter->alerts.isEmpty());
        QVERIFY(prompter->alerts.constFirst().startsWith(QStringLiteral("Your lists could not be saved.")));

        // The invoice itself is unaffected and saves normally.
        prompter->saveAnswers = {dir.filePath(QStringLiteral("a.seikyu"))};
        QVERIFY(controller.save(document));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("a.seikyu"))), document->dataOfType());
        QVERIFY(controller.close(document));
    }

    void corruptSettingsReadAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("conf");
        QTest::addColumn<int>("titles");
        QTest::addColumn<QString>("title");
        QTest::newRow("garbage bytes") << QByteArray("\x00\xff\xfe[\x01\x02=\n\n==[[]]\xc3\x28", 14) << 0
                                       << QStringLiteral("請求書");
        QTest::newRow("list size not a number")
            << QByteArray("[head]\nsize=many\nentry\\1=A\n") << 0 << QStringLiteral("請求書");
        QTest::newRow("list size negative") << QByteArray("[head]\nsize=-3\n") << 0 << QStringLiteral("請求書");
        QTest::newRow("list size huge, entries missing")
            << QByteArray("[head]\nsize=2\nentry\\2=B\n") << 2 << QString(); // the missing entry reads as empty text
        QTest::newRow("list as one string")
            << QByteArray("[General]\nhead=御見積書\nwhom=@Variant(garbage)\n") << 0 << QStringLiteral("請求書");
        QTest::newRow("entry of the wrong type")
            << QByteArray("[head]\nsize=2\nentry\\1=@Rect(1 2 3 4)\nentry\\2=B\n") << 2 << QString();
        QTest::newRow("stamp not an image")
            << QByteArray("[General]\nhank=@ByteArray(this is not a PNG)\n") << 0 << QStringLiteral("請求書");
        QTest::newRow("stamp of the wrong type")
            << QByteArray("[General]\nhank=@Point(3 4)\n") << 0 << QStringLiteral("請求書");
        QTest::newRow("stamp a truncated PNG")
            << QByteArray("[General]\nhank=@ByteArray(\\x89PNG\\r\\n\\x1a\\n)\n") << 0 << QStringLiteral("請求書");
    }

    void corruptSettingsReadAsAbsent()
    {
        QFETCH(QByteArray, conf);
        QFETCH(int, titles);
        QFETCH(QString, title);
        {
            QSettings settings;
            settings.clear();
            settings.sync();
        }
        writeAll(settingsPath(), conf);
        // Another QSettings picks the changed file up: the process's cache is keyed on the
        // file's size and time, as it would be when another instance of Seikyu wrote it.
        QSettings().sync();

        auto document = makeDocument();
        QCOMPARE(document->headDial->count(), titles);
        // A damaged entry keeps its place as empty text, so the entries after it keep their indexes.
        QCOMPARE(document->head->title(), title);
        QCOMPARE(document->whom->title(), QString());
        QVERIFY(document->push->image().isNull());
        QVERIFY(document->pushTest->image().isNull());
        QVERIFY(!document->isEdited());
        QCOMPARE(tableTexts(*document), QStringList{QStringLiteral("日付|項目|単価|個数|価格")});
        // The damaged values are not trusted, and the lists still work from here on.
        document->headShow();
        document->headNewsText->setText(QStringLiteral("新しい題"));
        document->headPlusExec();
        QCOMPARE(SavedLists::instance().read(QStringLiteral("head")).value_or(QStringList()).constLast(),
                 QStringLiteral("新しい題"));
        document->hide();
    }
};

QTEST_MAIN(TestFailures)
#include "tst_failures.moc"
