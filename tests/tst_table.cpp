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
#include <QPushButton>
#include <QTableView>
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
        QCOMPARE(tableTexts(*document).last(), QStringLiteral("05-01|double click to edit|00|00|00"));
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Add a Row"));
        document->undoStack()->undo();
        QCOMPARE(document->bank->count(), 1);
        document->dateDial->setDate(QDate(2024, 6, 2));
        document->undoStack()->redo();
        QCOMPARE(tableTexts(*document).last(), QStringLiteral("06-02|double click to edit|00|00|00"));
        for (int i = 0; i < 2; ++i) {
            document->undoStack()->undo();
            QCOMPARE(document->bank->count(), 1);
            document->undoStack()->redo();
            QCOMPARE(document->bank->count(), 2);
        }
        // Undo never takes the header row.
        document->undoStack()->undo();
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), QStringList{QStringLiteral("日付|項目|単価|個数|価格")});
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
        auto document = documentWithRows({{"1000", "1", "1000"}, {"234", "1", "234"}});
        document->gridCalc();
        const int rows = document->bank->count();
        document->gridCalc();
        QCOMPARE(document->bank->count(), rows);
        QCOMPARE(document->shownSheet(), document->gridFail.get());
        document->gridFailClose();

        // A row past the sums: the table is open again, and new sums count the old ones too.
        document->tblePlus();
        QVERIFY(!document->isTotalled());
        document->gridCalc();
        QCOMPARE(document->bank->count(), rows + 5);
        // 1234 + 1234 + 99 + 1333 = 3900
        QCOMPARE(cellDisplay(cell(*document, rows + 2, Column::Sums)), yen(3900));
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
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Add Sum"));
        QCOMPARE(document->bank->count(), 2);
        QCOMPARE(tableTexts(*document).at(1), totalled.at(1));
        document->hide();
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), totalled);
        QCOMPARE(document->shownSheet(), document->gridCtrl.get());
        document->undoStack()->redo();
        QCOMPARE(document->bank->count(), 2);
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

        // A row past the sums: no total to take.
        document->tblePlus();
        const QString before = document->sums->title();
        document->sumsCopy();
        QCOMPARE(document->shownSheet(), document->sumsFail.get());
        QCOMPARE(document->sums->title(), before);

        // A table whose total is 0 has nothing to take either.
        auto empty = makeDocument();
        empty->gridCalc();
        empty->sumsCopy();
        QCOMPARE(empty->shownSheet(), empty->sumsFail.get());
        QVERIFY(empty->sumsRoom->hasGuideBorder());
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
        QCOMPARE(cell(*document, 2, Column::Solo).toString(), yen(500));
        QCOMPARE(cell(*document, 2, Column::Sums).toString(), yen(1250));
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
