// Rows from elsewhere: cells pasted from a spreadsheet and CSV files, read as the programs that
// make them write them (Calc, Excel, Japanese Excel's Shift_JIS), damaged files refused with a
// reason, and both added to the real document's table as one undo step.
#include "import/ClipboardRows.h"
#include "import/ColumnGuess.h"
#include "import/CsvFile.h"
#include "import/ImportRowsDialog.h"
#include "import/RowChecks.h"
#include "import/RowConversion.h"
#include "import/TaxClassText.h"
#include "import/TextDecoding.h"
#include "support/TestSupport.h"
#include "table/Amounts.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTableWidget>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// The cells of a row as the table shows them, "date|name|solo|much|sums".
QString rowText(const RowCells &cells)
{
    QStringList texts;
    for (const CellValue &cell : cells)
        texts.append(cellDisplay(cell));
    return texts.join(u'|');
}

QStringList rowTexts(const QList<ImportedRow> &rows)
{
    return each(rows, [](const ImportedRow &row) { return rowText(row.cells); });
}

/// Each row's tax class as S (standard), R (reduced) or E (not taxed).
QString taxClasses(const QList<ImportedRow> &rows)
{
    QString classes;
    for (const ImportedRow &row : rows)
        classes += QStringLiteral("SRE").at(int(row.taxClass));
    return classes;
}

/// The table column of each column, "-" for none, as "1 3 - 4"; `none` when there is no mapping.
QString mappingText(const std::optional<ColumnMapping> &mapping, const QString &none)
{
    if (!mapping)
        return none;
    QStringList columns;
    for (const std::optional<Column> &column : *mapping)
        columns.append(column ? QString::number(int(*column)) : QStringLiteral("-"));
    return columns.join(u' ');
}

// What Japanese Excel writes for a sheet of deliveries, in CP932: 日付,品名,数量,単価,金額 with
// 野菜セット① and 鮮魚 10～20kg (the wave dash that Shift_JIS 0x8160 is), a price written as ￥ shows
// on Japanese Windows (\), and half-width katakana.
const QByteArray Cp932Deliveries =
    QByteArray("\x93\xfa\x95t,\x95i\x96\xbc,\x90\x94\x97\xca,\x92P\x89\xbf,\x8b\xe0\x8az\r\n"
               "12/1,\x96\xec\x8d\xd8\x83Z\x83"
               "b\x83g\x87@,3,\"\\1,200\",\r\n"
               "12/2,\"\x91N\x8b\x9b 10\x81`20kg\",1,,\"5,000\"\r\n"
               "12/3,\xc3\xbd\xc4,2,500,\r\n");

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    }
    void init()
    {
        clearSettings();
        // A question no test expects is cancelled rather than left waiting for a click.
        setImportChooser([](QWidget *, const CsvFile &, const QString &) { return std::optional<ImportChoice>(); });
    }
    void cleanup() { setImportChooser({}); }

    // ---- bytes to text ----

    void decodesTheEncodingsSpreadsheetsWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("encoding");
        const QString deliveries = QStringLiteral("日付,品名\r\n12/1,野菜セット①\r\n");
        QTest::newRow("UTF-8") << deliveries.toUtf8() << deliveries << int(TextEncoding::Utf8);
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + deliveries.toUtf8() << deliveries
                                        << int(TextEncoding::Utf8WithBom);
        QTest::newRow("ASCII is UTF-8") << QByteArray("a,b\n") << QStringLiteral("a,b\n") << int(TextEncoding::Utf8);
        QTest::newRow("CP932: ① and the wave dash as Windows maps it")
            << QByteArray("\x87@ 10\x81`20") << QStringLiteral("① 10～20") << int(TextEncoding::ShiftJis);
        QTest::newRow("CP932: half-width katakana, \\ as the yen sign")
            << QByteArray("\xc3\xbd\xc4,\\1,200") << QStringLiteral("ﾃｽﾄ,\\1,200") << int(TextEncoding::ShiftJis);
        QByteArray utf16("\xFF\xFE");
        for (QChar c : deliveries)
            utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        QTest::newRow("Excel's Unicode text (UTF-16LE)") << utf16 << deliveries << int(TextEncoding::Utf16);
    }
    void decodesTheEncodingsSpreadsheetsWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, encoding);
        const Result<DecodedText> decoded = decodeText(bytes);
        QCOMPARE(decoded.message(), QString());
        QCOMPARE(decoded->text, text);
        QCOMPARE(int(decoded->encoding), encoding);
    }

    // ---- records and fields ----

    void splitsRecordsAsRfc4180Says()
    {
        // Quoted commas, doubled quotation marks and line breaks inside a field; CRLF, LF and CR
        // line ends; an empty line; a missing last line break. Each record knows its first line.
        const QString text = QStringLiteral("a,\"b,1\",c\r\n"
                                            "\"say \"\"hi\"\"\",\"two\r\nlines\",\r\n"
                                            "\r\n"
                                            "x,y\rz,5\" screen,\"\"");
        const DelimitedText table = splitDelimited(text, u',', Quoting::Strict);
        const QList<QStringList> expected{
            {"a", "b,1", "c"}, {"say \"hi\"", "two\r\nlines", ""}, {"x", "y"}, {"z", "5\" screen", ""}};
        QCOMPARE(each(table.records, &TextRecord::fields), expected);
        QCOMPARE(table.records.at(2).line, 5);
        QCOMPARE(table.records.at(3).line, 6);
        QVERIFY(table.skipped.isEmpty());
    }

    void leavesOutLinesWithUnbalancedQuotes()
    {
        // A mark that is never closed damages its own line only; text after a closing mark too.
        const DelimitedText table =
            splitDelimited(QStringLiteral("a,1\n\"b,2\nc,3\n\"d\"x,4\ne,5\n\"f,6"), u',', Quoting::Strict);
        QCOMPARE(each(table.records, &TextRecord::fields), (QList<QStringList>{{"a", "1"}, {"c", "3"}, {"e", "5"}}));
        QCOMPARE(each(table.skipped, [](const SkippedLine &l) { return QString::number(l.line); }),
                 QStringList({"2", "4", "6"}));
        QVERIFY(table.skipped.at(0).reason.contains(QStringLiteral("unbalanced quotes")));
        // What the quote of line 2 swallowed up to line 4 is read again from line 3 on.
        QCOMPARE(splitDelimited(QStringLiteral("\"b,2\nc,3\n"), u',', Quoting::Strict).records.constFirst().fields,
                 QStringList({"c", "3"}));
    }

    void guessesTheDelimiter()
    {
        QCOMPARE(guessDelimiter(QStringLiteral("日付\t品名\t金額\n1,2\t3")), QChar(u'\t'));
        QCOMPARE(guessDelimiter(QStringLiteral("日付,品名\t金額\n")), QChar(u','));
        QCOMPARE(guessDelimiter(QString()), QChar(u','));
    }

    // ---- headings ----

    void readsHeadingsInEitherLanguage_data()
    {
        QTest::addColumn<QStringList>("line");
        // The table column of each cell, "T" for the tax class, "-" for none; "none": no header.
        QTest::addColumn<QString>("mapping");
        QTest::newRow("Japanese, another order") << QStringList{"品名", "数量", "単価", "金額", "日付"} << "1 3 2 4 0";
        QTest::newRow("摘要 個数 価格") << QStringList{"摘要", "個数", "価格"} << "1 3 4";
        QTest::newRow("English, any case")
            << QStringList{"Date", "Item", "Unit Price", "QUANTITY", "Amount"} << "0 1 2 3 4";
        QTest::newRow("description and price") << QStringList{"description", "price"} << "1 4";
        QTest::newRow("full width, a unit, spaces") << QStringList{"ｄａｔｅ", "金額（円）", " 単価 [税抜]"} << "0 4 2";
        QTest::newRow("other headings left out") << QStringList{"No.", "品名", "備考", "金額"} << "- 1 - 4";
        QTest::newRow("a column named twice: the first") << QStringList{"品名", "摘要", "金額"} << "1 - 4";
        QTest::newRow("one heading alone") << QStringList{"品名", ""} << "1 -";
        QTest::newRow("a data line") << QStringList{"12/1", "野菜", "1,200", "3", ""} << "none";
        QTest::newRow("a description that is a heading") << QStringList{"12/1", "品名", "100"} << "none";
        QTest::newRow("税率 (%), the first tax heading")
            << QStringList{"品名", "税率（％）", "金額", "税区分"} << "1 T 4 -";
        QTest::newRow("軽減 beside one column") << QStringList{"品名", "軽減"} << "1 T";
        QTest::newRow("※, Tax Rate") << QStringList{"※", "Item", "Tax Rate"} << "T 1 -";
        QTest::newRow("消費税 is a tax amount") << QStringList{"品名", "消費税", "金額"} << "1 - 4";
        QTest::newRow("a data line with a mark") << QStringList{"12/1", "品名", "100", "※"} << "none";
    }
    void readsHeadingsInEitherLanguage()
    {
        QFETCH(QStringList, line);
        QFETCH(QString, mapping);
        QString columns = mappingText(mappingFromHeader(line), QStringLiteral("none"));
        if (const std::optional<int> tax = taxColumnOfHeader(line); tax && columns != u"none") {
            QStringList marked = columns.split(u' ');
            marked[*tax] = QStringLiteral("T");
            columns = marked.join(u' ');
        }
        QCOMPARE(columns, mapping);
    }

    // ---- cells to rows ----

    void readsAmountsAsTypedAmountsAre_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("amount"); // spot of the amount; "text" when it stays text
        QTest::newRow("grouped") << QString("1,200") << "1200";
        QTest::newRow("full width") << QString("１，２００") << "1200";
        QTest::newRow("yen sign") << QString("￥1,200") << "1200";
        QTest::newRow("Windows' yen sign") << QString("\\1,200") << "1200";
        QTest::newRow("yen after") << QString("1200円") << "1200";
        QTest::newRow("minus") << QString("-500") << "-500";
        QTest::newRow("full-width minus") << QString("－５００") << "-500";
        QTest::newRow("triangle") << QString("△500") << "-500";
        QTest::newRow("minus after the sign") << QString("￥-500") << "-500";
        QTest::newRow("fraction") << QString("12.5") << "12.5";
        QTest::newRow("spaces around") << QString(" 300 ") << "300";
        QTest::newRow("a unit") << QString("2個") << "text";
        QTest::newRow("words") << QString("別途") << "text";
        QTest::newRow("brackets") << QString("(1,200)") << "text";
        QTest::newRow("a range") << QString("1-2") << "text";
        QTest::newRow("misplaced grouping") << QString("1,20") << "text";
        QTest::newRow("empty") << QString("") << "text";
    }
    void readsAmountsAsTypedAmountsAre()
    {
        QFETCH(QString, text);
        QFETCH(QString, amount);
        const std::optional<CellNumber> number = amountInText(text, QStringLiteral("ja_JP"));
        if (amount == u"text") {
            QVERIFY(!number);
            return;
        }
        QVERIFY(number);
        QCOMPARE(QString(number->negative ? "-" : "") + QString::number(number->whole) +
                     (number->fraction.isEmpty() ? QString() : u'.' + number->fraction),
                 amount);
    }

    void makesRowsOfTheCells_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("row");
        QTest::newRow("priced from unit price and quantity")
            << QStringList{"12/1", "野菜", "1,200", "3", ""} << "12/1|野菜|" + yen(1200) + "|3|" + yen(3600);
        QTest::newRow("a price of nothing is worked out")
            << QStringList{"12/1", "野菜", "１００", "２", "0"} << "12/1|野菜|" + yen(100) + "|2|" + yen(200);
        QTest::newRow("its own price kept") << QStringList{"", "値引", "", "", "△500"} << "|値引|||" + yen(-500);
        QTest::newRow("a text price stays")
            << QStringList{"", "送料", "800", "1", "別途"} << "|送料|" + yen(800) + "|1|別途";
        QTest::newRow("a quantity of hours")
            << QStringList{"", "作業", "5000", "1.5", ""} << "|作業|" + yen(5000) + "|1.5|" + yen(7500);
        QTest::newRow("a return: a negative quantity gives a negative price")
            << QStringList{"12/5", "返品", "500", "-2", ""} << "12/5|返品|" + yen(500) + "|-2|" + yen(-1000);
        QTest::newRow("fewer cells") << QStringList{"12/1", "野菜"} << "12/1|野菜|||";
        QTest::newRow("more cells than columns") << QStringList{"", "a", "", "", "10", "extra"} << "|a|||" + yen(10);
        QTest::newRow("a cell that is no amount") << QStringList{"", "a", "時価", "2個", ""} << "|a|時価|2個|";
    }
    void makesRowsOfTheCells()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, row);
        const std::optional<RowCells> cells = rowFromFields(fields, tableOrderMapping(int(fields.size())));
        QVERIFY(cells);
        QCOMPARE(rowText(*cells), row);
        QVERIFY(!rowFromFields({"", " ", "\t"}, tableOrderMapping(3)));
    }

    void readsTaxClasses_data()
    {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<QString>("classes"); // S, R, E for each text, "?" where none is read
        QTest::newRow("reduced") << "8|8%|８％|0.08|8.0 %|軽減|軽減税率|※|＊|○|※8%|8%（軽減）|Reduced"
                                 << "RRRRRRRRRRRRR";
        QTest::newRow("standard") << "10|10%|１０％|0.1|標準|標準税率|課税|| |Standard"
                                  << "SSSSSSSSSS";
        QTest::newRow("not taxed") << "非課税|対象外|課税対象外|不課税|免税|0%|Exempt"
                                   << "EEEEEEE";
        QTest::newRow("unread") << "0|1|5%|12|abc|軽減10%|※標準|非課税8%|8 10|×"
                                << "??????????";
        QTest::newRow("a column marking reduced rows") << "1|yes|○|※|8%|0|×|ー|-||10|abc"
                                                       << "RRRRRSSSSSS?";
    }
    void readsTaxClasses()
    {
        QFETCH(QString, texts);
        QFETCH(QString, classes);
        QString read;
        const TaxColumnKind kind = QTest::currentDataTag() == QByteArray("a column marking reduced rows")
                                       ? TaxColumnKind::ReducedMarks
                                       : TaxColumnKind::Classes;
        for (const QString &text : texts.split(u'|')) {
            const std::optional<TaxClass> taxClass = taxClassOfText(text, kind);
            read += taxClass ? QStringLiteral("SRE").at(int(*taxClass)) : u'?';
        }
        QCOMPARE(read, classes);
    }

    void checksRowsAsTheyComeIn_data()
    {
        QTest::addColumn<QStringList>("fields"); // the table's order, then the tax class
        QTest::addColumn<QString>("problems");
        QTest::newRow("clean") << QStringList{"12/1", "米", "1,980", "2", "3,960", "８％"} << "";
        QTest::newRow("a return") << QStringList{"", "返品", "500", "-2", "-1,000", ""} << "";
        QTest::newRow("rounded as the table rounds") << QStringList{"", "a", "12.5", "3", "38", "10"} << "";
        QTest::newRow("a text price is its own") << QStringList{"", "送料", "800", "1", "別途"} << "";
        QTest::newRow("quantity abc") << QStringList{"", "a", "100", "abc", ""} << "the quantity “abc” is not a number";
        QTest::newRow("wrong price") << QStringList{"", "a", "\\1,980", "2", "9,999"}
                                     << "the price ￥9,999 is not unit price × quantity (￥3,960)";
        QTest::newRow("a unit price in words, an unread class")
            << QStringList{"", "鮮魚", "時価", "1", "", "標準外"}
            << "the unit price “時価” is not a number; the tax class “標準外” is not one Seikyu reads (8 %, 10 %, "
               "軽減, ※, 非課税, 対象外)";
    }
    void checksRowsAsTheyComeIn()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, problems);
        const ImportedRows read = rowsFromRecords({{7, fields}}, tableOrderMapping(5), false, 5);
        QCOMPARE(read.rows.size(), 1);
        QCOMPARE(read.rows.constFirst().problems.join(QStringLiteral("; ")), problems);
        const QList<SkippedLine> flagged{{7, problems}};
        QCOMPARE(read.flagged(), problems.isEmpty() ? QList<SkippedLine>() : flagged);
        QCOMPARE(read.withoutFlagged().rows.size(), problems.isEmpty() ? 1 : 0);
    }

    void namesWhatTheRowsLeaveAside()
    {
        // Columns left out by name, or by number where the header gives none; an empty one is not named.
        const DelimitedText sheet = splitDelimited(
            QStringLiteral("品名,金額,備考,,税率,\nりんご,300,朝,x,8%,\nみかん,200,,,,\n"), u',', Quoting::Strict);
        const ImportedRows read = rowsFromRecords(sheet.records, *mappingFromHeader(sheet.records.constFirst().fields),
                                                  true, taxColumnOfHeader(sheet.records.constFirst().fields));
        QCOMPARE(taxClasses(read.rows), QStringLiteral("RS"));
        // Under 軽減 or ※ a 1 marks a reduced row and a 0 leaves it standard; under 税率 they are no rate.
        const QList<TextRecord> flags{{1, {"品名", "※"}}, {2, {"米", "1"}}, {3, {"箱", "0"}}};
        QCOMPARE(taxClasses(rowsFromRecords(flags, {Column::Name, std::nullopt}, true, 1).rows), QStringLiteral("RS"));
        QCOMPARE(rowsFromRecords(flags, {Column::Name, std::nullopt}, false, 1).flagged().size(), 2); // 1 and 0
        QCOMPARE(read.unplacedColumns, QStringList({"備考", "column 4"}));
        QCOMPARE(readingNotes(read), QStringList{"Columns not imported: 備考, column 4."});
        // Without a tax column every row is standard, and the notes say so and how to mark reduced rows.
        const ImportedRows plain = rowsFromRecords(sheet.records, tableOrderMapping(4), true);
        QCOMPARE(taxClasses(plain.rows), QStringLiteral("SS"));
        QCOMPARE(plain.unplacedColumns, QStringList{"税率"});
        QVERIFY(readingNotes(plain).constLast().contains(QStringLiteral("every row is at the invoice's rate")));
        QVERIFY(readingNotes(plain).constLast().contains(QStringLiteral("Ctrl+R")));
    }

    void placesRowsAfterTheCurrentRowAboveTheSums()
    {
        const auto item = [] { return std::make_shared<ItemRow>("12/1", "a", "1", "1", "100"); };
        const QString b = QStringLiteral(" ");
        QList<RowPtr> rows{ItemRow::makeHeader(), item(), item()};
        QCOMPARE(insertionIndex(rows, 1), 2);
        QCOMPARE(insertionIndex(rows, 0), 1);
        QCOMPARE(insertionIndex(rows, -1), 3);
        rows << std::make_shared<ItemRow>(b, b, b, b, b) << std::make_shared<ItemRow>(b, b, b, "小計", "200")
             << std::make_shared<ItemRow>(b, b, b, "消費税", "20") << std::make_shared<ItemRow>(b, b, b, "合計", "220");
        QCOMPARE(insertionIndex(rows, 2), 3);
        QCOMPARE(insertionIndex(rows, 5), 3); // a sums row is current: after the items
        QCOMPARE(insertionIndex(rows, -1), 3);
        QCOMPARE(insertionIndex({ItemRow::makeHeader()}, -1), 1);
    }

    // ---- the clipboard ----

    void readsSpreadsheetClipboards_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const QString melon = "12/2|メロン\n贈答用|" + yen(3000) + "|2|" + yen(6000);
        // LibreOffice Calc: LF line ends and a last one; a cell with a line break quoted.
        QTest::newRow("Calc") << QStringLiteral("12/1\tりんご\t150\t10\t\n12/2\t\"メロン\n贈答用\"\t3,000\t2\t\n")
                              << QStringList{"12/1|りんご|" + yen(150) + "|10|" + yen(1500), melon};
        // Excel: CRLF line ends, the line break inside a cell a bare LF, quotes doubled.
        QTest::newRow("Excel") << QStringLiteral("12/1\t\"5\"\" モニター\"\t\"￥12,000\"\t1\t\"￥12,000\"\r\n"
                                                 "12/2\t\"メロン\n贈答用\"\t￥3,000\t2\t\r\n")
                               << QStringList{"12/1|5\" モニター|" + yen(12000) + "|1|" + yen(12000), melon};
        QTest::newRow("Japanese header in another order, extra column")
            << QStringLiteral("品名\t数量\t単価\t備考\n野菜\t3\t200\t朝\n")
            << QStringList{"|野菜|" + yen(200) + "|3|" + yen(600)};
        QTest::newRow("a return in a full-width minus") << QStringLiteral("品名\t単価\t数量\n返品\t￥500\t－２\n")
                                                        << QStringList{"|返品|" + yen(500) + "|-2|" + yen(-1000)};
        QTest::newRow("English header") << QStringLiteral("Description\tAmount\r\nDesign\t50,000\r\n")
                                        << QStringList{"|Design|||" + yen(50000)};
        QTest::newRow("a cell that only starts with a quotation mark")
            << QStringLiteral("12/1\t\"A\" 型\t100\t1\t")
            << QStringList{"12/1|\"A\" 型|" + yen(100) + "|1|" + yen(100)};
        QTest::newRow("empty lines between")
            << QStringLiteral("\ta\n\n\t\t\t\t\n\tb\n") << QStringList{"|a|||", "|b|||"};
        QTest::newRow("a header alone") << QStringLiteral("日付\t品名\n") << QStringList{};
    }
    void readsSpreadsheetClipboards()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QVERIFY(isTableText(text));
        QCOMPARE(rowTexts(rowsFromClipboard(text).rows), rows);
    }

    void tellsHeaderlessColumnsByContent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mapping"); // as mappingText gives it; "ask": the content leaves a doubt
        const char *const cases[][3] = {
            {"laid out as the table", "12/1\tりんご\t150\t10\t\n12/2\tなし\t3,000\t2\t", "0 1 2 3 4"},
            {"quantity before unit price",
             "10/1\tキャベツ\t4\t1980\t7920\n10/2\t玉ねぎ\t10\t120\t1200\n10/3\t人参\t1\t300\t300", "0 1 3 2 4"},
            {"a return", "返品\t500\t-2\t-1000", "1 2 3 4"},
            {"the currency sign tells the unit price", "作業\t5\t￥3\t￥15", "1 3 2 4"},
            {"price first, date last", "7920\t4\t1980\tキャベツ\t2026年10月1日（木）", "4 3 2 1 0"},
            {"a description and its price", "作業費\t50,000\n交通費\t1,200", "1 4"},
            {"an empty column left out", "キャベツ\t\t10/1\t3000", "1 - 0 4"},
            {"two columns of text", "キャベツ\t朝\t100", "ask"},
            {"two numbers out of order", "キャベツ\t4\t1980", "ask"},
            {"numbers that do not multiply up", "10/1\tA\t4\t1980\t5000", "ask"},
            {"a decimal is no date", "10.5\tA\t10/1\t2", "ask"},
        };
        for (const auto &[name, text, mapping] : cases)
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(mapping);
    }
    void tellsHeaderlessColumnsByContent()
    {
        QFETCH(QString, text);
        QFETCH(QString, mapping);
        const QList<TextRecord> records = splitDelimited(text, u'\t', Quoting::Lenient).records;
        QCOMPARE(mappingText(mappingFromContent(records), QStringLiteral("ask")), mapping);
    }

    // ---- CSV files ----

    void readsCsvFilesAsExcelWritesThem()
    {
        const Result<CsvFile> read = readCsvBytes(Cp932Deliveries);
        QCOMPARE(read.message(), QString());
        const CsvFile &file = *read;
        QCOMPARE(int(file.encoding), int(TextEncoding::ShiftJis));
        QVERIFY(file.header);
        const ImportedRows imported = rowsFromRecords(file.table.records, file.proposedMapping(), true);
        QCOMPARE(rowTexts(imported.rows),
                 QStringList({"12/1|野菜セット①|" + yen(1200) + "|3|" + yen(3600), "12/2|鮮魚 10～20kg||1|" + yen(5000),
                              "12/3|ﾃｽﾄ|" + yen(500) + "|2|" + yen(1000)}));
        // The same sheet as UTF-8 with BOM, a description over two lines.
        const CsvFile utf8 = readCsvBytes(QByteArray("\xEF\xBB\xBF") +
                                          QStringLiteral("金額,品名\n\"1,000\",\"二行の\n品名\"\n").toUtf8())
                                 .value();
        QCOMPARE(int(utf8.encoding), int(TextEncoding::Utf8WithBom));
        QCOMPARE(rowTexts(rowsFromRecords(utf8.table.records, utf8.proposedMapping(), true).rows),
                 QStringList({"|二行の\n品名|||" + yen(1000)}));
        // Without a header, the columns in the table's order.
        const CsvFile plain = readCsvBytes("12/1,a,100,2\n").value();
        QVERIFY(!plain.header);
        QCOMPARE(plain.proposedMapping(), tableOrderMapping(4));
        QCOMPARE(readCsvBytes("a,4,1980,7920\n")->proposedMapping(),
                 (ColumnMapping{Column::Name, Column::Much, Column::Solo, Column::Sums}));
    }

    void refusesDamagedFilesWithAReason_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QTest::newRow("an image") << encodedImage(image, "PNG") << "not text";
        QTest::newRow("a NUL byte in UTF-8") << QByteArray("a,b\n\0c,d\n", 9) << "not text";
        QTest::newRow("neither UTF-8 nor CP932") << QByteArray("a,\x80\xFF\xFE,b") << "not text";
        QTest::newRow("a control character") << QByteArray("a,\x01\x02,b") << "not text";
        QTest::newRow("empty") << QByteArray() << "empty";
        QTest::newRow("a BOM and line breaks only") << QByteArray("\xEF\xBB\xBF\r\n\r\n") << "empty";
        QTest::newRow("one line, unbalanced") << QByteArray("\"a,b\n") << "Line 1: a quotation mark";
        QTest::newRow("one empty quoted field") << QByteArray("\"\"") << "empty";
    }
    void refusesDamagedFilesWithAReason()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const Result<CsvFile> read = readCsvBytes(bytes);
        QVERIFY(!read);
        QVERIFY2(read.message().contains(reason), qPrintable(read.message()));
    }

    void refusesAFileTooLargeWithoutReadingIt()
    {
        QTemporaryDir dir;
        QFile big(dir.filePath("big.csv"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(200LL * 1000 * 1000)); // sparse: no disk is filled
        big.close();
        QElapsedTimer timer;
        timer.start();
        const Result<CsvFile> file = readCsvFile(big.fileName());
        QVERIFY(file.message().contains(QStringLiteral("too large")));
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(readCsvFile(dir.filePath("missing.csv")).message().contains(QStringLiteral("cannot be read")));
        QVERIFY(readCsvFile(dir.path()).message().contains(QStringLiteral("not a file")));
    }

    // ---- through the document ----

    void pastesRowsAsOneUndoStepWhereverTheyArePasted()
    {
        PrompterGuard prompter;
        DocumentController controller;
        Document *document = controller.newDocument();
        QAbstractItemModelTester tester(document->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        document->tblePlus();
        document->tblePlus();
        const QStringList before = tableTexts(*document);
        const auto makeCurrent = [&](int row) {
            child<QTableView>(*document, "grid")
                ->selectionModel()
                ->setCurrentIndex(document->tableModel()->index(row, 0), QItemSelectionModel::NoUpdate);
        };
        // Edit ▸ Paste Rows: after the current row, a second paste after the first, each one step.
        makeCurrent(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("品名\t金額\r\nりんご\t300\r\nみかん\t200\r\n"));
        child<QAction>(*document, "pasteRowsAction")->trigger();
        QStringList expected = before;
        expected.insert(2, "|りんご|||" + yen(300));
        expected.insert(3, "|みかん|||" + yen(200));
        QCOMPARE(tableTexts(*document), expected);
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Paste Rows"));
        QVERIFY(document->pasteRows(QStringLiteral("\tぶどう\t\t\t100")));
        QCOMPARE(tableTexts(*document).at(4), "|ぶどう|||" + yen(100));
        document->undoStack()->undo();
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), before);
        document->undoStack()->redo();
        QCOMPARE(tableTexts(*document), expected);
        // The header row current, as a table view makes it when focused with no row chosen: after the
        // last row, never above the first.
        makeCurrent(0);
        QVERIFY(document->pasteRows(QStringLiteral("12/1\tりんご\t100\t3\t\n")));
        QCOMPARE(tableTexts(*document).last(), "12/1|りんご|" + yen(100) + "|3|" + yen(300));
        document->undoStack()->undo();
        // Paste in the table panel: cells become rows after the current one, each number in its own
        // column; text without a tab goes into the current cell, as if typed.
        document->window()->show();
        document->window()->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == document->window());
        document->gridShow();
        QTableView *table = child<QTableView>(*document, "gridCore");
        QTRY_VERIFY(table->isVisible() && QApplication::activeWindow() == child<QDialog>(*document, "gridCtrl"));
        table->setFocus();
        table->setCurrentIndex(document->tableModel()->index(1, 1));
        QGuiApplication::clipboard()->setText(QStringLiteral("10/1\tキャベツ\t4\t1,980\t7,920\n"));
        QTest::keySequence(table, QKeySequence::Paste);
        QCOMPARE(tableTexts(*document).at(2), "10/1|キャベツ|" + yen(1980) + "|4|" + yen(7920));
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Paste Rows"));
        table->setCurrentIndex(document->tableModel()->index(1, 1));
        QGuiApplication::clipboard()->setText(QStringLiteral("設計作業\n"));
        QTest::keySequence(table, QKeySequence::Paste);
        QCOMPARE(document->tableModel()->row(1)->value(Column::Name).toString(), QStringLiteral("設計作業"));
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Edit a cell"));
        child<QDialog>(*document, "gridCtrl")->reject(); // its edits cancelled as one step
        QCOMPARE(tableTexts(*document), expected);
        // Columns their content cannot tell apart are asked for as a file's are; cancelling pastes nothing.
        QStringList asked;
        setImportChooser([&asked](QWidget *, const CsvFile &, const QString &name) {
            asked.append(name);
            return asked.size() == 1 ? std::nullopt
                                     : std::optional<ImportChoice>({{Column::Name, Column::Much, Column::Solo}, false});
        });
        QVERIFY(!document->pasteRows(QStringLiteral("キャベツ\t4\t1980")));
        QCOMPARE(tableTexts(*document), expected);
        QVERIFY(document->pasteRows(QStringLiteral("キャベツ\t4\t1980")));
        QCOMPARE(asked, QStringList({QString(), QString()}));
        QVERIFY(tableTexts(*document).contains("|キャベツ|" + yen(1980) + "|4|" + yen(7920)));
        document->undoStack()->undo();
        // Nothing to paste records nothing; nor does a text the saved file could not be opened with
        // again, pasted or typed: the user is told.
        const int steps = document->undoStack()->count();
        QVERIFY(!document->pasteRows(QStringLiteral("日付\t品名\n")));
        QVERIFY(!document->pasteRows(QStringLiteral("no tab")));
        QVERIFY(!document->pasteRows(QStringLiteral("\tな\uFEFFし\t\t\t100")));
        document->tableModel()->setData(document->tableModel()->index(1, 1), QStringLiteral("A\uFFFE"));
        QCOMPARE(prompter->alerts.size(), 2);
        QCOMPARE(document->undoStack()->count(), steps);
        QCOMPARE(tableTexts(*document), expected);
        // Totalled, a sums row current: the rows go after the items, and the sums follow them in the
        // same step, which undo gives back as one.
        document->gridCalc();
        makeCurrent(document->tableModel()->count() - 1);
        const QStringList totalled = tableTexts(*document);
        const auto total = [&] {
            return amountOf(document->tableModel()->row(document->tableModel()->count() - 1)->value(Column::Sums));
        };
        const qint64 totalBefore = total();
        QVERIFY(document->pasteRows(QStringLiteral("\tりんご\t100\t2\t")));
        QCOMPARE(tableTexts(*document).at(expected.size()), "|りんご|" + yen(100) + "|2|" + yen(200));
        QVERIFY(document->isTotalled());
        QVERIFY2(total() >= totalBefore + 200, qPrintable(tableTexts(*document).join(u'\n')));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), totalled);
        QCOMPARE(total(), totalBefore);

        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
    }

    void takesTaxClassesAndCheckedRows()
    {
        // 2 × ￥1,980 written as ￥9,999 and a quantity "abc" are taken as written or left out, as chosen;
        // each row keeps the tax class its column gives.
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("food.csv"), QStringLiteral("品名,数量,単価,金額,税率,備考\n"
                                                                                "米,2,1980,9999,8%,\n"
                                                                                "箱,abc,100,,10%,朝\n"
                                                                                "茶,1,500,,※,\n"
                                                                                "切手,1,84,84,非課税,\n")
                                                                     .toUtf8());
        bool leaveOut = false;
        setImportChooser([&leaveOut](QWidget *, const CsvFile &file, const QString &) {
            ImportChoice choice = file.proposedChoice();
            choice.leaveOutFlagged = leaveOut;
            return std::optional<ImportChoice>(choice);
        });
        const auto classes = [](const Document &document) {
            QString read;
            for (const RowPtr &row : document.tableModel()->rows().mid(1))
                read += QStringLiteral("SRE").at(int(row->taxClass()));
            return read;
        };
        for (const bool leave : {false, true}) {
            leaveOut = leave;
            auto document = makeDocument();
            document->setTaxRate(leave ? 8 : 10); // an invoice at 8 % throughout is told its classes wait
            QCOMPARE(document->importRowsFrom(path), leave ? 2 : 4);
            QCOMPARE(classes(*document), leave ? "RE" : "RSRE");
            if (!leave)
                QCOMPARE(tableTexts(*document).at(1), "|米|" + yen(1980) + "|2|" + yen(9999));
            const QString note = prompter->notes.constLast();
            QVERIFY2(note.contains(leave ? "Rows left out, as they need a look:" : "Rows taken as written"),
                     qPrintable(note));
            QVERIFY2(note.contains("Line 2: the price ￥9,999 is not unit price × quantity (￥3,960)\n"
                                   "Line 3: the quantity “abc” is not a number"),
                     qPrintable(note));
            QVERIFY2(note.contains("\n\nColumns not imported: 備考."), qPrintable(note));
            QCOMPARE(note.contains("taxed at 8 % throughout"), leave);
        }
        // A paste asks about such rows first; Cancel pastes nothing.
        auto document = makeDocument();
        const QString sheet = QStringLiteral("品名\t数量\t単価\t※\n米\t2\t1980\t※\n箱\tabc\t100\t\n");
        prompter->choiceAnswers = {-1, 1};
        QVERIFY(!document->pasteRows(sheet));
        QCOMPARE(document->tableModel()->count(), 1);
        QVERIFY(document->pasteRows(sheet));
        QCOMPARE(tableTexts(*document).mid(1), QStringList{"|米|" + yen(1980) + "|2|" + yen(3960)});
        QCOMPARE(classes(*document), "R");
        QVERIFY(prompter->questions.constLast().contains("Line 3: the quantity “abc” is not a number"));
    }

    void importsACsvFileAsOneUndoStep()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("deliveries.csv"),
                                       Cp932Deliveries + "\r\n,,,,\r\n12/4,\"unclosed,1,,\r\n12/5,return,-1,10,\r\n");
        ImportChoice asked;
        setImportChooser([&asked](QWidget *, const CsvFile &file, const QString &name) {
            asked = {file.proposedMapping(), file.header.has_value()};
            return name == u"deliveries.csv" ? std::optional<ImportChoice>(asked) : std::nullopt;
        });
        DocumentController controller;
        Document *document = controller.newDocument();
        document->tblePlus();
        const QStringList before = tableTexts(*document);
        // File ▸ Import Rows…: cancelling the file dialog imports nothing.
        child<QAction>(*document, "importRowsAction")->trigger();
        QCOMPARE(tableTexts(*document), before);
        prompter->openAnswers = {path};
        child<QAction>(*document, "importRowsAction")->trigger();
        QVERIFY(asked.firstLineIsHeader);
        QCOMPARE(document->tableModel()->count(), 6);
        QCOMPARE(tableTexts(*document).at(2), "12/1|野菜セット①|" + yen(1200) + "|3|" + yen(3600));
        QCOMPARE(tableTexts(*document).at(5), "12/5|return|" + yen(10) + "|-1|" + yen(-10));
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Import Rows"));
        // The closing message: how many, and which lines were skipped and why, in the file's order.
        QCOMPARE(prompter->notes.size(), 1);
        const QString note = prompter->notes.constFirst();
        QVERIFY2(note.startsWith(QStringLiteral("4 rows were added")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("Line 6: nothing in the columns")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("Line 7: a quotation mark")), qPrintable(note));
        QVERIFY(note.indexOf(QStringLiteral("Line 6")) < note.indexOf(QStringLiteral("Line 7")));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), before);

        // What cannot be imported is refused with a reason, and imports and records nothing.
        const int steps = document->undoStack()->count();
        bool chosen = false;
        setImportChooser([&chosen](QWidget *, const CsvFile &, const QString &) {
            chosen = true;
            return std::optional<ImportChoice>(
                ImportChoice{{std::nullopt, std::optional<Column>(Column::Name)}, false});
        });
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::green);
        QCOMPARE(document->importRowsFrom(writeFile(dir.filePath("picture.csv"), encodedImage(image, "PNG"))), 0);
        QCOMPARE(document->importRowsFrom(writeFile(dir.filePath("empty.csv"), QByteArray())), 0);
        QVERIFY(!chosen);
        // The only column chosen is empty.
        QCOMPARE(document->importRowsFrom(writeFile(dir.filePath("first.csv"), "a,\nb,\n")), 0);
        QVERIFY(chosen);
        QCOMPARE(prompter->alerts.size(), 3);
        QVERIFY(prompter->alerts.at(0).contains(QStringLiteral("not text")));
        QVERIFY(prompter->alerts.at(1).contains(QStringLiteral("empty")));
        QVERIFY(prompter->alerts.at(2).contains(QStringLiteral("Line 2: nothing in the columns")));
        // Cancelling the preview imports nothing either.
        setImportChooser([](QWidget *, const CsvFile &, const QString &) { return std::optional<ImportChoice>(); });
        QCOMPARE(document->importRowsFrom(writeFile(dir.filePath("ok.csv"), "a,b\n")), 0);
        QCOMPARE(tableTexts(*document), before);
        QCOMPARE(document->undoStack()->count(), steps);
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
    }

    void previewProposesTheColumnsAndKeepsEachTableColumnOnce()
    {
        const CsvFile file = readCsvBytes(QStringLiteral("No.,品名,金額,備考\n1,りんご,300,朝\n").toUtf8()).value();
        ImportRowsDialog dialog(nullptr, file, QStringLiteral("x.csv"));
        ImportChoice choice = dialog.choice();
        QVERIFY(choice.firstLineIsHeader);
        QCOMPARE(choice.mapping, (ColumnMapping{std::nullopt, Column::Name, Column::Sums, std::nullopt}));
        auto *preview = dialog.findChild<QTableWidget *>(QStringLiteral("importPreview"));
        auto *notes = dialog.findChild<QLabel *>(QStringLiteral("importNotes"));
        QCOMPARE(preview->rowCount(), 2); // the choosers, then the one line of rows
        QCOMPARE(preview->item(1, 3)->text(), QStringLiteral("りんご"));
        // Each row's tax class and what needs a look stand beside it, the columns left out below.
        QCOMPARE(preview->item(1, 0)->text(), QStringLiteral("Standard rate"));
        QVERIFY(notes->text().contains(QStringLiteral("Columns not imported: No., 備考.")));
        QVERIFY(notes->text().contains(QStringLiteral("every row is at the invoice's rate")));
        dialog.setTaxColumn(3);
        QCOMPARE(dialog.choice().taxColumn, 3);
        QCOMPARE(preview->item(1, 1)->text(),
                 QStringLiteral("the tax class “朝” is not one Seikyu reads (8 %, 10 %, 軽減, ※, 非課税, 対象外)"));
        QVERIFY(!notes->text().contains(QStringLiteral("invoice's rate")));
        QVERIFY(!dialog.choice().leaveOutFlagged);
        dialog.setLeaveOutFlagged(true);
        QVERIFY(dialog.choice().leaveOutFlagged);
        dialog.setColumn(3, std::nullopt);
        // The remarks chosen as the description take it from 品名.
        dialog.setColumn(3, Column::Name);
        QCOMPARE(dialog.choice().mapping, (ColumnMapping{std::nullopt, std::nullopt, Column::Sums, Column::Name}));
        // Without the header, the header line is a row of the preview and the table's order is proposed.
        dialog.setFirstLineIsHeader(false);
        QCOMPARE(dialog.choice().mapping, tableOrderMapping(4));
        QCOMPARE(preview->rowCount(), 3);
        // A row that needs a look far down the file is shown below the first lines.
        QByteArray longer("品名,数量,単価,金額\n");
        for (int i = 0; i < 30; ++i)
            longer += i == 25 ? "茶,2,100,999\n" : "茶,1,100,100\n";
        const CsvFile longerFile = readCsvBytes(longer).value();
        ImportRowsDialog further(nullptr, longerFile, QStringLiteral("y.csv"));
        auto *furtherPreview = further.findChild<QTableWidget *>(QStringLiteral("importPreview"));
        QCOMPARE(furtherPreview->rowCount(), 1 + ImportRowsDialog::PreviewLines + 1);
        QCOMPARE(furtherPreview->verticalHeaderItem(21)->text(), QStringLiteral("27"));
        auto *import = dialog.findChild<QPushButton *>(QStringLiteral("importCtrlOk"));
        for (int i = 0; i < 4; ++i)
            dialog.setColumn(i, std::nullopt);
        QVERIFY(!import->isEnabled());
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
