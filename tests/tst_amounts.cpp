#include "table/Amounts.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTest>
#include <limits>

using namespace seikyu;

namespace {
constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();

CellValue text(const char *utf8)
{
    return CellValue(QString::fromUtf8(utf8));
}
CellValue integer(qint64 value)
{
    return CellValue(value);
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
    void cleanup();

    void spotKeepsDecimalDigits_data();
    void spotKeepsDecimalDigits();
    void digitsValueSaturates_data();
    void digitsValueSaturates();
    void amountOfReadsAnyCell();

    void markFormatsYen_data();
    void markFormatsYen();
    void markFollowsDefaultLocale();
    void markKeepsLocalesApart();
    void markNeverFails();
    void markRoundTrips_data();
    void markRoundTrips();
    void markIsFastEnoughForLargeTables();

    void leadingInteger_data();
    void leadingInteger();

    void checkedArithmetic();
    void consumptionTax_data();
    void consumptionTax();
};

void TestAmounts::cleanup()
{
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
}

void TestAmounts::spotKeepsDecimalDigits_data()
{
    QTest::addColumn<CellValue>("value");
    QTest::addColumn<QString>("digits");

    QTest::newRow("sign, grouping and point dropped") << text("-1,234.5") << QStringLiteral("12345");
    QTest::newRow("currency text") << text("￥1,234,567") << QStringLiteral("1234567");
    QTest::newRow("absent") << CellValue() << QString();
    QTest::newRow("no digit at all") << text("税込済み") << QString();
    QTest::newRow("empty text") << text("") << QString();
    QTest::newRow("full-width from an input method") << text("１，２３４") << QStringLiteral("1234");
    QTest::newRow("Arabic-Indic") << text("٣٤٥") << QStringLiteral("345");
    QTest::newRow("outside the BMP") << text("ab\U0001D7D8 7\U0001D7E1") << QStringLiteral("079");
    // Numbers that are not decimal digits (superscripts, circled, Roman) carry no place value.
    QTest::newRow("other numerics dropped") << text("²①Ⅻ½") << QString();
    QString broken;
    broken.append(QChar(0xD835)).append(u'1').append(QChar(0xDC00)).append(u'2').append(QChar(0xD835));
    QTest::newRow("unpaired surrogates") << CellValue(broken) << QStringLiteral("12");
    QTest::newRow("negative integer") << integer(-5) << QStringLiteral("5");
    QTest::newRow("smallest integer") << integer(Smallest) << QStringLiteral("9223372036854775808");
    QTest::newRow("other QVariant type") << CellValue(3.5) << QString();
}

void TestAmounts::spotKeepsDecimalDigits()
{
    QFETCH(CellValue, value);
    QFETCH(QString, digits);
    QCOMPARE(spot(value), digits);
}

void TestAmounts::digitsValueSaturates_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<qint64>("value");

    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("leading zeros") << QStringLiteral("000120") << qint64(120);
    QTest::newRow("largest") << QStringLiteral("9223372036854775807") << Largest;
    QTest::newRow("one past largest") << QStringLiteral("9223372036854775808") << Largest;
    QTest::newRow("twenty nines") << QStringLiteral("99999999999999999999") << Largest;
    QTest::newRow("zeros before a huge value") << QStringLiteral("0000000000000000000099999999999999999999") << Largest;
}

void TestAmounts::digitsValueSaturates()
{
    QFETCH(QString, digits);
    QFETCH(qint64, value);
    QCOMPARE(digitsValue(digits), value);
}

void TestAmounts::amountOfReadsAnyCell()
{
    QCOMPARE(amountOf(integer(-1200)), qint64(1200));
    QCOMPARE(amountOf(text("１２個 × ３")), qint64(123));
    QCOMPARE(amountOf(text("99999999999999999999円")), Largest);
    QCOMPARE(amountOf(CellValue()), qint64(0));
}

void TestAmounts::markFormatsYen_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ja_JP full-width yen")
        << QStringLiteral("ja_JP") << qint64(1234567) << QStringLiteral("￥1,234,567");
    QTest::newRow("en_US yen") << QStringLiteral("en_US") << qint64(1234567) << QStringLiteral("¥1,234,567");
    QTest::newRow("de_DE sign after") << QStringLiteral("de_DE") << qint64(1234567)
                                      << QStringLiteral("1.234.567\u00A0¥");
    QTest::newRow("ja_JP zero") << QStringLiteral("ja_JP") << qint64(0) << QStringLiteral("￥0");
    QTest::newRow("ja_JP below a thousand") << QStringLiteral("ja_JP") << qint64(999) << QStringLiteral("￥999");
    QTest::newRow("ja_JP negative") << QStringLiteral("ja_JP") << qint64(-1234567) << QStringLiteral("-￥1,234,567");
    QTest::newRow("de_DE negative") << QStringLiteral("de_DE") << qint64(-5) << QStringLiteral("-5\u00A0¥");
    QTest::newRow("ja_JP largest") << QStringLiteral("ja_JP") << Largest
                                   << QStringLiteral("￥9,223,372,036,854,775,807");
    QTest::newRow("en_US smallest") << QStringLiteral("en_US") << Smallest
                                    << QStringLiteral("-¥9,223,372,036,854,775,808");
}

void TestAmounts::markFormatsYen()
{
    QFETCH(QString, locale);
    QFETCH(qint64, amount);
    QFETCH(QString, expected);
    QCOMPARE(mark(amount, locale), expected);
}

void TestAmounts::markFollowsDefaultLocale()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QCOMPARE(mark(1234567), QStringLiteral("¥1,234,567"));
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    QCOMPARE(mark(1234567), QStringLiteral("1.234.567\u00A0¥"));
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    QCOMPARE(mark(1234567), QStringLiteral("￥1,234,567"));
    // A machine with no locale at all (scripts, servers) writes the invoice's own Japanese.
    QLocale::setDefault(QLocale::c());
    QCOMPARE(mark(1234567), QStringLiteral("￥1,234,567"));
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
}

void TestAmounts::markKeepsLocalesApart()
{
    // Formatters are kept per locale: switching back and forth must not reuse the wrong one.
    for (int round = 0; round < 3; ++round) {
        QCOMPARE(mark(1000, QStringLiteral("ja_JP")), QStringLiteral("￥1,000"));
        QCOMPARE(mark(1000, QStringLiteral("de_DE")), QStringLiteral("1.000\u00A0¥"));
        QCOMPARE(mark(1000, QStringLiteral("en_US")), QStringLiteral("¥1,000"));
    }
}

void TestAmounts::markNeverFails()
{
    const QStringList names{QStringLiteral("garbage!!"), QStringLiteral("xx_YY"), QStringLiteral("C"),
                            QStringLiteral("ja_JP@@@"), QString(4096, u'z')};
    for (const QString &name : names) {
        const QString text = mark(1234567, name);
        QVERIFY2(!text.isEmpty(), qPrintable(name.left(20)));
        QCOMPARE(amountOf(text), qint64(1234567));
    }
}

void TestAmounts::markRoundTrips_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("amount");

    const qint64 amounts[] = {0, 7, 1000, 1234567, 987654321012LL, Largest};
    for (const char *locale : {"ja_JP", "en_US", "de_DE", "fr_FR"}) {
        for (const qint64 amount : amounts) {
            QTest::addRow("%s %lld", locale, static_cast<long long>(amount)) << QString::fromLatin1(locale) << amount;
        }
    }
}

void TestAmounts::markRoundTrips()
{
    // The amount box is read back from its own text: formatting must never add or lose a digit.
    QFETCH(QString, locale);
    QFETCH(qint64, amount);
    QCOMPARE(digitsValue(spot(mark(amount, locale))), amount);
}

void TestAmounts::markIsFastEnoughForLargeTables()
{
    // A 10,000-row table formats 20,000 amounts; building an ICU formatter per call takes seconds.
    mark(1, QStringLiteral("ja_JP"));
    QElapsedTimer timer;
    timer.start();
    qsizetype length = 0;
    for (qint64 i = 0; i < 20000; ++i)
        length += mark(i * 1234, QStringLiteral("ja_JP")).size();
    QVERIFY(length > 0);
    QVERIFY2(timer.elapsed() < 300, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
}

void TestAmounts::leadingInteger_data()
{
    QTest::addColumn<CellValue>("value");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("digits then a counter") << text("2個") << qint64(2);
    QTest::newRow("stops at grouping") << text("1,000") << qint64(1);
    QTest::newRow("no number") << text("abc") << qint64(0);
    QTest::newRow("space, minus, junk") << text(" -3x") << qint64(-3);
    QTest::newRow("plus sign") << text("+7") << qint64(7);
    QTest::newRow("tabs and new lines") << text("\t\n 12") << qint64(12);
    QTest::newRow("ideographic space") << text("\u3000"
                                               "5")
                                       << qint64(5);
    QTest::newRow("empty") << text("") << qint64(0);
    QTest::newRow("sign alone") << text("-") << qint64(0);
    QTest::newRow("space after sign") << text("- 3") << qint64(0);
    QTest::newRow("two signs") << text("--3") << qint64(0);
    QTest::newRow("full-width digits are not read") << text("１２") << qint64(0);
    QTest::newRow("largest") << text("9223372036854775807") << Largest;
    QTest::newRow("smallest exactly") << text("-9223372036854775808") << Smallest;
    QTest::newRow("too large saturates") << text("99999999999999999999") << Largest;
    QTest::newRow("too small saturates") << text("-99999999999999999999") << Smallest;
    QTest::newRow("integer") << integer(-42) << qint64(-42);
    QTest::newRow("absent") << CellValue() << qint64(0);
}

void TestAmounts::leadingInteger()
{
    QFETCH(CellValue, value);
    QFETCH(qint64, expected);
    QCOMPARE(seikyu::leadingInteger(value), expected);
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
    QCOMPARE(checkedMultiply(Smallest, 1), std::optional<qint64>(Smallest));
    QCOMPARE(checkedMultiply(-4, 25), std::optional<qint64>(-100));
}

void TestAmounts::consumptionTax_data()
{
    QTest::addColumn<qint64>("subtotal");
    QTest::addColumn<qint64>("tax");

    QTest::newRow("98.72 up") << qint64(1234) << qint64(99);
    QTest::newRow("0.48 down") << qint64(6) << qint64(0);
    QTest::newRow("0.56 up") << qint64(7) << qint64(1);
    QTest::newRow("exact") << qint64(1000) << qint64(80);
    QTest::newRow("987.6 up") << qint64(12345) << qint64(988);
    QTest::newRow("zero") << qint64(0) << qint64(0);
    QTest::newRow("negative 0.56 away from zero") << qint64(-7) << qint64(-1);
    QTest::newRow("negative 0.48 towards zero") << qint64(-6) << qint64(0);
    QTest::newRow("negative 98.72") << qint64(-1234) << qint64(-99);
    // A double product is already off by 15 yen here.
    QTest::newRow("largest") << Largest << qint64(737869762948382065LL);
    QTest::newRow("smallest") << Smallest << qint64(-737869762948382065LL);
}

void TestAmounts::consumptionTax()
{
    QFETCH(qint64, subtotal);
    QFETCH(qint64, tax);
    QCOMPARE(seikyu::consumptionTax(subtotal), std::optional<qint64>(tax));
}

QTEST_GUILESS_MAIN(TestAmounts)
#include "tst_amounts.moc"
