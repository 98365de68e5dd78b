// The customer and issuer entries as the user keeps them: an issuer entry whose registration number
// is refused or questioned goes back to its popover with everything typed, and each customer keeps
// the honorific it was last confirmed with, across a restart.
#include "sections/CustomerHonorifics.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QMessageBox>
#include <QProcess>
#include <cstdio>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// Answers as scripted, but shows a real modal message box first, as the application's own
/// prompter does: a modal box takes every popup off the screen.
class ModalScriptedPrompter : public ScriptedPrompter
{
public:
    bool askToProceed(QWidget *parent, const QString &text, const QString &informative, const QString &go) override
    {
        showModalBox(parent);
        return ScriptedPrompter::askToProceed(parent, text, informative, go);
    }
    void alert(QWidget *parent, const QString &text, const QString &informative) override
    {
        showModalBox(parent);
        ScriptedPrompter::alert(parent, text, informative);
    }

private:
    static void showModalBox(QWidget *parent)
    {
        QMessageBox box(parent);
        box.setText(QStringLiteral("?"));
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QTest::qWait(20);
        box.done(QMessageBox::Cancel);
    }
};

/// Child of the restart test: a new store and a new window read what the first run confirmed.
int readHonorifics()
{
    for (const Customer &customer : bookCustomers())
        std::printf("%s=%s\n", customer.name.toUtf8().constData(), customer.honorific == 1 ? "様" : "御中");
    auto document = makeDocument();
    std::printf("new=%s\n", child<PageButton>(*document, "whom")->title().toUtf8().constData());
    document->whomShow();
    QTest::keyClick(child<QComboBox>(*document, "whomDial"), Qt::Key_Down);
    std::printf("chosen=%s\n", child<SegmentedControl>(*document, "tail")
                                   ->labelForSegment(child<SegmentedControl>(*document, "tail")->selectedSegment())
                                   .toUtf8()
                                   .constData());
    std::printf("list=%s\n", bookCustomerNames().join(u'|').toUtf8().constData());
    return 0;
}

} // namespace

class TestListEntries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }
    void cleanup()
    {
        Prompter::setInstance(nullptr);
        QTRY_VERIFY(noWindowShown());
    }

    void aRefusedRegistrationNumberKeepsThePopover_data()
    {
        QTest::addColumn<bool>("editing");        // the edit popover, or the add popover
        QTest::addColumn<QString>("number");      // as typed
        QTest::addColumn<QList<bool>>("answers"); // to the question about the check digit
        QTest::addColumn<QString>("name");        // as typed
        const QString name = QStringLiteral("山田商店");
        QTest::newRow("add, not a number") << false << "T12345" << QList<bool>{} << name;
        QTest::newRow("add, check digit questioned") << false << "T1234567890123" << QList<bool>{false} << name;
        QTest::newRow("edit, not a number") << true << "X7010705000725" << QList<bool>{} << name;
        QTest::newRow("edit, check digit questioned") << true << "T1234567890123" << QList<bool>{false} << name;
        // A character no invoice file can keep, pasted in unseen: refused where it was typed.
        QTest::newRow("add, a byte order mark") << false << "T7010705000725" << QList<bool>{} << QChar(0xFEFF) + name;
        QTest::newRow("edit, half a pair") << true << "T7010705000725" << QList<bool>{} << name + QChar(0xD800);
    }
    void aRefusedRegistrationNumberKeepsThePopover()
    {
        QFETCH(bool, editing);
        QFETCH(QString, number);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, name);
        auto owned = std::make_unique<ModalScriptedPrompter>();
        ModalScriptedPrompter *prompter = owned.get();
        Prompter::setInstance(std::move(owned));
        prompter->proceedAnswers = answers;
        const QString stored = QStringLiteral("150-0001\n東京都渋谷区\n佐藤花子\n03-0000-0000\n普通 1234567");
        if (editing)
            SavedLists::instance().save({stored}, QStringLiteral("from"));
        auto document = makeDocument();
        document->homeShow();
        click(*document, editing ? QStringLiteral("homeEditButton") : QStringLiteral("homePlusButton"));
        auto *popover = child<Popover>(*document, editing ? QStringLiteral("homeEdit") : QStringLiteral("homePlus"));
        QVERIFY(popover->isVisible());
        QList<QLineEdit *> fields;
        for (const char *field : {"Code", "Maps", "Name", "Call", "Bank", "Regn"})
            fields.append(child<QLineEdit>(*document, (editing ? "edit" : "news") + QLatin1String(field)));
        QStringList typed{QStringLiteral("530-0001"),     QStringLiteral("大阪市北区"),   name,
                          QStringLiteral("06-1111-2222"), QStringLiteral("当座 7654321"), number};
        for (int i = 0; i < fields.size(); ++i)
            fields.at(i)->setText(typed.at(i));

        // Return in the number field, as a user confirms: refused, and back in the popover with
        // every field as typed; the list is as it was.
        QTest::keyClick(fields.last(), Qt::Key_Return);
        QCOMPARE(prompter->alerts.size() + prompter->questions.size(), 1);
        QTRY_VERIFY(popover->isVisible());
        QCOMPARE(document->shownPopover(), popover);
        QCOMPARE(each(fields, &QLineEdit::text), typed);
        QCOMPARE(savedList("from"), editing ? QStringList{stored} : QStringList{QStringLiteral("<absent>")});
        QVERIFY(child<QDialog>(*document, "homeCtrl")->isVisible());

        // Corrected (as an input method types it), or the questioned number kept after all: the entry
        // is taken and the popover goes.
        const QString kept = answers.isEmpty() ? QStringLiteral("T7010705000725") : number;
        prompter->proceedAnswers = {true};
        fields.last()->setText(answers.isEmpty() ? QStringLiteral("ｔ７０１０-７０５０-００７２５") : number);
        typed[2] = QStringLiteral("山田商店");
        fields.at(2)->setText(typed[2]);
        QTest::mouseClick(child<QPushButton>(*document, popover->objectName() + QStringLiteral("Exec")),
                          Qt::LeftButton);
        QTRY_VERIFY(!popover->isVisible());
        const QString entry = QStringList(typed.mid(0, 5)).join(u'\n');
        QCOMPARE(savedList("from"), QStringList{entry + u'\n' + kept});
        // The page shows the number under its heading; without one an entry keeps its five lines.
        document->homeCopy();
        QCOMPARE(child<PageButton>(*document, "home")->shownText().section(u'\n', 5), "登録番号 " + kept);
        document->homeShow();
        document->homeEdit(child<QComboBox>(*document, "homeDial"));
        QCOMPARE(child<QLineEdit>(*document, "editRegn")->text(), kept);
        child<QLineEdit>(*document, "editRegn")->clear();
        document->homeEditExec();
        QCOMPARE(savedList("from"), QStringList{entry});
        document->hide();
    }

    void eachCustomerKeepsItsHonorific()
    {
        const QStringList customers{QStringLiteral("田中太郎"), QStringLiteral("株式会社テスト商事")};
        storeCustomers(customers, {QStringLiteral("タナカタロウ"), QStringLiteral("テストショウジ")});
        {
            auto document = makeDocument();
            // Nothing confirmed yet: a new invoice shows the first customer with 御中, as always.
            QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("田中太郎 御中"));
            document->whomShow();
            chooseHonorific(*document, 1);
            click(*document, QStringLiteral("whomCtrlOk"));
            QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("田中太郎 様"));

            // Choosing the company brings the honorific the book holds for it.
            document->whomShow();
            QTest::keyClick(child<QComboBox>(*document, "whomDial"), Qt::Key_Down);
            QCOMPARE(child<SegmentedControl>(*document, "tail")->selectedSegment(), 0);
            chooseHonorific(*document, 0);
            click(*document, QStringLiteral("whomCtrlOk"));
            QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("株式会社テスト商事 御中"));

            // Choosing each again brings its own honorific.
            document->whomShow();
            QTest::keyClick(child<QComboBox>(*document, "whomDial"), Qt::Key_Up);
            QCOMPARE(child<SegmentedControl>(*document, "tail")->selectedSegment(), 1);
            QTest::keyClick(child<QComboBox>(*document, "whomDial"), Qt::Key_Down);
            QCOMPARE(child<SegmentedControl>(*document, "tail")->selectedSegment(), 0);
            // Cancel confirms nothing.
            QTest::keyClick(child<QComboBox>(*document, "whomDial"), Qt::Key_Up);
            chooseHonorific(*document, 0);
            click(*document, QStringLiteral("whomCtrlCancel"));
            QCOMPARE(bookCustomer(customers.at(0)).honorific, 1);

            // The book keeps its customers, and a file keeps writing its honorific as before.
            QCOMPARE(bookCustomerNames(), customers);
            QVERIFY(document->dataOfType().contains("\"tail\": 0"));
        }
        // A new run: a new store and a new window.
        QProcess reader;
        reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-honorifics")});
        QVERIFY(reader.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()),
                 QStringLiteral("田中太郎=様\n株式会社テスト商事=御中\nnew=田中太郎 様\nchosen=御中\n"
                                "list=田中太郎|株式会社テスト商事\n"));
    }

    void honorificEntries()
    {
        // Stored entries that are damaged are passed over; the list never outgrows the customers.
        const QStringList stored{QStringLiteral("様\t田中"), QStringLiteral("damaged"), QStringLiteral("\t空"),
                                 QStringLiteral("御中\t消えた会社")};
        QCOMPARE(CustomerHonorifics::honorificIn(stored, QStringLiteral("田中")), QStringLiteral("様"));
        QCOMPARE(CustomerHonorifics::honorificIn(stored, QStringLiteral("damaged")), std::nullopt);
        QCOMPARE(CustomerHonorifics::honorificIn(stored, QStringLiteral("空")), std::nullopt);
        QCOMPARE(CustomerHonorifics::withHonorific(stored, QStringLiteral("田中"), QStringLiteral("御中"),
                                                   {QStringLiteral("田中"), QStringLiteral("鈴木")}),
                 QStringList{QStringLiteral("御中\t田中")});
        QCOMPARE(CustomerHonorifics::withHonorific({}, QStringLiteral("a\tb"), QStringLiteral("様"), {}),
                 QStringList{QStringLiteral("様\ta\tb")});
        QCOMPARE(CustomerHonorifics::honorificIn({QStringLiteral("様\ta\tb")}, QStringLiteral("a\tb")),
                 QStringLiteral("様"));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--read-honorifics") == 0) {
        nameApplication();
        return readHonorifics();
    }
    TestListEntries test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_listentries.moc"
