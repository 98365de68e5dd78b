// The item table through the real window: the table panel's controls reaching the model's steps, the notices
// of the totals, the 8 % question, the amount box and the panel's Cancel.
#include "invoice/TableCommands.h"
#include "support/TestSupport.h"
#include "table/Amounts.h"
#include "table/TaxPreferences.h"

#include <QAbstractItemModelTester>
#include <QLabel>

using namespace seikyu;
using namespace seikyu::test;

namespace {

const QString AmountHeading = QStringLiteral("\u0008御請求金額\n");

/// A document whose table holds the given (unit price, quantity, price) rows.
std::unique_ptr<Document> documentWithRows(const QList<std::array<QString, 3>> &rows, bool tax = true)
{
    QString items = QStringLiteral(R"({"date":"日付"})");
    int day = 1;
    for (const auto &r : rows)
        items += QStringLiteral(R"(,{"date":"05-%1","name":"item","solo":"%2","much":"%3","sums":"%4"})")
                     .arg(day++, 2, 10, QLatin1Char('0'))
                     .arg(r[0], r[1], r[2]);
    return makeDocument(
        QStringLiteral(R"({"date":"2024-05-01","plus":%1,"item":[%2]})").arg(tax ? 1 : 0).arg(items).toUtf8());
}

/// The sums rows' "label|amount", from the first row after the blank separator.
QStringList sumsTexts(const Document &document, int firstSumsRow)
{
    QStringList sums;
    for (const QString &row : tableTexts(document).mid(firstSumsRow))
        sums.append(row.section(u'|', 3));
    return sums;
}

/// The table with the panel's tax settings, as undo and redo must give them back together.
QStringList tableAndSettings(const Document &document)
{
    return tableTexts(document) << QStringLiteral("rate %1, tax %2, withholding %3")
                                       .arg(document.taxRate())
                                       .arg(child<QCheckBox>(document, "gridXtax")->isChecked())
                                       .arg(document.withholds());
}

/// A wholesaler's invoice at 10 %, tax added, totalled: 9,000 × 5, 1,200 × 2, and 100 × 2 whose
/// price was typed as 5,000.
std::unique_ptr<Document> totalledWholesale()
{
    auto document = makeDocument(QByteArrayLiteral(R"({"date": "2024-05-01", "plus": 1, "rate": 10, "item": [
        {"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
        {"date": "05-01", "name": "米 5kg", "solo": "9000", "much": 5, "sums": "45000"},
        {"date": "05-02", "name": "配送料", "solo": "1200", "much": 2, "sums": "2400"},
        {"date": "05-03", "name": "箱", "solo": "100", "much": 2, "sums": "5000"}]})"));
    document->gridCalc();
    document->undoStack()->clear();
    return document;
}

void selectRows(Document &document, const QList<int> &rows)
{
    child<QTableView>(document, "grid")->clearSelection();
    for (int row : rows)
        child<QTableView>(document, "grid")
            ->selectionModel()
            ->select(document.tableModel()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
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

    void totalsTwiceAndTooLargeSaySo()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}});
        child<QTableView>(*document, "grid")->selectRow(1);
        document->gridCalc();
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridCtrl"));
        QVERIFY(document->isTotalled() &&
                child<QTableView>(*document, "grid")->selectionModel()->selectedRows().isEmpty());
        document->gridCalc();
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridFail"));
        QVERIFY(child<QLabel>(*document, "gridFailText")->text().contains(QStringLiteral("already")));
        document->gridFailClose(); // back to the table
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridCtrl"));
        // The sums are never typed over; the items are.
        QVERIFY(!(document->tableModel()->flags(document->tableModel()->index(3, 4)) & Qt::ItemIsEditable));
        QVERIFY(document->tableModel()->flags(document->tableModel()->index(1, 4)) & Qt::ItemIsEditable);

        auto large = documentWithRows({{"9223372036854775807", "1", "9223372036854775807"}});
        large->gridShow();
        large->gridCalc();
        QCOMPARE(large->shownSheet(), child<QDialog>(*large, "gridFail"));
        QVERIFY(child<QLabel>(*large, "gridFailText")->text().contains(QStringLiteral("too large")));
        QVERIFY(!large->isTotalled());
    }

    void eachControlOfThePanelIsOneStep_data()
    {
        // The table panel's own controls, each reaching the model's step: what the step does to the rows,
        // their sums and its undoing is the model's rule, checked on the model.
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("action");
        QTest::newRow("quantity, as the view edits") << "quantity"
                                                     << "Edit a cell";
        QTest::newRow("rate") << "rate"
                              << "Change Tax Rate";
        QTest::newRow("include tax") << "include tax"
                                     << "Include Tax";
        QTest::newRow("reduced-rate mark") << "reduced-rate mark"
                                           << "Mark Reduced Rate";
        QTest::newRow("withholding") << "withholding"
                                     << "Withhold Income Tax";
        QTest::newRow("remove rows") << "remove rows"
                                     << "Remove Rows";
    }
    void eachControlOfThePanelIsOneStep()
    {
        QFETCH(QString, change);
        PrompterGuard prompter;
        auto document = totalledWholesale();
        const QStringList before = tableAndSettings(*document);
        if (change == u"quantity") {
            document->tableModel()->setData(document->tableModel()->index(1, int(Column::Much)), QStringLiteral("6"));
        } else if (change == u"rate") {
            auto *rate = child<QComboBox>(*document, "gridRate");
            rate->setCurrentIndex(rate->findData(8));
            emit rate->activated(rate->currentIndex()); // as a choice in the list
        } else if (change == u"include tax") {
            child<QCheckBox>(*document, "gridXtax")->click();
        } else if (change == u"reduced-rate mark") {
            selectRows(*document, {2});
            child<QAction>(*document, "markReduced")->trigger();
        } else if (change == u"withholding") {
            child<QCheckBox>(*document, "gridHold")->click();
        } else if (change == u"remove rows") {
            selectRows(*document, {1, 5, 6}); // an item and sums rows: only the item goes
            document->tbleKill();
        }
        QVERIFY(document->isEdited() && prompter->questions.isEmpty());
        QCOMPARE(document->undoStack()->count(), 1);
        QTEST(document->undoStack()->undoText(), "action");
        // Undo takes the controls' settings back with the rows.
        document->undoStack()->undo();
        QCOMPARE(tableAndSettings(*document), before);
        QCOMPARE(child<QComboBox>(*document, "gridRate")->currentData().toInt(), document->taxRate());
    }

    void anEightPercentInvoiceOffersTodaysRate()
    {
        PrompterGuard prompter;
        auto document = documentWithRows({{"1500", "2", "3000"}, {"50000", "1", "50000"}});
        QCOMPARE(document->taxRate(), 8); // a file without a rate: the invoices of earlier versions
        document->gridCalc();
        document->undoStack()->clear();
        const QStringList before = tableAndSettings(*document);
        document->gridShow();
        QTRY_VERIFY(child<QDialog>(*document, "gridCtrl")->isVisible());
        selectRows(*document, {1});
        QCOMPARE(child<QAction>(*document, "markReduced")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
        // Declined: nothing changes, and the user was told why.
        prompter->proceedAnswers = {false, true};
        child<QAction>(*document, "markReduced")->trigger();
        QCOMPARE(prompter->questions.size(), 1);
        QVERIFY(prompter->questions.first().contains(QStringLiteral("8 %")));
        QVERIFY(prompter->questions.first().contains(QStringLiteral("10 %")));
        QCOMPARE(tableAndSettings(*document), before);
        QCOMPARE(document->undoStack()->count(), 0);
        // Accepted: the invoice at 10 % and the row marked, in one step (the sums follow as they follow every change).
        child<QAction>(*document, "markReduced")->trigger();
        QCOMPARE(document->taxRate(), 10);
        QCOMPARE(child<QComboBox>(*document, "gridRate")->currentData().toInt(), 10);
        QCOMPARE(document->tableModel()->row(1)->taxClass(), TaxClass::Reduced);
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Mark Reduced Rate"));
        document->undoStack()->undo();
        QCOMPARE(tableAndSettings(*document), before);
        QCOMPARE(child<QComboBox>(*document, "gridRate")->currentData().toInt(), 8);
        child<QDialog>(*document, "gridCtrl")->reject();
    }

    void preferencesAndTheRegistrationNumberShapeTheTotals()
    {
        // A rate the user chose for new invoices stays.
        TaxPreferences{8, TaxRounding::HalfAwayFromZero}.save();
        QCOMPARE(makeDocument()->taxRate(), 8);
        // The rounding chosen for new invoices; a registration number makes the invoice a qualified
        // one, which states its one rate's base and tax.
        TaxPreferences{10, TaxRounding::Down}.save();
        auto document = makeDocument();
        QCOMPARE(document->taxRate(), 10);
        document->tblePlus();
        document->editCell(1, Column::Sums, QStringLiteral("1005"));
        child<PageButton>(*document, "home")
            ->setTitle(QStringLiteral("〒100-0001\n東京都\n山田\n03\n銀行\nT7010705000725"));
        document->gridCalc();
        QCOMPARE(sumsTexts(*document, 3),
                 (QStringList{"10%対象|" + yen(1005), "消費税(10%)|" + yen(100), "合計|" + yen(1105)}));
    }

    void theAmountBoxAsksForWhatIsPaid()
    {
        // A food wholesaler's invoice: reduced-rate food, a standard-rate delivery, an exempt fee, with
        // income tax withheld. The amount box asks for what the customer pays: 60,240 less 5,615 withheld
        // from the 55,000 before tax.
        auto document = documentWithRows({{"1500", "2", "00"}, {"50000", "1", "00"}, {"2000", "1", "00"}});
        document->setTaxRate(10);
        child<QTableView>(*document, "grid")->selectRow(1);
        document->markRows(TaxClass::Reduced);
        child<QTableView>(*document, "grid")->selectRow(3);
        document->markRows(TaxClass::Exempt);
        child<QCheckBox>(*document, "gridHold")->click();
        document->gridCalc();
        document->sumsCopy();
        QCOMPARE(child<PageButton>(*document, "sums")->title(), AmountHeading + yen(54625));
    }

    void amountBox()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}, {"234", "1", "234"}});
        document->sumsCopy();
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "sumsFail")); // never totalled
        QVERIFY(child<QLabel>(*document, "sumsFailText")->text().contains(QStringLiteral("does not end with a total")));
        QCOMPARE(child<PageButton>(*document, "sums")->title(), AmountHeading);
        QVERIFY(!document->isEdited());
        document->sumsFailClose();
        document->gridCalc();
        QVERIFY(!document->amountBoxDisagrees()); // a box never taken from the table is left alone
        document->updateChangeCount(Document::ChangeCleared);
        document->sumsCopy();
        QCOMPARE(child<PageButton>(*document, "sums")->title(), AmountHeading + yen(1333));
        QVERIFY(!child<RoomBox>(*document, "sumsRoom")->hasGuideBorder() && document->isEdited());
        // Any change to the total brings the guide border back, until the two agree again.
        document->tbleBack();
        QVERIFY(document->amountBoxDisagrees() && child<RoomBox>(*document, "sumsRoom")->hasGuideBorder());
        document->undoStack()->undo();
        QVERIFY(!child<RoomBox>(*document, "sumsRoom")->hasGuideBorder());
        document->tbleBack();
        document->editCell(1, Column::Sums, QStringLiteral("2000"));
        document->gridCalc();
        QCOMPARE(document->amountBoxCheck()->shown, 1333);
        QCOMPARE(document->amountBoxCheck()->table, 2413);
        // Opened from a file, a stale box shows it at once, and taking the total settles it.
        auto reopened = makeDocument(document->dataOfType());
        QVERIFY(child<RoomBox>(*reopened, "sumsRoom")->hasGuideBorder() && !reopened->isEdited());
        reopened->sumsCopy();
        QVERIFY(!child<RoomBox>(*reopened, "sumsRoom")->hasGuideBorder() && !reopened->amountBoxDisagrees());
        // A table whose total is 0 has nothing to take, and the notice says so.
        auto empty = makeDocument();
        empty->gridCalc();
        empty->sumsCopy();
        QVERIFY(child<QLabel>(*empty, "sumsFailText")->text().contains(QStringLiteral("total is 0")));
        QVERIFY(child<RoomBox>(*empty, "sumsRoom")->hasGuideBorder());
    }

    void theAmountBoxAfterAnUndoneFinalize()
    {
        // Finalize from the window is the model's step; the amount box after it is undone takes the
        // digits as they stand.
        auto document = documentWithRows({{"1000", "3", "3000"}, {"00", "00", "00"}, {"-500", "1", "12.50"}}, false);
        document->gridCalc();
        document->model()->writeAmountsAsNumbers();
        document->done();
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Finalize"));
        QCOMPARE(tableTexts(*document).at(1), QStringLiteral("05-01|item|￥1,000|3|￥3,000"));
        document->undoStack()->undo();
        document->sumsCopy();
        QCOMPARE(child<PageButton>(*document, "sums")->title(), AmountHeading + "3013");
    }

    void tablePanelCancelIsOneStep_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QString>("sums"); // asked for on the way: "yes" totals and shows the panel again
        QTest::newRow("Cancel") << false << "";
        QTest::newRow("Esc after Add Sum") << true << "yes";
        QTest::newRow("Cancel after Add Sum said no to") << false << "no";
    }
    void tablePanelCancelIsOneStep()
    {
        QFETCH(bool, escape);
        QFETCH(QString, sums);
        auto document = documentWithRows({{"1000", "2", "2000"}});
        document->tblePlus(); // an earlier step, before the panel opens
        const QStringList atOpen = tableTexts(*document);
        document->gridShow();
        document->tblePlus();
        document->editCell(1, Column::Name, QStringLiteral("設計"));
        child<QCheckBox>(*document, "gridXtax")->click();
        if (!sums.isEmpty()) {
            document->gridSumsShow();
            sums == u"yes" ? document->gridCalc() : child<QDialog>(*document, "gridSums")->reject();
            QTRY_VERIFY(child<QDialog>(*document, "gridCtrl")->isVisible());
        }
        const QStringList atCancel = tableTexts(*document);
        child<QTableView>(*document, "grid")->selectRow(1);
        escape ? QTest::keyClick(child<QDialog>(*document, "gridCtrl"), Qt::Key_Escape)
               : QTest::mouseClick(
                     child<QDialog>(*document, "gridCtrl")->findChild<QPushButton *>(QStringLiteral("gridCtrlCancel")),
                     Qt::LeftButton);
        QVERIFY(!child<QDialog>(*document, "gridCtrl")->isVisible());
        QCOMPARE(tableTexts(*document), atOpen);
        QVERIFY(child<QCheckBox>(*document, "gridXtax")->isChecked());
        QVERIFY(child<QTableView>(*document, "grid")->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Cancel Table Edits"));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), atCancel);
        QVERIFY(!child<QCheckBox>(*document, "gridXtax")->isChecked());
        document->undoStack()->redo();
        QCOMPARE(tableTexts(*document), atOpen);
        // Nothing changed, nothing recorded; OK keeps the edits and closes.
        const int recorded = document->undoStack()->count();
        document->gridShow();
        child<QDialog>(*document, "gridCtrl")->reject();
        QCOMPARE(document->undoStack()->count(), recorded);
        document->gridShow();
        document->tblePlus();
        document->gridCopy();
        QVERIFY(!child<QDialog>(*document, "gridCtrl")->isVisible() &&
                !child<RoomBox>(*document, "gridRoom")->hasGuideBorder());
        QCOMPARE(document->tableModel()->count(), atOpen.size() + 1);
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
