// Amount rules without widgets: reading what was typed, currency text, row prices, sums rows.
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QLocale>
#include <QTest>
#include <limits>

using namespace seikyu;

namespace {
constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();

RowPtr row(const QString &solo, const QString &much, const CellValue &sums)
{
    const QString blank = QStringLiteral(" ");
    return std::make_shared<ItemRow>(solo == blank ? blank : QStringLiteral("05-01"), solo == blank ? blank : "item",
                                     solo, much, sums);
}

QList<RowPtr> sumsSet(qint64 total)
{
    const QString b = QStringLiteral(" ");
    return {row(b, b, b), row(b, SumsLabel::Subtotal, total), row(b, SumsLabel::Tax, QStringLiteral("0")),
            row(b, SumsLabel::Total, total)};
}
} // namespace

namespace QTest {
template <> char *toString(const std::optional<qint64> &value)
{
    return qstrdup(value ? QByteArray::number(*value).constData() : "nothing");
}
} // namespace QTest

class TestAmounts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("ja_JP"))); }
    void cleanup() { QLocale::setDefault(QLocale(QStringLiteral("ja_JP"))); }

    void readingTypedAmounts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("plain");
        // Unsigned whole amounts read exactly as they always have: every digit, whatever is between.
        QTest::newRow("digits") << "1000" << qint64(1000) << "1000";
        QTest::newRow("currency") << "￥1,234" << qint64(1234) << "1234";
        QTest::newRow("full-width") << "１，２００円" << qint64(1200) << "1200";
        QTest::newRow("other scripts") << "٣٤٥ \U0001D7D8" << qint64(3450) << "3450";
        QTest::newRow("zeros keep their form") << "00" << qint64(0) << "00";
        QTest::newRow("no digit") << "税込済み" << qint64(0) << "";
        QTest::newRow("minus after the digits") << "2024-05-01" << qint64(20240501) << "20240501";
        QTest::newRow("saturates") << "99999999999999999999" << Largest << "99999999999999999999";
        // A minus before the amount, in every form an invoice uses.
        QTest::newRow("minus") << "-5000" << qint64(-5000) << "-5000";
        QTest::newRow("full-width minus") << "－5000" << qint64(-5000) << "-5000";
        QTest::newRow("minus sign") << "−5000" << qint64(-5000) << "-5000";
        QTest::newRow("white triangle") << "△5,000" << qint64(-5000) << "-5000";
        QTest::newRow("black triangle") << "値引き ▲5,000円" << qint64(-5000) << "-5000";
        QTest::newRow("negative currency") << "-￥5,000" << qint64(-5000) << "-5000";
        QTest::newRow("negative zero") << "-0" << qint64(0) << "0";
        QTest::newRow("negative saturates") << "-99999999999999999999" << -Largest << "-99999999999999999999";
        // The decimal point ends the whole digits; amounts round to whole yen, halves away from zero.
        QTest::newRow("12.50") << "12.50" << qint64(13) << "12.50";
        QTest::newRow("12.49") << "12.49" << qint64(12) << "12.49";
        QTest::newRow("full-width point") << "１２．５" << qint64(13) << "12.5";
        QTest::newRow("negative half") << "-2.5" << qint64(-3) << "-2.5";
        QTest::newRow("only a fraction") << ".5" << qint64(1) << "0.5";
        QTest::newRow("digits after the fraction") << "1.5 × 2" << qint64(2) << "1.5";
    }
    void readingTypedAmounts()
    {
        QFETCH(QString, typed);
        QTEST(amountOf(typed), "amount");
        QTEST(spot(typed), "plain");
        // What the file keeps reads back as the same amount.
        QTEST(amountOf(spot(typed)), "amount");
    }

    void integerCells()
    {
        QCOMPARE(amountOf(CellValue(qint64(-42))), -42);
        QCOMPARE(spot(CellValue(qint64(-42))), QStringLiteral("-42"));
        QCOMPARE(spot(CellValue(Smallest)), QStringLiteral("-9223372036854775808"));
        QCOMPARE(amountOf(CellValue()), 0);
        QCOMPARE(spot(CellValue()), QString());
        QCOMPARE(spot(CellValue(3.5)), QString());
    }

    void leadingNumbers()
    {
        // White space, one optional sign, then digits of any script: what a quantity starts with.
        const QStringList texts{"2個",
                                "1,000",
                                "abc",
                                " -3x",
                                "+7",
                                "\u3000\t5",
                                "-",
                                "- 3",
                                "１２",
                                "３個",
                                "1.5日",
                                "0.5",
                                "個3",
                                "-9223372036854775808",
                                "99999999999999999999"};
        const QList<qint64> expected{2, 1, 0, -3, 7, 5, 0, 0, 12, 3, 1, 0, 0, Smallest, Largest};
        QList<qint64> read;
        for (const QString &input : texts)
            read.append(leadingInteger(CellValue(input)));
        QCOMPARE(read, expected);
        QVERIFY(!leadingNumber(QStringLiteral("0.5")).isZero());
        QVERIFY(leadingNumber(QStringLiteral("00")).isZero());
        QCOMPARE(leadingInteger(CellValue(qint64(-42))), -42);
    }

    void mark_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("expected");
        // Rows switch locales back and forth, so a formatter kept for the wrong locale shows.
        QTest::newRow("ja_JP") << "ja_JP" << qint64(1234567) << "￥1,234,567";
        QTest::newRow("en_US") << "en_US" << qint64(1234567) << "¥1,234,567";
        QTest::newRow("de_DE") << "de_DE" << qint64(1234567) << "1.234.567\u00A0¥";
        QTest::newRow("ja_JP negative") << "ja_JP" << qint64(-1234567) << "-￥1,234,567";
        QTest::newRow("de_DE negative") << "de_DE" << qint64(-5) << "-5\u00A0¥";
        QTest::newRow("en_US smallest") << "en_US" << Smallest << "-¥9,223,372,036,854,775,807";
        // A machine with no locale at all writes the invoice's own Japanese.
        QTest::newRow("C") << "C" << qint64(1234567) << "￥1,234,567";
    }
    void mark()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, amount);
        QFETCH(QString, expected);
        QCOMPARE(seikyu::mark(amount, locale), expected);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(seikyu::mark(amount), expected);
    }

    void currencyTextReadsBack()
    {
        // Formatting never adds or loses a digit, a sign or a fraction, in any locale: the rewrite
        // of a table's amounts is idempotent.
        for (const char *name : {"ja_JP", "en_US", "de_DE", "fr_FR", "garbage!!", "ja_JP@@@"}) {
            const QString locale = QString::fromLatin1(name);
            QLocale::setDefault(QLocale(locale));
            for (const qint64 amount : {qint64(0), qint64(7), qint64(-5000), qint64(987654321012LL), Largest})
                QVERIFY2(amountOf(seikyu::mark(amount, locale)) == amount, name);
            const CellNumber unitPrice = readNumber(QStringLiteral("-12.50"), QStringLiteral("ja_JP"));
            const QString text = markNumber(unitPrice, locale);
            QVERIFY2(spot(text) == QStringLiteral("-12.50"), qPrintable(locale + u' ' + text));
        }
        QCOMPARE(markNumber(readNumber(QStringLiteral("１２．５")), QStringLiteral("ja_JP")), QStringLiteral("￥12.5"));
    }

    void rowPrice_data()
    {
        QTest::addColumn<QString>("unitPrice");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<std::optional<qint64>>("price");
        QTest::newRow("1000 × 3") << "1000"
                                  << "3" << std::optional<qint64>(3000);
        QTest::newRow("days") << "1001"
                              << "1.5" << std::optional<qint64>(1502);
        QTest::newRow("discount") << "-1001"
                                  << "1.5" << std::optional<qint64>(-1502);
        QTest::newRow("unit fraction") << "12.5"
                                       << "3" << std::optional<qint64>(38);
        QTest::newRow("thirds") << "0.333"
                                << "3" << std::optional<qint64>(1);
        QTest::newRow("largest") << "9223372036854775807"
                                 << "1" << std::optional<qint64>(Largest);
        QTest::newRow("overflow") << "9223372036854775807"
                                  << "2" << std::optional<qint64>();
        QTest::newRow("huge fraction") << "99999999999999999999.9"
                                       << "99999999999999999999.9" << std::optional<qint64>();
    }
    void rowPrice()
    {
        QFETCH(QString, unitPrice);
        QFETCH(QString, quantity);
        QTEST(priceOf(readNumber(unitPrice), readNumber(quantity)), "price");
    }

    void checkedArithmetic()
    {
        QCOMPARE(checkedAdd(Largest, Smallest), std::optional<qint64>(-1));
        QCOMPARE(checkedAdd(Largest, 1), std::optional<qint64>());
        QCOMPARE(checkedAdd(Smallest, -1), std::optional<qint64>());
        QCOMPARE(checkedMultiply(3037000500LL, 3037000500LL), std::optional<qint64>());
        QCOMPARE(checkedMultiply(-4, 25), std::optional<qint64>(-100));
    }

    void consumptionTax()
    {
        // 8 %, rounded half away from zero, exact where a double product is already off by 15 yen.
        const QList<qint64> subtotals{1234, 6, 7, 1000, 12345, 0, -7, -6, -1234, Largest, Smallest};
        const QList<std::optional<qint64>> taxes{
            99, 0, 1, 80, 988, 0, -1, 0, -99, 737869762948382065LL, -737869762948382065LL};
        QList<std::optional<qint64>> computed;
        for (const qint64 subtotal : subtotals)
            computed.append(seikyu::consumptionTax(subtotal));
        QCOMPARE(computed, taxes);
    }

    void sumsRowsOfATable()
    {
        QList<RowPtr> rows{ItemRow::makeHeader(), row("1000", "1", "1000")};
        QVERIFY(!trailingSums(rows));
        rows.append(sumsSet(1080));
        QCOMPARE(trailingSums(rows), (std::optional<RowRange>(RowRange{2, 5})));
        QCOMPARE(payableRowIndex(rows), 5);
        // A row typed below the sums opens the table again; the earlier set is still found.
        rows.append(row("500", "1", "500"));
        QVERIFY(!trailingSums(rows));
        QCOMPARE(payableRowIndex(rows), -1);
        rows.append(sumsSet(1620));
        QCOMPARE(sumsBlocks(rows), (QList<RowRange>{{2, 5}, {7, 10}}));
        const QList<bool> items = itemRowMask(rows);
        QCOMPARE(items.count(true), 2);
        QVERIFY(items.at(1) && items.at(6));
        // An item row that merely holds a label is no sums row, and blank rows alone make no set.
        QVERIFY(!isSumsRow(row("1000", SumsLabel::Total, "1000")->cells()));
        QVERIFY(sumsBlocks({ItemRow::makeHeader(), row(" ", " ", " ")}).isEmpty());
    }

    void sumsRows()
    {
        const std::optional<QList<SumsLine>> added = computeSums({{1000, 234}, true});
        QVERIFY(added);
        QCOMPARE(added->size(), 4);
        QCOMPARE(added->at(2).value, CellValue(QStringLiteral("99")));
        QCOMPARE(added->at(3).value, CellValue(qint64(1333)));
        const std::optional<QList<SumsLine>> included = computeSums({{1000, 234, -234}, false});
        QCOMPARE(included->at(1).value, CellValue(qint64(1000)));
        QCOMPARE(included->at(2).value, CellValue(SumsLabel::TaxIncluded));
        QCOMPARE(included->at(3).value, CellValue(qint64(1000)));
        QVERIFY(!computeSums({{Largest, 1}, false}));
        QVERIFY(!computeSums({{Largest - 10}, true}));
    }
};

QTEST_GUILESS_MAIN(TestAmounts)
#include "tst_amounts.moc"
