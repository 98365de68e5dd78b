// The help search: what people type finds the topic they mean, whatever its width, spacing or
// script, and by the words they use for it; the panel never shows topics beside an empty text.
#include "help/HelpPanel.h"
#include "help/HelpSearch.h"
#include "help/HelpTopics.h"
#include "support/TestSupport.h"

#include <QTextBrowser>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QStringList headsFound(const QString &search)
{
    QStringList heads;
    for (const HelpTopic &topic : filterHelpTopics(helpTopics(), search))
        heads.append(topic.head);
    return heads;
}

/// The heading of the topic at its fixed place in the list, in the current language.
QString topicHead(int index)
{
    return helpTopics().at(index).head;
}

enum Topic { Summary = 0, Table = 3, Amounts = 4, TaxRates = 5, Remarks = 8, Withholding = 11 };

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }

    void searchKeysFoldWidthSpaceCaseAndKana_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");
        QTest::newRow("full-width digits and percent") << QString("８％") << "8%";
        QTest::newRow("a space before the percent") << QString("8 %") << "8%";
        QTest::newRow("an ideographic space") << QString("8\u3000%") << "8%";
        QTest::newRow("half-width katakana") << QString("ｲﾝﾎﾞｲｽ") << "インボイス";
        QTest::newRow("hiragana") << QString("いんぼいす") << "インボイス";
        QTest::newRow("full-width Latin, upper case") << QString("ＰＤＦ") << "pdf";
        QTest::newRow("spaces between words") << QString(" Due  date ") << "duedate";
        QTest::newRow("only spaces") << QString(" \u3000\t") << "";
    }
    void searchKeysFoldWidthSpaceCaseAndKana()
    {
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QCOMPARE(helpSearchKey(typed), helpSearchKey(key));
        QCOMPARE(helpSearchKey(typed).contains(QLatin1Char(' ')), false);
    }

    void searchFindsTheTopicPeopleMean_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("topic");
        // Every spelling of one search finds the same topic.
        for (const char *spelling : {"8%", "８％", "8 %", "8　%"})
            QTest::newRow(spelling) << QString::fromUtf8(spelling) << int(TaxRates);
        for (const char *spelling : {"インボイス", "ｲﾝﾎﾞｲｽ", "いんぼいす", "イン ボイス"})
            QTest::newRow(spelling) << QString::fromUtf8(spelling) << int(TaxRates);
        // The words users have for a topic, whether or not its text uses them.
        QTest::newRow("適格請求書") << "適格請求書" << int(TaxRates);
        QTest::newRow("軽減税率") << "軽減税率" << int(TaxRates);
        QTest::newRow("源泉") << "源泉" << int(Withholding);
        QTest::newRow("振込") << "振込" << int(Remarks);
        QTest::newRow("振込手数料") << "振込手数料" << int(Remarks);
        QTest::newRow("PDF") << "PDF" << int(Summary);
        QTest::newRow("pdf") << "pdf" << int(Summary);
        QTest::newRow("ＰＤＦ") << "ＰＤＦ" << int(Summary);
        QTest::newRow("値引き") << "値引き" << int(Amounts);
        QTest::newRow("明細") << "明細" << int(Table);
    }
    void searchFindsTheTopicPeopleMean()
    {
        QFETCH(QString, search);
        QFETCH(int, topic);
        QVERIFY2(headsFound(search).contains(topicHead(topic)), qPrintable(headsFound(search).join(u", ")));
    }

    void keywordsAreSearchedNotShown()
    {
        const QList<HelpTopic> topics = helpTopics();
        QVERIFY(topics.at(TaxRates).keywords.contains(QStringLiteral("インボイス")));
        // A keyword narrows like text does: a word found nowhere still finds nothing.
        QVERIFY(headsFound(QStringLiteral("ｚｚｚｑｑｑ")).isEmpty());
        // Spaces alone are no search: the list stays whole.
        QCOMPARE(filterHelpTopics(topics, QStringLiteral("  \u3000")).size(), topics.size());
        // The search keeps the topics' order.
        const QStringList found = headsFound(QStringLiteral("金額"));
        QStringList inOrder;
        for (const HelpTopic &topic : topics) {
            if (found.contains(topic.head))
                inOrder.append(topic.head);
        }
        QCOMPARE(found, inOrder);
    }

    void aSearchAfterNoHitsShowsItsFirstTopic()
    {
        HelpPanel panel;
        auto *grid = panel.findChild<QTableView *>(QStringLiteral("HVGrid"));
        auto *field = panel.findChild<QLineEdit *>(QStringLiteral("HVSearch"));
        auto *text = panel.findChild<QTextBrowser *>(QStringLiteral("HVText"));
        field->setText(QStringLiteral("ｚｚｚｑｑｑ"));
        QCOMPARE(grid->model()->rowCount(), 0);
        QCOMPARE(text->toPlainText(), QString());

        field->setText(QStringLiteral("ｲﾝﾎﾞｲｽ"));
        const QList<HelpTopic> found = filterHelpTopics(helpTopics(), QStringLiteral("インボイス"));
        QVERIFY(!found.isEmpty());
        QCOMPARE(grid->model()->rowCount(), found.size());
        QCOMPARE(grid->selectionModel()->selectedRows().value(0).row(), 0);
        QCOMPARE(text->toPlainText(), found.constFirst().body);

        // Clearing the search brings every topic back, with a topic shown.
        field->clear();
        QCOMPARE(grid->model()->rowCount(), helpTopics().size());
        QCOMPARE(text->toPlainText(), helpTopics().constFirst().body);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
