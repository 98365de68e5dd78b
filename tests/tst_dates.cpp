#include "sections/DateText.h"

#include <QLocale>
#include <QTest>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

using namespace seikyu;

class TestDates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void westernDate_data();
    void westernDate();
    void eraDate_data();
    void eraDate();
    void eraDateFollowsDefaultLocale();
    void eraDateIgnoresTimeZone_data();
    void eraDateIgnoresTimeZone();

    void fileDateRoundTrips_data();
    void fileDateRoundTrips();
    void parseFileDateRejects_data();
    void parseFileDateRejects();
    void rowDate();
};

void TestDates::cleanup()
{
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
}

void TestDates::westernDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two-digit month") << QDate(2026, 12, 5) << QStringLiteral("2026年12月05日");
    QTest::newRow("one-digit month and day") << QDate(2024, 1, 9) << QStringLiteral("2024年01月09日");
    QTest::newRow("short year padded") << QDate(33, 1, 2) << QStringLiteral("0033年01月02日");
    QTest::newRow("invalid") << QDate() << QString();
}

void TestDates::westernDate()
{
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(westernDateText(date), expected);
    QCOMPARE(pageDateText(date, false), expected);
}

void TestDates::eraDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");

    struct Case
    {
        const char *name;
        QDate date;
        const char *japanese;
        const char *english;
    };
    const Case cases[] = {
        {"Reiwa", QDate(2026, 12, 5), "令和8年12月5日", "December 5, 8 Reiwa"},
        {"first day of Reiwa", QDate(2019, 5, 1), "令和元年5月1日", "May 1, 1 Reiwa"},
        {"last day of Heisei", QDate(2019, 4, 30), "平成31年4月30日", "April 30, 31 Heisei"},
        {"first day of Heisei", QDate(1989, 1, 8), "平成元年1月8日", "January 8, 1 Heisei"},
        {"last day of Showa", QDate(1989, 1, 7), "昭和64年1月7日", "January 7, 64 Shōwa"},
        {"first day of Showa", QDate(1926, 12, 25), "昭和元年12月25日", "December 25, 1 Shōwa"},
        {"last day of Meiji", QDate(1912, 7, 29), "明治45年7月29日", "July 29, 45 Meiji"},
        {"invalid", QDate(), "", ""},
    };
    for (const Case &c : cases) {
        QTest::addRow("ja_JP %s", c.name) << QStringLiteral("ja_JP") << c.date << QString::fromUtf8(c.japanese);
        QTest::addRow("en_US %s", c.name) << QStringLiteral("en_US") << c.date << QString::fromUtf8(c.english);
    }
}

void TestDates::eraDate()
{
    QFETCH(QString, locale);
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(japaneseEraDateText(date, locale), expected);
}

void TestDates::eraDateFollowsDefaultLocale()
{
    const QDate date(2026, 12, 5);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QCOMPARE(japaneseEraDateText(date), QStringLiteral("December 5, 8 Reiwa"));
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    QCOMPARE(japaneseEraDateText(date), QStringLiteral("令和8年12月5日"));
    QCOMPARE(pageDateText(date, true), QStringLiteral("令和8年12月5日"));
}

void TestDates::eraDateIgnoresTimeZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    // Formatters are kept per locale name, so each zone gets a name of its own (the currency
    // keyword changes nothing in a date) and its formatter is built while that zone is the default.
    QTest::addColumn<QString>("locale");

    QTest::newRow("UTC+14") << QByteArray("Pacific/Kiritimati") << QStringLiteral("ja_JP@currency=USD");
    QTest::newRow("UTC-12") << QByteArray("Etc/GMT+12") << QStringLiteral("ja_JP@currency=EUR");
    QTest::newRow("UTC-11") << QByteArray("Pacific/Pago_Pago") << QStringLiteral("ja_JP@currency=GBP");
    QTest::newRow("UTC+9") << QByteArray("Asia/Tokyo") << QStringLiteral("ja_JP@currency=CNY");
}

void TestDates::eraDateIgnoresTimeZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, locale);
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone.constData())));

    // The day before and the day of an era change, and the day the Showa era ended.
    QCOMPARE(japaneseEraDateText(QDate(2019, 4, 30), locale), QStringLiteral("平成31年4月30日"));
    QCOMPARE(japaneseEraDateText(QDate(2019, 5, 1), locale), QStringLiteral("令和元年5月1日"));
    QCOMPARE(japaneseEraDateText(QDate(1989, 1, 7), locale), QStringLiteral("昭和64年1月7日"));
}

void TestDates::fileDateRoundTrips_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");

    QTest::newRow("ordinary") << QDate(2026, 12, 5) << QStringLiteral("2026-12-05");
    QTest::newRow("leap day") << QDate(2024, 2, 29) << QStringLiteral("2024-02-29");
    QTest::newRow("first day of a year") << QDate(2000, 1, 1) << QStringLiteral("2000-01-01");
}

void TestDates::fileDateRoundTrips()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(fileDateText(date), text);
    QCOMPARE(parseFileDate(text), date);
}

void TestDates::parseFileDateRejects_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("month 13") << QStringLiteral("2024-13-01");
    QTest::newRow("February 30") << QStringLiteral("2024-02-30");
    QTest::newRow("no leap day") << QStringLiteral("2023-02-29");
    QTest::newRow("trailing garbage") << QStringLiteral("2024-05-01x");
    QTest::newRow("trailing space") << QStringLiteral("2024-05-01 ");
    QTest::newRow("leading space") << QStringLiteral(" 2024-05-01");
    QTest::newRow("empty") << QString();
    QTest::newRow("one-digit fields") << QStringLiteral("2024-5-1");
    QTest::newRow("other separator") << QStringLiteral("2024/05/01");
    QTest::newRow("full-width digits") << QStringLiteral("２０２４-05-01");
    QTest::newRow("page text") << QStringLiteral("2024年05月01日");
}

void TestDates::parseFileDateRejects()
{
    QFETCH(QString, text);
    QVERIFY(!parseFileDate(text).isValid());
}

void TestDates::rowDate()
{
    QCOMPARE(rowDateText(QDate(2026, 12, 5)), QStringLiteral("12-05"));
    QCOMPARE(rowDateText(QDate(2024, 1, 9)), QStringLiteral("01-09"));
    QCOMPARE(rowDateText(QDate()), QString());
    QCOMPARE(fileDateText(QDate()), QString());
}

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
