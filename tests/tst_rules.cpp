// The rules the page stands on beside the invoice itself, without widgets: the registration number, fitting a text
// into its place and the item table's share of the page; the invoice number, the due date and the row dates of next
// month's invoice; which saved-list entry a panel keeps; and the help search.
#include "help/HelpSearch.h"
#include "help/HelpTopics.h"
#include "page/PageFonts.h"
#include "page/TextFit.h"
#include "sections/DueDate.h"
#include "sections/InvoiceNumber.h"
#include "sections/RegistrationNumber.h"
#include "sections/RowDates.h"
#include "sections/SavedLists.h"
#include "table/PageTableDelegate.h"

#include <QFontMetricsF>
#include <QTest>

using namespace seikyu;

namespace {

QString withoutSpaces(QString text)
{
    return text.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
}

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

enum Topic {
    Summary = 0,
    Table = 3,
    Amounts = 4,
    TaxRates = 5,
    Remarks = 8,
    Withholding = 11,
    Quotations = 17,
    DeliverySlips = 18,
    Receipts = 19
};

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registrationNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("corporate");
        QTest::addColumn<QString>("number"); // "refused" when it is none
        QTest::newRow("corporation") << "T7010705000725" << true << "T7010705000725";
        QTest::newRow("typed loosely") << " ｔ７０１０−７０５０−００７２５ " << true << "T7010705000725";
        QTest::newRow("hyphens and spaces") << "T 7010-7050-00725" << true << "T7010705000725";
        QTest::newRow("individual") << "T1234567890123" << false << "T1234567890123";
        QTest::newRow("none") << "  " << false << "";
        QTest::newRow("no T") << "7010705000725" << false << "refused";
        QTest::newRow("12 digits") << "T701070500072" << false << "refused";
        QTest::newRow("14 digits") << "T70107050007251" << false << "refused";
        QTest::newRow("letters") << "T70107050007AB" << false << "refused";
        QTest::newRow("Arabic-Indic digits") << "T٧٠١٠٧٠٥٠٠٠٧٢٥" << false << "refused";
    }
    void registrationNumbers()
    {
        QFETCH(QString, typed);
        const std::optional<QString> number = normalizedRegistrationNumber(typed);
        QTEST(number.value_or(QStringLiteral("refused")), "number");
        QTEST(hasCorporateCheckDigit(number.value_or(QString())), "corporate");
        // Kept as the sixth line of an issuer entry.
        QCOMPARE(registrationNumberOf(QStringLiteral("1\n2\n3\n4\n5\n") + typed), number.value_or(QString()));
    }

    void fitsWholeOrElidesOnlyWhereAllowed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QList<qreal>>("lineWidths");
        QTest::addColumn<int>("maximumLines");  // an item description's two; its last may end in …
        QTest::addColumn<int>("wrapPixelSize"); // a line wraps rather than shrink below it
        QTest::addColumn<QString>("expected");  // lines drawn (* as many as it needs), then the flags
        const QString customer = QStringLiteral("株式会社サンプルコンサルティング東日本 経理部 御中");
        const QString issuer = QStringLiteral("〒100-0005\n東京都千代田区丸の内一丁目2番3号 丸の内サンプルビル12階\n"
                                              "株式会社サンプル商事\nTEL 03-1234-5678\nみずほ銀行 東京営業部 普通 "
                                              "1234567 カ）サンプルコンサルティング");
        const QList<qreal> none;
        QTest::newRow("short: as set") << QStringLiteral("山田 様") << QSizeF(318, 30) << 18 << none << 0 << 0 << "1";
        QTest::newRow("short at the legible minimum")
            << QStringLiteral("山田 様") << QSizeF(318, 30) << LegiblePixelSize << none << 0 << 0 << "1";
        QTest::newRow("long customer: smaller, one line")
            << customer << QSizeF(318, 30) << 18 << none << 0 << 0 << "1 shrunk";
        QTest::newRow("long customer on the first page: wraps, legibly")
            << customer << QSizeF(318, 40) << 18 << none << 0 << 13 << "2 shrunk";
        QTest::newRow("issuer: wraps at spaces beside the seal")
            << issuer << QSizeF(240, 102) << 10 << QList<qreal>{170, 170, 240, 170, 170} << 0 << 0 << "*";
        QTest::newRow("no room: whole, below legible")
            << customer + customer << QSizeF(120, 20) << 18 << none << 0 << 0 << "* shrunk illegible";
        QTest::newRow("description: two lines, whole")
            << customer + QStringLiteral("の月次作業") << QSizeF(200, 24) << 9 << none << 2 << 0 << "2";
        QTest::newRow("description: two lines, then …")
            << customer + customer + customer << QSizeF(200, 24) << 9 << none << 2 << 0 << "2 shrunk elided";
    }
    void fitsWholeOrElidesOnlyWhereAllowed()
    {
        QFETCH(QString, text);
        QFETCH(QSizeF, box);
        QFETCH(int, pixelSize);
        QFETCH(QList<qreal>, lineWidths);
        QFETCH(int, maximumLines);
        QFETCH(int, wrapPixelSize);
        QFETCH(QString, expected);
        TextFitRequest request;
        request.box = box;
        request.pixelSize = pixelSize;
        request.lineWidths = lineWidths;
        request.maximumLines = maximumLines;
        request.wrapPixelSize = wrapPixelSize;
        if (maximumLines > 0)
            request.overflow = TextFitRequest::Overflow::Elide;
        const QFont face = pageFont(pixelSize);
        const FittedText fitted = fitText(text, face, request);
        QString got = expected.startsWith(u'*') ? QStringLiteral("*") : QString::number(fitted.lines.size());
        got += QString(fitted.pixelSize < pixelSize ? " shrunk" : "") + (fitted.legible ? "" : " illegible") +
               (fitted.elided ? " elided" : "");
        QCOMPARE(got, expected);
        QVERIFY(fitted.pixelSize >= wrapPixelSize);

        QFont setIn = face;
        setIn.setPixelSize(fitted.pixelSize);
        const QFontMetricsF metrics(setIn);
        QVERIFY(fitted.lines.size() * metrics.height() <= box.height() + 0.01);
        for (const QString &line : fitted.lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= box.width() + 0.01, qPrintable(line));
        // Whole, or else shortened at its end: every character drawn, lines broken only where a space
        // was or between characters.
        if (fitted.elided)
            QVERIFY(fitted.lines.constLast().endsWith(QChar(0x2026)));
        else
            QCOMPARE(withoutSpaces(fitted.lines.join(QString())), withoutSpaces(text));
    }

    void longTablesShrinkThenSayTheyAreIllegible_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("tallRows");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("legible");
        QTest::newRow("35 rows: full size") << 35 << 0 << 9 << true;
        QTest::newRow("40 rows: smaller") << 40 << 0 << 8 << true;
        QTest::newRow("40 rows, 10 of two lines") << 40 << 10 << 7 << true;
        QTest::newRow("80 rows: too small") << 80 << 0 << 4 << false;
    }
    void longTablesShrinkThenSayTheyAreIllegible()
    {
        QFETCH(int, rows);
        QFETCH(int, tallRows);
        const PageTableRows layout = layoutPageTableRows(rows, tallRows, 534);
        QTEST(layout.pixelSize, "pixelSize");
        QTEST(layout.legible, "legible");
        QVERIFY(rows * layout.rowHeight + tallRows * (layout.tallRowHeight - layout.rowHeight) <= 534.01);
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

    void numberPattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<qint64>("lastUsed");
        QTest::addColumn<QString>("number"); // for an invoice dated 2026-12-05, and the counter it takes
        QTest::newRow("default") << DefaultNumberPattern << qint64(11) << "2026-0012 of 2026";
        QTest::newRow("empty: default") << " " << qint64(0) << "2026-0001 of 2026";
        QTest::newRow("past its zeros") << "{yyyy}-{0000}" << qint64(9999) << "2026-10000 of 2026";
        QTest::newRow("short year, {0}") << "INV{yy}/{0}" << qint64(6) << "INV26/7 of 2026";
        QTest::newRow("no year") << "S-{000}" << qint64(41) << "S-042 of all";
        QTest::newRow("no sequence") << "{yyyy}" << qint64(2) << "20260003 of 2026";
        QTest::newRow("other braces") << "{abc}{y}-{00}" << qint64(0) << "{abc}{y}-01 of all";
        QTest::newRow("damaged count") << DefaultNumberPattern << qint64(-5) << "2026-0001 of 2026";
        // Text around the fields, and braces that make none, are kept as they stand.
        QTest::newRow("text after the last field") << "{yyyy}-{000}号" << qint64(41) << "2026-042号 of 2026";
        QTest::newRow("text on both sides") << "No.{yy}/{0}-A" << qint64(41) << "No.26/42-A of 2026";
        QTest::newRow("braces that make no field") << "{x}{0000}{}" << qint64(41) << "{x}0042{} of all";
    }
    void numberPattern()
    {
        QFETCH(QString, pattern);
        QFETCH(qint64, lastUsed);
        const NumberProposal proposal = proposeNumber(pattern, QDate(2026, 12, 5), lastUsed);
        QTEST(proposal.text + QStringLiteral(" of ") + proposal.counter, "number");
    }

    void dueDates_data()
    {
        QTest::addColumn<QDate>("invoiced");
        QTest::addColumn<int>("term");
        QTest::addColumn<int>("day");
        QTest::addColumn<QDate>("due");
        const int end = int(DueTerm::EndOfNextMonth), thirty = int(DueTerm::ThirtyDays),
                  fixed = int(DueTerm::DayOfNextMonth);
        QTest::newRow("Jan 31 → end of Feb") << QDate(2026, 1, 31) << end << 0 << QDate(2026, 2, 28);
        QTest::newRow("leap year") << QDate(2028, 1, 31) << end << 0 << QDate(2028, 2, 29);
        QTest::newRow("December → January") << QDate(2026, 12, 5) << end << 0 << QDate(2027, 1, 31);
        QTest::newRow("30 days over February") << QDate(2026, 1, 31) << thirty << 0 << QDate(2026, 3, 2);
        QTest::newRow("fixed 25th") << QDate(2026, 12, 31) << fixed << 25 << QDate(2027, 1, 25);
        QTest::newRow("fixed 31st in February") << QDate(2026, 1, 10) << fixed << 31 << QDate(2026, 2, 28);
        QTest::newRow("fixed 31st in April") << QDate(2026, 3, 31) << fixed << 31 << QDate(2026, 4, 30);
    }
    void dueDates()
    {
        QFETCH(QDate, invoiced);
        QFETCH(int, term);
        QFETCH(int, day);
        QTEST(proposeDueDate(invoiced, {DueTerm(term), day}), "due");
    }

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
        QTest::newRow("TABLE") << "TABLE" << int(Table);
        // Each kind of document has a topic of its own.
        QTest::newRow("御見積") << "御見積" << int(Quotations);
        QTest::newRow("納品") << "納品" << int(DeliverySlips);
        QTest::newRow("印紙") << "印紙" << int(Receipts);
        QTest::newRow("in the text alone") << "double-clicking" << int(Table); // no keyword of the topic has it
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
        // Quotes and words of query languages are text to look for, not syntax.
        QVERIFY(headsFound(QStringLiteral("x' OR head CONTAINS 'S")).isEmpty());
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
};

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
