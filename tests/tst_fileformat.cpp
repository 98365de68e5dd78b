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

QJsonObject parse(const QByteArray &bytes)
{
    return QJsonDocument::fromJson(bytes).object();
}

} // namespace

class TestFileFormat : public QObject
{
    Q_OBJECT

private slots:
    void roundTripsEveryMember()
    {
        InvoicePage page;
        page.head = QStringLiteral("御請求書");
        page.date = QDate(2019, 4, 30);
        page.whomText = QStringLiteral("千代田商事 御中");
        page.whomHonorific = QStringLiteral("御中");
        page.from = QStringLiteral("100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行");
        page.full = QStringLiteral("\u0008御請求金額\n￥1,333");
        page.jgen = page.tail = page.plus = 1;
        page.rate = 10;
        page.hold = true;
        page.numb = QStringLiteral("2019-0042");
        page.dues = QDate(2019, 5, 31);
        page.note = QStringLiteral("振込手数料は\nご負担ください。");
        const qint64 big = Q_INT64_C(9007199254740993); // not exact as a double
        page.rows = {*ItemRow::makeHeader(), row("04-30", "line\nfeed", "1000", big, qint64(1234), TaxClass::Reduced),
                     row(" ", " ", " ", "消費税", "税込済み"), row({}, {}, "-12.5", {}, {}, TaxClass::Exempt)};
        const InvoiceReadResult read = readInvoice(writeInvoice(page));
        QVERIFY2(read.contents, qPrintable(read.error));
        const InvoiceContents &c = *read.contents;
        QCOMPARE(std::tuple(c.head, c.date, c.whom, c.from, c.full),
                 std::tuple(page.head, page.date, QStringLiteral("千代田商事"), page.from, page.full));
        QCOMPARE(std::tuple(c.jgen, c.tail, c.plus, c.rate, c.hold), std::tuple(true, 1, true, 10, true));
        QCOMPARE(std::tuple(c.numb, c.dues, c.note), std::tuple(page.numb, page.dues, page.note));
        QCOMPARE(c.rows.size(), 3); // the header row is the table's own
        QCOMPARE(c.rows[0].value(Column::Name).toString(), QStringLiteral("line\nfeed"));
        QCOMPARE(c.rows[0].value(Column::Much), CellValue(big));
        QCOMPARE(c.rows[0].value(Column::Sums), CellValue(QStringLiteral("1234")));
        QCOMPARE(c.rows[2].value(Column::Solo).toString(), QStringLiteral("-12.5"));
        const QList<TaxClass> classes{c.rows[0].taxClass(), c.rows[1].taxClass(), c.rows[2].taxClass()};
        QCOMPARE(classes, (QList<TaxClass>{TaxClass::Reduced, TaxClass::Standard, TaxClass::Exempt}));
    }

    void readsLeniently_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("read"); // jgen plus tail rate hold
        QTest::newRow("strings") << QByteArray(R"({"jgen":"1","plus":"0","tail":"1","rate":"10","hold":"1"})")
                                 << "1 0 1 10 1";
        QTest::newRow("missing") << QByteArray("{}") << "0 0 0 8 0";
        QTest::newRow("null") << QByteArray(R"({"jgen":null,"plus":null,"tail":null,"rate":null})") << "0 0 0 8 0";
        QTest::newRow("out of range") << QByteArray(R"({"jgen":7,"plus":-1,"tail":5,"rate":12})") << "1 1 -1 8 0";
        QTest::newRow("minus one") << QByteArray(R"({"tail":-1,"rate":5})") << "0 0 -1 8 0";
        QTest::newRow("signs in texts") << QByteArray(R"({"tail":"-1","plus":"+1"})") << "0 1 -1 8 0";
        QTest::newRow("fractions") << QByteArray(R"({"jgen":0.5,"tail":1.9})") << "0 0 1 8 0";
        QTest::newRow("booleans") << QByteArray(R"({"jgen":true,"plus":false,"hold":true})") << "1 0 0 8 1";
        QTest::newRow("containers") << QByteArray(R"({"jgen":[1],"tail":{"a":1},"rate":[10]})") << "0 0 0 8 0";
    }
    void readsLeniently()
    {
        QFETCH(QByteArray, json);
        const InvoiceReadResult read = readInvoice(json);
        QVERIFY(read.contents);
        const InvoiceContents &c = *read.contents;
        QTEST(QStringLiteral("%1 %2 %3 %4 %5").arg(c.jgen).arg(c.plus).arg(c.tail).arg(c.rate).arg(c.hold), "read");
    }

    void treatsWrongTypesAsAbsent()
    {
        const InvoiceReadResult read = readInvoice(
            R"({"head":3,"whom":null,"from":["a"],"full":{},"date":"2024-13-01","numb":12,"dues":"2027-02-30",
                "note":["a"],"item":[{"x":1},{"date":"05-01","much":2,"sums":null,"name":true},{"rate":5},
                {"rate":"0"}]})");
        QVERIFY(read.contents);
        const InvoiceContents &c = *read.contents;
        QVERIFY(!c.head && !c.whom && !c.from && !c.full && !c.date && !c.dues.isValid());
        QVERIFY(c.numb.isEmpty() && c.note.isEmpty());
        QCOMPARE(c.rows.size(), 3);
        // A boolean, a missing member and null are no cell values.
        QCOMPARE(c.rows.at(0).cells(), (RowCells{QStringLiteral("05-01"), {}, {}, qint64(2), {}}));
        // A row's unknown rate is the invoice's.
        QCOMPARE(c.rows.at(1).taxClass(), TaxClass::Standard);
        QCOMPARE(c.rows.at(2).taxClass(), TaxClass::Exempt);
    }

    void refusesWhatIsNoInvoice_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("hello");
        QTest::newRow("truncated") << QByteArray(R"({"head":"請求書","item":[{"date")");
        QTest::newRow("scalar") << QByteArray("42");
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
        QVERIFY(!read.contents && !read.error.isEmpty());
    }

    void readsALargeFile()
    {
        // About 50 MB of rows: read whole, every row kept.
        const QByteArray element =
            R"(,{"date":"05-01","name":"a long description of the work done","solo":"1000","much":"1","sums":"1000"})";
        const int rows = 50 * 1024 * 1024 / static_cast<int>(element.size());
        const InvoiceReadResult read = readInvoice("{\"item\":[{}" + element.repeated(rows) + "]}");
        QVERIFY(read.contents);
        QCOMPARE(read.contents->rows.size(), rows);
    }
};

QTEST_GUILESS_MAIN(TestFileFormat)
#include "tst_fileformat.moc"
