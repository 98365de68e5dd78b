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
                                     {"whom", "株式会社テスト商事"},
                                     {"item", items}})
        .toJson();
}

QString monthAndDay(const QDate &date)
{
    return QStringLiteral("%1/%2").arg(date.month()).arg(date.day());
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
        // December's invoice, dated on the 31st, made into this month's: the rows cross the year end.
        const QDate invoiceDate(2025, 12, 31);
        const QString path = writeFile(
            folder.filePath(QStringLiteral("december.seikyu")),
            invoiceDated(QStringLiteral("2025-12-31"), {QStringLiteral("12/31"), QStringLiteral("１１月３０日"),
                                                        QStringLiteral("1/31"), QStringLiteral("送料")}));
        Document *original = controller.openFile(path);
        QVERIFY(original);
        const QDate today = QDate::currentDate();
        const int months = (today.year() - invoiceDate.year()) * 12 + today.month() - invoiceDate.month();

        // Offered on at first; the choice made is remembered and offered next time.
        QVERIFY(FreelancePreferences::duplicateMovesRowDates());
        prompter->duplicateAnswers = {Prompter::DuplicateChoice{false, true}};
        child<QAction>(*original, QStringLiteral("duplicateAction"))->trigger();
        QCOMPARE(controller.documents().size(), 2);
        Document *copy = controller.documents().last();
        QVERIFY(prompter->duplicateOffers.constFirst().moveRowDates);
        // QDate::addMonths keeps the day where the month has it and otherwise takes the month's last.
        const QDate row2 = QDate(2025, 11, 30).addMonths(months);
        const QString fullWidth = QStringLiteral("%1月%2日").arg(row2.month()).arg(row2.day());
        const QStringList texts = tableTexts(*copy);
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts.at(1).section(u'|', 0, 0), monthAndDay(QDate(2025, 12, 31).addMonths(months)));
        const QString shown = texts.at(2).section(u'|', 0, 0);
        QCOMPARE(shown.normalized(QString::NormalizationForm_KC), fullWidth);
        QVERIFY2(shown.at(0).unicode() >= 0xFF10, "full-width digits stay full-width");
        QCOMPARE(texts.at(3).section(u'|', 0, 0), monthAndDay(QDate(2026, 1, 31).addMonths(months)));
        QCOMPARE(texts.at(4).section(u'|', 0, 0), QStringLiteral("送料"));
        // Nothing to undo in a new invoice; the original is as it was.
        QCOMPARE(copy->undoStack()->count(), 0);
        QCOMPARE(tableTexts(*original).at(1).section(u'|', 0, 0), QStringLiteral("12/31"));

        // Turned off, the dates stay as they were, and the choice is offered so next time.
        prompter->duplicateAnswers = {Prompter::DuplicateChoice{false, false}};
        child<QAction>(*original, QStringLiteral("duplicateAction"))->trigger();
        QCOMPARE(controller.documents().size(), 3);
        QCOMPARE(tableTexts(*controller.documents().last()).at(1).section(u'|', 0, 0), QStringLiteral("12/31"));
        const QStringList numbers{copy->invoiceNumber(), controller.documents().last()->invoiceNumber()};
        QVERIFY(!FreelancePreferences::duplicateMovesRowDates());
        prompter->duplicateAnswers = {std::nullopt};
        QVERIFY(!controller.duplicate(original));
        QVERIFY(!prompter->duplicateOffers.last().moveRowDates);

        prompter->saveChoices = {Prompter::SaveChoice::DontSave, Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
        // Discarded, the copies leave no gap: the last number taken goes back to the sequence, the
        // one taken before it is recorded in the ledger as unused, with why.
        QCOMPARE(FreelancePreferences::nextNumber(today).text, numbers.at(1));
        const LedgerEntry unused = IssueLedger::instance().store()->entries().value(0);
        QCOMPARE(std::pair(unused.kind, unused.number), std::pair(EntryKind::Unused, numbers.at(0)));
        QVERIFY(!unused.note.isEmpty());
        IssueLedger::instance().close();
    }
};

QTEST_MAIN(TestNextInvoice)
#include "tst_nextinvoice.moc"
