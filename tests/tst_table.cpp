// The item table: editing with undo, row prices, totals with consumption tax, the amount box and
// Finalize.
#include "document/Document.h"
#include "support/TestSupport.h"
#include "table/Amounts.h"
#include "table/ItemTableModel.h"
#include "widgets/PageButton.h"
#include "widgets/RoomBox.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QString yen(qint64 amount)
{
    return mark(amount, QStringLiteral("ja_JP"));
}

/// A document whose table holds the given (unit price, quantity, price) rows.
std::unique_ptr<Document> documentWithRows(const QList<std::array<QString, 3>> &rows, bool tax = true)
{
    QString items = QStringLiteral(R"({"date":"日付"})");
    int day = 1;
    for (const auto &r : rows)
        items += QStringLiteral(R"(,{"date":"05-%1","name":"item","solo":"%2","much":"%3","sums":"%4"})")
                     .arg(day++, 2, 10, QLatin1Char('0'))
                     .arg(r[0], r[1], r[2]);
    auto document = makeDocument(
        QStringLiteral(R"({"date":"2024-05-01","plus":%1,"item":[%2]})").arg(tax ? 1 : 0).arg(items).toUtf8());
    return document;
}

QVariant cell(const Document &document, int row, Column column)
{
    return document.bank->row(row)->value(column);
}

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    }
    void init() { clearSettings(); }

    void addRowUndoRedo()
    {
        auto document = makeDocument();
        QAbstractItemModelTester tester(document->bank, QAbstractItemModelTester::FailureReportingMode::QtTest);
        document->dateDial->setDate(QDate(2024, 5, 1));
        document->tblePlus();
        const QString added = QStringLiteral("05-01|double click to edit|00|00|00");
        QCOMPARE(tableTexts(*document).last(), added);
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Add a Row"));
        document->undoStack()->undo();
        QCOMPARE(document->bank->count(), 1);
        // Redo gives back the row that undo took, not a new one dated afresh.
        document->dateDial->setDate(QDate(2024, 6, 2));
        document->undoStack()->redo();
        QCOMPARE(tableTexts(*document).last(), added);
    }

    void editOfARedoneRowIsRedoneToo()
    {
        auto document = makeDocument();
        document->tblePlus();
        document->editCell(1, Column::Name, QStringLiteral("設計"));
        document->grid->selectRow(1);
        document->tbleKill();
        QCOMPARE(document->bank->count(), 1);
        for (int i = 0; i < 3; ++i)
            document->undoStack()->undo();
        QCOMPARE(document->bank->count(), 1);
        // Redo brings the row back new; the edit and the removal that follow still find it.
        document->undoStack()->redo();
        document->undoStack()->redo();
        QCOMPARE(cell(*document, 1, Column::Name).toString(), QStringLiteral("設計"));
        document->undoStack()->redo();
        QCOMPARE(document->bank->count(), 1);
        document->undoStack()->undo();
        QCOMPARE(cell(*document, 1, Column::Name).toString(), QStringLiteral("設計"));
    }

    void removeRowsAndPutThemBack()
    {
        auto document =
            documentWithRows({{"1", "1", "1"}, {"2", "1", "2"}, {"3", "1", "3"}, {"4", "1", "4"}, {"5", "1", "5"}});
        QAbstractItemModelTester tester(document->bank, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QStringList before = tableTexts(*document);
        QCOMPARE(before.size(), 6);
        QItemSelectionModel *selection = document->grid->selectionModel();
        selection->select(document->bank->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->select(document->bank->index(4, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        document->tbleKill();
        QCOMPARE(document->bank->count(), 4);
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Remove Rows"));
        for (int i = 0; i < 2; ++i) {
            document->undoStack()->undo();
            QCOMPARE(tableTexts(*document), before);
            document->undoStack()->redo();
            QCOMPARE(document->bank->count(), 4);
            QCOMPARE(tableTexts(*document).at(2), before.at(3));
        }
    }

    void headerRowCannotBeRemoved()
    {
        auto document = documentWithRows({{"1", "1", "1"}});
        document->grid->selectAll();
        const int undoCount = document->undoStack()->count();
        document->tbleKill();
        QCOMPARE(document->bank->count(), 2);
        QCOMPARE(document->undoStack()->count(), undoCount);
        document->grid->clearSelection();
        document->tbleKill(); // nothing selected: nothing recorded
        QCOMPARE(document->undoStack()->count(), undoCount);
    }

    void editCellUndoRestoresTheOldText()
    {
        auto document = documentWithRows({{"100", "1", "100"}});
        QAbstractItemModelTester tester(document->bank, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^PUSH: .*name = \"item\".*held = 1")));
        // Editing goes through the view's model, as a double click in the panel does.
        QVERIFY(document->bank->setData(document->bank->index(1, 1), QStringLiteral("設計作業")));
        QCOMPARE(cell(*document, 1, Column::Name).toString(), QStringLiteral("設計作業"));
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Edit a cell"));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^PULL: ")));
        document->undoStack()->undo();
        QCOMPARE(cell(*document, 1, Column::Name).toString(), QStringLiteral("item"));
        document->undoStack()->redo();
        QCOMPARE(cell(*document, 1, Column::Name).toString(), QStringLiteral("設計作業"));
        // The header row is not editable.
        QVERIFY(!document->bank->setData(document->bank->index(0, 1), QStringLiteral("x")));
        QCOMPARE(cell(*document, 0, Column::Name).toString(), QStringLiteral("項目"));
    }

    void rowPrice_data()
    {
        QTest::addColumn<QString>("solo");
        QTest::addColumn<QString>("much");
        QTest::addColumn<QVariant>("expectedMuch");
        QTest::addColumn<QString>("expectedSums");
        QTest::newRow("1000 × 3") << "1000"
                                  << "3" << QVariant(qint64(3)) << yen(3000);
        QTest::newRow("quantity 00") << "1000"
                                     << "00" << QVariant(QStringLiteral("00")) << "00";
        QTest::newRow("no number first") << "1000"
                                         << "個3" << QVariant(QStringLiteral("個3")) << "00";
        QTest::newRow("2個") << "1000"
                             << "2個" << QVariant(qint64(2)) << yen(2000);
        QTest::newRow("1,000") << "5"
                               << "1,000" << QVariant(qint64(1000)) << yen(5000);
        QTest::newRow("full-width unit price") << "１，２００"
                                               << "2" << QVariant(qint64(2)) << yen(2400);
        QTest::newRow("full-width quantity") << "1000"
                                             << "３" << QVariant(qint64(3)) << yen(3000);
        QTest::newRow("full-width 3個") << "1000"
                                        << "３個" << QVariant(qint64(3)) << yen(3000);
        QTest::newRow("1.5 days") << "40001"
                                  << "1.5日" << QVariant(QStringLiteral("1.5日")) << yen(60002);
        QTest::newRow("half a unit") << "3"
                                     << "0.5" << QVariant(QStringLiteral("0.5")) << yen(2);
        QTest::newRow("discount") << "△5,000"
                                  << "1" << QVariant(qint64(1)) << yen(-5000);
        QTest::newRow("no unit price") << ""
                                       << "2" << QVariant(QStringLiteral("2")) << "00";
        QTest::newRow("overflow") << "9223372036854775807"
                                  << "2" << QVariant(QStringLiteral("2")) << "00";
    }
    void rowPrice()
    {
        QFETCH(QString, solo);
        QFETCH(QString, much);
        auto document = documentWithRows({{solo, much, "00"}});
        document->gridNeat(1);
        QTEST(cell(*document, 1, Column::Much), "expectedMuch");
        QTEST(cell(*document, 1, Column::Sums).toString(), "expectedSums");
        document->gridNeat(1); // again: the same values
        QTEST(cell(*document, 1, Column::Sums).toString(), "expectedSums");
        document->gridNeat(0);
        document->gridNeat(-1);
        QCOMPARE(tableTexts(*document).first(), QStringLiteral("日付|項目|単価|個数|価格"));
    }

    void totalsWithTax_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<bool>("tax");
        QTest::addColumn<qint64>("subtotal");
        QTest::addColumn<QString>("taxText");
        QTest::addColumn<qint64>("total");
        QTest::newRow("1,000 + 234") << QStringList{"1000", "234"} << true << qint64(1234) << yen(99) << qint64(1333);
        QTest::newRow("included") << QStringList{"1000", "234"} << false << qint64(1234) << "税込済み" << qint64(1234);
        QTest::newRow("6") << QStringList{"6"} << true << qint64(6) << "0" << qint64(6);
        QTest::newRow("7") << QStringList{"7"} << true << qint64(7) << yen(1) << qint64(8);
        QTest::newRow("1000") << QStringList{"1000"} << true << qint64(1000) << yen(80) << qint64(1080);
        QTest::newRow("12345") << QStringList{"12345"} << true << qint64(12345) << yen(988) << qint64(13333);
        QTest::newRow("header only") << QStringList{} << true << qint64(0) << "0" << qint64(0);
    }
    void totalsWithTax()
    {
        QFETCH(QStringList, prices);
        QFETCH(bool, tax);
        QList<std::array<QString, 3>> rows;
        for (const QString &price : prices)
            rows.append({price, "1", price});
        auto document = documentWithRows(rows, tax);
        QAbstractItemModelTester tester(document->bank, QAbstractItemModelTester::FailureReportingMode::QtTest);
        document->gridCalc();
        const int n = document->bank->count();
        QCOMPARE(n, prices.size() + 5);
        QCOMPARE(tableTexts(*document).at(n - 4), QStringLiteral(" | | | | "));
        QCOMPARE(cell(*document, n - 3, Column::Much).toString(), QStringLiteral("小計"));
        QFETCH(qint64, subtotal);
        QFETCH(qint64, total);
        auto amountText = [](qint64 v) { return v == 0 ? QStringLiteral("0") : yen(v); };
        QCOMPARE(cellDisplay(cell(*document, n - 3, Column::Sums)), amountText(subtotal));
        QTEST(cellDisplay(cell(*document, n - 2, Column::Sums)), "taxText");
        QCOMPARE(cellDisplay(cell(*document, n - 1, Column::Sums)), amountText(total));
        QVERIFY(document->isTotalled());
        QCOMPARE(document->shownSheet(), document->gridCtrl.get());
        QVERIFY(document->grid->selectionModel()->selectedRows().isEmpty());
    }

    void totalsTwiceAndAfterANewRow()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}});
        document->gridCalc();
        const int rows = document->bank->count();
        document->gridCalc();
        QCOMPARE(document->bank->count(), rows);
        QCOMPARE(document->shownSheet(), document->gridFail.get());
        QVERIFY(document->gridFailText->text().contains(QStringLiteral("already")));
        document->gridFailClose(); // back to the table
        QCOMPARE(document->shownSheet(), document->gridCtrl.get());

        // A row past the sums, then totals again: one set of sums at the end, each item once.
        document->tblePlus();
        document->editCell(rows, Column::Solo, QStringLiteral("500"));
        document->editCell(rows, Column::Much, QStringLiteral("1"));
        QVERIFY(!document->isTotalled());
        document->gridCalc();
        const QStringList texts = tableTexts(*document);
        QCOMPARE(texts.size(), 7);
        QCOMPARE(texts.filter(QStringLiteral("|合計|")).size(), 1);
        QCOMPARE(texts.at(2).section(u'|', 2), QStringLiteral("￥500|1|￥500"));
        QCOMPARE(cellDisplay(cell(*document, 4, Column::Sums)), yen(1500));
        QCOMPARE(cellDisplay(cell(*document, 6, Column::Sums)), yen(1620));
    }

    void typedButUnpricedRowsCount()
    {
        // Rows whose unit price and quantity were typed but never clicked are priced by the totals;
        // a price typed straight into the row stays as typed.
        auto document = documentWithRows({{"1000", "３個", "00"}, {"100", "2", "5000"}, {"1.5", "1", ""}});
        document->gridCalc();
        QCOMPARE(cell(*document, 1, Column::Sums).toString(), yen(3000));
        QCOMPARE(cell(*document, 1, Column::Much), QVariant(qint64(3)));
        QCOMPARE(cell(*document, 2, Column::Sums).toString(), yen(5000));
        QCOMPARE(cell(*document, 3, Column::Sums).toString(), yen(2));
        QCOMPARE(cellDisplay(cell(*document, 5, Column::Sums)), yen(8002));
        // One step, undone as one: the rows are unpriced again.
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Add Sum"));
        document->undoStack()->undo();
        QCOMPARE(cell(*document, 1, Column::Sums).toString(), QStringLiteral("00"));
        QCOMPARE(document->bank->count(), 4);
    }

    void discountsAndFractionsKeepTheirMeaning()
    {
        QTemporaryDir dir;
        auto document = documentWithRows({{"100000", "1", "00"}, {"△5,000", "1", "00"}, {"8000", "1.5", "00"}});
        document->gridCalc();
        const QStringList totalled = tableTexts(*document);
        QCOMPARE(cell(*document, 2, Column::Sums).toString(), yen(-5000));
        QCOMPARE(cell(*document, 3, Column::Much).toString(), QStringLiteral("1.5"));
        QCOMPARE(cellDisplay(cell(*document, 5, Column::Sums)), yen(107000));
        QCOMPARE(cellDisplay(cell(*document, 6, Column::Sums)), yen(8560));
        QCOMPARE(cellDisplay(cell(*document, 7, Column::Sums)), yen(115560));
        // The file keeps the sign and the fraction, and the invoice reopens the same.
        const QByteArray bytes = document->dataOfType();
        QVERIFY(bytes.contains(R"("solo": "-5000")"));
        QVERIFY(bytes.contains(R"("much": "1.5")"));
        auto reopened = makeDocument(bytes);
        QVERIFY(reopened->isTotalled());
        QCOMPARE(tableTexts(*reopened).mid(1, 3), totalled.mid(1, 3));
        QCOMPARE(reopened->dataOfType(), bytes);
    }

    void ratesMarksAndWithholding()
    {
        // A food wholesaler's invoice: reduced-rate food, a standard-rate delivery, an exempt fee.
        auto document = documentWithRows({{"1500", "2", "00"}, {"50000", "1", "00"}, {"2000", "1", "00"}});
        document->setTaxRate(10);
        document->grid->selectRow(1);
        document->markRows(TaxClass::Reduced);
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Mark Reduced Rate"));
        QCOMPARE(document->bank->data(document->bank->index(1, 1)).toString(), QStringLiteral("item ※"));
        document->grid->selectRow(3);
        document->markRows(TaxClass::Exempt);
        document->gridHold->setChecked(true);
        document->gridCalc();
        QStringList sums;
        for (int row = 5; row < document->bank->count(); ++row)
            sums.append(tableTexts(*document).at(row).section(u'|', 3));
        QCOMPARE(sums, (QStringList{"10%対象|" + yen(50000), "消費税(10%)|" + yen(5000), "8%対象|" + yen(3000),
                                    "消費税(8%)|" + yen(240), "非課税|" + yen(2000), "合計|" + yen(60240),
                                    "源泉徴収税|" + yen(-5615), "差引請求額|" + yen(54625)}));
        // The amount box asks for what the customer pays; Remove Sum takes the whole set away.
        document->sumsCopy();
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n") + yen(54625));
        const QByteArray bytes = document->dataOfType();
        for (const char *member : {R"("rate": 10)", R"("rate": 8)", R"("rate": 0)", R"("hold": 1)"})
            QVERIFY2(bytes.contains(member), member);
        auto reopened = makeDocument(bytes);
        QCOMPARE(reopened->taxRate(), 10);
        QVERIFY(reopened->withholds() && reopened->isTotalled());
        QCOMPARE(reopened->dataOfType(), bytes);
        document->tbleBack();
        QCOMPARE(document->bank->count(), 4);
        // Marking again takes the mark off, one step at a time.
        document->grid->selectRow(1);
        document->markRows(TaxClass::Reduced);
        QCOMPARE(document->bank->row(1)->taxClass(), TaxClass::Standard);
        document->undoStack()->undo();
        QCOMPARE(document->bank->row(1)->taxClass(), TaxClass::Reduced);
    }

    void anOlderInvoiceOpensAndSavesUnchanged()
    {
        // 8 %, no marks, nothing withheld: the file written back is the file that was read.
        auto document = documentWithRows({{"1000", "1", "1000"}, {"234", "1", "234"}});
        document->gridCalc();
        const QByteArray older = document->dataOfType();
        QVERIFY(!older.contains("rate") && !older.contains("hold"));
        auto reopened = makeDocument(older);
        QCOMPARE(reopened->dataOfType(), older);
        QCOMPARE(reopened->taxRate(), 8);
    }

    void totalsTooLargeSaySo()
    {
        auto document = documentWithRows({{"9223372036854775807", "1", "9223372036854775807"}});
        const QStringList before = tableTexts(*document);
        document->gridShow();
        document->gridCalc();
        QCOMPARE(document->shownSheet(), document->gridFail.get());
        QVERIFY(document->gridFailText->text().contains(QStringLiteral("too large")));
        QCOMPARE(tableTexts(*document), before);
        QCOMPARE(document->undoStack()->count(), 0);
    }

    void removeSumAndItsUndo()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}});
        const QStringList items = tableTexts(*document);
        document->tbleBack(); // not totalled: nothing happens
        QCOMPARE(tableTexts(*document), items);
        QCOMPARE(document->undoStack()->count(), 0);
        document->gridCalc();
        const QStringList totalled = tableTexts(*document);
        document->tbleBack();
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Remove Sum"));
        QCOMPARE(document->bank->count(), 2);
        QCOMPARE(tableTexts(*document).at(1), totalled.at(1));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), totalled);
        document->undoStack()->redo();
        QCOMPARE(document->bank->count(), 2);
    }

    void undoGivesBackWhatWasDone_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("undoNames");
        QTest::newRow("add a row after totals")
            << QStringList{"add", "solo 1 1000", "much 1 3", "sum", "add"}
            << QStringList{"Add a Row", "Add Sum", "Edit a cell", "Edit a cell", "Add a Row"};
        QTest::newRow("price, then edit another cell")
            << QStringList{"add", "solo 1 1000", "much 1 3", "price 1", "name 1 設計", "sum"}
            << QStringList{"Add Sum", "Edit a cell", "Work Out Price", "Edit a cell", "Edit a cell", "Add a Row"};
        QTest::newRow("remove sum, then totals again")
            << QStringList{"add", "solo 1 1000", "much 1 1", "sum", "back", "add", "solo 2 1", "much 2 2", "sum"}
            << QStringList{"Add Sum", "Edit a cell", "Edit a cell", "Add a Row", "Remove Sum",
                           "Add Sum", "Edit a cell", "Edit a cell", "Add a Row"};
        QTest::newRow("rows past an earlier sum")
            << QStringList{"add", "solo 1 1000", "much 1 1", "sum", "add", "solo 6 500", "much 6 1", "sum", "kill 2"}
            << QStringList{"Remove Rows", "Add Sum",     "Edit a cell", "Edit a cell", "Add a Row",
                           "Add Sum",     "Edit a cell", "Edit a cell", "Add a Row"};
        QTest::newRow("finalize") << QStringList{"add", "solo 1 -500", "sums 1 -500", "finalize"}
                                  << QStringList{"Finalize", "Edit a cell", "Edit a cell", "Add a Row"};
    }
    void undoGivesBackWhatWasDone()
    {
        QFETCH(QStringList, steps);
        auto document = makeDocument();
        QAbstractItemModelTester tester(document->bank, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^P(USH|ULL): ")));
        for (const QString &step : steps) {
            const QStringList words = step.split(u' ');
            const int row = words.value(1).toInt();
            if (words.first() == u"add")
                document->tblePlus();
            else if (words.first() == u"sum")
                document->gridCalc();
            else if (words.first() == u"back")
                document->tbleBack();
            else if (words.first() == u"finalize")
                document->done();
            else if (words.first() == u"price")
                document->gridNeat(row);
            else if (words.first() == u"kill")
                document->grid->selectRow(row), document->tbleKill();
            else
                document->editCell(row, static_cast<Column>(columnOfKey(words.first())), words.value(2));
        }
        // Undo all the way, then redo and undo again: every step gives back exactly the table it
        // left, the menu names each step, and none ends in a notice.
        QList<QStringList> states{tableTexts(*document)};
        QStringList names;
        while (document->undoStack()->canUndo()) {
            names.append(document->undoStack()->undoText());
            document->undoStack()->undo();
            states.append(tableTexts(*document));
        }
        QTEST(names, "undoNames");
        QCOMPARE(states.last(), QStringList{QStringLiteral("日付|項目|単価|個数|価格")});
        for (int cycle = 0; cycle < 2; ++cycle) {
            for (qsizetype i = states.size() - 2; i >= 0; --i) {
                document->undoStack()->redo();
                QCOMPARE(tableTexts(*document), states.at(i));
            }
            for (qsizetype i = 1; i < states.size(); ++i) {
                document->undoStack()->undo();
                QCOMPARE(tableTexts(*document), states.at(i));
            }
        }
        QVERIFY(document->shownSheet() != document->gridFail.get());
    }

    void undoOfAnEditKeepsTheWorkedOutPrice()
    {
        auto document = documentWithRows({{"1000", "3", "00"}});
        document->gridNeat(1);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^P(USH|ULL): ")));
        document->editCell(1, Column::Name, QStringLiteral("設計"));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document).at(1).section(u'|', 1), QStringLiteral("item|￥1,000|3|￥3,000"));
    }

    void amountBox()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}, {"234", "1", "234"}});
        document->sumsCopy();
        QCOMPARE(document->shownSheet(), document->sumsFail.get()); // never totalled
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n"));
        QVERIFY(!document->isEdited());
        document->sumsFailClose();

        document->gridCalc();
        document->updateChangeCount(Document::ChangeCleared);
        document->sumsCopy();
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n") + yen(1333));
        QVERIFY(!document->sumsRoom->hasGuideBorder());
        QVERIFY(document->isEdited());

        // Reopened, the box is the same.
        auto reopened = makeDocument(document->dataOfType());
        QCOMPARE(reopened->sums->title(), document->sums->title());
        QVERIFY(!reopened->sumsRoom->hasGuideBorder());

        // A row past the sums: no total to take.
        document->tblePlus();
        const QString before = document->sums->title();
        document->sumsCopy();
        QCOMPARE(document->shownSheet(), document->sumsFail.get());
        QCOMPARE(document->sums->title(), before);

        QVERIFY(document->sumsFailText->text().contains(QStringLiteral("does not end with a total")));

        // A table whose total is 0 has nothing to take either, and the notice says so.
        auto empty = makeDocument();
        empty->gridCalc();
        empty->sumsCopy();
        QCOMPARE(empty->shownSheet(), empty->sumsFail.get());
        QVERIFY(empty->sumsFailText->text().contains(QStringLiteral("total is 0")));
        QVERIFY(empty->sumsRoom->hasGuideBorder());
    }

    void staleAmountBoxShowsItsGuideBorder()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}});
        QVERIFY(!document->amountBoxDisagrees()); // a box never taken from the table is left alone
        document->gridCalc();
        document->sumsCopy();
        QVERIFY(!document->sumsRoom->hasGuideBorder());
        // Any change to the total brings the guide border back, until the two agree again.
        document->tbleBack();
        QVERIFY(document->amountBoxDisagrees());
        QVERIFY(document->sumsRoom->hasGuideBorder());
        document->undoStack()->undo();
        QVERIFY(!document->sumsRoom->hasGuideBorder());
        document->tbleBack();
        document->editCell(1, Column::Sums, QStringLiteral("2000"));
        document->gridCalc();
        QCOMPARE(document->amountBoxCheck()->shown, 1080);
        QCOMPARE(document->amountBoxCheck()->table, 2160);
        QVERIFY(document->sumsRoom->hasGuideBorder());
        // Opened from a file, a stale box shows it at once.
        auto reopened = makeDocument(document->dataOfType());
        QVERIFY(reopened->sumsRoom->hasGuideBorder());
        QVERIFY(!reopened->isEdited());
        reopened->sumsCopy();
        QVERIFY(!reopened->sumsRoom->hasGuideBorder());
        QVERIFY(!reopened->amountBoxDisagrees());
    }

    void finalizeAndReopen()
    {
        auto document = documentWithRows({{"1000", "3", "3000"}, {"00", "00", "00"}}, false);
        document->gridCalc();
        document->undoStack()->clear();
        // Make the amounts plain digits first, then finalize them.
        document->wipeDone();
        QCOMPARE(cell(*document, 1, Column::Solo).toString(), QStringLiteral("1000"));
        QCOMPARE(cell(*document, document->bank->count() - 2, Column::Sums).toString(), QStringLiteral("税込済み"));
        QCOMPARE(cell(*document, document->bank->count() - 4, Column::Sums).toString(), QStringLiteral(" "));
        const QStringList digits = tableTexts(*document);
        document->done();
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Finalize"));
        const QStringList finalized = tableTexts(*document);
        QCOMPARE(cell(*document, 1, Column::Solo).toString(), yen(1000));
        QCOMPARE(cell(*document, 2, Column::Solo).toString(), QStringLiteral("00"));
        QCOMPARE(cell(*document, 1, Column::Much).toString(), QStringLiteral("3"));
        for (int i = 0; i < 2; ++i) {
            document->undoStack()->undo();
            QCOMPARE(tableTexts(*document), digits);
            document->undoStack()->redo();
            QCOMPARE(tableTexts(*document), finalized);
        }
        // The amount box after an undone Finalize takes the digits as they stand.
        document->undoStack()->undo();
        document->sumsCopy();
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n3000"));
    }

    void yensIsIdempotent()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}, {"-500", "1", "12.50"}, {"00", "00", "00"}});
        document->yens();
        const QStringList once = tableTexts(*document);
        QCOMPARE(cell(*document, 2, Column::Solo).toString(), yen(-500));
        QCOMPARE(cell(*document, 2, Column::Sums).toString(), yen(13));
        QCOMPARE(cell(*document, 3, Column::Sums).toString(), QStringLiteral("00"));
        document->yens();
        QCOMPARE(tableTexts(*document), once);
        QCOMPARE(once.first(), QStringLiteral("日付|項目|単価|個数|価格"));
    }

    void tablePanelCancelIsOneStep_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::addColumn<bool>("throughTotals"); // the panel was shown again after Add Sum
        QTest::newRow("Cancel") << false << false;
        QTest::newRow("Esc") << true << false;
        QTest::newRow("Cancel after Add Sum") << false << true;
        QTest::newRow("Add Sum said no to, then Esc") << true << true;
    }

    void tablePanelCancelIsOneStep()
    {
        QFETCH(bool, escape);
        QFETCH(bool, throughTotals);
        auto document = documentWithRows({{"1000", "2", "2000"}});
        document->tblePlus(); // an earlier step, before the panel opens
        const QStringList atOpen = tableTexts(*document);
        const int steps = document->undoStack()->count();
        document->gridShow();
        document->tblePlus();
        document->editCell(1, Column::Name, QStringLiteral("設計"));
        document->gridXtax->setChecked(false);
        if (throughTotals) {
            document->gridSumsShow();
            // "Add Sum" then totals and shows the table again; Cancel of the question goes back too.
            escape ? document->gridSums->reject() : document->gridCalc();
            QTRY_VERIFY(document->gridCtrl->isVisible());
        }
        const QStringList atCancel = tableTexts(*document);
        document->grid->selectRow(1);
        escape ? QTest::keyClick(document->gridCtrl.get(), Qt::Key_Escape)
               : QTest::mouseClick(document->gridCtrl->findChild<QPushButton *>(QStringLiteral("gridCtrlCancel")),
                                   Qt::LeftButton);
        QVERIFY(!document->gridCtrl->isVisible());
        QCOMPARE(tableTexts(*document), atOpen);
        QVERIFY(document->gridXtax->isChecked());
        QVERIFY(document->grid->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Cancel Table Edits"));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), atCancel);
        QVERIFY(!document->gridXtax->isChecked());
        document->undoStack()->redo();
        QCOMPARE(tableTexts(*document), atOpen);
        // Nothing changed, nothing recorded.
        const int recorded = document->undoStack()->count();
        QVERIFY(recorded > steps);
        document->gridShow();
        document->gridCtrl->reject();
        QCOMPARE(document->undoStack()->count(), recorded);
    }

    void gridCopyClosesThePanel()
    {
        auto document = documentWithRows({{"1", "1", "1"}});
        document->gridShow();
        QCOMPARE(document->shownSheet(), document->gridCtrl.get());
        QVERIFY(document->gridCtrl->isVisible());
        document->grid->selectRow(1);
        document->gridCopy();
        QVERIFY(!document->gridCtrl->isVisible());
        QVERIFY(!document->gridRoom->hasGuideBorder());
        QVERIFY(document->grid->selectionModel()->selectedRows().isEmpty());
        QVERIFY(document->isEdited());
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
