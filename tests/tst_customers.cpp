// The customer book's rules, without widgets: due dates from closing days and payment terms, the terms as
// typed in a customer list, the address block's honorifics and postal codes, and searching by name or reading.
#include "customers/AddressBlock.h"
#include "customers/CustomerSearch.h"
#include "customers/PaymentTerms.h"

#include <QTest>

using namespace seikyu;

namespace {

PaymentTerms afterClosing(int closingDay, int months, int day)
{
    PaymentTerms terms;
    terms.closingDay = closingDay;
    terms.months = months;
    terms.day = day;
    return terms;
}

PaymentTerms daysAfter(int days)
{
    PaymentTerms terms;
    terms.basis = PaymentTerms::Basis::InvoiceDate;
    terms.days = days;
    return terms;
}

} // namespace

Q_DECLARE_METATYPE(seikyu::PaymentTerms)

class TestCustomers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dueDates_data()
    {
        QTest::addColumn<QDate>("invoice");
        QTest::addColumn<PaymentTerms>("terms");
        QTest::addColumn<QDate>("due");
        const int end = MonthEndDay;
        QTest::newRow("末締め翌月末") << QDate(2026, 1, 15) << afterClosing(end, 1, end) << QDate(2026, 2, 28);
        QTest::newRow("on the closing day") << QDate(2026, 1, 20) << afterClosing(20, 1, end) << QDate(2026, 2, 28);
        QTest::newRow("a day after closing") << QDate(2026, 1, 21) << afterClosing(20, 1, end) << QDate(2026, 3, 31);
        QTest::newRow("翌々月10日") << QDate(2026, 3, 5) << afterClosing(end, 2, 10) << QDate(2026, 5, 10);
        QTest::newRow("into a leap February") << QDate(2028, 1, 31) << afterClosing(end, 1, 30) << QDate(2028, 2, 29);
        QTest::newRow("closing on 29 February")
            << QDate(2028, 2, 29) << afterClosing(end, 1, end) << QDate(2028, 3, 31);
        QTest::newRow("closing day 30 in February")
            << QDate(2027, 2, 28) << afterClosing(30, 0, end) << QDate(2027, 2, 28);
        QTest::newRow("over the year end") << QDate(2026, 12, 25) << afterClosing(20, 1, 10) << QDate(2027, 2, 10);
        QTest::newRow("December closing") << QDate(2026, 12, 10) << afterClosing(end, 1, end) << QDate(2027, 1, 31);
        QTest::newRow("当月25日") << QDate(2026, 4, 1) << afterClosing(15, 0, 25) << QDate(2026, 4, 25);
        QTest::newRow("30 days") << QDate(2026, 12, 15) << daysAfter(30) << QDate(2027, 1, 14);
        QTest::newRow("60 days over February") << QDate(2028, 1, 1) << daysAfter(60) << QDate(2028, 3, 1);
        QTest::newRow("no date") << QDate() << afterClosing(end, 1, end) << QDate();
    }

    void dueDates()
    {
        QFETCH(QDate, invoice);
        QFETCH(PaymentTerms, terms);
        QFETCH(QDate, due);
        QCOMPARE(dueDateFromTerms(invoice, terms), due);
    }

    void termsAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("read"); // as written back, "" when refused
        QTest::newRow("翌月末") << "翌月末"
                                << "末締め翌月末払い";
        QTest::newRow("with 払い") << "翌月末払い"
                                   << "末締め翌月末払い";
        QTest::newRow("翌々月10日") << "翌々月10日"
                                    << "末締め翌々月10日払い";
        QTest::newRow("翌翌月, full width") << "翌翌月１０日払"
                                            << "末締め翌々月10日払い";
        QTest::newRow("with its closing day") << "20日締め翌月末払い"
                                              << "20日締め翌月末払い";
        QTest::newRow("〆 and spaces") << "20日〆 翌月 25日 払い"
                                       << "20日締め翌月25日払い";
        QTest::newRow("月末締め") << "月末締め当月末日払い"
                                  << "末締め当月末払い";
        QTest::newRow("months ahead") << "3ヶ月後末"
                                      << "末締め3ヶ月後末払い";
        QTest::newRow("days") << "30日"
                              << "請求日から30日後払い";
        QTest::newRow("days, spelled out") << "請求日から４５日以内"
                                           << "請求日から45日後払い";
        QTest::newRow("a year ahead at most") << "13ヶ月後末"
                                              << "";
        QTest::newRow("day 32") << "翌月32日"
                                << "";
        QTest::newRow("words") << "現金"
                               << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void termsAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, read);
        const std::optional<PaymentTerms> terms = parsePaymentTerms(typed);
        QCOMPARE(terms ? paymentTermsText(*terms) : QString(), read);
        if (terms) // what is written back reads as the same terms
            QCOMPARE(parsePaymentTerms(paymentTermsText(*terms)), terms);
    }

    void closingDays_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("day"); // 0 when refused
        QTest::newRow("digits") << "20" << 20;
        QTest::newRow("full width, 日締め") << "２０日締め" << 20;
        QTest::newRow("末") << "末" << MonthEndDay;
        QTest::newRow("月末") << "月末" << MonthEndDay;
        QTest::newRow("末日締") << "末日締" << MonthEndDay;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("32") << "32" << 0;
        QTest::newRow("word") << "毎週" << 0;
    }

    void closingDays()
    {
        QFETCH(QString, typed);
        QFETCH(int, day);
        QCOMPARE(parseClosingDay(typed).value_or(0), day);
    }

    void addressBlock_data()
    {
        QTest::addColumn<QString>("company");
        QTest::addColumn<bool>("personal");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("attention");
        QTest::addColumn<QString>("lastLines");
        QTest::newRow("company alone") << "株式会社山田商事" << false << ""
                                       << ""
                                       << "株式会社山田商事 御中";
        QTest::newRow("department") << "株式会社山田商事" << false << "経理部"
                                    << ""
                                    << "株式会社山田商事|経理部 御中";
        QTest::newRow("a person") << "株式会社山田商事" << false << "経理部"
                                  << "部長 山田太郎"
                                  << "株式会社山田商事|経理部|部長 山田太郎 様";
        QTest::newRow("a person, no department") << "株式会社山田商事" << false << ""
                                                 << "山田太郎"
                                                 << "株式会社山田商事|山田太郎 様";
        QTest::newRow("honorifics typed in") << "株式会社山田商事 御中" << false << "経理部御中"
                                             << "山田太郎様"
                                             << "株式会社山田商事|経理部|山田太郎 様";
        QTest::newRow("a customer who is a person") << "山田太郎" << true << ""
                                                    << ""
                                                    << "山田太郎 様";
        QTest::newRow("nobody") << "" << false << ""
                                << ""
                                << "";
    }

    void addressBlock()
    {
        QFETCH(QString, company);
        QFETCH(bool, personal);
        QFETCH(QString, department);
        QFETCH(QString, attention);
        QFETCH(QString, lastLines);
        const Addressee addressee{QStringLiteral("100-0005"),
                                  {QStringLiteral("東京都千代田区丸の内1-1-1"), QStringLiteral("丸の内ビル 12階")},
                                  company,
                                  personal,
                                  department,
                                  attention};
        const QStringList lines = addressBlockLines(addressee);
        QCOMPARE(lines.mid(0, 3),
                 QStringList({QStringLiteral("〒100-0005"), QStringLiteral("東京都千代田区丸の内1-1-1"),
                              QStringLiteral("丸の内ビル 12階")}));
        QCOMPARE(lines.mid(3).join(QLatin1Char('|')), lastLines);
        const QString all = lines.join(QLatin1Char('|'));
        QVERIFY2(!(all.contains(QStringLiteral("御中")) && all.contains(QStringLiteral("様"))), qPrintable(all));
    }

    void postalCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("code"); // "refused" when it is none
        QTest::newRow("plain") << "1000005"
                               << "100-0005";
        QTest::newRow("hyphen") << "100-0005"
                                << "100-0005";
        QTest::newRow("as an input method types it") << "〒１００－０００５"
                                                     << "100-0005";
        QTest::newRow("long vowel mark") << "100ー0005"
                                         << "100-0005";
        QTest::newRow("empty") << "  "
                               << "";
        QTest::newRow("six digits") << "100-005"
                                    << "refused";
        QTest::newRow("letters") << "ABC-DEFG"
                                 << "refused";
    }

    void postalCodes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, code);
        QCOMPARE(normalizedPostalCode(typed).value_or(QStringLiteral("refused")), code);
    }

    void searchByNameOrReading_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("part of the name") << "山田" << true;
        QTest::newRow("the reading in hiragana") << "やまだ" << true;
        QTest::newRow("the reading in katakana") << "ヤマダショウジ" << true;
        QTest::newRow("half-width katakana") << "ﾔﾏﾀﾞ" << true;
        QTest::newRow("with a space") << "山田 商事" << true;
        QTest::newRow("latin, any width and case") << "ｙａｍａｄａ" << true;
        QTest::newRow("everyone") << "" << true;
        QTest::newRow("someone else") << "佐藤" << false;
    }

    void searchByNameOrReading()
    {
        QFETCH(QString, typed);
        QFETCH(bool, found);
        QCOMPARE(customerMatches(typed, QStringLiteral("株式会社山田商事 (Yamada)"), QStringLiteral("ヤマダショウジ")),
                 found);
    }
};

QTEST_GUILESS_MAIN(TestCustomers)
#include "tst_customers.moc"
