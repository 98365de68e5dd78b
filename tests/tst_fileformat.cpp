// The invoice file: what the writer writes and what the reader accepts or refuses.
#include "document/InvoiceFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace seikyu;

namespace {

ItemRow row(CellValue date, CellValue name, CellValue solo, CellValue much, CellValue sums,
            TaxClass taxClass = TaxClass::Standard)
{
    ItemRow made(date, name, solo, much, sums);
    made.setTaxClass(taxClass);
    return made;
}

ItemRow header()
{
    return *ItemRow::makeHeader();
}

QJsonObject parse(const QByteArray &bytes)
{
    return QJsonDocument::fromJson(bytes).object();
}

} // namespace

class TestFileFormat : public QObject
{
    Q_OBJECT

private slots:
    void writesExactlyNineMembers()
    {
        InvoicePage page;
        page.head = QStringLiteral("請求書");
        page.date = QDate(2024, 5, 1);
        page.whomText = QStringLiteral("山田 様");
        page.rows = {header()};
        const QJsonObject file = parse(writeInvoice(page));
        QCOMPARE(file.keys().size(), 9);
        for (const char *key : {"head", "date", "whom", "from", "full", "item", "jgen", "tail", "plus"})
            QVERIFY2(file.contains(QLatin1String(key)), key);
        QCOMPARE(file.value("date").toString(), QStringLiteral("2024-05-01"));
        // The header row is written by the same rules: its unit price holds no digit.
        const QJsonObject first = file.value("item").toArray().at(0).toObject();
        QCOMPARE(first.value("solo").toString(), QString());
        QCOMPARE(first.value("much").toString(), QStringLiteral("個数"));
        QCOMPARE(file.value("item").toArray().size(), 1);
        QVERIFY(writeInvoice(page).contains("\n    ")); // indented for people who read it
    }

    void stripsTheHonorific_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("honorific");
        QTest::addColumn<QString>("stored");
        QTest::newRow("御中") << QStringLiteral("株式会社山田 御中") << "御中" << QStringLiteral("株式会社山田");
        QTest::newRow("様") << QStringLiteral("山田 様") << "様" << QStringLiteral("山田");
        QTest::newRow("empty name") << QStringLiteral(" 御中") << "御中" << QString();
        QTest::newRow("two spaces") << QStringLiteral("山田  様") << "様" << QStringLiteral("山田 ");
        // A line composed without an honorific is the name, whatever it ends in.
        QTest::newRow("none chosen") << QStringLiteral("お客様") << "" << QStringLiteral("お客様");
        QTest::newRow("none, 御中 in the name") << QStringLiteral("山田 御中") << "" << QStringLiteral("山田 御中");
        QTest::newRow("neither") << QStringLiteral("山田殿") << "" << QStringLiteral("山田殿");
    }
    void stripsTheHonorific()
    {
        QFETCH(QString, shown);
        QFETCH(QString, honorific);
        QTEST(customerName(shown, honorific), "stored");
    }

    void writesAmountsAsTheFileExpects()
    {
        const QJsonObject a = encodeRow(row(QStringLiteral("05-01"), QStringLiteral("作業"), QStringLiteral("￥1,234"),
                                            CellValue(qint64(3)), CellValue(qint64(5000))));
        QCOMPARE(a.value("solo").toString(), QStringLiteral("1234"));
        QVERIFY(a.value("much").isDouble());
        QCOMPARE(a.value("much").toInteger(), 3);
        QCOMPARE(a.value("sums").toString(), QStringLiteral("5000"));
        const QJsonObject b = encodeRow(row({}, {}, {}, {}, QStringLiteral("5,000")));
        QCOMPARE(b.value("sums").toString(), QStringLiteral("5,000"));
        QCOMPARE(b.value("date").toString(), QString());
        QCOMPARE(b.value("solo").toString(), QString());
    }

    void roundTripsEveryMember()
    {
        InvoicePage page;
        page.head = QStringLiteral("御請求書");
        page.date = QDate(2019, 4, 30);
        page.whomText = QStringLiteral("千代田商事 御中");
        page.whomHonorific = QStringLiteral("御中");
        page.from = QStringLiteral("100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行");
        page.full = QStringLiteral("\u0008御請求金額\n￥1,333");
        page.jgen = 1;
        page.tail = 1;
        page.plus = 1;
        const qint64 big = Q_INT64_C(9007199254740993); // not exact as a double
        page.rate = 10;
        page.rows = {header(),
                     row(QStringLiteral("04-30"), QStringLiteral("line\nfeed"), QStringLiteral("1000"), CellValue(big),
                         CellValue(qint64(1234)), TaxClass::Reduced),
                     row(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("消費税"),
                         QStringLiteral("税込済み")),
                     row({}, {}, QStringLiteral("-12.5"), {}, {}, TaxClass::Exempt)};
        const InvoiceReadResult read = readInvoice(writeInvoice(page));
        QVERIFY2(read.contents, qPrintable(read.error));
        const InvoiceContents &c = *read.contents;
        QCOMPARE(c.head, page.head);
        QCOMPARE(c.date, page.date);
        QCOMPARE(c.whom, QStringLiteral("千代田商事"));
        QCOMPARE(c.from, page.from);
        QCOMPARE(c.full, page.full);
        QCOMPARE(c.jgen, true);
        QCOMPARE(c.tail, 1);
        QCOMPARE(c.plus, true);
        QCOMPARE(c.rate, 10);
        QCOMPARE(c.rows.size(), 3); // the header row is the table's own
        QCOMPARE(c.rows[0].value(Column::Name).toString(), QStringLiteral("line\nfeed"));
        QCOMPARE(c.rows[0].value(Column::Much).typeId(), QMetaType::LongLong);
        QCOMPARE(c.rows[0].value(Column::Much).toLongLong(), big);
        // An integer price is stored as its digits.
        QCOMPARE(c.rows[0].value(Column::Sums), CellValue(QStringLiteral("1234")));
        QCOMPARE(c.rows[1].value(Column::Sums).toString(), QStringLiteral("税込済み"));
        QCOMPARE(c.rows[2].value(Column::Solo).toString(), QStringLiteral("-12.5"));
        const QList<TaxClass> classes{c.rows[0].taxClass(), c.rows[1].taxClass(), c.rows[2].taxClass()};
        QCOMPARE(classes, (QList<TaxClass>{TaxClass::Reduced, TaxClass::Standard, TaxClass::Exempt}));
    }

    void taxRateMembersAreOptional()
    {
        // An invoice at 8 % with no marked row writes exactly what invoices always held.
        InvoicePage page;
        page.rows = {header(), row(QStringLiteral("05-01"), QStringLiteral("a"), QStringLiteral("1"), {}, {})};
        QVERIFY(!writeInvoice(page).contains("rate"));
        page.rate = 10;
        page.rows.append(row({}, {}, {}, {}, {}, TaxClass::Reduced));
        const QJsonObject file = parse(writeInvoice(page));
        QCOMPARE(file.value("rate").toInt(), 10);
        QVERIFY(!file.value("item").toArray().at(1).toObject().contains("rate"));
        QCOMPARE(file.value("item").toArray().at(2).toObject().value("rate").toInt(), 8);
        // Read back leniently: only 10 is another rate; a row's unknown rate is the invoice's.
        const InvoiceReadResult odd = readInvoice(R"({"rate":"10","item":[{},{"rate":5},{"rate":"0"}]})");
        QCOMPARE(odd.contents->rate, 10);
        QCOMPARE(odd.contents->rows.at(0).taxClass(), TaxClass::Standard);
        QCOMPARE(odd.contents->rows.at(1).taxClass(), TaxClass::Exempt);
        QCOMPARE(readInvoice(R"({"rate":12})").contents->rate, 8);
    }

    void readsLeniently_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("jgen");
        QTest::addColumn<bool>("plus");
        QTest::addColumn<int>("tail");
        QTest::newRow("strings") << QByteArray(R"({"jgen":"1","plus":"0","tail":"1"})") << true << false << 1;
        QTest::newRow("missing") << QByteArray("{}") << false << false << 0;
        QTest::newRow("null") << QByteArray(R"({"jgen":null,"plus":null,"tail":null})") << false << false << 0;
        QTest::newRow("out of range") << QByteArray(R"({"jgen":7,"plus":-1,"tail":5})") << true << true << -1;
        QTest::newRow("minus one") << QByteArray(R"({"tail":-1})") << false << false << -1;
        QTest::newRow("fractions") << QByteArray(R"({"jgen":0.5,"tail":1.9})") << false << false << 1;
        QTest::newRow("booleans") << QByteArray(R"({"jgen":true,"plus":false})") << true << false << 0;
        QTest::newRow("containers") << QByteArray(R"({"jgen":[1],"tail":{"a":1}})") << false << false << 0;
    }
    void readsLeniently()
    {
        QFETCH(QByteArray, json);
        const InvoiceReadResult read = readInvoice(json);
        QVERIFY(read.contents);
        QTEST(read.contents->jgen, "jgen");
        QTEST(read.contents->plus, "plus");
        QTEST(read.contents->tail, "tail");
    }

    void treatsWrongTypesAsAbsent()
    {
        const InvoiceReadResult read = readInvoice(
            R"({"head":3,"whom":null,"from":["a"],"full":{},"date":"2024-13-01","numb":12,"dues":"2027-02-30",
                "note":["a"],"item":[{"x":1},{"date":"05-01","much":2,"sums":null,"name":true},{}]})");
        QVERIFY(read.contents);
        QVERIFY(!read.contents->head && !read.contents->whom && !read.contents->from && !read.contents->full);
        QVERIFY(!read.contents->date && !read.contents->dues.isValid());
        QVERIFY(read.contents->numb.isEmpty() && read.contents->note.isEmpty());
        QCOMPARE(read.contents->rows.size(), 2);
        const RowCells &first = read.contents->rows.at(0).cells();
        QCOMPARE(first[0].toString(), QStringLiteral("05-01"));
        QVERIFY(!first[1].isValid()); // a boolean is no cell value
        QVERIFY(!first[2].isValid()); // missing
        QCOMPARE(first[3].toLongLong(), 2);
        QVERIFY(!first[4].isValid()); // null
        for (const CellValue &cell : read.contents->rows.at(1).cells())
            QVERIFY(!cell.isValid());
    }

    void refusesWhatIsNoInvoice_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("hello");
        QTest::newRow("truncated") << QByteArray(R"({"head":"請求書","item":[{"date")");
        QTest::newRow("scalar") << QByteArray("42");
        QTest::newRow("string") << QByteArray(R"("invoice")");
        QTest::newRow("array") << QByteArray("[]");
        QTest::newRow("item not array") << QByteArray(R"({"item":"rows"})");
        QTest::newRow("item of scalars") << QByteArray(R"({"item":[{},1]})");
        QTest::newRow("bad utf-8") << QByteArray("{\"head\":\"\xff\xfe\"}");
        QTest::newRow("deep nesting") << QByteArray(100000, '[');
    }
    void refusesWhatIsNoInvoice()
    {
        QFETCH(QByteArray, bytes);
        const InvoiceReadResult read = readInvoice(bytes);
        QVERIFY(!read.contents);
        QVERIFY(!read.error.isEmpty());
    }

    void readsALargeFile()
    {
        // About 50 MB of rows: read whole, no crash, every row kept.
        QByteArray bytes = R"({"item":[{})";
        const QByteArray element =
            R"(,{"date":"05-01","name":"a long description of the work done","solo":"1000","much":"1","sums":"1000"})";
        const int rows = 50 * 1024 * 1024 / static_cast<int>(element.size());
        bytes.reserve(rows * element.size() + 16);
        for (int i = 0; i < rows; ++i)
            bytes += element;
        bytes += "]}";
        const InvoiceReadResult read = readInvoice(bytes);
        QVERIFY(read.contents);
        QCOMPARE(read.contents->rows.size(), rows);
    }
};

QTEST_GUILESS_MAIN(TestFileFormat)
#include "tst_fileformat.moc"
