// The documents beside the invoice: the rules they are set by.
#include "app/DocumentController.h"
#include "customers/CustomerBook.h"
#include "customers/PaymentTerms.h"
#include "document/Document.h"
#include "invoice/InvoiceFile.h"
#include "invoice/InvoiceModel.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "kinds/KindWords.h"
#include "kinds/MonthlyStatement.h"
#include "kinds/NextDocument.h"
#include "kinds/StampDuty.h"
#include "ledger/IssueFacts.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerStore.h"
#include "ledger/LedgerTableModel.h"
#include "ledger/MonthlyInvoice.h"
#include "ledger/StatementPlan.h"
#include "output/OutputChecks.h"
#include "page/InvoiceSheets.h"
#include "page/TableCellPainting.h"
#include "sections/FreelancePreferences.h"
#include "sections/SavedLists.h"
#include "support/SeikyuRun.h"
#include "support/TestSupport.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "widgets/PageButton.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

/// The total the table's sums ask for.
qint64 tableTotalOf(const Invoice &invoice)
{
    for (qsizetype i = invoice.rows.size() - 1; i >= 0; --i) {
        if (invoice.rows.at(i).value(Column::Much) == SumsLabel::Total)
            return amountOf(invoice.rows.at(i).value(Column::Sums));
    }
    return 0;
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

    void aDeliverySlipMayLeaveItsAmountsOffThePaper()
    {
        Invoice slipped = totalled(DocumentKind::Delivery, 1000, QStringLiteral("消費税(10%)"), 100, 1100);
        slipped.amountBox = QStringLiteral("\b御請求金額\n￥1,100");
        slipped.amountsHidden = true;
        // The file says so only when they are left out; anything but false shows them.
        const QByteArray written = writeInvoice(slipped);
        QVERIFY(written.contains(R"("amounts": false)"));
        QVERIFY(readInvoiceBytes(written)->amountsHidden);
        QVERIFY(!writeInvoice(slip({"1000"})).contains(R"("amounts")"));
        QVERIFY(!readInvoiceBytes(R"({"kind":"delivery","amounts":"no"})")->amountsHidden);

        // On paper: the items and quantities, no price, no sums, no amount.
        const LaidOutPage page = layOutInvoice(slipped, {}).front();
        QCOMPARE(page.table->rows.size(), size_t(2)); // the header and the one item
        for (const PageCell &cell : page.table->rows.back().cells) {
            if (cell.column == Column::Solo || cell.column == Column::Sums)
                QVERIFY(cell.text.isEmpty());
        }
        QCOMPARE(page.table->rows.back().cells.at(int(Column::Much)).text, QStringLiteral("1"));
        QVERIFY(firstPageRegions(slipped).value(SheetRegion::Amount).text.isEmpty());
        // The ledger still records what it delivered; an invoice made from it shows its prices.
        QCOMPARE(issueEntryOf(slipped).amount, qint64(1'100));
        QVERIFY(!nextDocument(slipped, DocumentKind::Invoice, QDate(2026, 12, 9)).amountsHidden);
        // Only a delivery slip leaves them out.
        slipped.kind = DocumentKind::Quote;
        QCOMPARE(layOutInvoice(slipped, {}).front().table->rows.size(), size_t(4));

        // In its window, the statement line asks; the choice is saved with the slip.
        slipped.kind = DocumentKind::Delivery;
        slipped.amountsHidden = false;
        PrompterGuard prompter;
        DocumentController controller;
        Document *document = controller.newDocument();
        QVERIFY(document->readAnew(writeInvoice(slipped)));
        click(*document, QStringLiteral("dues"));
        auto *hidden = document->window()->findChild<QRadioButton *>(QStringLiteral("amountsHidden"));
        QVERIFY(hidden && hidden->isVisible());
        hidden->setChecked(true);
        click(*document, QStringLiteral("amountsCtrlOk"));
        QVERIFY(document->model()->amountsHidden() && document->isEdited());
        QVERIFY(readInvoiceBytes(document->dataOfType())->amountsHidden);
        QVERIFY(child<PageButton>(*document, QStringLiteral("sums"))->shownText().isEmpty());
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
        expected.madeFrom = QStringLiteral("請求書 No. 7");
        QCOMPARE(delivery, expected);

        // A receipt names what was paid in its 但し書き and is handed over on paper.
        Invoice invoice = nextDocument(delivery, DocumentKind::Invoice, today);
        invoice.number = QStringLiteral("2026-0012");
        const Invoice receipt = nextDocument(invoice, DocumentKind::Receipt, today);
        QCOMPARE(receipt.remarks, QStringLiteral("請求書 No. 2026-0012 の代金として"));
        QVERIFY(receipt.paper && receipt.rows == quote.rows && receipt.amountBox == quote.amountBox);
        // Its ledger entry names the invoice it was made from; the name is kept in its file.
        QCOMPARE(issueEntryOf(receipt).note, QStringLiteral("請求書 No. 2026-0012 から"));
        QCOMPARE(readInvoiceBytes(writeInvoice(receipt))->madeFrom, receipt.madeFrom);

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
        // Each kind's title is chosen from a list of its own: the receipt's starts with a receipt's titles, and the
        // invoices' list learns none of them.
        const auto offered = [](Document *document) {
            auto *chooser = document->window()->findChild<QComboBox *>(QStringLiteral("headDial"));
            QStringList titles;
            for (int i = 0; chooser && i < chooser->count(); ++i)
                titles.append(chooser->itemText(i));
            return titles;
        };
        QCOMPARE(offered(made), (QStringList{"領収書", "領収証"}));
        QCOMPARE(offered(original), QStringList{"請求書"});
        QCOMPARE(SavedLists::instance().read(QStringLiteral("head")), std::optional(QStringList{"請求書"}));
    }

    void aPaidInvoicesReceiptIsMadeInIssuedInvoicesAndAcknowledgesThePayment()
    {
        clearSettings();
        QTemporaryDir dir;
        IssueLedger &ledger = IssueLedger::instance();
        ledger.setFolder(dir.filePath(QStringLiteral("ledger")));
        LedgerStore *store = ledger.store().value_or(nullptr);
        QVERIFY(store);
        auto issued = [&](const QString &number, qint64 paid, bool twoRates = false) {
            Invoice invoice = totalled(DocumentKind::Invoice, 10'000, QStringLiteral("消費税"), 1'000, 11'000);
            invoice.number = number;
            invoice.issuer = QStringLiteral("100-0005\n東京都千代田区丸の内1-1\n山田商店\n03-1234-5678\n普通 1234567\n"
                                            "T8010001000003");
            if (twoRates) {
                invoice.rows.insert(1, ItemRow(QStringLiteral("12-02"), QStringLiteral("菓子"), QStringLiteral("500"),
                                               QStringLiteral("1"), QStringLiteral("500")));
                invoice.rows[1].setTaxClass(TaxClass::Reduced);
            }
            invoice.amountBox = emptyAmountBoxText() + QStringLiteral("11000");
            LedgerEntry entry = issueEntryOf(invoice);
            entry.sourcePath = writeFile(dir.filePath(number + QStringLiteral(".seikyu")), writeInvoice(invoice));
            const qint64 id = store->record(entry)->id;
            return std::pair(id, store->recordPayment(id, QDate(2026, 12, 15), paid)->id);
        };
        const auto [whole, payment] = issued(QStringLiteral("8"), 11'000);
        const auto [part, partPayment] = issued(QStringLiteral("9"), 5'000);

        PrompterGuard prompter;
        IssuedInvoicesWindow window;
        std::optional<Invoice> made;
        window.setDocumentMaker([&made](const Invoice &invoice) { made = invoice; });
        window.refresh();
        auto *table = window.findChild<QTableView *>();
        const auto select = [&](qint64 issueId) {
            table->clearSelection();
            for (int row = 0; row < window.model()->rowCount(); ++row) {
                if (window.model()->issueAt(row)->issue.id == issueId)
                    table->selectRow(row);
            }
        };
        select(whole);
        window.makeReceiptForSelection();
        QVERIFY(made);
        QCOMPARE(made->kind, DocumentKind::Receipt);
        QCOMPARE(made->date, QDate(2026, 12, 15));
        QCOMPARE(made->payment, payment);
        QCOMPARE(made->remarks, QStringLiteral("請求書 No. 8 の代金として"));
        QCOMPARE(readInvoiceBytes(writeInvoice(*made))->payment, payment);

        // Issued, the receipt acknowledges that payment; its ledger refuses one for a payment that does not stand.
        const Result<IssueOutcome> out = ledger.issue(*made, QString(), IssueChannel::Pdf, dir.filePath("r.pdf"),
                                                      QByteArrayLiteral("%PDF-"), [] { return true; });
        QVERIFY2(out && out->written, qPrintable(out ? QString() : out.message()));
        QCOMPARE(store->entries().value().constLast().acknowledges, payment);
        QCOMPARE(store->paymentsOf(whole)->constFirst().receiptId, store->entries().value().constLast().id);

        // Paid in part: the receipt states the part received, its tax within it at the invoice's one rate.
        made.reset();
        window.refresh();
        select(part);
        window.makeReceiptForSelection();
        QVERIFY(made);
        QCOMPARE(made->payment, partPayment);
        QCOMPARE(made->remarks, QStringLiteral("請求書 No. 9 の代金の一部として"));
        QCOMPARE(receivedAmountOf(made->rows)->amount, qint64(5'000));
        // 5,000 × 10/110 = 454.5…, rounded to the nearest yen as the tax preference does by default.
        QCOMPARE(receivedAmountOf(made->rows)->statedTax, qint64(455));
        QCOMPARE(amountOf(made->amountBox->section(u'\n', 1)), qint64(5'000));
        // With income tax withheld, what was received is not what was billed: no part to state.
        Invoice withheld = totalled(DocumentKind::Invoice, 10'000, QStringLiteral("消費税"), 1'000, 11'000);
        withheld.withholding = true;
        QVERIFY(!partPaymentReceipt(withheld, 5'000, QDate(2026, 12, 15)));
        // Of an invoice of two rates, which part was paid at which is not known: told, nothing made.
        made.reset();
        const auto [mixed, mixedPayment] = issued(QStringLiteral("10"), 5'000, true);
        QVERIFY(mixedPayment);
        window.refresh();
        select(mixed);
        window.makeReceiptForSelection();
        QVERIFY(!made);
        QCOMPARE(prompter->notes.size(), 1);

        // File ▸ Make Receipt: the receipt of a paid invoice is its payment's, made again only when the user says so.
        DocumentController controller;
        const auto receiptOf = [&](const QString &number) {
            Document *invoiceWindow = controller.newDocument();
            return invoiceWindow->readAnew(readAll(dir.filePath(number + QStringLiteral(".seikyu"))))
                       ? controller.makeNext(invoiceWindow, DocumentKind::Receipt)
                       : nullptr;
        };
        QVERIFY(!receiptOf(QStringLiteral("8")));
        prompter->proceedAnswers.append(true);
        Document *fromMenu = receiptOf(QStringLiteral("8"));
        QVERIFY(fromMenu);
        QCOMPARE(fromMenu->model()->payment(), payment);
        QCOMPARE(fromMenu->model()->date(), QDate(2026, 12, 15));
        Document *partPaid = receiptOf(QStringLiteral("9"));
        QVERIFY(partPaid);
        QCOMPARE(partPaid->model()->payment(), partPayment);
        QCOMPARE(partPaid->model()->date(), QDate(2026, 12, 15));
        ledger.close();
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

        // Set from a slip that hid its prices and named its quotation: the statement shows its prices and names
        // neither.
        Invoice base = slip({"1000"});
        base.kind = DocumentKind::Delivery;
        base.amountsHidden = true;
        base.madeFrom = QStringLiteral("見積書 No. Q-1");
        const Result<Invoice> statement =
            monthlyInvoice(base, {QDate(2026, 11, 1), QDate(2026, 11, 30), 0, 0, {}}, {{slip({"1000"}), true}}, {});
        QVERIFY(statement);
        QVERIFY(!statement->amountsHidden && statement->madeFrom.isEmpty());
    }

    void theClosingPeriodAndTheStatementsNote()
    {
        // The period last closed by 9 December, 15 March and 20 December, by the closing day.
        const QDate december9(2026, 12, 9);
        QCOMPARE(lastClosedPeriod(december9, MonthEndDay), std::pair(QDate(2026, 11, 1), QDate(2026, 11, 30)));
        QCOMPARE(lastClosedPeriod(december9, 20), std::pair(QDate(2026, 10, 21), QDate(2026, 11, 20)));
        QCOMPARE(lastClosedPeriod(QDate(2027, 3, 15), MonthEndDay), std::pair(QDate(2027, 2, 1), QDate(2027, 2, 28)));
        QCOMPARE(lastClosedPeriod(QDate(2026, 12, 25), 20), std::pair(QDate(2026, 11, 21), QDate(2026, 12, 20)));

        // What a statement's entry says it bills reads back; no other note reads as a statement.
        const StatementFacts facts{QDate(2026, 11, 1), QDate(2026, 11, 30), 0, 0, {"D-1", "#12"}};
        const std::optional<StatementFacts> read = statementOfNote(statementNote(facts));
        QVERIFY(read);
        QCOMPARE(read->slips, facts.slips);
        QCOMPARE(std::pair(read->from, read->to), std::pair(facts.from, facts.to));
        for (const QString &other : {QString(), QStringLiteral("誤発行"), QStringLiteral("合計請求書 2026-11-01"),
                                     QStringLiteral("合計請求書 2026-13-01..2026-11-30")})
            QVERIFY(!statementOfNote(other));

        // A damaged statement member is no statement rather than a guessed balance.
        for (const char *member : {R"({"from":"2026-11-01","to":"2026-11-30","previous":"x","paid":0})",
                                   R"({"from":"2026-11-30","to":"2026-11-01","previous":0,"paid":0})",
                                   R"({"from":"2026-11-01","to":"2026-11-30","previous":1e300,"paid":0})", R"([1])"}) {
            const Result<Invoice> opened =
                readInvoiceBytes(QByteArray(R"({"head":"請求書","statement":)") + member + "}");
            QVERIFY(opened);
            QVERIFY2(!opened->statement, member);
        }
    }

    void theMonthlyInvoiceBillsTheLedgersSlipsOnceAndCarriesTheBalance()
    {
        clearSettings();
        QTemporaryDir dir;
        const QString dataHome = dir.filePath(QStringLiteral("data"));
        IssueLedger &ledger = IssueLedger::instance();
        ledger.setFolder(QDir(dataHome).filePath(
            QStringLiteral("%1/%2").arg(QCoreApplication::organizationName(), QCoreApplication::applicationName())));
        LedgerStore *store = ledger.store().value_or(nullptr);
        QVERIFY(store);
        const QString customer = QStringLiteral("千代田商事");
        auto record = [&](const Invoice &document, const QString &file = {}) {
            LedgerEntry entry = issueEntryOf(document);
            if (!file.isEmpty())
                entry.sourcePath = writeFile(dir.filePath(file), writeInvoice(document));
            return store->record(entry)->id;
        };
        auto slipOf = [&](const QString &number, const QDate &date, const QStringList &prices, const QString &to) {
            Invoice made = slip(prices);
            made.kind = DocumentKind::Delivery;
            made.number = number;
            made.date = date;
            made.customer = to;
            made.honorificChoice = 0;
            made.honorificShown = QStringLiteral("御中");
            InvoiceModel model;
            model.table()->setRows([&] {
                QList<RowPtr> rows{ItemRow::makeHeader()};
                for (const ItemRow &row : made.rows)
                    rows.append(std::make_shared<ItemRow>(row));
                return rows;
            }());
            model.setTaxRate(10);
            model.setTaxOnTop(true);
            model.appendSumsRows();
            made.rows = model.invoice().rows;
            made.amountBox = emptyAmountBoxText() + QString::number(tableTotalOf(made));
            return made;
        };

        // September's invoice, paid before October's statement; October's statement, partly paid after it.
        const qint64 september =
            record(totalled(DocumentKind::Invoice, 10'000, QStringLiteral("消費税"), 1'000, 11'000));
        QVERIFY(store->recordPayment(september, QDate(2026, 10, 10), 11'000));
        Invoice october = totalled(DocumentKind::Invoice, 30'000, QStringLiteral("消費税"), 3'000, 33'000);
        october.number = QStringLiteral("10");
        october.statement = StatementFacts{QDate(2026, 10, 1), QDate(2026, 10, 31), 0, 0, {}};
        const qint64 octoberId = record(october);
        QVERIFY(store->recordPayment(octoberId, QDate(2026, 11, 15), 20'000));

        // November: two slips at two rates (one to the customer written with a space), a voided one, another
        // customer's.
        record(slipOf(QStringLiteral("D-2"), QDate(2026, 11, 20), {"5000", "1006@8"}, customer),
               QStringLiteral("d2.seikyu"));
        record(slipOf(QStringLiteral("D-1"), QDate(2026, 11, 5), {"10000", "1006@8"}, QStringLiteral("千代田　商事")),
               QStringLiteral("d1.seikyu"));
        QVERIFY(store->recordVoid(record(slipOf(QStringLiteral("D-3"), QDate(2026, 11, 25), {"999"}, customer)),
                                  QStringLiteral("誤発行")));
        record(slipOf(QStringLiteral("D-4"), QDate(2026, 11, 6), {"7000"}, QStringLiteral("別の会社")));
        record(slipOf(QStringLiteral("D-5"), QDate(2026, 12, 1), {"3000"}, customer));
        {
            const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath());
            QVERIFY(book);
            Customer known;
            known.name = customer;
            known.terms = PaymentTerms{}; // 末締め翌々月末払い, later than the usual terms
            known.terms->months = 2;
            QVERIFY((*book)->addMissing({known}));
        }

        MonthlyRequest november{customer, QDate(2026, 11, 1), QDate(2026, 11, 30), true, std::nullopt};
        Result<MonthlyOutcome> made = makeMonthlyInvoice(november);
        QVERIFY2(made, qPrintable(made.message()));
        const Invoice &statement = made->statement;
        // 33,000 owed at October's statement, 20,000 paid since; 17,012 bought; the 8 % tax once
        // over 2,012 (161, where each slip alone would give 80): 13,000 + 17,012 + 1,661.
        QCOMPARE(statement.statement->previous, qint64(33'000));
        QCOMPARE(statement.statement->paid, qint64(20'000));
        QCOMPARE(statement.statement->slips, (QStringList{"D-1", "D-2"}));
        QCOMPARE(amountOf(statement.amountBox->section(u'\n', 1)), qint64(31'673));
        QCOMPARE(tableTotalOf(statement), qint64(18'673));
        QVERIFY(std::any_of(statement.rows.begin(), statement.rows.end(), [](const ItemRow &row) {
            return row.value(Column::Much) == QStringLiteral("消費税(8%)") && amountOf(row.value(Column::Sums)) == 161;
        }));
        QCOMPARE(statement.rows.at(0).value(Column::Name).toString(), QStringLiteral("納品書 No. D-1"));
        QCOMPARE(statement.date, QDate(2026, 11, 30));
        QCOMPARE(statement.dueDate, QDate(2027, 1, 31));
        QCOMPARE(statement.customer, std::optional(customer));
        QVERIFY(statement.remarks.contains(QStringLiteral("今回御請求額 ￥31,673")));
        QCOMPARE(outputWarnings(statement).filter(QStringLiteral("御請求金額")), QStringList());

        // Its file keeps the statement; opened again it totals as made, and a changed table is flagged.
        const Result<Invoice> reread = readInvoiceBytes(writeInvoice(statement));
        QVERIFY(reread);
        QCOMPARE(reread->statement, statement.statement);
        QCOMPARE(writeInvoice(*reread), writeInvoice(statement));
        Invoice stale = statement;
        stale.statement->paid = 0;
        QCOMPARE(outputWarnings(stale).filter(QStringLiteral("御請求金額")).size(), 1);

        // Its receipt bills nothing of the month again.
        QVERIFY(!nextDocument(statement, DocumentKind::Receipt, QDate(2026, 12, 20)).statement);

        // One line per slip: a line per rate, the same sums.
        november.itemised = false;
        const Result<MonthlyOutcome> lines = makeMonthlyInvoice(november);
        QVERIFY(lines);
        QCOMPARE(lines->statement.amountBox, statement.amountBox);
        QCOMPARE(lines->statement.rows.at(1).value(Column::Name).toString(),
                 QStringLiteral("納品書 No. D-1（8%対象）"));

        // Recorded, it owes the period alone; its slips are billed once, and November is not stated twice.
        Invoice numbered = statement;
        numbered.number = QStringLiteral("S-1");
        const LedgerEntry issued = issueEntryOf(numbered);
        QCOMPARE(issued.amount, qint64(18'673));
        const qint64 novemberId = store->record(issued)->id;
        const Result<MonthlyOutcome> again = makeMonthlyInvoice(november);
        QVERIFY(!again);
        QCOMPARE(again.fault().kind, FaultKind::Refused);
        // A second statement made before the first was issued is refused when it is issued; the first again is not.
        Invoice second = lines->statement;
        second.number = QStringLiteral("S-2");
        const auto issue = [&](const Invoice &document) {
            return ledger.issue(document, QString(), IssueChannel::Pdf,
                                dir.filePath(document.number + QStringLiteral(".pdf")), QByteArrayLiteral("%PDF-"),
                                [] { return true; });
        };
        const Result<IssueOutcome> twice = issue(second);
        QVERIFY(!twice && twice.fault().message.contains(QStringLiteral("S-1")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("S-2.pdf"))));
        ledger.allowReissue(QStringLiteral("S-1"));
        QVERIFY(issue(numbered));
        const StatementPlan december =
            planStatement(store->entries().value(), customer, QDate(2026, 12, 1), QDate(2026, 12, 31));
        QCOMPARE(december.previousStatement, novemberId);
        QCOMPARE(december.facts.previous, qint64(31'673)); // November's 今回御請求額
        QCOMPARE(december.facts.paid, qint64(0));
        const StatementPlan late =
            planStatement(store->entries().value(), customer, QDate(2026, 11, 1), QDate(2026, 12, 31));
        QCOMPARE(late.facts.slips, QStringList{QStringLiteral("D-5")});

        // Voided, the statement bills nothing: its slips are billed again by the next one made.
        QVERIFY(store->recordVoid(novemberId, QStringLiteral("訂正")));
        const Result<MonthlyOutcome> remade = makeMonthlyInvoice(november);
        QVERIFY(remade);
        QCOMPARE(remade->statement.statement->slips, (QStringList{"D-1", "D-2"}));

        // From the File menu: the period asked, the statement opened as a new numbered invoice due by the customer's
        // terms.
        {
            PrompterGuard prompter;
            DocumentController controller;
            QTimer::singleShot(0, [&] {
                QWidget *dialog = QApplication::activeModalWidget();
                if (!dialog)
                    return;
                dialog->findChild<QLineEdit *>(QStringLiteral("customer"))->setText(customer);
                dialog->findChild<QDateEdit *>(QStringLiteral("from"))->setDate(QDate(2026, 11, 1));
                dialog->findChild<QDateEdit *>(QStringLiteral("to"))->setDate(QDate(2026, 11, 30));
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            });
            Document *opened = controller.makeMonthly(nullptr);
            QVERIFY(opened && opened->isEdited());
            QCOMPARE(opened->model()->statement(), remade->statement.statement);
            QCOMPARE(opened->model()->dueDate(), QDate(2027, 1, 31));
            QVERIFY(!opened->invoiceNumber().isEmpty());
            QVERIFY(!opened->amountBoxDisagrees());
            // Next month's copy of it is an invoice of its own: no slips, no balance, its box the table's total.
            prompter->duplicateAnswers.append(Prompter::DuplicateChoice(true));
            Document *copy = controller.duplicate(opened);
            QVERIFY(copy);
            QVERIFY(!copy->model()->statement());
            QCOMPARE(amountOf(copy->model()->amountBox().section(u'\n', 1)), qint64(18'673));
        }

        // A slip whose file no longer bills what was issued is listed as the ledger recorded it.
        writeFile(dir.filePath(QStringLiteral("d2.seikyu")),
                  writeInvoice(slipOf(QStringLiteral("D-2"), QDate(2026, 11, 20), {"6000"}, customer)));
        november.itemised = true;
        const Result<MonthlyOutcome> changed = makeMonthlyInvoice(november);
        QVERIFY(changed);
        QCOMPARE(changed->notes.size(), 1);
        QCOMPARE(changed->statement.amountBox, statement.amountBox);
        QVERIFY(std::any_of(changed->statement.rows.begin(), changed->statement.rows.end(), [](const ItemRow &row) {
            return row.value(Column::Name) == QStringLiteral("納品書 No. D-2（10%対象）");
        }));

        // The command line writes the same statement as a file, with no window.
        if (!qEnvironmentVariable("SEIKYU_BINARY").isEmpty()) {
            ledger.close();
            const QString out = dir.filePath(QStringLiteral("november.seikyu"));
            const SeikyuRun run =
                runSeikyuWithoutDisplay({QStringLiteral("--monthly-invoice"), out, QStringLiteral("--customer"),
                                         customer, QStringLiteral("--period"), QStringLiteral("2026-11-01..2026-11-30"),
                                         QStringLiteral("--one-line-per-slip")},
                                        {{QStringLiteral("XDG_DATA_HOME"), dataHome}});
            QVERIFY2(run.exitCode == 0, qPrintable(run.err));
            const Result<Invoice> written = readInvoiceBytes(readAll(out));
            QVERIFY(written);
            QCOMPARE(written->amountBox, statement.amountBox);
            QCOMPARE(written->statement->slips, (QStringList{"D-1", "D-2"}));
            QCOMPARE(runSeikyuWithoutDisplay({QStringLiteral("--monthly-invoice"), out, QStringLiteral("--period"),
                                              QStringLiteral("2026-11-30..2026-11-01"), QStringLiteral("--customer"),
                                              customer})
                         .exitCode,
                     2);
        }

        // Two statements of one period recorded in the same moment, the other by another computer while this one
        // was written: both stay recorded, as both went out, and the user and Verify name the one to void.
        Invoice first = remade->statement;
        first.number = QStringLiteral("S-3");
        Invoice other = remade->statement;
        other.number = QStringLiteral("S-4");
        // Another customer's statement of the same month overlaps nothing.
        Invoice otherCustomers = remade->statement;
        otherCustomers.number = QStringLiteral("S-9");
        otherCustomers.customer = QStringLiteral("別の会社");
        QVERIFY(ledger.store().value()->record(issueEntryOf(otherCustomers)));
        std::optional<qint64> otherId;
        const Result<IssueOutcome> raced =
            ledger.issue(first, QString(), IssueChannel::Pdf, dir.filePath(QStringLiteral("S-3.pdf")),
                         QByteArrayLiteral("%PDF-"), [&] {
                             const Result<std::unique_ptr<LedgerStore>> elsewhere =
                                 LedgerStore::openSqlite(ledger.databasePath(), LedgerAccess::ReadWrite);
                             const Result<LedgerEntry> recorded = elsewhere ? (*elsewhere)->record(issueEntryOf(other))
                                                                            : Result<LedgerEntry>(elsewhere.fault());
                             otherId = recorded ? std::optional(recorded->id) : std::nullopt;
                             return true;
                         });
        QVERIFY(raced && otherId);
        QCOMPARE(raced->recording, IssueRecording::Recorded);
        QVERIFY(raced->message && raced->message->contains(QStringLiteral("No. S-3")));
        const Result<LedgerCheck> checked = ledger.store().value()->check(QString(), QString());
        QVERIFY(checked);
        QList<ChainProblem> overlaps = checked->problems;
        overlaps.removeIf(
            [](const ChainProblem &problem) { return problem.kind != ChainProblem::Kind::StatementOverlap; });
        QCOMPARE(overlaps.size(), 1);
        QCOMPARE(overlaps.at(0).detail, QStringLiteral("S-3"));
        QCOMPARE(overlaps.at(0).otherEntryId, *otherId);
        // A batch checks each statement as one exported alone does.
        Invoice batched = remade->statement;
        batched.number = QStringLiteral("S-5");
        const QString batchedPdf = dir.filePath(QStringLiteral("S-5.pdf"));
        const GroupIssuing batch = ledger.issueGroup(
            {{batched, QString(), batchedPdf, QByteArrayLiteral("%PDF-"), QString()}}, IssueChannel::Pdf);
        QVERIFY(!batch.each.at(0).outcome && !QFile::exists(batchedPdf));
        ledger.close();
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
