// The regions above the item table, driven through their real panels and popovers, and the saved
// lists behind them.
#include "sections/DateText.h"
#include "sections/FreelancePreferences.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "widgets/ImageWell.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QPlainTextEdit>
#include <QProcess>
#include <cstdio>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QStringList stored(const char *key)
{
    return SavedLists::instance().read(QString::fromLatin1(key)).value_or(QStringList{QStringLiteral("<absent>")});
}

void click(const Document &document, const QString &button)
{
    QTest::mouseClick(child<QAbstractButton>(document, button), Qt::LeftButton);
}

} // namespace

class TestSections : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }

    void titleList()
    {
        auto document = makeDocument();
        QTest::mouseClick(document->head, Qt::LeftButton);
        QVERIFY(document->headCtrl->isVisible() && document->headCtrl->windowModality() == Qt::WindowModal);
        click(*document, QStringLiteral("headCtrlOk")); // nothing to write: nothing happens
        QVERIFY(document->headCtrl->isVisible() && document->headRoom->hasGuideBorder());
        // Added entries are kept as typed, twice and empty too; the page changes only on OK, and
        // list changes never mark the invoice edited.
        for (const QString &title : {QStringLiteral("御請求書"), QStringLiteral("御請求書"), QString()}) {
            click(*document, QStringLiteral("headPlusButton"));
            document->headNewsText->setText(title);
            click(*document, QStringLiteral("headPlusExec"));
        }
        QVERIFY(!document->headPlusPopover->isVisible() && document->headNewsText->text().isEmpty());
        QCOMPARE(stored("head"), (QStringList{"御請求書", "御請求書", ""}));
        QCOMPARE(document->headDial->currentIndex(), 2);
        click(*document, QStringLiteral("headCtrlOk")); // the empty entry cannot go on the page
        QVERIFY(document->headCtrl->isVisible() && !document->isEdited());
        document->headDial->setCurrentIndex(1);
        click(*document, QStringLiteral("headCtrlOk"));
        QCOMPARE(document->head->title(), QStringLiteral("御請求書"));
        QVERIFY(!document->headRoom->hasGuideBorder() && document->isEdited() && !document->headCtrl->isVisible());
        document->updateChangeCount(Document::ChangeCleared);
        document->headShow();
        document->headCopy(); // OK again with the same title still counts as an edit
        QVERIFY(document->isEdited());
        // Edit and remove act on the chosen entry; removing the title the page shows leaves the page.
        document->headShow();
        click(*document, QStringLiteral("headEditButton"));
        QCOMPARE(document->shownPopover(), document->headEditPopover.get());
        QCOMPARE(document->headEditText->text(), QStringLiteral("御請求書"));
        document->headEditText->setText(QStringLiteral("Changed"));
        QTest::keyClick(document->headEditText, Qt::Key_Return);
        QCOMPARE(stored("head"), (QStringList{"御請求書", "Changed", ""}));
        QCOMPARE(document->headDial->currentIndex(), 1);
        click(*document, QStringLiteral("headKillButton"));
        click(*document, QStringLiteral("headKillExec"));
        QCOMPARE(stored("head"), (QStringList{"御請求書", ""}));
        QCOMPARE(document->headDial->currentIndex(), 0);
        QCOMPARE(document->head->title(), QStringLiteral("御請求書"));
        // Remove everything: the list stays present, and empty; a further remove does nothing.
        for (int i = 0; i < 3; ++i)
            document->headKillExec();
        QCOMPARE(stored("head"), QStringList());
        document->away();
    }

    void customerLine()
    {
        SavedLists::instance().save({QStringLiteral("株式会社山田"), QStringLiteral("田中 ")}, QStringLiteral("whom"));
        auto document = makeDocument();
        QCOMPARE(document->whom->title(), QStringLiteral("株式会社山田 御中"));
        document->whomShow();
        QCOMPARE(document->tail->labelForSegment(1), QStringLiteral("様"));
        document->whomDial->setCurrentIndex(1);
        QTest::mouseClick(document->tail->findChild<QToolButton *>(QStringLiteral("segment1")), Qt::LeftButton);
        QCOMPARE(document->whom->title(), QStringLiteral("株式会社山田 御中")); // only OK writes
        click(*document, QStringLiteral("whomCtrlOk"));
        QCOMPARE(document->whom->title(), QStringLiteral("田中  様")); // a trailing space gives two
        // Removing the name leaves the page line.
        document->whomShow();
        document->whomKillExec();
        QCOMPARE(document->whom->title(), QStringLiteral("田中  様"));
    }

    void registrationNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<bool>>("answers"); // to the question about the check digit
        QTest::addColumn<QString>("number");      // "" when the popover stays open
        QTest::newRow("corporation") << "ｔ７０１０-７０５０-００７２５" << QList<bool>{} << "T7010705000725";
        QTest::newRow("individual, kept") << "T1234567890123" << QList<bool>{true} << "T1234567890123";
        QTest::newRow("individual, checked again") << "T1234567890123" << QList<bool>{false} << "";
        QTest::newRow("no number") << "T12345" << QList<bool>{} << "";
    }
    void registrationNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, number);
        PrompterGuard prompter;
        QFETCH(QList<bool>, answers);
        prompter->proceedAnswers = answers;
        auto document = makeDocument();
        document->homeShow();
        click(*document, QStringLiteral("homePlusButton"));
        document->newsName->setText(QStringLiteral("山田商店"));
        document->newsRegn->setText(typed);
        document->homePlusExec();
        if (number.isEmpty()) {
            // Refused: nothing stored, the popover and its fields stay for the user to correct.
            QVERIFY(!SavedLists::instance().read(QStringLiteral("from")));
            QCOMPARE(document->newsRegn->text(), typed);
            QCOMPARE(prompter->alerts.size() + prompter->questions.size(), 1);
            return;
        }
        QCOMPARE(stored("from"), QStringList{QStringLiteral("\n\n山田商店\n\n\n") + number});
        QVERIFY(document->newsName->text().isEmpty() && document->newsRegn->text().isEmpty());
        document->homeCopy();
        // The page shows it under its heading; the file keeps the entry as stored.
        QCOMPARE(document->home->shownText().section(u'\n', 5), QStringLiteral("登録番号 ") + number);
        QVERIFY(document->dataOfType().contains(("\\n" + number).toUtf8()));
        // Without a number an entry keeps its five lines.
        document->homeEdit(document->homeDial);
        QCOMPARE(document->editName->text() + document->editRegn->text(), QStringLiteral("山田商店") + number);
        document->editRegn->clear();
        document->homeEditExec();
        QCOMPARE(stored("from"), QStringList{QStringLiteral("\n\n山田商店\n\n")});
    }

    void dateSection()
    {
        auto document = makeDocument();
        document->dateShow();
        document->dateDial->setDate(QDate(2026, 12, 5));
        QCOMPARE(document->date->title(), westernDateText(QDate::currentDate())); // only OK writes
        click(*document, QStringLiteral("dateCtrlOk"));
        QCOMPARE(document->date->title(), QStringLiteral("2026年12月05日"));
        QVERIFY(!document->dateRoom->hasGuideBorder() && document->isEdited());
        document->dateShow();
        document->dateJaps->setChecked(true);
        document->dateCopy();
        QCOMPARE(document->date->title(), QStringLiteral("令和8年12月5日"));
        // The era follows the file's "jgen" on open.
        QCOMPARE(makeDocument(document->dataOfType())->date->title(), QStringLiteral("令和8年12月5日"));
    }

    void stamp_data()
    {
        QTest::addColumn<QString>("closing"); // how the panel closes after "No stamp"
        QTest::newRow("OK") << "pushCtrlOk";
        QTest::newRow("Cancel") << "pushCtrlCancel";
        QTest::newRow("Esc") << "";
    }
    void stamp()
    {
        // A photo becomes the lossless stamp every invoice shares.
        QImage photo(120, 80, QImage::Format_RGB32);
        photo.fill(QColor(180, 20, 20));
        auto document = makeDocument();
        document->pushShow();
        document->pushTest->setImage(ImageWell::decode(encodedImage(photo, "JPEG")));
        click(*document, QStringLiteral("pushCtrlOk"));
        QVERIFY(SavedLists::instance().stamp().startsWith("\x89PNG"));
        QCOMPARE(makeDocument()->push->image().size(), QSize(120, 80));
        // "No stamp" takes it away only with OK: Cancel keeps the stamp every invoice shares.
        QFETCH(QString, closing);
        const QByteArray kept = SavedLists::instance().stamp();
        document->updateChangeCount(Document::ChangeCleared);
        document->pushShow();
        click(*document, QStringLiteral("pushKillExec"));
        QVERIFY(document->pushTest->image().isNull());
        QCOMPARE(SavedLists::instance().stamp(), kept); // nothing is lost before OK
        closing.isEmpty() ? QTest::keyClick(document->pushCtrl.get(), Qt::Key_Escape) : click(*document, closing);
        QVERIFY(!document->pushCtrl->isVisible());
        const bool ok = closing == QLatin1String("pushCtrlOk");
        QCOMPARE(SavedLists::instance().stamp().isEmpty(), ok);
        QCOMPARE(document->push->image().isNull(), ok);
        QCOMPARE(document->pushTest->image().isNull(), ok); // the preview shows the stamp again
        QCOMPARE(document->isEdited(), ok);
    }

    void cancelPutsThePanelBack_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<bool>("escape");
        QTest::newRow("title, Cancel") << "head" << false;
        QTest::newRow("customer, Esc") << "whom" << true;
        QTest::newRow("issuer, Esc") << "home" << true;
        QTest::newRow("date, Cancel") << "date" << false;
        QTest::newRow("number, Esc") << "numb" << true;
        QTest::newRow("due date, Cancel") << "dues" << false;
        QTest::newRow("remarks, Cancel") << "note" << false;
    }
    void cancelPutsThePanelBack()
    {
        QFETCH(QString, region);
        QFETCH(bool, escape);
        for (const char *key : {"head", "whom", "from"})
            SavedLists::instance().save({"A", "B"}, QString::fromLatin1(key));
        auto document =
            makeDocument(R"({"head":"B","whom":"A","from":"B","date":"2024-05-01","jgen":0,"tail":0,"item":[{}]})");
        const QByteArray file = document->dataOfType();
        const auto page = [&] {
            return QStringList{document->head->title(), document->whom->title(), document->home->title(),
                               document->date->title()};
        };
        const QStringList pageAtOpen = page();
        const auto panel = child<QDialog>(*document, region + QStringLiteral("Ctrl"));
        const auto texts = [panel] { // a date's or a chooser's own line edit follows its control
            QList<QLineEdit *> lines = panel->findChildren<QLineEdit *>();
            lines.removeIf([](QLineEdit *line) {
                return line->parent()->inherits("QAbstractSpinBox") || line->parent()->inherits("QComboBox");
            });
            return lines;
        };
        const auto offered = [&] { // what the panel offers, control by control
            QStringList values;
            for (QComboBox *c : panel->findChildren<QComboBox *>())
                values << QString::number(c->currentIndex());
            for (SegmentedControl *c : panel->findChildren<SegmentedControl *>())
                values << QString::number(c->selectedSegment());
            for (QDateEdit *c : panel->findChildren<QDateEdit *>())
                values << c->date().toString();
            for (QCheckBox *c : panel->findChildren<QCheckBox *>())
                values << QString::number(c->isChecked());
            for (QLineEdit *c : texts())
                values << c->text();
            for (QPlainTextEdit *c : panel->findChildren<QPlainTextEdit *>())
                values << c->toPlainText();
            return values;
        };
        QTest::mouseClick(child<PageButton>(*document, region), Qt::LeftButton);
        QVERIFY(panel->isVisible());
        const QStringList atOpen = offered();
        // Everything the panel offers changes, then the user thinks better of it.
        for (QComboBox *c : panel->findChildren<QComboBox *>())
            c->setCurrentIndex(1 - c->currentIndex());
        for (SegmentedControl *c : panel->findChildren<SegmentedControl *>())
            c->setSelectedSegment(1);
        for (QDateEdit *c : panel->findChildren<QDateEdit *>())
            c->setDate(QDate(2030, 1, 2));
        for (QCheckBox *c : panel->findChildren<QCheckBox *>())
            c->setChecked(!c->isChecked());
        for (QLineEdit *c : texts())
            c->setText(QStringLiteral("X"));
        for (QPlainTextEdit *c : panel->findChildren<QPlainTextEdit *>())
            c->setPlainText(QStringLiteral("Y"));
        QVERIFY(offered() != atOpen);
        escape ? QTest::keyClick(panel, Qt::Key_Escape) : click(*document, panel->objectName() + "Cancel");
        QVERIFY(!panel->isVisible());
        // The panel offers again what it did, and nothing reached the page, the file or the sequence.
        QCOMPARE(offered(), atOpen);
        QCOMPARE(document->dataOfType(), file);
        QCOMPARE(page(), pageAtOpen);
        QVERIFY(!document->isEdited() && !anyGuideBorder(*document));
        QCOMPARE(FreelancePreferences::nextNumber(QDate(2024, 5, 1)).sequence, 1);
    }

    void followEntry_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("kept");
        using K = ListChange::Kind;
        const QStringList abd{"A", "B", "D"};
        QTest::newRow("an earlier entry removed") << 2 << int(K::Removed) << 0 << QStringList{"B", "C", "D"} << 1;
        QTest::newRow("a later entry removed") << 0 << int(K::Removed) << 2 << abd << 0;
        QTest::newRow("the chosen entry removed") << 2 << int(K::Removed) << 2 << abd << -1;
        QTest::newRow("the chosen entry edited") << 1 << int(K::Edited) << 1 << QStringList{"A", "X", "C"} << 1;
        QTest::newRow("nothing chosen") << -1 << int(K::Removed) << 0 << abd << -1;
        QTest::newRow("replaced, found by text") << 2 << int(K::Replaced) << -1 << QStringList{"C", "A"} << 0;
        QTest::newRow("replaced, gone") << 3 << int(K::Replaced) << -1 << QStringList{"A", "B"} << -1;
    }
    void followEntry()
    {
        QFETCH(int, selected);
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QStringList, list);
        const QStringList before{"A", "B", "C", "D"};
        QTEST(seikyu::followEntry(selected, before.value(selected), {ListChange::Kind(kind), index}, list), "kept");
    }

    void twoWindowsKeepTheirChoices()
    {
        SavedLists::instance().save({"A", "B", "C", "D"}, QStringLiteral("whom"));
        auto first = makeDocument();
        auto second = makeDocument();
        first->whomShow();
        second->whomShow();
        QCOMPARE(first->shownSheet(), first->whomCtrl.get()); // each window keeps its own sheet
        second->whomDial->setCurrentIndex(2);
        first->whomDial->setCurrentIndex(0);
        first->whomKillExec(); // "A" goes: the second window keeps "C", not what moved into its place
        QCOMPARE(second->whomDial->currentText(), QStringLiteral("C"));
        first->whomDial->setCurrentIndex(1);
        first->whomEdit(first->whomDial);
        first->whomEditText->setText(QStringLiteral("C2"));
        first->whomEditExec(); // an edited entry is still the same entry
        click(*second, QStringLiteral("whomCtrlOk"));
        QCOMPARE(second->whom->title(), QStringLiteral("C2 御中"));
        // The very entry removed: the other window chooses nothing and says so; its OK writes nothing,
        // and its Cancel does not bring back a choice of an entry that is gone.
        second->whomShow();
        first->whomKillExec();
        QCOMPARE(stored("whom"), (QStringList{"B", "D"}));
        QCOMPARE(second->whomDial->currentIndex(), -1);
        QVERIFY(!second->whomDial->placeholderText().isEmpty());
        second->whomCopy();
        QVERIFY(second->whomCtrl->isVisible());
        QCOMPARE(second->whom->title(), QStringLiteral("C2 御中"));
        click(*second, QStringLiteral("whomCtrlCancel"));
        QCOMPARE(second->whomDial->currentIndex(), -1);
        first->hide();
        QVERIFY(!first->isEdited());
    }

    void popoverSitsAboveItsControl()
    {
        auto document = makeDocument();
        document->window()->move(100, 400);
        document->window()->show();
        document->headShow();
        auto *button = child<QToolButton>(*document, QStringLiteral("headPlusButton"));
        document->headPlus(button);
        const QRect anchor(button->mapToGlobal(QPoint(0, 0)), button->size());
        const QRect popover = document->headPlusPopover->frameGeometry();
        QVERIFY2(popover.bottom() <= anchor.top() || popover.top() >= anchor.bottom(), "popover covers its control");
        document->away();
        document->window()->close();
    }

    void listsSurviveARestart()
    {
        SavedLists::instance().save({}, QStringLiteral("head"));
        SavedLists::instance().save({QStringLiteral("a, b"), QStringLiteral("line\nfeed"), QStringLiteral("\"q\"")},
                                    QStringLiteral("whom"));
        QProcess reader; // a second process reads the settings file afresh
        reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--dump-lists")});
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(reader.readAllStandardOutput(), QByteArray("head=0:\nwhom=3:a, b|line\\nfeed|\"q\"\nfrom=absent\n"));
    }
};

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--dump-lists") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Seikyu"));
        QCoreApplication::setOrganizationName(QStringLiteral("Seikyu"));
        QStandardPaths::setTestModeEnabled(true);
        for (const char *key : {"head", "whom", "from"}) {
            const auto list = SavedLists::instance().read(QString::fromLatin1(key));
            const QString shown =
                list ? QStringLiteral("%1:%2").arg(list->size()).arg(list->join(u'|')) : QStringLiteral("absent");
            std::printf("%s=%s\n", key, QString(shown).replace(u'\n', QStringLiteral("\\n")).toUtf8().constData());
        }
        return 0;
    }
    QApplication app(argc, argv);
    TestSections test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sections.moc"
