// The documents beside the invoice: the rules they are set by.
#include "kinds/StampDuty.h"

#include <QTest>

using namespace seikyu;

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
};

QTEST_GUILESS_MAIN(KindsTest)
#include "tst_kinds.moc"
