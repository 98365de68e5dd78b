#include "table/Amounts.h"

#include <QLocale>
#include <QTest>
#include <limits>

using namespace seikyu;

namespace {
constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();
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
    void cleanup();
    void spotAndDigitsValue();
    void mark_data();
    void mark();
    void markRoundTrips();
    void leadingInteger();
    void checkedArithmetic();
    void consumptionTax();
};

void TestAmounts::cleanup()
{
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
}

void TestAmounts::spotAndDigitsValue()
{
    // Any Unicode decimal digit counts by its value; signs, grouping and other numerics drop.
    const QChar broken[] = {QChar(0xD835), u'1', QChar(0xDC00), u'2', QChar(0xD835)};
    const QStringList texts{"-1,234.5", "税込済み",        "", "１，２３４", "٣٤٥", "ab\U0001D7D8 7\U0001D7E1",
                            "²①Ⅻ½",     QString(broken, 5)};
    QStringList digits;
    for (const QString &input : texts)
        digits.append(spot(CellValue(input)));
    QCOMPARE(digits, (QStringList{"12345", "", "", "1234", "345", "079", "", "12"}));
    QCOMPARE(spot(CellValue()), QString());
    QCOMPARE(spot(CellValue(Smallest)), QStringLiteral("9223372036854775808"));
    QCOMPARE(spot(CellValue(3.5)), QString());

    QCOMPARE(digitsValue(QString()), 0);
    QCOMPARE(digitsValue(QStringLiteral("000120")), 120);
    QCOMPARE(digitsValue(QStringLiteral("9223372036854775807")), Largest);
    QCOMPARE(digitsValue(QStringLiteral("9223372036854775808")), Largest);
    QCOMPARE(digitsValue(QStringLiteral("0000000000000000000099999999999999999999")), Largest);
    QCOMPARE(amountOf(CellValue(QStringLiteral("１２個 × ３"))), 123);
}

void TestAmounts::mark_data()
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
    QTest::newRow("en_US smallest") << "en_US" << Smallest << "-¥9,223,372,036,854,775,808";
    // A machine with no locale at all writes the invoice's own Japanese.
    QTest::newRow("C") << "C" << qint64(1234567) << "￥1,234,567";
}

void TestAmounts::mark()
{
    QFETCH(QString, locale);
    QFETCH(qint64, amount);
    QFETCH(QString, expected);
    QCOMPARE(seikyu::mark(amount, locale), expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(seikyu::mark(amount), expected);
}

void TestAmounts::markRoundTrips()
{
    // The amount box is read back from its own text: formatting never adds or loses a digit.
    for (const char *locale : {"ja_JP", "en_US", "de_DE", "fr_FR", "garbage!!", "ja_JP@@@"}) {
        for (const qint64 amount : {qint64(0), qint64(7), qint64(987654321012LL), Largest})
            QVERIFY2(amountOf(seikyu::mark(amount, QString::fromLatin1(locale))) == amount, locale);
    }
}

void TestAmounts::leadingInteger()
{
    // White space, one optional sign, then ASCII digits; saturating, and 0 for anything else.
    const QStringList texts{"2個",
                            "1,000",
                            "abc",
                            " -3x",
                            "+7",
                            "\u3000\t5",
                            "-",
                            "- 3",
                            "--3",
                            "１２",
                            "-9223372036854775808",
                            "99999999999999999999",
                            "-99999999999999999999"};
    const QList<qint64> expected{2, 1, 0, -3, 7, 5, 0, 0, 0, 0, Smallest, Largest, Smallest};
    QList<qint64> read;
    for (const QString &input : texts)
        read.append(seikyu::leadingInteger(CellValue(input)));
    QCOMPARE(read, expected);
    QCOMPARE(seikyu::leadingInteger(CellValue(qint64(-42))), -42);
    QCOMPARE(seikyu::leadingInteger(CellValue()), 0);
}

void TestAmounts::checkedArithmetic()
{
    QCOMPARE(checkedAdd(Largest, Smallest), std::optional<qint64>(-1));
    QCOMPARE(checkedAdd(Largest - 1, 1), std::optional<qint64>(Largest));
    QCOMPARE(checkedAdd(Largest, 1), std::optional<qint64>());
    QCOMPARE(checkedAdd(Smallest, -1), std::optional<qint64>());
    QCOMPARE(checkedMultiply(3037000499LL, 3037000499LL), std::optional<qint64>(9223372030926249001LL));
    QCOMPARE(checkedMultiply(3037000500LL, 3037000500LL), std::optional<qint64>());
    QCOMPARE(checkedMultiply(Smallest, -1), std::optional<qint64>());
    QCOMPARE(checkedMultiply(-4, 25), std::optional<qint64>(-100));
}

void TestAmounts::consumptionTax()
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

QTEST_GUILESS_MAIN(TestAmounts)
#include "tst_amounts.moc"
