// The documents beside the invoice: the rules they are set by.
#include "app/DocumentController.h"
#include "document/Document.h"
#include "invoice/InvoiceFile.h"
#include "kinds/KindWords.h"
#include "kinds/MonthlyStatement.h"
#include "kinds/NextDocument.h"
#include "kinds/StampDuty.h"
#include "page/InvoiceSheets.h"
#include "sections/FreelancePreferences.h"
#include "support/TestSupport.h"
#include "widgets/PageButton.h"

#include <QTest>

using namespace seikyu;
using namespace seikyu::test;

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

/// A document of `kind` that ends with sums: the items' total `prices`, and the tax line `taxLabel`
/// of `tax` (consumption tax added, or 内消費税 within the prices).
Invoice totalled(DocumentKind kind, qint64 prices, const QString &taxLabel, qint64 tax, qint64 total)
{
    const QByteArray json =
        QStringLiteral(
            R"({"head":"請求書","date":"2026-12-05","whom":"千代田商事","numb":"7","dues":"2027-01-31","note":"納期 1月末",)"
            R"("rate":10,"plus":1,"item":[{"date":"日付","name":"項目","solo":"","much":"個数","sums":"価格"},)"
            R"({"date":"12-01","name":"品","solo":"%1","much":"1","sums":"%1"},)"
            R"({"date":" ","name":" ","solo":"","much":"%2","sums":"%3"},)"
            R"({"date":" ","name":" ","solo":"","much":"合計","sums":"%4"}]})")
            .arg(prices)
            .arg(taxLabel)
            .arg(tax)
            .arg(total)
            .toUtf8();
    Result<Invoice> read = readInvoiceBytes(json);
    if (!read)
        qWarning("the test's document did not read: %s", qPrintable(read.message()));
    Invoice invoice = read ? *read : Invoice();
    invoice.kind = kind;
    return invoice;
}

/// The first page's texts, region by region, as laid out for paper.
QMap<SheetRegion, PageRegion> firstPageRegions(const Invoice &invoice, bool inBusiness = true)
{
    const PageLayout layout = layOutInvoice(invoice, {QImage(), QPointF(), inBusiness});
    QMap<SheetRegion, PageRegion> found;
    for (const auto *placed : {&layout.front().regions, &layout.front().overlays}) {
        for (const PlacedRegion &region : *placed) {
            for (SheetRegion at : {SheetRegion::Title, SheetRegion::Amount, SheetRegion::Number, SheetRegion::DueDate,
                                   SheetRegion::Remarks, SheetRegion::StampDuty}) {
                const bool isRemarks = at == SheetRegion::Remarks && region.region.text == invoice.remarks;
                if (isRemarks || region.rect == QRectF(sheetRegionBox(sheetRoom(at))))
                    found.insert(at, region.region);
            }
        }
    }
    return found;
}

} // namespace

Q_DECLARE_METATYPE(seikyu::DocumentKind)

class KindsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }

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
        // With income tax withheld, what was received is 差引請求額, after 合計.
        Invoice withheld =
            totalled(DocumentKind::Receipt, 1'000'000, QStringLiteral("消費税(10%)"), 100'000, 1'100'000);
        const ItemRow blank = withheld.rows.last();
        for (const auto &[label, amount] : {std::pair{SumsLabel::Withholding, QStringLiteral("-102100")},
                                            std::pair{SumsLabel::Payable, QStringLiteral("997900")}}) {
            ItemRow row = blank;
            row.setValue(Column::Much, label);
            row.setValue(Column::Sums, amount);
            withheld.rows.append(row);
        }
        const std::optional<ReceivedAmount> received = receivedAmountOf(withheld.rows);
        QVERIFY(received && received->amount == 997'900 && received->statedTax == 100'000);
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

    void eachKindSaysItsOwnWordsOnThePage_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("underAmount");
        QTest::addColumn<QString>("remarksHeading");
        QTest::newRow("invoice, as ever") << DocumentKind::Invoice << "\b御請求金額\n"
                                          << "No. 7"
                                          << "お支払期限 2027年01月31日"
                                          << "備考";
        QTest::newRow("quotation") << DocumentKind::Quote << "\b御見積金額\n"
                                   << "見積番号 7"
                                   << "有効期限 2027年01月31日"
                                   << "備考";
        QTest::newRow("delivery slip") << DocumentKind::Delivery << "\b合計金額\n"
                                       << "No. 7"
                                       << "下記の通り納品いたしました"
                                       << "備考";
        QTest::newRow("receipt") << DocumentKind::Receipt << "\b領収金額\n"
                                 << "No. 7"
                                 << "上記正に領収いたしました"
                                 << "但し書き";
    }

    void eachKindSaysItsOwnWordsOnThePage()
    {
        QFETCH(DocumentKind, kind);
        QFETCH(QString, amount);
        QFETCH(QString, number);
        QFETCH(QString, underAmount);
        QFETCH(QString, remarksHeading);
        Invoice document = totalled(kind, 1000, QStringLiteral("消費税(10%)"), 100, 1100);
        document.amountBox = QStringLiteral("\b御請求金額\n￥1,100");
        const QMap<SheetRegion, PageRegion> page = firstPageRegions(document);
        QCOMPARE(page.value(SheetRegion::Amount).text, amount + QStringLiteral("￥1,100"));
        QCOMPARE(page.value(SheetRegion::Number).text, number);
        QCOMPARE(page.value(SheetRegion::DueDate).text, underAmount);
        QCOMPARE(page.value(SheetRegion::Remarks).heading, remarksHeading);
        // Only a receipt on paper speaks of a revenue stamp.
        QVERIFY(!page.contains(SheetRegion::StampDuty));
        // A box the user wrote otherwise is shown as written.
        QCOMPARE(amountBoxOfKind(QStringLiteral("御請求金額 ￥5"), kind), QStringLiteral("御請求金額 ￥5"));
    }

    void aPaperReceiptStatesItsRevenueStamp_data()
    {
        QTest::addColumn<QString>("taxLabel");
        QTest::addColumn<qint64>("tax");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<bool>("inBusiness");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("text");
        QTest::newRow("1,100,000 with 100,000 of tax stated")
            << "消費税(10%)" << qint64(100'000) << qint64(1'100'000) << true << "収入印紙"
            << "200円";
        QTest::newRow("1,100,001 with 100,000 of tax stated")
            << "消費税(10%)" << qint64(100'000) << qint64(1'100'001) << true << "収入印紙"
            << "400円";
        QTest::newRow("tax within the prices counts as stated")
            << "内消費税(10%)" << qint64(5'000) << qint64(54'999) << true << ""
            << "収入印紙 不要（5万円未満）";
        QTest::newRow("the sums' 税込済み states no tax")
            << "消費税" << qint64(0) << qint64(54'999) << true << "収入印紙"
            << "200円";
        QTest::newRow("outside business") << "消費税(10%)" << qint64(100'000) << qint64(1'100'000) << false << ""
                                          << "収入印紙 不要（営業に関しない受取書）";
        QTest::newRow("a billion and one") << "消費税(10%)" << qint64(0) << qint64(1'000'000'001) << true << "収入印紙"
                                           << "200,000円";
    }

    void aPaperReceiptStatesItsRevenueStamp()
    {
        QFETCH(QString, taxLabel);
        QFETCH(qint64, tax);
        QFETCH(qint64, total);
        QFETCH(bool, inBusiness);
        QFETCH(QString, heading);
        QFETCH(QString, text);
        Invoice receipt = totalled(DocumentKind::Receipt, total - tax, taxLabel, tax, total);
        if (taxLabel == SumsLabel::Tax)
            receipt.rows[1].setValue(Column::Sums, SumsLabel::TaxIncluded);
        receipt.paper = true;
        const QMap<SheetRegion, PageRegion> page = firstPageRegions(receipt, inBusiness);
        QVERIFY(page.contains(SheetRegion::StampDuty));
        QCOMPARE(page.value(SheetRegion::StampDuty).heading, heading);
        QCOMPARE(page.value(SheetRegion::StampDuty).text, text);
        // Sent electronically, the page says nothing of it.
        receipt.paper = false;
        QVERIFY(!firstPageRegions(receipt, inBusiness).contains(SheetRegion::StampDuty));
    }

    void theNextDocumentCarriesTheSaleAndStartsItsOwnNumbers()
    {
        Invoice quote = totalled(DocumentKind::Quote, 1000, QStringLiteral("消費税(10%)"), 100, 1100);
        quote.issuer = QStringLiteral("山田商店");
        quote.honorificChoice = 1;
        quote.honorificShown = QStringLiteral("様");
        quote.customerAddress.address = QStringLiteral("東京都千代田区");
        quote.customerElectronicAddress = QStringLiteral("0188:1234567890123");
        quote.amountBox = QStringLiteral("\b御請求金額\n￥1,100");
        quote.japaneseEra = true;
        quote.withholding = true;

        const QDate today(2026, 12, 9);
        const Invoice delivery = nextDocument(quote, DocumentKind::Delivery, today);
        Invoice expected = quote;
        expected.kind = DocumentKind::Delivery;
        expected.title = QStringLiteral("納品書");
        expected.date = today;
        expected.number.clear();
        expected.dueDate = QDate();
        QCOMPARE(delivery, expected);

        // A receipt names what was paid in its 但し書き and is handed over on paper.
        Invoice invoice = nextDocument(delivery, DocumentKind::Invoice, today);
        invoice.number = QStringLiteral("2026-0012");
        const Invoice receipt = nextDocument(invoice, DocumentKind::Receipt, today);
        QCOMPARE(receipt.remarks, QStringLiteral("請求書 No. 2026-0012 の代金として"));
        QVERIFY(receipt.paper && receipt.rows == quote.rows && receipt.amountBox == quote.amountBox);

        // In a window: Make Receipt opens an edited, numbered receipt; the invoice is untouched.
        clearSettings();
        PrompterGuard prompter;
        DocumentController controller;
        Document *original = controller.newDocument();
        QVERIFY(original->readAnew(writeInvoice(invoice)));
        const QByteArray before = original->dataOfType();
        Document *made = controller.makeNext(original, DocumentKind::Receipt);
        QVERIFY(made && made->isEdited());
        QCOMPARE(made->model()->kind(), DocumentKind::Receipt);
        QCOMPARE(made->invoiceNumber(), QStringLiteral("R%1-0001").arg(QDate::currentDate().year()));
        QCOMPARE(original->dataOfType(), before);
        // Receipts count apart from invoices; the next receipt follows this one.
        QCOMPARE(FreelancePreferences::nextNumber(QDate::currentDate()).sequence, qint64(1));
        QCOMPARE(controller.makeNext(original, DocumentKind::Receipt)->invoiceNumber(),
                 QStringLiteral("R%1-0002").arg(QDate::currentDate().year()));
        auto *duty = made->window()->findChild<PageButton *>(QStringLiteral("duty"));
        QVERIFY(duty && duty->isVisibleTo(made->window()));
        QCOMPARE(duty->title(), QStringLiteral("収入印紙 不要（5万円未満）"));
        QVERIFY(!original->window()->findChild<PageButton *>(QStringLiteral("duty"))->isVisibleTo(original->window()));
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
