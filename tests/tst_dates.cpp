// The dates an invoice shows and keeps: western and Japanese era on the page, ISO in the file.
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
    void cleanup()
    {
        QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
        icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
    }

    void pageDate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("era");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("western") << "ja_JP" << false << QDate(2026, 12, 5) << "2026年12月05日";
        QTest::newRow("western padded") << "en_US" << false << QDate(33, 1, 2) << "0033年01月02日";
        QTest::newRow("western invalid") << "ja_JP" << false << QDate() << "";
        QTest::newRow("last day of Showa") << "ja_JP" << true << QDate(1989, 1, 7) << "昭和64年1月7日";
        QTest::newRow("first day of Heisei") << "ja_JP" << true << QDate(1989, 1, 8) << "平成元年1月8日";
        QTest::newRow("last day of Heisei") << "ja_JP" << true << QDate(2019, 4, 30) << "平成31年4月30日";
        QTest::newRow("first day of Reiwa") << "ja_JP" << true << QDate(2019, 5, 1) << "令和元年5月1日";
        QTest::newRow("en_US Reiwa") << "en_US" << true << QDate(2026, 12, 5) << "December 5, 8 Reiwa";
        QTest::newRow("en_US Showa") << "en_US" << true << QDate(1989, 1, 7) << "January 7, 64 Shōwa";
        QTest::newRow("era invalid") << "ja_JP" << true << QDate() << "";
    }
    void pageDate()
    {
        QFETCH(QString, locale);
        QFETCH(bool, era);
        QFETCH(QDate, date);
        if (era)
            QTEST(japaneseEraDateText(date, locale), "expected");
        QLocale::setDefault(QLocale(locale)); // the page follows the default locale
        QTEST(pageDateText(date, era), "expected");
    }

    void eraDateIgnoresTimeZone()
    {
        // Formatters are kept per locale name, so each zone gets its own name (the keyword changes no date).
        const char *zones[][2] = {{"Pacific/Kiritimati", "ja_JP@currency=USD"}, {"Etc/GMT+12", "ja_JP@currency=EUR"}};
        for (const auto &[zone, locale] : zones) {
            icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)));
            QCOMPARE(japaneseEraDateText(QDate(2019, 4, 30), QString::fromLatin1(locale)),
                     QStringLiteral("平成31年4月30日"));
            QCOMPARE(japaneseEraDateText(QDate(2019, 5, 1), QString::fromLatin1(locale)),
                     QStringLiteral("令和元年5月1日"));
        }
    }

    void fileAndRowDates()
    {
        QCOMPARE(fileDateText(QDate(2024, 2, 9)), QStringLiteral("2024-02-09"));
        QCOMPARE(parseFileDate(QStringLiteral("2024-02-29")), QDate(2024, 2, 29));
        QCOMPARE(fileDateText(QDate()), QString());
        for (const char *bad : {"2024-13-01", "2023-02-29", "2024-05-01x", " 2024-05-01", "", "2024-5-1", "2024/05/01",
                                "２０２４-05-01", "2024年05月01日"})
            QVERIFY2(!parseFileDate(QString::fromUtf8(bad)).isValid(), bad);
        QCOMPARE(rowDateText(QDate(2024, 1, 9)), QStringLiteral("01-09"));
    }
};

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
