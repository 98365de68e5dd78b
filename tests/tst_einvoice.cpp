// The JP PINT e-invoice without widgets: the mapping of an invoice's money onto UBL, checked against the
// schema and the Japanese rules for every kind of table; what is refused and why; the customer's
// electronic address; the invoice period and the units.
#include "einvoice/BankAccount.h"
#include "einvoice/EInvoiceMapping.h"
#include "einvoice/InvoicePeriod.h"
#include "einvoice/PeppolId.h"
#include "einvoice/TaxExclusiveLines.h"
#include "einvoice/UnitCodes.h"
#include "invoice/InvoiceFile.h"
#include "sections/RegistrationNumber.h"
#include "support/EInvoiceChecks.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <algorithm>
#include <memory>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// A corporate number with a valid check digit: the first digit made to fit the other twelve.
QString corporateNumber(const QString &twelve)
{
    for (int first = 1; first <= 9; ++first) {
        const QString number = QString::number(first) + twelve;
        if (hasCorporateCheckDigit(QLatin1Char('T') + number))
            return number;
    }
    return {};
}

struct Item
{
    QString name;
    QString unitPrice; ///< as typed; empty for a row with a price only
    QString quantity;  ///< as typed, unit included
    qint64 price = 0;
    TaxClass taxClass = TaxClass::Standard;
    QString date = QStringLiteral("12-01");
};

struct Table
{
    QList<Item> items;
    int rate = 10;
    bool addTax = true;
    TaxRounding rounding = TaxRounding::HalfAwayFromZero;
    bool withholding = false;
};

/// The sums the page shows for the table, as Add Sum writes them on a qualified invoice.
QList<SumsLine> pageSums(const Table &table)
{
    SumsInput input;
    for (const Item &item : table.items)
        input.items.append({item.price, item.taxClass});
    input.rate = table.rate;
    input.addTax = table.addTax;
    input.rounding = table.rounding;
    input.qualified = true;
    input.withholding = table.withholding;
    return computeSums(input).value();
}

qint64 sumsValue(const QList<SumsLine> &lines, const QString &label)
{
    for (const SumsLine &line : lines) {
        if (line.label == label)
            return amountOf(line.value);
    }
    return -1;
}

/// A qualified invoice with everything JP PINT needs, totalled as the page totals it.
Invoice invoiceOf(const Table &table)
{
    Invoice contents;
    contents.number = QStringLiteral("INV-2026-0042");
    contents.date = QDate(2026, 12, 5);
    contents.dueDate = QDate(2026, 12, 31);
    contents.customer = QStringLiteral("株式会社丸の内商事");
    contents.customerElectronicAddress = QStringLiteral("0188:") + corporateNumber(QStringLiteral("234567890123"));
    contents.issuer = QStringLiteral("〒100-0005\n東京都千代田区丸の内1-1\n山田食品株式会社\n03-1234-5678\nみずほ銀行 "
                                     "丸の内支店 普通 1234567\nT8010001000003");
    contents.taxRate = table.rate;
    contents.taxOnTop = table.addTax;
    contents.withholding = table.withholding;
    for (const Item &item : table.items) {
        ItemRow row(item.date, item.name, item.unitPrice, item.quantity, mark(item.price));
        row.setTaxClass(item.taxClass);
        contents.rows.append(row);
    }
    const QString blank = QStringLiteral(" ");
    const QList<SumsLine> sums = pageSums(table);
    for (const SumsLine &line : sums)
        contents.rows.append(ItemRow(blank, blank, blank, line.label, line.value));
    contents.amountBox = QStringLiteral("\u0008御請求金額\n") + mark(amountOf(sums.last().value));
    return contents;
}

const XmlElement *subtotalOf(const XmlElement &invoice, const QString &category)
{
    for (const XmlElement *s : invoice.child("cac:TaxTotal")->childrenNamed("cac:TaxSubtotal")) {
        if (s->find("cac:TaxCategory/cbc:ID")->text == category)
            return s;
    }
    return nullptr;
}

constexpr qint64 Huge = 8'000'000'000'000'000'000; // with 10 % tax still within 64 bits

} // namespace

Q_DECLARE_METATYPE(Table)

class EInvoiceTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<UblSchema> m_schema;

private slots:
    void initTestCase()
    {
        m_schema = std::make_unique<UblSchema>();
        QVERIFY2(m_schema->isLoaded(), "the vendored UBL 2.1 schema compiles");
    }

    // ---- the money ----
    void theMoneyIsThePagesAndObeysJpPint_data()
    {
        QTest::addColumn<Table>("table");
        QTest::addColumn<QStringList>("categories");
        const auto S = TaxClass::Standard;
        const auto R = TaxClass::Reduced;
        const auto E = TaxClass::Exempt;
        QTest::newRow("one rate") << Table{{{"デザイン料", "50000", "1式", 50000, S},
                                            {"修正作業", "8000", "3時間", 24000, S}}}
                                  << QStringList{"S"};
        QTest::newRow("two rates and exempt") << Table{{{"米 5kg", "2480", "10袋", 24800, R},
                                                        {"配送料", "1100", "2回", 2200, S},
                                                        {"収入印紙代", "200", "1枚", 200, E},
                                                        {"醤油", "398", "12本", 4776, R, "12-03"}}}
                                              << QStringList{"S", "AA", "E"};
        QTest::newRow("tax included, half up")
            << Table{{{"弁当", "540", "7個", 3780, R}, {"缶ビール", "228", "6本", 1368, S}, {"割り箸", "", "", 110, S}},
                     10,
                     false}
            << QStringList{"S", "AA"};
        QTest::newRow("tax added, rounded down")
            << Table{{{"部品A", "333", "7個", 2331, S}, {"部品B", "77", "3個", 231, R}}, 10, true, TaxRounding::Down}
            << QStringList{"S", "AA"};
        QTest::newRow("tax added, rounded up")
            << Table{{{"部品A", "333", "7個", 2331, S}, {"部品B", "77", "3個", 231, R}}, 10, true, TaxRounding::Up}
            << QStringList{"S", "AA"};
        QTest::newRow("tax included, rounded down")
            << Table{{{"弁当", "500", "4個", 2000, R}, {"お茶", "150", "4本", 600, R}}, 10, false, TaxRounding::Down}
            << QStringList{"AA"};
        QTest::newRow("discount row") << Table{{{"月額保守", "30000", "1式", 30000, S},
                                                {"値引き", "", "", -5000, S},
                                                {"茶葉", "1200", "3袋", 3600, R}}}
                                      << QStringList{"S", "AA"};
        QTest::newRow("tax included with a discount")
            << Table{{{"コース料理", "5500", "4名", 22000, S}, {"値引き", "", "", -2200, S}}, 10, false}
            << QStringList{"S"};
        QTest::newRow("fractional quantities") << Table{{{"作業", "3333", "1.5時間", 5000, S},
                                                         {"出張", "12500.5", "2.5日", 31251, S},
                                                         {"ネジ", "0.75", "1000個", 750, S}}}
                                               << QStringList{"S"};
        QTest::newRow("64-bit totals") << Table{{{"大口", "", "", Huge, S}}} << QStringList{"S"};
        QTest::newRow("64-bit totals, two rates")
            << Table{{{"大口A", "", "", Huge / 2, S}, {"大口B", "", "", Huge / 2, R}}} << QStringList{"S", "AA"};
        QTest::newRow("reduced-rate rows on an invoice at 8 %")
            << Table{{{"野菜", "300", "10個", 3000, R}, {"果物", "450", "4個", 1800, R}}, 8} << QStringList{"AA"};
        QTest::newRow("withholding")
            << Table{{{"原稿料", "", "", 100000, S}}, 10, true, TaxRounding::HalfAwayFromZero, true}
            << QStringList{"S"};
    }
    void theMoneyIsThePagesAndObeysJpPint()
    {
        QFETCH(Table, table);
        QFETCH(QStringList, categories);
        const EInvoice invoice = mapEInvoice(invoiceOf(table), QDate(2026, 12, 5));
        QVERIFY2(invoice.ok(), qPrintable(invoice.refusals.join(" / ")));
        const XmlElement &doc = invoice.document;

        const QStringList faults = jpRuleViolations(doc);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
        const QStringList schema = m_schema->violations(eInvoiceXml(invoice));
        if (qEnvironmentVariableIsSet("SEIKYU_DUMP_EINVOICE"))
            qInfo().noquote() << eInvoiceXml(invoice);
        QVERIFY2(schema.isEmpty(), qPrintable(schema.join("\n")));

        // Equal to the page: the total, each rate's tax, each rate's amount.
        const QList<SumsLine> sums = pageSums(table);
        QCOMPARE(yenOf(doc.find("cac:LegalMonetaryTotal/cbc:TaxInclusiveAmount")), sumsValue(sums, SumsLabel::Total));
        QCOMPARE(yenOf(doc.find("cac:LegalMonetaryTotal/cbc:PayableAmount")), sumsValue(sums, SumsLabel::Total));
        QStringList written;
        for (const XmlElement *s : doc.child("cac:TaxTotal")->childrenNamed("cac:TaxSubtotal"))
            written.append(s->find("cac:TaxCategory/cbc:ID")->text);
        QCOMPARE(written, categories);
        for (const auto &[category, rate] : {std::pair{QStringLiteral("S"), 10}, std::pair{QStringLiteral("AA"), 8}}) {
            const XmlElement *subtotal = subtotalOf(doc, category);
            if (!subtotal)
                continue;
            const qint64 tax = sumsValue(sums, table.addTax ? SumsLabel::taxAt(rate) : SumsLabel::taxWithinAt(rate));
            const qint64 base = sumsValue(sums, SumsLabel::baseAt(rate));
            QCOMPARE(yenOf(subtotal->child("cbc:TaxAmount")), tax);
            QCOMPARE(yenOf(subtotal->child("cbc:TaxableAmount")), table.addTax ? base : base - tax);
        }
        if (const XmlElement *exempt = subtotalOf(doc, "E")) {
            QCOMPARE(yenOf(exempt->child("cbc:TaxableAmount")), sumsValue(sums, SumsLabel::Exempt));
            QCOMPARE(yenOf(exempt->child("cbc:TaxAmount")), 0);
        }
        QCOMPARE(doc.childrenNamed("cac:InvoiceLine").size(), table.items.size());

        if (table.withholding) {
            const QString note = doc.child("cbc:Note")->text;
            QVERIFY2(note.contains(SumsLabel::Withholding) && note.contains(SumsLabel::Payable), qPrintable(note));
            QVERIFY(note.contains(mark(sumsValue(sums, SumsLabel::Payable), "ja_JP")));
            QCOMPARE(invoice.warnings.size(), 1);
        } else {
            QVERIFY(invoice.warnings.isEmpty());
        }
    }

    void theChecksCatchWhatIsWrong()
    {
        const Table table{{{"【2026年12月分】", "", "", 0, TaxClass::Standard}, // a heading: said in the note
                           {"米 5kg", "2480", "10袋", 24800, TaxClass::Reduced},
                           {"配送料", "1100", "2回", 2200}}};
        const EInvoice good = mapEInvoice(invoiceOf(table), QDate(2026, 12, 5));
        QVERIFY(good.ok());
        EInvoice swapped = good;
        QList<XmlElement> &children = swapped.document.children;
        const auto taxAt = std::find_if(children.begin(), children.end(),
                                        [](const XmlElement &e) { return e.name == "cac:TaxTotal"; });
        std::iter_swap(taxAt, taxAt + 1);
        QVERIFY(!m_schema->violations(eInvoiceXml(swapped)).isEmpty());
        QVERIFY(!m_schema->violations("<Invoice><cbc:RegistrationName></>").isEmpty()); // not even XML
        QVERIFY(jpRuleViolations(swapped.document).join(" ").contains("out of order"));
        EInvoice offByOne = good;
        for (XmlElement &child : offByOne.document.children) {
            if (child.name == "cac:InvoiceLine") {
                child.children[2].text = QString::number(child.children[2].text.toLongLong() + 1);
                break;
            }
        }
        QVERIFY(m_schema->violations(eInvoiceXml(offByOne)).isEmpty());
        QVERIFY(jpRuleViolations(offByOne.document).join(" ").contains("LineExtensionAmount"));
    }

    void linesCarryTheirUnitsNamesAndMarks()
    {
        const Table table{{{"【2026年12月分】", "", "", 0, TaxClass::Standard}, // a heading: said in the note
                           {"米 5kg", "2480", "10袋", 24800, TaxClass::Reduced},
                           {"作業", "4000", "2.50時間", 10000, TaxClass::Standard},
                           {"出張", "20000", "2日", 40000, TaxClass::Standard},
                           {"設置", "15000", "1式", 15000, TaxClass::Standard},
                           {"", "", "", 0, TaxClass::Standard, ""}, // a blank row between items: no line
                           {"値引き", "", "", -3000, TaxClass::Standard}}};
        Invoice contents = invoiceOf(table);
        contents.customerAddress = {QStringLiteral("100-0005"),
                                    QStringLiteral("東京都千代田区丸の内1-1-1\n丸の内ビル 12階"),
                                    QStringLiteral("経理部"), QStringLiteral("部長 山田太郎")};
        const EInvoice invoice = mapEInvoice(contents, QDate(2026, 12, 5));
        QVERIFY2(invoice.ok(), qPrintable(invoice.refusals.join(" / ")));
        QCOMPARE(m_schema->violations(eInvoiceXml(invoice)), QStringList());
        QCOMPARE(jpRuleViolations(invoice.document), QStringList());
        QCOMPARE(invoice.document.child("cbc:Note")->text, QStringLiteral("【2026年12月分】\n※は軽減税率対象"));
        const XmlElement *buyer = invoice.document.find("cac:AccountingCustomerParty/cac:Party");
        QCOMPARE((QStringList{buyer->find("cac:PostalAddress/cbc:StreetName")->text,
                              buyer->find("cac:PostalAddress/cbc:AdditionalStreetName")->text,
                              buyer->find("cac:PostalAddress/cbc:PostalZone")->text,
                              buyer->find("cac:Contact/cbc:Name")->text}),
                 (QStringList{"東京都千代田区丸の内1-1-1", "丸の内ビル 12階", "100-0005", "経理部 部長 山田太郎"}));
        const auto lines = invoice.document.childrenNamed("cac:InvoiceLine");
        QCOMPARE(lines.at(0)->find("cac:Item/cbc:Name")->text, QStringLiteral("米 5kg ※"));
        QCOMPARE(lines.size(), 5);
        const auto quantity = [&lines](int line) { return lines.at(line)->child("cbc:InvoicedQuantity"); };
        const auto unitPrice = [&lines](int line) { return lines.at(line)->find("cac:Price/cbc:PriceAmount")->text; };
        QCOMPARE((QStringList{quantity(0)->attributeValue("unitCode"), quantity(1)->attributeValue("unitCode"),
                              quantity(2)->attributeValue("unitCode"), quantity(3)->attributeValue("unitCode")}),
                 (QStringList{"H87", "HUR", "DAY", "LS"}));
        // 4,000 × 2.5 is the price exactly: the unit price is stated as typed. A discount: a negative
        // quantity at a positive price.
        QCOMPARE((QStringList{unitPrice(0), quantity(1)->text, unitPrice(1), quantity(4)->text, unitPrice(4),
                              lines.at(4)->child("cbc:LineExtensionAmount")->text}),
                 (QStringList{"2480", "2.5", "4000", "-1", "3000", "-3000"}));
        QVERIFY(invoice.document.child("cbc:Note")->text.contains(QStringLiteral("※は軽減税率")));
        // The seller's electronic address is its registration number; the buyer's as typed.
        const XmlElement *seller = invoice.document.find("cac:AccountingSupplierParty/cac:Party/cbc:EndpointID");
        QCOMPARE((QStringList{seller->attributeValue("schemeID"), seller->text,
                              buyer->child("cbc:EndpointID")->attributeValue("schemeID")}),
                 (QStringList{"0221", "T8010001000003", "0188"}));
        QCOMPARE(invoice.document.find("cac:PaymentTerms/cbc:Note")->text,
                 QStringLiteral("みずほ銀行 丸の内支店 普通 1234567"));
        QCOMPARE(invoice.document.find("cac:InvoicePeriod/cbc:StartDate")->text, QStringLiteral("2026-12-01"));
    }

    // ---- refusals ----
    void refusesWhatCannotBeAJpPintInvoice_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("no number") << QString("numb") << "invoice number";
        QTest::newRow("no registration number") << QString("regn") << "registration number";
        QTest::newRow("no buyer address") << QString("peer") << "electronic address";
        QTest::newRow("a wrong buyer address") << QString("bad peer") << "check digit";
        QTest::newRow("not totalled") << QString("sums") << "does not end with a total";
        QTest::newRow("stale amount") << QString("full") << "御請求金額";
        QTest::newRow("items changed after the sums") << QString("item") << "add them again";
        QTest::newRow("a price without a name") << QString("name") << "no name";
        QTest::newRow("no due date nor bank") << QString("dues") << "when nor where";
        QTest::newRow("contained tax JP PINT cannot state") << QString("inside down") << "四捨五入";
        // Its standard rows would be stated as reduced-rate supplies (AA), which they are not.
        QTest::newRow("the former standard rate of 8 %") << QString("rate 8") << "former standard rate";
        // What XML cannot carry is refused with the member named, never written malformed.
        QTest::newRow("a control character") << QString("ctrl") << "“whom” holds a character";
        QTest::newRow("a lone surrogate") << QString("surrogate") << "“item 1 name”";
        QTest::newRow("a noncharacter") << QString("fffe") << "U+FFFE";
        QTest::newRow("due year -1") << QString("year -1") << "“dues”";
        QTest::newRow("invoice year 10000") << QString("year 10000") << "“date”";
    }
    void refusesWhatCannotBeAJpPintInvoice()
    {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        Table table{{{"弁当", "500", "4個", 2000, TaxClass::Reduced}, {"お茶", "150", "4本", 600, TaxClass::Reduced}}};
        if (damage == "inside down")
            table = Table{{{"ランチ", "1099", "1食", 1099, TaxClass::Standard}}, 10, false, TaxRounding::Down};
        if (damage == "rate 8")
            table = Table{{{"野菜", "300", "10個", 3000, TaxClass::Standard}}, 8};
        Invoice contents = invoiceOf(table);
        if (damage == "numb")
            contents.number.clear();
        else if (damage == "regn")
            contents.issuer = contents.issuer->section(QLatin1Char('\n'), 0, 4);
        else if (damage == "peer")
            contents.customerElectronicAddress.clear();
        else if (damage == "bad peer")
            contents.customerElectronicAddress = QStringLiteral("0188:1234567890123");
        else if (damage == "sums")
            contents.rows = contents.rows.mid(0, 2);
        else if (damage == "full")
            contents.amountBox = QStringLiteral("\u0008御請求金額\n￥9,999");
        else if (damage == "item")
            contents.rows[0].setValue(Column::Sums, QStringLiteral("￥2,100"));
        else if (damage == "name")
            contents.rows[1].setValue(Column::Name, QString());
        else if (damage == "ctrl")
            contents.customer = QStringLiteral("株式会社\u0001丸の内");
        else if (damage == "surrogate")
            contents.rows[0].setValue(Column::Name, QStringLiteral("弁当") + QChar(0xD800));
        else if (damage == "fffe")
            contents.remarks = QStringLiteral("備考\uFFFE");
        else if (damage == "year -1")
            contents.dueDate = QDate(-1, 12, 31);
        else if (damage == "year 10000")
            contents.date = QDate(10000, 1, 1);
        else if (damage == "dues") {
            contents.dueDate = QDate();
            contents.issuer = contents.issuer->replace(QStringLiteral("みずほ銀行 丸の内支店 普通 1234567"), QString());
        }
        const EInvoice invoice = mapEInvoice(contents, QDate(2026, 12, 5));
        QVERIFY(!invoice.ok());
        QVERIFY2(invoice.refusals.join(" ").contains(named), qPrintable(invoice.refusals.join(" / ")));
        QVERIFY(eInvoiceXml(invoice).isEmpty());
    }

    void namesEverythingMissingAtOnce()
    {
        Invoice contents;
        const EInvoice invoice = mapEInvoice(contents, QDate(2026, 12, 5));
        QVERIFY(invoice.refusals.size() >= 5);
    }

    // ---- the customer's electronic address ----
    void electronicAddressesAreCheckedAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("normalised");
        const QString good = corporateNumber("234567890123");
        const int empty = int(PeppolIdCheck::State::Empty), incomplete = int(PeppolIdCheck::State::Incomplete),
                  invalid = int(PeppolIdCheck::State::Invalid), valid = int(PeppolIdCheck::State::Valid);
        QTest::newRow("nothing") << "" << empty << "";
        QTest::newRow("corporate number") << "0188:" + good << valid << "0188:" + good;
        QTest::newRow("corporate number, full width and spaced")
            << QStringLiteral("０１８８：") + good.left(4) + " " + good.mid(4) << valid << "0188:" + good;
        QTest::newRow("bare corporate number") << good << valid << "0188:" + good;
        QTest::newRow("wrong check digit") << "0188:1234567890123" << invalid << "";
        QTest::newRow("corporate number being typed") << "0188:12345" << incomplete << "";
        QTest::newRow("corporate number too long") << "0188:" + good + "4" << invalid << "";
        QTest::newRow("letters in a corporate number") << "0188:12345A" << invalid << "";
        QTest::newRow("registration number") << "0221:T1234567890123" << valid << "0221:T1234567890123";
        QTest::newRow("registration number, lower t") << "0221:t1234567890123" << valid << "0221:T1234567890123";
        QTest::newRow("bare registration number") << "T1234567890123" << valid << "0221:T1234567890123";
        QTest::newRow("registration number without T") << "0221:1234567890123" << invalid << "";
        QTest::newRow("registration number being typed") << "0221:T123" << incomplete << "";
        QTest::newRow("scheme being typed") << "02" << incomplete << "";
        QTest::newRow("unknown scheme") << "9999:123" << invalid << "";
    }
    void electronicAddressesAreCheckedAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, state);
        QFETCH(QString, normalised);
        const PeppolIdCheck check = checkPeppolId(typed);
        QCOMPARE(int(check.state), state);
        QCOMPARE(check.id.text(), normalised);
        QCOMPARE(check.reason.isEmpty(), state == int(PeppolIdCheck::State::Valid) || state == 0);
    }

    // ---- the period, the units, the tax left out ----
    void thePeriodComesFromTheRowsOrTheMonth()
    {
        const QDate invoiceDate(2026, 1, 10);
        DatePeriod period = invoicePeriod({"12-20", "01-05", "", "手数料"}, invoiceDate);
        QCOMPARE(std::pair(period.start, period.end), std::pair(QDate(2025, 12, 20), QDate(2026, 1, 5)));
        period = invoicePeriod({"", " "}, invoiceDate);
        QCOMPARE(std::pair(period.start, period.end), std::pair(QDate(2026, 1, 1), QDate(2026, 1, 31)));
        QCOMPARE(rowDate(QStringLiteral("１２月３日"), invoiceDate), QDate(2025, 12, 3));
        QCOMPARE(rowDate("2026/01/07", invoiceDate), QDate(2026, 1, 7));
        QVERIFY(!rowDate("13-40", invoiceDate).isValid());
    }

    void bankLinesBecomeAnAccount_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("account"); // bank|code|branch|code|type|number|holder; "" when none
        const char *const cases[][3] = {
            {"plain", "みずほ銀行 丸の内支店 普通 1234567", "みずほ銀行||丸の内支店||普通|1234567|"},
            {"codes and holder", "三菱UFJ銀行(0005) 渋谷支店(135) 当座 7654321 カ）ヤマダシヨウジ",
             "三菱UFJ銀行|0005|渋谷支店|135|当座|7654321|カ)ヤマダシヨウジ"},
            {"full width, 預金, 口座番号", "城南信用金庫（１２３４） 本店（００１） 普通預金 口座番号１２３４５６７",
             "城南信用金庫|1234|本店|001|普通|1234567|"},
            {"ゆうちょ's branch", "ゆうちょ銀行 〇一八店 普通 1234567", "ゆうちょ銀行||〇一八店||普通|1234567|"},
            {"six digits", "みずほ銀行 丸の内支店 普通 123456", ""},
            {"no type", "みずほ銀行 丸の内支店 1234567", ""},
            {"free text", "お振込手数料はご負担ください", ""},
        };
        for (const auto &[name, line, account] : cases)
            QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(account);
    }
    void bankLinesBecomeAnAccount()
    {
        QFETCH(QString, line);
        QFETCH(QString, account);
        const std::optional<BankAccount> read = parseBankAccount(line);
        const QString fields = read ? QStringList{read->bank, read->bankCode, read->branch, read->branchCode,
                                                  read->type, read->number,   read->holder}
                                          .join(QLatin1Char('|'))
                                    : QString();
        QCOMPARE(fields, account);
    }

    void theAccountIsACreditTransfer()
    {
        Invoice contents = invoiceOf(Table{{{"デザイン料", "50000", "1式", 50000, TaxClass::Standard}}});
        contents.issuer = contents.issuer->replace(
            QStringLiteral("みずほ銀行 丸の内支店 普通 1234567"),
            QStringLiteral("みずほ銀行(0001) 丸の内支店(110) 普通 1234567 ヤマダシヨクヒン(カ"));
        const EInvoice invoice = mapEInvoice(contents, QDate(2026, 12, 5));
        QVERIFY(invoice.ok());
        QCOMPARE(m_schema->violations(eInvoiceXml(invoice)), QStringList());
        const XmlElement *means = invoice.document.child("cac:PaymentMeans");
        QCOMPARE((QStringList{means->child("cbc:PaymentMeansCode")->text,
                              means->find("cac:PayeeFinancialAccount/cbc:ID")->text,
                              means->find("cac:PayeeFinancialAccount/cbc:Name")->text,
                              means->find("cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cbc:ID")->text}),
                 (QStringList{"30", "1234567", "ヤマダシヨクヒン(カ", "0001110"}));
        // The line as the page prints it stays in the terms.
        QVERIFY(
            invoice.document.find("cac:PaymentTerms/cbc:Note")->text.startsWith(QStringLiteral("みずほ銀行(0001)")));
    }

    void unitsHaveTheirCodes_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("code");
        for (const char *piece : {"3個", "2本", "10枚", "1台", "4箱", "5点", "7", "12袋"})
            QTest::newRow(piece) << QString::fromUtf8(piece) << "H87";
        QTest::newRow("hours") << QString("1.5時間") << "HUR";
        QTest::newRow("days") << QString("２日") << "DAY";
        for (const char *one : {"3件", "2回"})
            QTest::newRow(one) << QString::fromUtf8(one) << "C62";
        for (const char *lumpSum : {"1式", "一式"})
            QTest::newRow(lumpSum) << QString::fromUtf8(lumpSum) << "LS";
        for (const char *months : {"3ヶ月", "３か月", "2カ月", "6ケ月", "1人月"})
            QTest::newRow(months) << QString::fromUtf8(months) << "MON";
        for (const char *kilograms : {"5kg", "5KG", "5㎏", "2キロ"})
            QTest::newRow(kilograms) << QString::fromUtf8(kilograms) << "KGM";
    }
    void unitsHaveTheirCodes()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, code);
        QCOMPARE(unitCodeOf(splitQuantity(quantity).unit), code);
    }

    void containedTaxIsSharedOutExactly()
    {
        const std::optional<QList<qint64>> nets =
            taxExclusiveAmounts({{1000, 10}, {333, 10}, {-100, 10}, {540, 8}, {200, 0}}, {{10, 112}, {8, 40}});
        QVERIFY(nets);
        QCOMPARE(std::tuple(nets->at(0) + nets->at(1) + nets->at(2), nets->at(3), nets->at(4)),
                 std::tuple(qint64(1233 - 112), qint64(500), qint64(200)));
        QVERIFY(!taxExclusiveAmounts({{0, 10}}, {{10, 5}})); // a tax on nothing
    }
};

QTEST_GUILESS_MAIN(EInvoiceTest)
#include "tst_einvoice.moc"
