// The documents beside the invoice: the rules they are set by.
#include "document/Document.h"
#include "invoice/InvoiceFile.h"
#include "kinds/MonthlyStatement.h"
#include "kinds/StampDuty.h"

#include <QTest>

using namespace seikyu;

namespace {

/// A delivery slip of items priced `prices`, each "price" or "price@8" for the reduced rate.
Invoice slip(const QStringList &prices, bool taxOnTop = true)
{
    QByteArray items = R"({"date":"日付","name":"項目","solo":"","much":"個数","sums":"価格"})";
    for (const QString &price : prices) {
        const QStringList parts = price.split(u'@');
        items +=
            QStringLiteral(R"(,{"date":"12-01","name":"品","solo":"%1","much":"1","sums":"%1"%2})")
                .arg(parts.first(), parts.size() > 1 ? QStringLiteral(R"(,"rate":%1)").arg(parts.at(1)) : QString())
                .toUtf8();
    }
    const Result<Invoice> read = readInvoiceBytes(R"({"head":"納品書","date":"2026-12-05","rate":10,"plus":)" +
                                                  QByteArray(taxOnTop ? "1" : "0") + R"(,"item":[)" + items + "]}");
    return read ? *read : Invoice();
}

} // namespace

class KindsTest : public QObject
{
    Q_OBJECT

private slots:
    void receiptStampDutyByTheTable_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<qint64>("statedTax");
        QTest::addColumn<qint64>("duty");
        const std::pair<qint64, qint64> edges[] = {
            {49'999, 0},
            {50'000, 200},
            {1'000'000, 200},
            {1'000'001, 400},
            {2'000'000, 400},
            {2'000'001, 600},
            {3'000'001, 1'000},
            {5'000'001, 2'000},
            {10'000'001, 4'000},
            {20'000'001, 6'000},
            {30'000'001, 10'000},
            {50'000'001, 20'000},
            {100'000'001, 40'000},
            {200'000'001, 60'000},
            {300'000'001, 100'000},
            {500'000'001, 150'000},
            {1'000'000'000, 150'000},
            {1'000'000'001, 200'000},
        };
        for (const auto &[amount, duty] : edges)
            QTest::addRow("%lld", amount) << amount << qint64(0) << duty;
        // The tax stated apart is left out: 54,999 with 5,000 of tax is under 50,000.
        QTest::newRow("stated tax takes it under") << qint64(54'999) << qint64(5'000) << qint64(0);
        QTest::newRow("stated tax keeps it over") << qint64(1'100'000) << qint64(100'000) << qint64(200);
        QTest::newRow("tax over the amount") << qint64(1'000) << qint64(5'000) << qint64(0);
        QTest::newRow("negative tax ignored") << qint64(50'000) << qint64(-100) << qint64(200);
    }

    void receiptStampDutyByTheTable()
    {
        QFETCH(qint64, amount);
        QFETCH(qint64, statedTax);
        QFETCH(qint64, duty);
        QCOMPARE(receiptStampDuty({amount, statedTax, true, true}), duty);
    }

    void noStampOffPaperOrOutsideBusiness()
    {
        QCOMPARE(receiptStampDuty({2'000'000, 0, false, true}), qint64(0));
        QCOMPARE(receiptStampDuty({2'000'000, 0, true, false}), qint64(0));
    }

    void theKindAndPaperRoundTripAndInvoicesStayAsTheyWere()
    {
        Invoice receipt = slip({"1000"});
        receipt.kind = DocumentKind::Receipt;
        receipt.paper = true;
        const QByteArray written = writeInvoice(receipt);
        QVERIFY(written.contains(R"("kind": "receipt")") && written.contains(R"("paper": true)"));
        const Result<Invoice> read = readInvoiceBytes(written);
        QVERIFY(read && read->kind == DocumentKind::Receipt && read->paper);
        for (const DocumentKind kind : {DocumentKind::Quote, DocumentKind::Delivery, DocumentKind::Receipt})
            QCOMPARE(documentKindOf(documentKindText(kind)), kind);

        // A window opened on it saves it as the same kind.
        Document document;
        document.setTeachesLists(false);
        QVERIFY(document.readFromData(written));
        document.windowControllerDidLoadNib();
        const Result<Invoice> saved = readInvoiceBytes(document.dataOfType());
        QVERIFY(saved && saved->kind == DocumentKind::Receipt && saved->paper);

        // An invoice's file names no kind and no paper, as files always did.
        const QByteArray invoice = writeInvoice(slip({"1000"}));
        QVERIFY(!invoice.contains(R"("kind")") && !invoice.contains(R"("paper")"));
        // A kind this version does not know, or of the wrong type, is an invoice.
        for (const QByteArray &kind : {QByteArray(R"("order")"), QByteArray("3"), QByteArray("null")})
            QCOMPARE(readInvoiceBytes(R"({"kind":)" + kind + R"(,"paper":1})")->kind, DocumentKind::Invoice);
    }

    void theStatementCarriesTheBalanceAndTaxesThePeriodOnce()
    {
        // 1,006 at 8 % on each of two slips: 80.48 each, rounded per slip 160 in all, but 161 on the
        // 2,012 the statement bills.
        const Result<StatementSums> sums =
            statementSums(50'000, 30'000, {slip({"10000", "1006@8"}), slip({"5000", "1006@8"})});
        QVERIFY(sums);
        QCOMPARE(sums->carried, qint64(20'000));
        QCOMPARE(sums->purchases, qint64(17'012));
        QCOMPARE(sums->rates, (QList<RateSum>{{10, 15'000, 1'500}, {8, 2'012, 161}}));
        QCOMPARE(sums->tax, qint64(1'661));
        QCOMPARE(sums->billed, qint64(38'673));

        // Prices that include their tax: the purchases are without it.
        const Result<StatementSums> within = statementSums(0, 0, {slip({"11000"}, false)});
        QVERIFY(within);
        QCOMPARE(within->purchases, qint64(10'000));
        QCOMPARE(within->billed, qint64(11'000));

        // No slips in the period: only the balance; an overpayment is carried as a credit.
        const Result<StatementSums> none = statementSums(1'000, 1'500, {});
        QVERIFY(none);
        QCOMPARE(none->billed, qint64(-500));
    }

    void aStatementRefusesWhatItCannotBill()
    {
        const Result<StatementSums> mixed = statementSums(0, 0, {slip({"1000"}), slip({"1100"}, false)});
        QVERIFY(!mixed);
        QCOMPARE(mixed.fault().kind, FaultKind::Refused);
        QVERIFY(!statementSums(std::numeric_limits<qint64>::max(), 0, {slip({"1000"})}));
        QVERIFY(!statementSums(0, std::numeric_limits<qint64>::min(), {}));
    }
};

QTEST_MAIN(KindsTest)
#include "tst_kinds.moc"
