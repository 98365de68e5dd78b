// One invoice without any widget, linking the invoice library alone: amounts as typed, currency text, row
// prices, tax and withholding, the sums rows and what the items add up to; the dates in western and
// Japanese era form; what the file writer writes and what the reader accepts, refuses or leaves absent; the rows
// as a model and the undo steps that change them.
#include "invoice/InvoiceFile.h"
#include "invoice/InvoiceModel.h"
#include "invoice/InvoiceSums.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "invoice/TableCommands.h"
#include "invoice/TableState.h"
#include "page/InvoiceSheets.h"
#include "page/PageCells.h"
#include "page/SheetRegions.h"
#include "page/TablePlan.h"
#include "sections/DateText.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <atomic>
#include <limits>
#include <thread>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

using namespace seikyu;

namespace {
constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();
using Amount = std::optional<qint64>;

/// An item row, or a sums row when the unit price is " ".
RowPtr row(const QString &solo, const QString &much, const CellValue &sums)
{
    const QString blank = QStringLiteral(" ");
    return std::make_shared<ItemRow>(solo == blank ? blank : QStringLiteral("05-01"), solo == blank ? blank : "item",
                                     solo, much, sums);
}

QList<RowPtr> sumsSet(qint64 total)
{
    const QString b = QStringLiteral(" ");
    return {row(b, b, b), row(b, SumsLabel::Subtotal, total), row(b, SumsLabel::Tax, QStringLiteral("0")),
            row(b, SumsLabel::Total, total)};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString sourcePath(const QString &relative)
{
    return QDir(qEnvironmentVariable("SEIKYU_SOURCE_DIR")).filePath(relative);
}

/// Sums as one line: each rate's "rate:subtotal+tax", then the total, what is withheld and what is paid.
QString described(const std::optional<InvoiceSums> &sums)
{
    if (!sums)
        return QStringLiteral("nothing");
    QStringList parts;
    for (const RateSum &rate : sums->rates)
        parts.append(QStringLiteral("%1:%2+%3").arg(rate.rate).arg(rate.subtotal).arg(rate.tax));
    parts.append(QStringLiteral("%1 total %2 withheld %3 payable %4")
                     .arg(sums->taxIncluded ? QStringLiteral("within") : QStringLiteral("on top"))
                     .arg(sums->total)
                     .arg(sums->withheld)
                     .arg(sums->payable));
    return parts.join(QLatin1Char(' '));
}

/// An invoice of 1.0 as it wrote it, the nine members every invoice has.
const QByteArray FirstVersionFile = R"({"head": "請求書", "date": "2019-04-30", "whom": "千代田商事", "jgen": 1,
    "tail": 0, "plus": 0, "from": "100-0001\n東京都千代田区\n山田太郎", "full": "\b御請求金額\n￥1,080",
    "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
             {"date": "04-01", "name": "保守", "solo": "1000", "much": 1, "sums": "1000"},
             {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "￥1,080"}]})";

/// The same invoice with every member a later version added: the tax rate; withholding, the number, the due
/// date and the remarks; the customer's electronic and postal addresses and a row's own rate.
QByteArray fullFile()
{
    return QByteArray(FirstVersionFile)
        .replace(R"("plus": 0,)", R"("plus": 1, "rate": 10, "hold": 1, "numb": "2019-0042", "dues": "2019-05-31",
            "note": "振込手数料は\nご負担ください。",)")
        .replace(R"("tail": 0,)", R"("tail": 1, "peer": "0188:1234567890123", "post": "100-0005",
            "addr": "東京都千代田区丸の内1-1-1\n丸の内ビル 12階", "dept": "経理部", "attn": "部長 山田太郎",)")
        .replace(R"("sums": "1000"})", R"("sums": "1000", "rate": 8})");
}

/// The model's table, a row a line: "date|name|unit price|quantity|price".
QStringList tableOf(const InvoiceModel &model)
{
    QStringList rows;
    for (const RowPtr &item : model.table()->rows()) {
        QStringList cells;
        for (const CellValue &cell : item->cells())
            cells.append(cellDisplay(cell));
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

/// The table with its tax settings, as undo and redo must give them back together.
QStringList tableAndSettingsOf(const InvoiceModel &model)
{
    return tableOf(model) << QStringLiteral("rate %1, tax %2, withholding %3")
                                 .arg(model.taxRate())
                                 .arg(model.taxOnTop())
                                 .arg(model.withholding());
}

/// The sums rows that end the table, "label|amount", without the blank row before them.
QStringList sumsTextsOf(const InvoiceModel &model)
{
    const std::optional<RowRange> block = trailingSums(model.table()->rows());
    QStringList sums;
    for (const QString &line : tableOf(model).mid(block ? block->first + 1 : model.table()->count()))
        sums.append(line.section(u'|', 3));
    return sums;
}

/// A wholesaler's invoice at 10 %, tax added: 9,000 × 5, 1,200 × 2, and 100 × 2 whose price was typed
/// as 5,000.
void wholesale(InvoiceModel &model)
{
    model.table()->setRows(
        {ItemRow::makeHeader(), row("9000", "5", "45000"), row("1200", "2", "2400"), row("100", "2", "5000")});
    model.setTaxOnTop(true);
    model.setTaxRate(StandardRate);
}

} // namespace

namespace QTest {
template <> char *toString(const Amount &value)
{
    return qstrdup(value ? QByteArray::number(*value).constData() : "nothing");
}
} // namespace QTest

class TestInvoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ja_JP"))); }
    void cleanup() { icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone()); }

    // ---- the file ----
    void filesOfEveryVersionAreWrittenBackAsGiven_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1.0") << FirstVersionFile;
        QTest::newRow("the rate") << QByteArray(FirstVersionFile).replace(R"("plus": 0,)", R"("plus": 1, "rate": 10,)");
        QTest::newRow("every member") << fullFile();
        for (const QString &name : QDir(sourcePath("tests/data/pages")).entryList({"*.seikyu"}, QDir::Files))
            QTest::newRow(qPrintable(name)) << readAll(sourcePath("tests/data/pages/" + name));
    }
    void filesOfEveryVersionAreWrittenBackAsGiven()
    {
        // Every member kept with its value: written back, the file is the one given, laid out as the writer
        // lays out every file.
        QFETCH(QByteArray, bytes);
        const Result<Invoice> read = readInvoiceBytes(bytes);
        QVERIFY2(read, qPrintable(read.message()));
        const QByteArray written = writeInvoice(*read);
        QJsonObject given = QJsonDocument::fromJson(bytes).object();
        // An empty number, due date, remarks or address is the same as none, and written as none.
        for (const QString &key : {InvoiceFileKey::Number, InvoiceFileKey::DueDate, InvoiceFileKey::Remarks,
                                   InvoiceFileKey::CustomerElectronicAddress})
            if (given.value(key) == QJsonValue(QString()))
                given.remove(key);
        QCOMPARE(written, QJsonDocument(given).toJson());
        const Result<Invoice> again = readInvoiceBytes(written);
        QVERIFY(again && *again == *read);
    }

    void readsEveryMemberIntoItsPlace()
    {
        const Invoice c = *readInvoiceBytes(fullFile());
        QCOMPARE(QStringList({*c.title, *c.customer, *c.issuer, *c.amountBox, c.honorificShown, c.number, c.remarks,
                              c.customerElectronicAddress}),
                 QStringList({"請求書", "千代田商事", "100-0001\n東京都千代田区\n山田太郎", "\b御請求金額\n￥1,080",
                              "様", "2019-0042", "振込手数料は\nご負担ください。", "0188:1234567890123"}));
        QCOMPARE(std::tuple(c.date, c.dueDate, c.japaneseEra, c.honorificChoice, c.taxOnTop, c.taxRate, c.withholding),
                 std::tuple(QDate(2019, 4, 30), QDate(2019, 5, 31), true, 1, true, 10, true));
        QCOMPARE(c.customerAddress, (CustomerPostalAddress{"100-0005", "東京都千代田区丸の内1-1-1\n丸の内ビル 12階",
                                                           "経理部", "部長 山田太郎"}));
        QCOMPARE(c.rows.size(), 2); // the header row is the table's own
        QCOMPARE(c.rows.at(0).cells(), (RowCells{"04-01", "保守", "1000", qint64(1), "1000"}));
        QCOMPARE(c.rows.at(0).taxClass(), TaxClass::Reduced);
        // Without members, the nine every invoice has; an absent text is the empty one every page has.
        const QJsonObject header{{"date", "日付"}, {"name", "項目"}, {"solo", ""}, {"much", "個数"}, {"sums", "価格"}};
        QCOMPARE(QJsonDocument::fromJson(writeInvoice(Invoice())).object(), (QJsonObject{{"head", ""},
                                                                                         {"date", ""},
                                                                                         {"whom", ""},
                                                                                         {"from", ""},
                                                                                         {"full", ""},
                                                                                         {"item", QJsonArray{header}},
                                                                                         {"jgen", 0},
                                                                                         {"tail", 0},
                                                                                         {"plus", 0}}));
    }

    void writesEachCellInTheFormItKeeps()
    {
        // A price and a unit price as text of their digits, whole quantities as exact integers; a row at
        // another rate than the invoice's says so.
        const qint64 big = Q_INT64_C(9007199254740993); // not exact as a double
        Invoice invoice;
        invoice.rows = {ItemRow("04-30", "line\nfeed", "￥1,000", big, qint64(1234)), ItemRow({}, {}, "-12.5", {}, {})};
        invoice.rows[1].setTaxClass(TaxClass::Exempt);
        const QJsonArray rows = QJsonDocument::fromJson(writeInvoice(invoice)).object().value("item").toArray();
        QCOMPARE(rows.at(1),
                 QJsonObject(
                     {{"date", "04-30"}, {"name", "line\nfeed"}, {"solo", "1000"}, {"much", big}, {"sums", "1234"}}));
        QCOMPARE(rows.at(2),
                 QJsonObject({{"date", ""}, {"name", ""}, {"solo", "-12.5"}, {"much", ""}, {"sums", ""}, {"rate", 0}}));
        QCOMPARE(readInvoiceBytes(writeInvoice(invoice))->rows.at(0).value(Column::Much), CellValue(big));
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
        const Result<Invoice> read = readInvoiceBytes(json);
        QVERIFY(read);
        const Invoice &c = *read;
        QTEST(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(c.japaneseEra)
                  .arg(c.taxOnTop)
                  .arg(c.honorificChoice)
                  .arg(c.taxRate)
                  .arg(c.withholding),
              "read");
        QCOMPARE(c.honorificShown, honorificLabel(c.honorificChoice));
    }

    void treatsWrongTypesAsAbsent()
    {
        const Result<Invoice> read = readInvoiceBytes(
            R"({"head":3,"whom":null,"from":["a"],"full":{},"date":"2024-13-01","numb":12,"dues":"2027-02-30",
                "note":["a"],"peer":42,"item":[{"x":1},{"date":"05-01","much":2,"sums":null,"name":true},{"rate":5},
                {"rate":"0"}]})");
        QVERIFY(read);
        const Invoice &c = *read;
        QVERIFY(!c.title && !c.customer && !c.issuer && !c.amountBox && !c.date.isValid() && !c.dueDate.isValid());
        // An empty text is one the page shows, unlike an absent one, which leaves the page's own.
        const Invoice empty = *readInvoiceBytes(R"({"head":"","whom":"","from":"","full":""})");
        QVERIFY(empty.title && empty.customer && empty.issuer && empty.amountBox);
        QVERIFY((*empty.title + *empty.customer + *empty.issuer + *empty.amountBox).isEmpty());
        QVERIFY(!readInvoiceBytes("{}")->title);
        QVERIFY(c.number.isEmpty() && c.remarks.isEmpty() && c.customerElectronicAddress.isEmpty());
        QCOMPARE(c.rows.size(), 3);
        // A boolean, a missing member and null are no cell values.
        QCOMPARE(c.rows.at(0).cells(), (RowCells{QStringLiteral("05-01"), {}, {}, qint64(2), {}}));
        // Numbers keep what they say: a whole one as an integer, any other as its text; a table of
        // null is no table.
        QCOMPARE(readInvoiceBytes(R"({"item":[{},{"solo":1.5,"much":2.0,"sums":-3e0}]})")->rows.at(0).cells(),
                 (RowCells{QVariant(), QVariant(), QStringLiteral("1.5"), qint64(2), qint64(-3)}));
        const Result<Invoice> noTable = readInvoiceBytes(R"({"item":null})");
        QVERIFY(noTable && noTable->rows.isEmpty());
        // A row's unknown rate is the invoice's.
        QCOMPARE(c.rows.at(1).taxClass(), TaxClass::Standard);
        QCOMPARE(c.rows.at(2).taxClass(), TaxClass::Exempt);
    }

    void refusesWhatIsNoInvoice_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("named"); // what the reason must name
        QTest::newRow("empty") << QByteArray(" \n") << "empty";
        QTest::newRow("text") << QByteArray("hello") << "";
        QTest::newRow("truncated") << QByteArray(R"({"head":"請求書","item":[{"date")") << "ends too early";
        QTest::newRow("cut between members") << QByteArray(R"({"head":"請求書",)") << "ends too early";
        QTest::newRow("cut after a name") << QByteArray(R"({"head":)") << "ends too early";
        QTest::newRow("cut in a number") << QByteArray(R"({"rate":1)") << "ends too early";
        QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\xff\xfe\x00", 11) << "other than an invoice";
        QTest::newRow("scalar") << QByteArray("42") << "other than an invoice";
        QTest::newRow("array") << QByteArray("[]") << "another kind";
        QTest::newRow("item not array") << QByteArray(R"({"item":"rows"})") << "not a list of rows";
        QTest::newRow("item of scalars") << QByteArray(R"({"item":[{},1]})") << "at row 1";
        QTest::newRow("bad utf-8") << QByteArray("{\"head\":\"\xff\xfe\"}") << "not text";
        QTest::newRow("deep nesting") << QByteArray(100000, '[') << "deeply";
        // Characters no reader keeps as given: refused, never altered.
        QTest::newRow("lone high escape") << QByteArray(R"({"whom":"A\ud800B"})") << "“whom”";
        QTest::newRow("lone low escape") << QByteArray(R"({"head":"\udc00"})") << "“head”";
        QTest::newRow("reversed pair") << QByteArray(R"({"note":"\udfb7\ud842"})") << "“note”";
        QTest::newRow("fffe escaped") << QByteArray(R"({"from":"x\ufffe"})") << "U+FFFE";
        QTest::newRow("fffe raw") << QByteArray("{\"numb\":\"\xef\xbf\xbe\"}") << "“numb”";
        QTest::newRow("feff escaped") << QByteArray(R"({"whom":"\ufeffA"})") << "U+FEFF";
        QTest::newRow("feff raw") << QByteArray("{\"whom\":\"\xef\xbb\xbf\"}") << "“whom”";
        QTest::newRow("lone surrogate as UTF-8") << QByteArray("{\"whom\":\"A\xed\xa0\x80\"}") << "surrogate";
        QTest::newRow("after an escaped quote") << QByteArray("{\"whom\":\"a\\\"b\\ufffe\"}") << "“whom”";
        QTest::newRow("in a row") << QByteArray(R"({"item":[{},{"name":"ok"},{"x":[1],"name":"\ud800"}]})")
                                  << "“item 2 name”";
    }
    void refusesWhatIsNoInvoice()
    {
        QFETCH(QByteArray, bytes);
        const Result<Invoice> read = readInvoiceBytes(bytes);
        QVERIFY(!read && !read.message().isEmpty());
        QFETCH(QString, named);
        QVERIFY2(read.message().contains(named), qPrintable(read.message()));
        // In everyday words: the user has never heard of JSON.
        for (const char *jargon : {"JSON", "offset", "object", "array", "value"})
            QVERIFY2(!read.message().contains(QLatin1String(jargon), Qt::CaseInsensitive), qPrintable(read.message()));
    }
    void keepsEscapedPairsAndControls()
    {
        const Result<Invoice> read = readInvoiceBytes("{\"whom\":\"\\ud842\\udfb7𠮷\\u001b\\\"\\\\ﾃ\"}");
        QVERIFY(read);
        QCOMPARE(*read->customer, QStringLiteral("𠮷𠮷\x1b\"\\ﾃ"));
        // Escapes cut short by the string's end are refused, never read past it.
        for (const QByteArray damaged : {"{\"whom\":\"ab\\u1\"}", "{\"whom\":\"\\u\"}", "{\"whom\":\"\xEF\xBB\"}"})
            QVERIFY(!readInvoiceBytes(damaged));
    }

    void readsALargeFile()
    {
        // About 50 MB of rows: read whole, every row kept.
        const QByteArray element =
            R"(,{"date":"05-01","name":"a long description of the work done","solo":"1000","much":"1","sums":"1000"})";
        const int rows = 50 * 1024 * 1024 / static_cast<int>(element.size());
        const Result<Invoice> read = readInvoiceBytes("{\"item\":[{}" + element.repeated(rows) + "]}");
        QVERIFY(read);
        QCOMPARE(read->rows.size(), rows);
    }

    void readsAFileOrSaysWhyNot()
    {
        QTemporaryDir folder;
        const Result<QByteArray> gone = readInvoiceFile(folder.filePath(QStringLiteral("gone.seikyu")));
        QVERIFY(!gone && gone.fault().kind == FaultKind::NotFound);
        QVERIFY2(gone.message().contains(QStringLiteral("no longer there")), qPrintable(gone.message()));
        const Result<QByteArray> aFolder = readInvoiceFile(folder.path());
        QVERIFY2(!aFolder && aFolder.message().contains(QStringLiteral("folder")), qPrintable(aFolder.message()));
        // Refused before it is read into memory.
        QFile large(folder.filePath(QStringLiteral("large.seikyu")));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(64 * 1024 * 1024 + 1));
        large.close();
        const Result<QByteArray> tooLarge = readInvoiceFile(large.fileName());
        QVERIFY2(!tooLarge && tooLarge.message().contains(QStringLiteral("far larger")),
                 qPrintable(tooLarge.message()));
        QVERIFY(large.open(QIODevice::WriteOnly | QIODevice::Truncate) && large.write(FirstVersionFile) > 0);
        large.close();
        const Result<QByteArray> read = readInvoiceFile(large.fileName());
        QVERIFY(read);
        QCOMPARE(*read, FirstVersionFile);
    }

    // ---- amounts, tax and the sums ----
    void readingTypedAmounts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("plain"); // as the file keeps it
        // Every digit counts, of any script, whatever stands between them.
        QTest::newRow("digits") << "1000" << qint64(1000) << "1000";
        QTest::newRow("currency") << "￥1,234" << qint64(1234) << "1234";
        QTest::newRow("full-width") << "１，２９９円" << qint64(1299) << "1299";
        QTest::newRow("other scripts") << "٣٤٥ \U0001D7D8" << qint64(3450) << "3450";
        QTest::newRow("zeros keep their form") << "00" << qint64(0) << "00";
        QTest::newRow("no digit") << "税込済み" << qint64(0) << "";
        QTest::newRow("minus after the digits") << "2024-05-01" << qint64(20240501) << "20240501";
        QTest::newRow("saturates") << "99999999999999999999" << Largest << "99999999999999999999";
        // A minus before the amount, in every form an invoice uses.
        QTest::newRow("minus") << "-5000" << qint64(-5000) << "-5000";
        QTest::newRow("full-width minus") << "－5000" << qint64(-5000) << "-5000";
        QTest::newRow("minus sign") << "−5000" << qint64(-5000) << "-5000";
        QTest::newRow("white triangle") << "△5,000" << qint64(-5000) << "-5000";
        QTest::newRow("black triangle") << "値引き ▲5,000円" << qint64(-5000) << "-5000";
        QTest::newRow("negative currency") << "-￥5,000" << qint64(-5000) << "-5000";
        QTest::newRow("negative zero") << "-0" << qint64(0) << "0";
        QTest::newRow("negative saturates") << "-99999999999999999999" << -Largest << "-99999999999999999999";
        // The decimal point ends the whole digits; amounts round to whole yen, halves away from zero.
        QTest::newRow("12.50") << "12.50" << qint64(13) << "12.50";
        QTest::newRow("12.49") << "12.49" << qint64(12) << "12.49";
        QTest::newRow("full-width point") << "１２．５" << qint64(13) << "12.5";
        QTest::newRow("negative half") << "-2.5" << qint64(-3) << "-2.5";
        QTest::newRow("only a fraction") << ".5" << qint64(1) << "0.5";
        QTest::newRow("digits after the fraction") << "1.5 × 2" << qint64(2) << "1.5";
    }
    void readingTypedAmounts()
    {
        QFETCH(QString, typed);
        QTEST(amountOf(typed), "amount");
        QTEST(spot(typed), "plain");
        QTEST(amountOf(spot(typed)), "amount"); // what the file keeps reads back the same
    }

    void integersAndLeadingNumbers()
    {
        QCOMPARE(amountOf(CellValue(qint64(-42))), -42);
        QCOMPARE(spot(CellValue(Smallest)), QStringLiteral("-9223372036854775808"));
        QCOMPARE(spot(CellValue()) + spot(CellValue(3.5)), QString());
        // White space, one optional sign, then digits of any script: what a quantity starts with.
        const QStringList texts = QStringLiteral("2個|1,000|abc| -3x|+7|\u3000\t5|-|- 3|３個|1.5日|個3|"
                                                 "-9223372036854775808|99999999999999999999")
                                      .split(u'|');
        const QList<qint64> expected{2, 1, 0, -3, 7, 5, 0, 0, 3, 1, 0, Smallest, Largest};
        QList<qint64> read;
        for (const QString &input : texts)
            read.append(leadingInteger(CellValue(input)));
        QCOMPARE(read, expected);
        QVERIFY(!leadingNumber(QStringLiteral("0.5")).isZero() && leadingNumber(QStringLiteral("00")).isZero());
    }

    void currencyText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("expected");
        // Rows switch locales back and forth, so a formatter kept for the wrong locale shows.
        QTest::newRow("ja_JP") << "ja_JP" << qint64(1234567) << "￥1,234,567";
        QTest::newRow("en_US") << "en_US" << qint64(1234567) << "¥1,234,567";
        QTest::newRow("de_DE") << "de_DE" << qint64(1234567) << "1.234.567\u00A0¥";
        QTest::newRow("ja_JP negative") << "ja_JP" << qint64(-1234567) << "-￥1,234,567";
        QTest::newRow("en_US smallest") << "en_US" << Smallest << "-¥9,223,372,036,854,775,807";
        QTest::newRow("no locale: the invoice's own") << "C" << qint64(1234567) << "￥1,234,567";
    }
    void currencyText()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, amount);
        QTEST(mark(amount, locale), "expected");
        QLocale::setDefault(QLocale(locale));
        QTEST(mark(amount), "expected");
    }

    void currencyTextReadsBack()
    {
        // Never a digit, a sign or a fraction added or lost, in any locale: formatting is idempotent.
        for (const char *name : {"ja_JP", "en_US", "de_DE", "fr_FR", "garbage!!", "ja_JP@@@"}) {
            const QString locale = QString::fromLatin1(name);
            QLocale::setDefault(QLocale(locale));
            for (const qint64 amount : {qint64(0), qint64(-5000), qint64(987654321012LL), Largest})
                QVERIFY2(amountOf(mark(amount, locale)) == amount, name);
            const QString text = markNumber(readNumber(QStringLiteral("-12.50"), QStringLiteral("ja_JP")), locale);
            QVERIFY2(spot(text) == QStringLiteral("-12.50"), qPrintable(locale + u' ' + text));
        }
        QCOMPARE(markNumber(readNumber(QStringLiteral("１２．５")), QStringLiteral("ja_JP")), QStringLiteral("￥12.5"));
    }

    void rowPrice_data()
    {
        // A row's unit price and quantity as typed, and what working out its price makes of the quantity and the
        // price; "unpriced" when the row stays as typed.
        QTest::addColumn<QString>("solo");
        QTest::addColumn<QString>("much");
        QTest::addColumn<QVariant>("pricedMuch");
        QTest::addColumn<QString>("price");
        const QString huge = QStringLiteral("9223372036854775807");
        struct Case
        {
            const char *name;
            QString solo, much;
            QVariant pricedMuch;
            QString price;
        };
        const Case cases[] = {
            {"1000 × 3", "1000", "3", qint64(3), "￥3,000"},
            {"2個", "1000", "2個", qint64(2), "￥2,000"},
            {"1,000", "5", "1,000", qint64(1000), "￥5,000"},
            {"full-width", "１，２００", "３個", qint64(3), "￥3,600"},
            {"discount", "△5,000", "1", qint64(1), "-￥5,000"},
            {"returned", "5000", "-1", qint64(-1), "-￥5,000"},
            // A quantity of hours or days keeps its fraction as typed; the price rounds half away from zero.
            {"1.5 days", "40001", "1.5日", QStringLiteral("1.5日"), "￥60,002"},
            {"half a unit", "3", "0.5", QStringLiteral("0.5"), "￥2"},
            {"full-width half an hour", "3000", "０．５時間", QStringLiteral("０．５時間"), "￥1,500"},
            {"-1001 × 1.5", "-1001", "1.5", QStringLiteral("1.5"), "-￥1,502"},
            {"12.5 × 3", "12.5", "3", qint64(3), "￥38"},
            {"0.333 × 3", "0.333", "3", qint64(3), "￥1"},
            {"the largest amount", huge, "1", qint64(1), "￥9,223,372,036,854,775,807"},
            // The quantity must start with its number, both must hold one, and the price must fit.
            {"quantity 00", "1000", "00", {}, "unpriced"},
            {"no number first", "1000", "個3", {}, "unpriced"},
            {"no unit price", "", "2", {}, "unpriced"},
            {"overflow", huge, "2", {}, "unpriced"},
            {"beyond 64 bits", "99999999999999999999.9", "99999999999999999999.9", {}, "unpriced"},
        };
        for (const Case &c : cases)
            QTest::newRow(c.name) << c.solo << c.much << c.pricedMuch << c.price;
    }

    void rowPrice()
    {
        QFETCH(QString, solo);
        QFETCH(QString, much);
        const std::optional<RowCells> priced = pricedRow(row(solo, much, QStringLiteral("00"))->cells());
        QTEST(priced ? cellDisplay((*priced)[std::size_t(Column::Sums)]) : QStringLiteral("unpriced"), "price");
        QTEST(priced ? (*priced)[std::size_t(Column::Much)] : QVariant(), "pricedMuch");
        // Numbers stand right-aligned, on the page as in the panel.
        ItemTableModel bank;
        bank.addRow(row(solo, much, QStringLiteral("00")));
        for (const Column column : {Column::Solo, Column::Much, Column::Sums})
            QVERIFY(bank.index(0, int(column)).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    }

    void checkedArithmeticAndTax()
    {
        QCOMPARE(checkedAdd(Largest, Smallest), Amount(-1));
        QCOMPARE(checkedAdd(Largest, 1), Amount());
        QCOMPARE(checkedMultiply(3037000500LL, 3037000500LL), Amount());
        // Per rate, in integers, exact where a double product is already off by 15 yen.
        QList<Amount> at8;
        for (const qint64 base : {qint64(1234), qint64(6), qint64(7), qint64(-7), qint64(-6), Largest, Smallest})
            at8.append(taxOn(base, 8));
        QCOMPARE(at8, (QList<Amount>{99, 0, 1, -1, 0, 737869762948382065LL, -737869762948382065LL}));
        QCOMPARE(taxOn(1005, 10), 101); // 100.5, half away from zero
        QCOMPARE(taxOn(1005, 10, TaxRounding::Down), 100);
        QCOMPARE(taxOn(1001, 10, TaxRounding::Up), 101);
        QCOMPARE(taxOn(-1001, 10, TaxRounding::Up), -101);
        QCOMPARE(taxWithin(1080, 8), 80);
        QCOMPARE(taxWithin(1000, 10, TaxRounding::Down), 90); // 90.9…
        QCOMPARE(taxWithin(1000, 10, TaxRounding::Up), 91);
    }

    void withholding()
    {
        QList<qint64> withheld;
        for (const qint64 base : {qint64(0), qint64(1), qint64(99999), qint64(1000000), qint64(1000001),
                                  qint64(5000000), Largest, qint64(-50000)})
            withheld.append(withholdingTax(base));
        QCOMPARE(withheld, (QList<qint64>{0, 0, 10209, 102100, 102100, 918900, 1883412569925643119LL, 0}));
    }

    void sumsRows_data()
    {
        // Items: "S" at the invoice's rate, "R" reduced, "E" exempt, each with its price; options in
        // the name. The sums rows come out as "label amount", the separator left out.
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("rows");
        QTest::newRow("8 %") << "S1000 S234" << 8 << "小計 1234|消費税 99|合計 1333";
        QTest::newRow("8 % of 6") << "S6" << 8 << "小計 6|消費税 0|合計 6";
        QTest::newRow("8 % of 7") << "S7" << 8 << "小計 7|消費税 1|合計 8";
        QTest::newRow("10 %") << "S1005" << 10 << "小計 1005|消費税 101|合計 1106";
        QTest::newRow("10 %, down") << "S1005" << 10 << "小計 1005|消費税 100|合計 1105";
        QTest::newRow("10 %, up") << "S1001" << 10 << "小計 1001|消費税 101|合計 1102";
        QTest::newRow("included") << "S1000 S234" << 8 << "小計 1234|消費税 税込済み|合計 1234";
        QTest::newRow("no items") << "" << 8 << "小計 0|消費税 0|合計 0";
        QTest::newRow("reduced rows on an 8 % invoice") << "S100 R100" << 8 << "小計 200|消費税 16|合計 216";
        // Rounded once per rate: per row, 5 and 5 at 10 % would give 1 + 1, and 6 and 6 at 8 % 0 + 0.
        QTest::newRow("mixed rates") << "S5 S5 R6 R6" << 10
                                     << "10%対象 10|消費税(10%) 1|8%対象 12|消費税(8%) 1|合計 24";
        QTest::newRow("exempt rows") << "S10000 E2000" << 10 << "10%対象 10000|消費税(10%) 1000|非課税 2000|合計 13000";
        QTest::newRow("exempt only") << "E2000" << 10 << "小計 2000|消費税 0|合計 2000";
        QTest::newRow("qualified, one rate") << "S50000 S-5000" << 10 << "10%対象 45000|消費税(10%) 4500|合計 49500";
        QTest::newRow("qualified, included")
            << "S11000 R1080" << 10 << "10%対象 11000|内消費税(10%) 1000|8%対象 1080|内消費税(8%) 80|合計 12080";
        QTest::newRow("withholding") << "S100000" << 10
                                     << "小計 100000|消費税 10000|合計 110000|源泉徴収税 -10210|差引請求額 99790";
        QTest::newRow("withholding, included")
            << "S110000" << 10 << "小計 110000|消費税 税込済み|合計 110000|源泉徴収税 -11231|差引請求額 98769";
        QTest::newRow("64-bit, included") << "S4611686018427387903 S4611686018427387904" << 10
                                          << "小計 9223372036854775807|消費税 税込済み|合計 9223372036854775807";
        QTest::newRow("overflow, included") << "S9223372036854775807 S1" << 8 << "nothing";
        QTest::newRow("tax overflows") << "S9223372036854775000" << 8 << "nothing";
    }
    void sumsRows()
    {
        QFETCH(QString, items);
        const QString options = QString::fromUtf8(QTest::currentDataTag());
        SumsInput input;
        QFETCH(int, rate);
        input.rate = rate;
        input.addTax = !options.contains(u"included");
        input.rounding = options.contains(u"down") ? TaxRounding::Down
                         : options.contains(u"up") ? TaxRounding::Up
                                                   : TaxRounding::HalfAwayFromZero;
        input.qualified = options.contains(u"qualified");
        input.withholding = options.contains(u"withholding");
        for (const QString &item : items.split(u' ', Qt::SkipEmptyParts)) {
            const TaxClass taxClass = item.startsWith(u'R')   ? TaxClass::Reduced
                                      : item.startsWith(u'E') ? TaxClass::Exempt
                                                              : TaxClass::Standard;
            input.items.append({item.mid(1).toLongLong(), taxClass});
        }
        const std::optional<QList<SumsLine>> lines = computeSums(input);
        QStringList shown;
        for (const SumsLine &line : lines.value_or(QList<SumsLine>{}).mid(1))
            shown.append(line.label + u' ' + cellDisplay(line.value));
        QTEST(lines ? shown.join(u'|') : QStringLiteral("nothing"), "rows");
        // Every row the totals write is recognised as a sums row, and the last one is payable.
        for (const SumsLine &line : lines.value_or(QList<SumsLine>{}))
            QVERIFY(isSumsRow(row(" ", line.label, line.value)->cells()));
        QVERIFY(!lines || isPayableRow(row(" ", lines->last().label, lines->last().value)->cells()));
    }

    void sumsRowsOfATable()
    {
        QList<RowPtr> rows{ItemRow::makeHeader(), row("1000", "1", "1000")};
        QVERIFY(!trailingSums(rows));
        rows.append(sumsSet(1080));
        QCOMPARE(trailingSums(rows), (std::optional<RowRange>(RowRange{2, 5})));
        QCOMPARE(payableRowIndex(rows), 5);
        // A row typed below the sums opens the table again; the earlier set is still found.
        rows.append(row("500", "1", "500"));
        QCOMPARE(payableRowIndex(rows), -1);
        rows.append(sumsSet(1620));
        QCOMPARE(sumsBlocks(rows), (QList<RowRange>{{2, 5}, {7, 10}}));
        QCOMPARE(itemRowMask(rows).count(true), 2);
        QVERIFY(itemRowMask(rows).at(6));
        // An item row that merely holds a label is no sums row, and blank rows alone make no set.
        QVERIFY(!isSumsRow(row("1000", SumsLabel::Total, "1000")->cells()));
        QVERIFY(sumsBlocks({ItemRow::makeHeader(), row(" ", " ", " ")}).isEmpty());
    }

    void sumsOfTheItems_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("sums");
        QTest::newRow("standard, reduced and exempt")
            << QByteArray(R"({"rate":10,"plus":1,"item":[{},{"sums":"10000"},{"sums":"￥1,000","rate":8},
                {"sums":"500","rate":0}]})")
            << "10:10000+1000 8:1000+80 0:500+0 on top total 12580 withheld 0 payable 12580";
        QTest::newRow("tax included")
            << QByteArray(R"({"rate":10,"plus":0,"item":[{},{"sums":"11000"},{"sums":"1080","rate":8}]})")
            << "10:11000+1000 8:1080+80 within total 12080 withheld 0 payable 12080";
        QTest::newRow("withholding on the fee before tax")
            << QByteArray(R"({"rate":10,"plus":1,"hold":1,"item":[{},{"sums":"100000"}]})")
            << "10:100000+10000 on top total 110000 withheld 10210 payable 99790";
        QTest::newRow("an older invoice's rate: standard and reduced rows both at 8 %")
            << QByteArray(R"({"plus":1,"item":[{},{"sums":"1000"},{"sums":"1000","rate":8}]})")
            << "8:2000+160 on top total 2160 withheld 0 payable 2160";
        // Priced as Add Sum prices them: unit price × quantity where no price was typed, a discount and a
        // fraction keeping their meaning; sums rows already in the table are not counted again.
        QTest::newRow("priced rows, and the sums rows left out")
            << QByteArray(R"({"rate":10,"plus":1,"item":[{},{"solo":"1500","much":"2個"},{"solo":"△5,000","much":1},
                {"solo":"8000","much":"1.5","sums":"00"},{"date":" ","name":" ","solo":"","much":" ","sums":" "},
                {"date":" ","name":" ","solo":"","much":"合計","sums":"￥3,300"}]})")
            << "10:10000+1000 on top total 11000 withheld 0 payable 11000";
        QTest::newRow("rounded down, as the user chose")
            << QByteArray(R"({"rate":10,"plus":1,"item":[{},{"sums":"1005"}]})")
            << "10:1005+100 on top total 1105 withheld 0 payable 1105";
        QTest::newRow("beyond 64 bits") << QByteArray(R"({"rate":10,"plus":1,"item":[{},{"sums":"9000000000000000000"},
                {"sums":"9000000000000000000"}]})")
                                        << "nothing";
    }
    void sumsOfTheItems()
    {
        QFETCH(QByteArray, json);
        const Result<Invoice> read = readInvoiceBytes(json);
        QVERIFY2(read, qPrintable(read.message()));
        const bool down = QByteArray(QTest::currentDataTag()).contains("down");
        QTEST(described(sumsOf(*read, down ? TaxRounding::Down : TaxRounding::HalfAwayFromZero)), "sums");
    }

    // ---- the invoice model: its rows, their undo steps and its values ----
    void undoAndRedoGiveBackEachStep()
    {
        // Each step through its command alone on the model's own table and stack: undo gives back every
        // table in turn, and redo the way forward, twice over; rows keep their identity, so a step acts on
        // its own row wherever that stands by then.
        InvoiceModel model;
        ItemTableModel &bank = *model.table();
        QAbstractItemModelTester tester(&bank, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QUndoStack &stack = *model.undoStack();
        const auto shown = [&bank] {
            QStringList rows;
            for (const RowPtr &item : bank.rows())
                rows.append(cellDisplay(item->value(Column::Name)) + u'|' + cellDisplay(item->value(Column::Sums)));
            return rows.join(u' ');
        };
        bank.addRow(ItemRow::makeHeader());
        QStringList states{shown()};
        const auto step = [&](QUndoCommand *command) {
            stack.push(command);
            states.append(shown());
        };
        step(new AddRowCommand(&bank, row("1000", "3", "3000")));
        step(new AddRowCommand(&bank, row("500", "1", "500"), 1)); // above the first
        step(new AddRowCommand(&bank, row("1", "1", "1")));
        const RowPtr edited = bank.row(2);
        step(new EditCellsCommand(&bank, edited, 2, {"05-02", "設計", "1000", "3", "3300"},
                                  EditCellsCommand::Kind::Edit));
        step(new RemoveRowsCommand(&bank, {{1, bank.row(1)}, {3, bank.row(3)}}));
        step(new FinalizeCommand([&bank] { bank.setCell(1, Column::Sums, QStringLiteral("￥3,300")); },
                                 [&bank] { bank.setCell(1, Column::Sums, QStringLiteral("3300")); }));
        QCOMPARE(states.constLast(), QStringLiteral("項目|価格 設計|￥3,300"));
        QCOMPARE(bank.row(1), edited);
        for (int cycle = 0; cycle < 2; ++cycle) {
            for (qsizetype i = states.size() - 2; i >= 0; --i) {
                stack.undo();
                QCOMPARE(shown(), states.at(i));
            }
            for (qsizetype i = 1; i < states.size(); ++i) {
                stack.redo();
                QCOMPARE(shown(), states.at(i));
            }
        }
        // A step whose row is gone touches nothing else; the header row is never taken away nor typed over.
        stack.undo();
        stack.undo();
        bank.removeRowAt(bank.rows().indexOf(edited));
        stack.undo();
        QCOMPARE(shown(), QStringLiteral("項目|価格 item|500 item|1"));
        AddRowCommand onTheHeader(&bank, bank.row(0), 0);
        onTheHeader.undo();
        QCOMPARE(bank.count(), 3);
        QVERIFY(!bank.setData(bank.index(0, int(Column::Name)), QStringLiteral("x"), Qt::EditRole));
    }

    void theTableAnnouncesEveryCellItChanges()
    {
        ItemTableModel bank;
        bank.setRows({ItemRow::makeHeader(), row("100", "1", "100"), row("200", "1", "200"), row("300", "1", "300")});
        QSignalSpy changed(&bank, &QAbstractItemModel::dataChanged);
        const auto span = [&] {
            const QList<QVariant> last = changed.takeLast();
            return std::pair(last.at(0).toModelIndex(), last.at(1).toModelIndex());
        };
        const QModelIndex price = bank.index(2, int(Column::Solo));
        bank.setCell(2, Column::Solo, QStringLiteral("250"));
        QCOMPARE(span(), std::pair(price, price));
        bank.rowsChangedInPlace(1, 3);
        QCOMPARE(span(), std::pair(bank.index(1, 0), bank.index(3, ColumnCount - 1)));
        // The ※ of reduced-rate rows comes and goes with the rate: every row's description is redrawn.
        bank.row(3)->setTaxClass(TaxClass::Reduced);
        bank.setMarksReducedRows(true);
        QCOMPARE(span(), std::pair(bank.index(0, int(Column::Name)), bank.index(3, int(Column::Name))));
        QVERIFY(bank.showsReducedRows());
        bank.setMarksReducedRows(false); // at 8 % every row is at the reduced rate: no ※, no legend
        QVERIFY(!bank.showsReducedRows());
    }

    void theModelHoldsItsValuesAndSaysWhenOneChanges()
    {
        InvoiceModel model;
        // A new page has every section, empty: a file written from it holds them all.
        QCOMPARE(std::tuple(model.invoice().title, model.invoice().customer, model.invoice().issuer,
                            model.invoice().amountBox),
                 std::tuple(std::optional(QString()), std::optional(QString()), std::optional(QString()),
                            std::optional(QString())));
        QSignalSpy changed(&model, &InvoiceModel::valuesChanged);
        model.table()->setRows({ItemRow::makeHeader(), row("1000", "3", "3000")});
        QImage seal(8, 8, QImage::Format_ARGB32);
        seal.fill(Qt::red);
        const std::function<void()> changes[] = {
            [&] { model.setTitle(QStringLiteral("御請求書")); },
            [&] { model.setDate(QDate(2026, 12, 5)); },
            [&] { model.setJapaneseEra(true); },
            [&] { model.setCustomer(QStringLiteral("株式会社東京商事"), QStringLiteral("御中")); },
            [&] { model.setCustomer(QStringLiteral("株式会社東京商事"), QString()); }, // the honorific alone
            [&] { model.setHonorificChoice(-1); },
            [&] { model.setIssuer(QStringLiteral("〒100-0005\n山田商店")); },
            [&] { model.setAmountBox(QStringLiteral("\b3,300")); },
            [&] { model.setTaxOnTop(true); },
            [&] { model.setWithholding(true); },
            [&] { model.setRemarks(QStringLiteral("振込手数料はご負担ください")); },
            [&] { model.setStamp(seal); },
            [&] { model.setNumber(QStringLiteral("2026-0042")); },
            [&] { model.setDueDate(QDate(2027, 1, 31)); },
            [&] { model.setCustomerElectronicAddress(QStringLiteral("0188:1234567890123")); },
            [&] {
                model.setCustomerAddress(
                    {QStringLiteral("100-0005"), QStringLiteral("東京都千代田区丸の内1-1-1"), {}, {}});
            },
            [&] { model.setTaxRate(StandardRate); },
        };
        for (const auto &change : changes) {
            changed.clear();
            change();
            QCOMPARE(changed.count(), 1);
            change(); // the same again: no change to tell
            QCOMPARE(changed.count(), 1);
        }
        const Invoice invoice = model.invoice();
        QCOMPARE(invoice.rows.size(), 1); // the header row is not the invoice's
        QCOMPARE(invoice.rows.first().value(Column::Sums), CellValue(QStringLiteral("3000")));
        QCOMPARE(std::tuple(invoice.title, invoice.date, invoice.japaneseEra, invoice.customer, invoice.honorificShown,
                            invoice.honorificChoice, invoice.issuer, invoice.amountBox),
                 std::tuple(std::optional(QStringLiteral("御請求書")), QDate(2026, 12, 5), true,
                            std::optional(QStringLiteral("株式会社東京商事")), QString(), -1,
                            std::optional(QStringLiteral("〒100-0005\n山田商店")),
                            std::optional(QStringLiteral("\b3,300"))));
        QCOMPARE(std::tuple(invoice.taxOnTop, invoice.withholding, invoice.remarks, invoice.number, invoice.dueDate,
                            invoice.customerElectronicAddress, invoice.customerAddress.postalCode, invoice.taxRate),
                 std::tuple(true, true, QStringLiteral("振込手数料はご負担ください"), QStringLiteral("2026-0042"),
                            QDate(2027, 1, 31), QStringLiteral("0188:1234567890123"), QStringLiteral("100-0005"),
                            StandardRate));
        QCOMPARE(model.stamp(), seal);
        // What the model holds is what its file holds, read back.
        const Result<Invoice> reread = readInvoiceBytes(writeInvoice(invoice));
        QVERIFY(reread);
        QCOMPARE(reread->rows.size(), 1);
        QCOMPARE(std::tuple(reread->title, reread->date, reread->customer, reread->issuer, reread->remarks),
                 std::tuple(invoice.title, invoice.date, invoice.customer, invoice.issuer, invoice.remarks));
        model.setTaxRate(5); // a rate no invoice has: the older invoices' 8 %
        QCOMPARE(model.taxRate(), ReducedRate);
    }

    // ---- dates ----
    // ---- the item table's steps on the model: totals, prices, tax settings and Finalize ----
    void everyTableStepIsOneEntryThatUndoesWholly_data()
    {
        // Steps as the table panel takes them; "~" marks one that changes nothing and so records nothing.
        QTest::addColumn<QString>("steps");
        QTest::newRow("add a row after totals") << "add, solo 1 1000, much 1 3, sum, add";
        QTest::newRow("price, then edit another cell") << "add, solo 1 1000, much 1 3, price 1, name 1 設計, sum";
        QTest::newRow("remove sum, then totals again")
            << "add, solo 1 1000, much 1 1, ~back, sum, ~sum, back, add, solo 2 1, much 2 2, sum";
        // Rows added to a totalled table go above its sums, which follow every edit of the items and are
        // never typed over themselves.
        QTest::newRow("rows of a totalled table") << "add, solo 1 1000, much 1 1, sum, add, solo 2 500, much 2 2, "
                                                     "~price 2, much 1 3, ~sums 4 1, ~sums 6 1, kill 2, ~kill 3 4";
        // Two rows apart go and come back in their places; the header, a row past the end and an empty
        // choice remove nothing, and the header is never edited.
        QTest::newRow("remove rows") << "add, add, add, name 1 a, name 2 b, name 3 c, ~name 3 c, kill 1 3, ~kill 0 1, "
                                        "~kill 1 9, ~kill, ~name 0 x";
        QTest::newRow("finalize") << "add, solo 1 -500, sums 1 -500, finalize";
    }
    void everyTableStepIsOneEntryThatUndoesWholly()
    {
        QFETCH(QString, steps);
        InvoiceModel model;
        model.table()->addRow(ItemRow::makeHeader());
        model.setDate(QDate(2024, 5, 1));
        QAbstractItemModelTester tester(model.table(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QHash<QString, QString> stepNames{{"add", "Add a Row"},        {"sum", "Add Sum"},
                                                {"back", "Remove Sum"},      {"finalize", "Finalize"},
                                                {"price", "Work Out Price"}, {"kill", "Remove Rows"}};
        QStringList undoNames;
        for (const QString &step : steps.split(QStringLiteral(", "))) {
            const QStringList words = QString(step).remove(u'~').split(u' ');
            const int at = words.value(1).toInt();
            if (!step.startsWith(u'~'))
                undoNames.prepend(stepNames.value(words.first(), QStringLiteral("Edit a cell")));
            const int recorded = model.undoStack()->count();
            if (words.first() == u"add")
                model.addRow();
            else if (words.first() == u"sum")
                QCOMPARE(model.addSums() == InvoiceModel::SumsOutcome::Added, !step.startsWith(u'~'));
            else if (words.first() == u"back")
                model.removeSums();
            else if (words.first() == u"finalize")
                model.finalize();
            else if (words.first() == u"price")
                model.priceRow(at);
            else if (words.first() == u"kill") {
                QList<int> chosen;
                for (const QString &word : words.mid(1))
                    chosen.append(word.toInt());
                model.removeRows(chosen);
            } else
                model.editCell(at, static_cast<Column>(columnOfKey(words.first())), words.value(2));
            QCOMPARE(model.undoStack()->count(), recorded + (step.startsWith(u'~') ? 0 : 1));
        }
        // Undo all the way, then redo and undo again: every step gives back exactly the table it left,
        // and the menu names each step. Redo gives back the rows that undo took, not new ones dated afresh.
        model.setDate(QDate(2030, 1, 1));
        QList<QStringList> states{tableOf(model)};
        QStringList names;
        while (model.undoStack()->canUndo()) {
            names.append(model.undoStack()->undoText());
            model.undoStack()->undo();
            states.append(tableOf(model));
        }
        QCOMPARE(names, undoNames);
        QCOMPARE(states.last(), QStringList{QStringLiteral("日付|項目|単価|個数|価格")});
        for (int cycle = 0; cycle < 2; ++cycle) {
            for (qsizetype i = states.size() - 2; i >= 0; --i) {
                model.undoStack()->redo();
                QCOMPARE(tableOf(model), states.at(i));
            }
            for (qsizetype i = 1; i < states.size(); ++i) {
                model.undoStack()->undo();
                QCOMPARE(tableOf(model), states.at(i));
            }
        }
    }

    void theSumsFollowEveryChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("action");
        for (const auto &[change, action] :
             std::initializer_list<std::pair<const char *, const char *>>{{"quantity", "Edit a cell"},
                                                                          {"unit price", "Edit a cell"},
                                                                          {"price", "Edit a cell"},
                                                                          {"work out price", "Work Out Price"},
                                                                          {"rate", "Change Tax Rate"},
                                                                          {"include tax", "Include Tax"},
                                                                          {"reduced-rate mark", "Mark Reduced Rate"},
                                                                          {"not taxable", "Mark Not Taxable"},
                                                                          {"withholding", "Withhold Income Tax"},
                                                                          {"withholding off", "Withhold Income Tax"},
                                                                          {"add a row", "Add a Row"},
                                                                          {"remove rows", "Remove Rows"},
                                                                          {"beyond any sum", "Edit a cell"}})
            QTest::newRow(change) << QString::fromUtf8(change) << QString::fromUtf8(action);
    }
    void theSumsFollowEveryChange()
    {
        QFETCH(QString, change);
        InvoiceModel model;
        wholesale(model);
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::Added);
        if (change == u"withholding off") // a set of sums that shrinks
            model.changeWithholding(true);
        model.undoStack()->clear();
        QAbstractItemModelTester tester(model.table(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QStringList before = tableAndSettingsOf(model);
        const QStringList sumsBefore = sumsTextsOf(model);
        if (change == u"quantity")
            model.editCell(1, Column::Much, QStringLiteral("6"));
        else if (change == u"unit price")
            model.editCell(2, Column::Solo, QStringLiteral("1500"));
        else if (change == u"price")
            model.editCell(3, Column::Sums, QStringLiteral("7000"));
        else if (change == u"work out price")
            model.priceRow(3);
        else if (change == u"rate")
            model.changeTaxRate(8);
        else if (change == u"include tax")
            model.changeTaxOnTop(false);
        else if (change == u"reduced-rate mark")
            model.markRows({2}, TaxClass::Reduced);
        else if (change == u"not taxable")
            model.markRows({3}, TaxClass::Exempt);
        else if (change == u"withholding")
            model.changeWithholding(true);
        else if (change == u"withholding off")
            model.changeWithholding(false);
        else if (change == u"add a row")
            model.addRow();
        else if (change == u"remove rows")
            model.removeRows({1, 5, 6}); // an item and sums rows: only the item goes
        else if (change == u"beyond any sum")
            model.editCell(1, Column::Sums, QString::number(Largest));
        const QStringList after = tableAndSettingsOf(model);
        if (change == u"beyond any sum") {
            // Items that grow beyond what a sum can hold leave no stale sums behind.
            QVERIFY(!model.isTotalled());
        } else {
            // The sums are exactly what Add Sum gives for the rows as they are now.
            QVERIFY(model.isTotalled());
            InvoiceModel fresh;
            fresh.restoreTableState(model.tableState());
            QVERIFY(fresh.removeSumsRows() && fresh.appendSumsRows());
            QCOMPARE(sumsTextsOf(model), sumsTextsOf(fresh));
            QCOMPARE(sumsTextsOf(model) == sumsBefore, change == u"add a row");
        }
        // One step: undo gives back the rows, their sums and the settings together, redo all of it again.
        QCOMPARE(model.undoStack()->count(), 1);
        QTEST(model.undoStack()->undoText(), "action");
        for (int cycle = 0; cycle < 2; ++cycle) {
            model.undoStack()->undo();
            QCOMPARE(tableAndSettingsOf(model), before);
            model.undoStack()->redo();
            QCOMPARE(tableAndSettingsOf(model), after);
        }
    }

    void stepsKeepTheHeaderAndTheSumsWholeAndFinalizeEveryRow()
    {
        InvoiceModel model;
        model.table()->setRows({ItemRow::makeHeader(), row("1000", "1", "1000"), row("200", "2", "400")});
        model.setTaxOnTop(true);
        model.setTaxRate(StandardRate);
        model.removeRows({2, 0}); // the header among the rows, in any order: nothing goes
        QCOMPARE(model.table()->count(), 3);
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::Added);
        const QStringList totalled = tableOf(model);
        const int steps = model.undoStack()->count();
        // The blank row that starts the sums is theirs: no edit, no removal.
        QVERIFY(!model.editChangesCell(3, Column::Name, QStringLiteral("x")));
        model.removeRows({3});
        QCOMPARE(tableOf(model), totalled);
        QCOMPARE(model.undoStack()->count(), steps);
        // A new row goes under the last item, just above the sums.
        model.addRow();
        QCOMPARE(tableOf(model).at(2), totalled.at(2));
        QCOMPARE(tableOf(model).at(4), totalled.at(3));

        // Finalize writes currency into a table of one item too; prices a file keeps as currency
        // text bring every row's unit price beside them.
        model.table()->setRows({ItemRow::makeHeader(), row("1000", "1", "1000")});
        model.finalize();
        QVERIFY2(tableOf(model).at(1).startsWith(QStringLiteral("05-01|item|￥1,000|")),
                 qPrintable(tableOf(model).at(1)));
        model.table()->setRows({ItemRow::makeHeader(), row("1000", "1", QStringLiteral("￥1,000")),
                                row("200", "2", QStringLiteral("￥400"))});
        model.formatUnitPricesBesideCurrency();
        QCOMPARE(tableOf(model).mid(1, 2), (QStringList{"05-01|item|￥1,000|1|￥1,000", "05-01|item|￥200|2|￥400"}));

        // The table panel's Cancel sees a switch of Include Tax or a row's mark as a change.
        const TableState opened = model.tableState();
        model.setTaxOnTop(false);
        QVERIFY(!sameTable(opened, model.tableState()));
        model.setTaxOnTop(true);
        model.table()->row(1)->setTaxClass(TaxClass::Reduced);
        QVERIFY(!sameTable(opened, model.tableState()));
    }

    void addSumPricesTheRestAndRefusesWhatItCannotWrite()
    {
        InvoiceModel model;
        model.table()->setRows(
            {ItemRow::makeHeader(), row("1000", "３個", "00"), row("100", "2", "5000"), row("1.5", "1", "")});
        model.setTaxOnTop(true);
        model.setTaxRate(StandardRate);
        // 3 × ￥1,000 worked out: a 4 for the 3 makes it ￥4,000. A typed price stays as typed.
        model.priceRow(1);
        model.priceRow(1); // worked out already: nothing to undo
        model.priceRow(0);
        model.priceRow(4);
        QCOMPARE(model.undoStack()->count(), 1);
        model.editCell(1, Column::Much, QStringLiteral("4"));
        model.editCell(2, Column::Much, QStringLiteral("3"));
        QCOMPARE(tableOf(model).mid(1, 2), (QStringList{"05-01|item|￥1,000|4|￥4,000", "05-01|item|100|3|5000"}));
        model.undoStack()->undo();
        model.undoStack()->undo();
        const QStringList unpriced = tableOf(model);
        // Rows whose unit price and quantity were typed but never worked out are priced by the totals; a
        // price typed straight into the row stays as typed. One step, undone as one.
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::Added);
        QCOMPARE(tableOf(model).mid(1),
                 (QStringList{"05-01|item|￥1,000|3|￥3,000", "05-01|item|￥100|2|￥5,000", "05-01|item|￥1.5|1|￥2",
                              " | | | | ", " | | |小計|￥8,002", " | | |消費税|￥800", " | | |合計|￥8,802"}));
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::AlreadyTotalled);
        QCOMPARE(model.undoStack()->undoText(), QStringLiteral("Add Sum"));
        model.undoStack()->undo();
        QCOMPARE(tableOf(model), unpriced);
        // An older file whose rows stand past its sums totals them with the rest, each item once.
        model.table()->setRows({ItemRow::makeHeader(), row("1000", "1", "1000")});
        model.table()->addRows(sumsSet(1000));
        model.table()->addRow(row("300", "1", "300"));
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::Added);
        QCOMPARE(sumsTextsOf(model), (QStringList{"小計|￥1,300", "消費税|￥130", "合計|￥1,430"}));
        QCOMPARE(model.table()->count(), 7); // the earlier sums replaced, not left among the items
        // A new row is dated the invoice's date and waits for its cells.
        model.setDate(QDate(2024, 5, 9));
        model.removeSums();
        model.addRow();
        QCOMPARE(tableOf(model).last(), QStringLiteral("05-09|double click to edit|00|00|00"));
        // Totals too large to be written change nothing and record nothing.
        model.undoStack()->clear();
        model.table()->setRows({ItemRow::makeHeader(), row(QString::number(Largest), "1", QString::number(Largest))});
        const QStringList before = tableOf(model);
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::TooLarge);
        QCOMPARE(tableOf(model), before);
        QCOMPARE(model.undoStack()->count(), 0);
    }

    void marksRatesAndWithholding()
    {
        // A food wholesaler's invoice at 8 %: reduced-rate food, a standard-rate delivery, an exempt fee.
        InvoiceModel model;
        model.table()->setRows(
            {ItemRow::makeHeader(), row("1500", "2", "3000"), row("50000", "1", "50000"), row("2000", "1", "2000")});
        model.setTaxOnTop(true);
        model.setTaxRate(ReducedRate);
        // Marking a row reduced rate on an 8 % invoice takes it to today's rate, in the same step.
        QVERIFY(model.markingSwitchesRate(TaxClass::Reduced) && !model.markingSwitchesRate(TaxClass::Exempt));
        model.markRows({0, 1, 1, 7}, TaxClass::Reduced); // the header and a row past the end are no items
        QCOMPARE(model.taxRate(), StandardRate);
        QCOMPARE(model.table()->data(model.table()->index(1, int(Column::Name))).toString(), QStringLiteral("item ※"));
        model.undoStack()->undo();
        QCOMPARE(std::pair(model.taxRate(), model.table()->row(1)->taxClass()),
                 std::pair(int(ReducedRate), TaxClass::Standard));
        QCOMPARE(model.table()->data(model.table()->index(1, int(Column::Name))).toString(), QStringLiteral("item"));
        model.undoStack()->redo();
        model.markRows({3}, TaxClass::Exempt);
        model.markRows({0}, TaxClass::Exempt); // no item: no step
        model.changeWithholding(true);
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::Added);
        QCOMPARE(sumsTextsOf(model),
                 (QStringList{"10%対象|￥50,000", "消費税(10%)|￥5,000", "8%対象|￥3,000", "消費税(8%)|￥240",
                              "非課税|￥2,000", "合計|￥60,240", "源泉徴収税|-￥5,615", "差引請求額|￥54,625"}));
        model.removeSums();
        QCOMPARE(model.table()->count(), 4);
        // Marking again takes the mark off, one step at a time.
        model.markRows({1}, TaxClass::Reduced);
        QCOMPARE(model.table()->row(1)->taxClass(), TaxClass::Standard);
        QCOMPARE(model.undoStack()->undoText(), QStringLiteral("Mark Standard Rate"));
        model.undoStack()->undo();
        QCOMPARE(model.table()->row(1)->taxClass(), TaxClass::Reduced);
    }

    void finalizeWritesCurrencyAndUndoGivesNumbers()
    {
        InvoiceModel model;
        model.table()->setRows(
            {ItemRow::makeHeader(), row("1000", "3", "3000"), row("00", "00", "00"), row("-500", "1", "12.50")});
        QCOMPARE(model.addSums(), InvoiceModel::SumsOutcome::Added);
        model.undoStack()->clear();
        model.writeAmountsAsNumbers();
        const QStringList digits = tableOf(model);
        QCOMPARE(digits.mid(1),
                 (QStringList{"05-01|item|1000|3|3000", "05-01|item|00|00|00", "05-01|item|-500|1|13", " | | | | ",
                              " | | |小計|3013", " | | |消費税|税込済み", " | | |合計|3013"}));
        model.finalize();
        QCOMPARE(tableOf(model).mid(1, 3),
                 (QStringList{"05-01|item|￥1,000|3|￥3,000", "05-01|item|00|00|00", "05-01|item|-￥500|1|￥13"}));
        const QStringList finalized = tableOf(model);
        model.undoStack()->undo();
        QCOMPARE(tableOf(model), digits);
        model.undoStack()->redo();
        QCOMPARE(tableOf(model), finalized);
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

    void eraDatesOnSeveralThreadsAtOnce()
    {
        // One formatter made for the process (prepareEraDates, as an export does) and copied by
        // each thread: threads formatting at once each get every date right, in either locale.
        prepareEraDates(QStringLiteral("ja_JP@currency=JPY"));
        const QList<QDate> dates{QDate(1989, 1, 7), QDate(1989, 1, 8), QDate(2019, 4, 30), QDate(2019, 5, 1),
                                 QDate(2026, 12, 5)};
        const QStringList locales{QStringLiteral("ja_JP@currency=JPY"), QStringLiteral("en_US@currency=JPY")};
        QHash<QString, QStringList> expected;
        for (const QString &locale : locales) {
            for (const QDate &date : dates)
                expected[locale].append(japaneseEraDateText(date, locale));
        }
        QCOMPARE(expected.value(locales.first()).at(3), QStringLiteral("令和元年5月1日"));
        QCOMPARE(expected.value(locales.last()).at(4), QStringLiteral("December 5, 8 Reiwa"));
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                const QString &locale = locales.at(t % 2);
                for (int round = 0; round < 50; ++round) {
                    for (qsizetype i = 0; i < dates.size(); ++i) {
                        if (japaneseEraDateText(dates.at(i), locale) != expected.value(locale).at(i))
                            ++wrong;
                    }
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
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

    // ---- the page as the invoice gives it ----
    void theAddressBlockNamesWhomTheInvoiceGoesTo_data()
    {
        QTest::addColumn<QString>("honorific");
        QTest::addColumn<QString>("attention");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("a company") << QStringLiteral("御中") << QString() << QStringLiteral("千代田商事 御中");
        QTest::newRow("a person") << QStringLiteral("様") << QString() << QStringLiteral("千代田商事 様");
        QTest::newRow("a named person") << QStringLiteral("御中") << QStringLiteral("部長 佐藤花子")
                                        << QStringLiteral("部長 佐藤花子 様");
    }
    void theAddressBlockNamesWhomTheInvoiceGoesTo()
    {
        QFETCH(QString, honorific);
        QFETCH(QString, attention);
        QFETCH(QString, lastLine);
        CustomerPostalAddress address;
        address.postalCode = QStringLiteral("100-0005");
        address.address = QStringLiteral("東京都千代田区丸の内1-2-3\n丸の内ビル12階");
        address.attention = attention;
        const QStringList lines = addressBlockText(QStringLiteral("千代田商事"), honorific, address).split(u'\n');
        QCOMPARE(lines.first(), QStringLiteral("〒100-0005"));
        QCOMPARE(lines.at(2), QStringLiteral("丸の内ビル12階"));
        QCOMPARE(lines.last(), lastLine);
        QVERIFY(addressBlockText(QStringLiteral("千代田商事"), honorific, {}).isEmpty());
    }

    void theCustomersNameIsTheLineWithoutItsHonorific()
    {
        QCOMPARE(customerName(QStringLiteral("千代田商事 御中"), QStringLiteral("御中")), QStringLiteral("千代田商事"));
        // A name that ends in the honorific's characters is kept whole: only " 様" after it is the honorific.
        QCOMPARE(customerName(QStringLiteral("お客様"), QStringLiteral("様")), QStringLiteral("お客様"));
        QCOMPARE(customerName(QStringLiteral("お客様 様"), QStringLiteral("様")), QStringLiteral("お客様"));
        QCOMPARE(customerName(QStringLiteral("千代田商事 御中"), QString()), QStringLiteral("千代田商事 御中"));
        // An address that names only the person to whom it goes is an address: the envelope shows it.
        CustomerPostalAddress person;
        person.attention = QStringLiteral("部長 佐藤花子");
        QVERIFY(!person.isEmpty());
        QVERIFY(CustomerPostalAddress().isEmpty());
    }

    // The block's room moves with the user's offset, each way on its own, and stays inside the window.
    void theAddressBlockMovesAsTheEnvelopeWants()
    {
        const QRect nominal = addressBlockRoom({});
        QCOMPARE(nominal, QRect(57, 43, 240, 112));
        const QRect moved = addressBlockRoom({-3, 7});
        QCOMPARE(moved.left(), int(std::ceil(pagePixelsOfMillimetres(17))));
        QCOMPARE(moved.top(), int(std::ceil(pagePixelsOfMillimetres(22))));
        QCOMPARE(moved.size(), nominal.size());
    }

    // A file opened as a window opens it: the rate one the table knows.
    void anOpenedInvoiceHasARateTheTableKnows()
    {
        for (const auto &[stored, opened] : {std::pair(10, 10), std::pair(8, 8), std::pair(5, 8), std::pair(0, 8)}) {
            Invoice file;
            file.taxRate = stored;
            QCOMPARE(openedInvoice(file, {}).taxRate, opened);
        }
    }

    // What the table's layout is told of the rows: where the sums start, which rows are headers.
    void theTablePlanIsToldWhereTheSumsStart()
    {
        ItemTableModel table;
        const QString blank = QStringLiteral(" ");
        table.setRows(
            {ItemRow::makeHeader(),
             std::make_shared<ItemRow>(QString(), QStringLiteral("作業"), QStringLiteral("1000"), 1,
                                       QStringLiteral("1000")),
             std::make_shared<ItemRow>(QString(), QStringLiteral("出張費"), QStringLiteral("500"), 1,
                                       QStringLiteral("500")),
             std::make_shared<ItemRow>(blank, blank, QString(), blank, blank),
             std::make_shared<ItemRow>(blank, blank, QString(), SumsLabel::Subtotal, QStringLiteral("￥1,500")),
             std::make_shared<ItemRow>(blank, blank, QString(), SumsLabel::Tax, QStringLiteral("￥150")),
             std::make_shared<ItemRow>(blank, blank, QString(), SumsLabel::Total, QStringLiteral("￥1,650"))});
        const TablePlanRequest request = tablePlanRequestOf(table, false, 0);
        QCOMPARE(request.headerRows, 1);
        QCOMPARE(request.sumsFirst, 3); // the blank row after the items
        QCOMPARE(request.descriptions.at(1), QStringLiteral("作業"));
        // Only a sums row's label reads across the unit price's cell.
        QCOMPARE(pageCellOf(table.index(1, int(Column::Much)), 84).widenedLeft, 0);
        QCOMPARE(pageCellOf(table.index(request.sumsFirst + 1, int(Column::Much)), 84).widenedLeft, 84);
    }
};

QTEST_GUILESS_MAIN(TestInvoice)
#include "tst_invoice.moc"
