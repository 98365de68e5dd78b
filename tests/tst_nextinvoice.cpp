// Next month's invoice: the rule that moves a row's date text, and Duplicate moving every row of a
// real invoice window with the invoice date.
#include "ledger/IssueLedger.h"
#include "ledger/SharedNumberHook.h"
#include "sections/FreelancePreferences.h"
#include "sections/RowDates.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QJsonObject row(const QString &date, const QString &name)
{
    return {{"date", date}, {"name", name}, {"solo", "1000"}, {"much", 1}, {"sums", ""}};
}

QByteArray invoiceDated(const QString &date, const QStringList &rowDates)
{
    QJsonArray items{QJsonObject{{"date", "日付"}, {"name", "項目"}, {"solo", ""}, {"much", "個数"}, {"sums", "価格"}}};
    for (const QString &rowDate : rowDates)
        items.append(row(rowDate, QStringLiteral("配送")));
    return QJsonDocument(QJsonObject{{"head", "請求書"},
                                     {"date", date},
                                     {"numb", "2025-0042"},
                                     {"dues", "2026-01-31"},
                                     {"whom", "株式会社テスト商事"},
                                     {"item", items}})
        .toJson();
}

/// The dates of the table's rows, under its header row.
QStringList rowDates(const Document &document)
{
    QStringList dates;
    for (const QString &row : tableTexts(document).mid(1))
        dates.append(row.section(u'|', 0, 0));
    return dates;
}

} // namespace

class TestNextInvoice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        installSharedNumbers(); // as the application does: numbers not used go back
    }
    void init() { clearSettings(); }
    void cleanup() { QTRY_VERIFY(noWindowShown()); }

    void monthsBetweenCountsCalendarMonths()
    {
        // A month on, the day is kept, or clamped, and a month's last day stays the last.
        QCOMPARE(monthsLater(QDate(2026, 10, 31), 1), QDate(2026, 11, 30));
        QCOMPARE(monthsLater(QDate(2026, 11, 30), 1), QDate(2026, 12, 31));
        QCOMPARE(monthsLater(QDate(2027, 2, 28), 1), QDate(2027, 3, 31));
        QCOMPARE(monthsLater(QDate(2026, 1, 30), 1), QDate(2026, 2, 28));
        QCOMPARE(monthsLater(QDate(2026, 12, 15), 1), QDate(2027, 1, 15));
        QCOMPARE(monthsLater(QDate(2028, 2, 29), -12), QDate(2027, 2, 28));
        QVERIFY(!monthsLater(QDate(), 1).isValid());
        QCOMPARE(monthsBetween(QDate(2025, 12, 31), QDate(2026, 1, 1)), 1);
        QCOMPARE(monthsBetween(QDate(2026, 1, 31), QDate(2026, 1, 1)), 0);
        QCOMPARE(monthsBetween(QDate(2026, 3, 1), QDate(2025, 11, 30)), -4);
        QCOMPARE(monthsBetween(QDate(), QDate(2025, 11, 30)), 0);
    }

    void movedRowDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("invoiceDate");
        QTest::addColumn<QString>("moved");
        const QDate december(2025, 12, 31);
        const QDate march2024(2024, 3, 31);
        QTest::newRow("next month") << "4/15" << 1 << QDate(2026, 4, 30) << "5/15";
        QTest::newRow("over the year end") << "12/15" << 1 << december << "1/15";
        QTest::newRow("a row of January on a December invoice") << "1/5" << 1 << december << "2/5";
        QTest::newRow("a row of December on a January invoice") << "12/28" << 1 << QDate(2026, 1, 5) << "1/28";
        QTest::newRow("the 31st into a month of 30") << "10/31" << 1 << QDate(2026, 10, 31) << "11/30";
        QTest::newRow("the 31st into February") << "1/31" << 1 << QDate(2026, 1, 31) << "2/28";
        QTest::newRow("the 31st into a leap February") << "1/31" << 1 << QDate(2028, 1, 31) << "2/29";
        QTest::newRow("the 31st across the year end") << "12/31" << 2 << december << "2/28";
        QTest::newRow("last December's 31st into a leap February") << "12/31" << 2 << QDate(2028, 1, 10) << "2/29";
        QTest::newRow("2/29 of a leap year") << "2/29" << 1 << march2024 << "3/29";
        QTest::newRow("2/29 a year on") << "2/29" << 12 << march2024 << "2/28";
        QTest::newRow("2/29 with its year") << "2024/2/29" << 12 << march2024 << "2025/2/28";
        QTest::newRow("backwards") << "3/31" << -1 << QDate(2026, 3, 31) << "2/28";
        QTest::newRow("zero padding kept") << "04/05" << 1 << QDate(2026, 4, 30) << "05/05";
        QTest::newRow("padding to two digits") << "09/30" << 3 << QDate(2026, 9, 30) << "12/30";
        QTest::newRow("full-width digits") << "１２／３１" << 1 << december << "１／３１";
        QTest::newRow("full-width in Japanese") << "１１月３０日" << 1 << december << "１２月３０日";
        QTest::newRow("Japanese") << "12月31日" << 2 << december << "2月28日";
        QTest::newRow("Japanese with its year") << "2025年12月1日" << 1 << december << "2026年1月1日";
        QTest::newRow("with its year") << "2025/12/01" << 1 << december << "2026/01/01";
        QTest::newRow("hyphen, padded") << "12-01" << 1 << december << "01-01";
        QTest::newRow("padded by its day") << "12/05" << 3 << december << "03/05";
        QTest::newRow("spaces around kept") << " 4/1　" << 1 << QDate(2026, 4, 30) << " 5/1　";
        QTest::newRow("no move") << "4/31" << 0 << QDate(2026, 4, 30) << "4/31";
        QTest::newRow("not a day of April") << "4/31" << 1 << QDate(2026, 4, 30) << "4/31";
        QTest::newRow("not a month") << "13/1" << 1 << QDate(2026, 4, 30) << "13/1";
        QTest::newRow("day 0") << "4/0" << 1 << QDate(2026, 4, 30) << "4/0";
        QTest::newRow("2/29 in a year without one") << "2025/2/29" << 1 << december << "2025/2/29";
        QTest::newRow("a weekday after it") << "4/1(水)" << 1 << QDate(2026, 4, 30) << "4/1(水)";
        QTest::newRow("a word") << "送料" << 1 << december << "送料";
        QTest::newRow("a range") << "4/1〜4/30" << 1 << QDate(2026, 4, 30) << "4/1〜4/30";
        QTest::newRow("a fraction-like code") << "1/2/3" << 1 << december << "1/2/3";
        QTest::newRow("mixed separators") << "2025/12-01" << 1 << december << "2025/12-01";
        QTest::newRow("a month without a day") << "12月分" << 1 << december << "12月分";
        QTest::newRow("empty") << "" << 1 << december << "";
        QTest::newRow("blank") << " " << 1 << december << " ";
        QTest::newRow("three digits") << "123/4" << 1 << december << "123/4";
    }
    void movedRowDate()
    {
        QFETCH(QString, text);
        QFETCH(int, months);
        QFETCH(QDate, invoiceDate);
        QFETCH(QString, moved);
        QCOMPARE(seikyu::movedRowDate(text, months, invoiceDate), moved);
    }

    void duplicateMovesTheRowsWithTheInvoiceDate()
    {
        PrompterGuard prompter;
        DocumentController controller;
        QTemporaryDir folder;
        IssueLedger::instance().setFolder(folder.filePath(QStringLiteral("ledger")));
        // December's invoice, dated and due on a month's last day, made into January's: the rows
        // cross the year end.
        const QString path = writeFile(
            folder.filePath(QStringLiteral("december.seikyu")),
            invoiceDated(QStringLiteral("2025-12-31"), {QStringLiteral("12/31"), QStringLiteral("１１月３０日"),
                                                        QStringLiteral("1/31"), QStringLiteral("送料")}));
        Document *original = controller.openFile(path);
        QVERIFY(original);

        // Offered on at first and dated a month after the original, whatever today is; the choice
        // made is remembered and offered next time.
        QVERIFY(FreelancePreferences::duplicateMovesRowDates());
        prompter->duplicateAnswers = {Prompter::DuplicateChoice{false, true}};
        child<QAction>(*original, QStringLiteral("duplicateAction"))->trigger();
        QCOMPARE(controller.documents().size(), 2);
        Document *copy = controller.documents().last();
        const QDate january(2026, 1, 31);
        QCOMPARE(prompter->duplicateOffers.constFirst(),
                 (Prompter::DuplicateChoice{false, true, january, QDate(2025, 12, 31)}));
        QCOMPARE(rowDates(*copy), (QStringList{"1/31", "１２月３０日", "2/28", "送料"}));
        QCOMPARE(std::tuple(copy->dateDial->date(), copy->dueDate(), copy->invoiceNumber()),
                 std::tuple(january, QDate(2026, 2, 28), QStringLiteral("2026-0001")));
        // Nothing to undo in a new invoice; the original is as it was.
        QCOMPARE(copy->undoStack()->count(), 0);
        QCOMPARE(rowDates(*original).constFirst(), QStringLiteral("12/31"));

        // Turned off, the dates stay as they were, and the choice is offered so next time; a date
        // set in the dialog moves the due date by its months.
        prompter->duplicateAnswers = {Prompter::DuplicateChoice{false, false, QDate(2026, 3, 5)}};
        child<QAction>(*original, QStringLiteral("duplicateAction"))->trigger();
        QCOMPARE(controller.documents().size(), 3);
        QCOMPARE(rowDates(*controller.documents().last()).constFirst(), QStringLiteral("12/31"));
        QCOMPARE(controller.documents().last()->dueDate(), QDate(2026, 4, 30));
        QVERIFY(!FreelancePreferences::duplicateMovesRowDates());
        prompter->duplicateAnswers = {std::nullopt};
        QVERIFY(!controller.duplicate(original));
        QVERIFY(!prompter->duplicateOffers.last().moveRowDates);

        // The first copy dated back into December before it is saved: Cancel keeps the panel open;
        // moved, the rows and the due date follow, and its number is the new year's.
        QTest::mouseClick(child<PageButton>(*copy, QStringLiteral("date")), Qt::LeftButton);
        copy->dateDial->setDate(QDate(2025, 12, 25));
        prompter->choiceAnswers = {-1, 0};
        auto *ok = child<QPushButton>(*copy, QStringLiteral("dateCtrlOk"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(copy->shownSheet()->isVisible());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!copy->shownSheet()->isVisible());
        QCOMPARE(rowDates(*copy), (QStringList{"12/31", "１１月３０日", "1/28", "送料"}));
        QCOMPARE(std::pair(copy->dueDate(), copy->invoiceNumber()), std::pair(january, QStringLiteral("2025-0001")));

        prompter->saveChoices = {Prompter::SaveChoice::DontSave, Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
        // No gap: the numbers of the discarded copies go back to their sequences, and the one given
        // up while another copy held the next is recorded in the ledger as unused, with why.
        QCOMPARE(FreelancePreferences::nextNumber(january).text, QStringLiteral("2026-0002"));
        QCOMPARE(FreelancePreferences::nextNumber(QDate(2025, 12, 25)).text, QStringLiteral("2025-0001"));
        const LedgerEntry unused = IssueLedger::instance().store()->entries().value(0);
        QCOMPARE(std::pair(unused.kind, unused.number), std::pair(EntryKind::Unused, QStringLiteral("2026-0001")));
        QVERIFY(!unused.note.isEmpty());
        IssueLedger::instance().close();
    }
};

QTEST_MAIN(TestNextInvoice)
#include "tst_nextinvoice.moc"
