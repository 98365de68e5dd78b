// The invoice file: what the writer writes and what the reader accepts or refuses.
#include "document/InvoiceFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace seikyu;

namespace {

RowCells row(CellValue date, CellValue name, CellValue solo, CellValue much, CellValue sums)
{
    return {date, name, solo, much, sums};
}

RowCells header()
{
    return row(QStringLiteral("日付"), QStringLiteral("項目"), QStringLiteral("単価"), QStringLiteral("個数"),
               QStringLiteral("価格"));
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
        QTest::addColumn<QString>("stored");
        QTest::newRow("御中") << QStringLiteral("株式会社山田 御中") << QStringLiteral("株式会社山田");
        QTest::newRow("様") << QStringLiteral("山田 様") << QStringLiteral("山田");
        QTest::newRow("neither") << QStringLiteral("山田殿") << QStringLiteral("山田殿");
        QTest::newRow("empty name") << QStringLiteral(" 御中") << QString();
        QTest::newRow("honorific alone") << QStringLiteral("様") << QString();
        QTest::newRow("two spaces") << QStringLiteral("山田  様") << QStringLiteral("山田 ");
    }
    void stripsTheHonorific()
    {
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QCOMPARE(customerName(shown), stored);
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
        page.from = QStringLiteral("100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行");
        page.full = QStringLiteral("\u0008御請求金額\n￥1,333");
        page.jgen = 1;
        page.tail = 1;
        page.plus = 1;
        const qint64 big = Q_INT64_C(9007199254740993); // not exact as a double
        page.rows = {header(),
                     row(QStringLiteral("04-30"), QStringLiteral("line\nfeed"), QStringLiteral("1000"), CellValue(big),
                         CellValue(qint64(1234))),
                     row(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("消費税"),
                         QStringLiteral("税込済み"))};
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
        QCOMPARE(c.rows.size(), 2); // the header row is the table's own
        QCOMPARE(c.rows[0][1].toString(), QStringLiteral("line\nfeed"));
        QCOMPARE(c.rows[0][3].typeId(), QMetaType::LongLong);
        QCOMPARE(c.rows[0][3].toLongLong(), big);
        QCOMPARE(c.rows[0][4], CellValue(QStringLiteral("1234"))); // an integer price is stored as its digits
        QCOMPARE(c.rows[1][4].toString(), QStringLiteral("税込済み"));
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
            R"({"head":3,"whom":null,"from":["a"],"full":{},"date":"2024-13-01",
                "item":[{"x":1},{"date":"05-01","much":2,"sums":null,"name":true},{}]})");
        QVERIFY(read.contents);
        QVERIFY(!read.contents->head && !read.contents->whom && !read.contents->from && !read.contents->full);
        QVERIFY(!read.contents->date);
        QCOMPARE(read.contents->rows.size(), 2);
        const RowCells &first = read.contents->rows.at(0);
        QCOMPARE(first[0].toString(), QStringLiteral("05-01"));
        QVERIFY(!first[1].isValid()); // a boolean is no cell value
        QVERIFY(!first[2].isValid()); // missing
        QCOMPARE(first[3].toLongLong(), 2);
        QVERIFY(!first[4].isValid()); // null
        for (const CellValue &cell : read.contents->rows.at(1))
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
