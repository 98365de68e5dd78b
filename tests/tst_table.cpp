// The item table through the real document: editing with undo, row prices, totals with tax, the
// amount box, Finalize and the table panel's Cancel.
#include "invoice/TableCommands.h"
#include "support/TestSupport.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
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

QVariant cell(const Document &document, int row, Column column)
{
    return document.tableModel()->row(row)->value(column);
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

/// The sums rows that end the table, from the blank separator.
QStringList trailingSumsTexts(const Document &document)
{
    const std::optional<RowRange> block = trailingSums(document.tableModel()->rows());
    return block ? tableTexts(document).mid(block->first) : QStringList();
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

    void undoGivesBackWhatWasDone_data()
    {
        // Steps as the panel takes them; "~" marks one that changes nothing and so records nothing.
        QTest::addColumn<QString>("steps");
        QTest::newRow("add a row after totals") << "add, solo 1 1000, much 1 3, sum, add";
        QTest::newRow("price, then edit another cell") << "add, solo 1 1000, much 1 3, price 1, name 1 設計, sum";
        QTest::newRow("remove sum, then totals again")
            << "add, solo 1 1000, much 1 1, ~back, sum, back, add, solo 2 1, much 2 2, sum";
        // Rows added to a totalled table go above its sums, which follow every edit of the items.
        QTest::newRow("rows of a totalled table")
            << "add, solo 1 1000, much 1 1, sum, add, solo 2 500, much 2 2, ~price 2, much 1 3, kill 2, ~kill 3 4";
        // Two rows apart go and come back in their places; the header and an empty choice remove nothing.
        QTest::newRow("remove rows") << "add, add, add, name 1 a, name 2 b, name 3 c, kill 1 3, ~kill 0 1, ~kill";
        QTest::newRow("finalize") << "add, solo 1 -500, sums 1 -500, finalize";
    }
    void undoGivesBackWhatWasDone()
    {
        QFETCH(QString, steps);
        auto document = makeDocument();
        QAbstractItemModelTester tester(document->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QHash<QString, QString> stepNames{{"add", "Add a Row"},        {"sum", "Add Sum"},
                                                {"back", "Remove Sum"},      {"finalize", "Finalize"},
                                                {"price", "Work Out Price"}, {"kill", "Remove Rows"}};
        QStringList undoNames;
        for (const QString &step : steps.split(QStringLiteral(", "))) {
            const QStringList words = QString(step).remove(u'~').split(u' ');
            const int row = words.value(1).toInt();
            if (!step.startsWith(u'~'))
                undoNames.prepend(stepNames.value(words.first(), QStringLiteral("Edit a cell")));
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
            else if (words.first() == u"kill") {
                QList<int> chosen;
                for (const QString &word : words.mid(1))
                    chosen.append(word.toInt());
                selectRows(*document, chosen);
                document->tbleKill();
            } else // an edit, as the view makes it
                document->tableModel()->setData(document->tableModel()->index(row, columnOfKey(words.first())),
                                                words.value(2));
        }
        // Undo all the way, then redo and undo again: every step gives back exactly the table it left, the menu names
        // each step, and none ends in a notice. Redo gives back the rows that undo took, not new ones dated afresh.
        document->setInvoiceDate(QDate(2030, 1, 1));
        QList<QStringList> states{tableTexts(*document)};
        QStringList names;
        while (document->undoStack()->canUndo()) {
            names.append(document->undoStack()->undoText());
            document->undoStack()->undo();
            states.append(tableTexts(*document));
        }
        QCOMPARE(names, undoNames);
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
        QVERIFY(document->shownSheet() != child<QDialog>(*document, "gridFail"));
    }

    void totalsTwiceAndAfterANewRow()
    {
        auto document = documentWithRows({{"1000", "1", "1000"}});
        QAbstractItemModelTester tester(document->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        child<QTableView>(*document, "grid")->selectRow(1);
        document->gridCalc();
        QCOMPARE(tableTexts(*document).at(2), QStringLiteral(" | | | | "));
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridCtrl"));
        QVERIFY(document->isTotalled() &&
                child<QTableView>(*document, "grid")->selectionModel()->selectedRows().isEmpty());
        const int rows = document->tableModel()->count();
        document->gridCalc();
        QCOMPARE(document->tableModel()->count(), rows);
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridFail"));
        QVERIFY(child<QLabel>(*document, "gridFailText")->text().contains(QStringLiteral("already")));
        document->gridFailClose(); // back to the table
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridCtrl"));
        // A row added to a totalled table goes above the sums, which total it at once.
        document->tblePlus();
        QCOMPARE(document->tableModel()->count(), rows + 1);
        document->editCell(2, Column::Solo, QStringLiteral("500"));
        document->editCell(2, Column::Much, QStringLiteral("1"));
        QVERIFY(document->isTotalled());
        // Priced as Add Sum prices it, so the row shows what the sums count.
        QCOMPARE(tableTexts(*document).at(2).section(u'|', 2), QStringLiteral("￥500|1|￥500"));
        QCOMPARE(sumsTexts(*document, 4),
                 (QStringList{"小計|" + yen(1500), "消費税|" + yen(120), "合計|" + yen(1620)}));
        // The sums themselves are never typed over.
        const QStringList totalled = tableTexts(*document);
        document->editCell(rows, Column::Sums, QStringLiteral("1"));
        QVERIFY(!(document->tableModel()->flags(document->tableModel()->index(rows, 4)) & Qt::ItemIsEditable));
        QVERIFY(document->tableModel()->flags(document->tableModel()->index(2, 4)) & Qt::ItemIsEditable);
        QCOMPARE(tableTexts(*document), totalled);
        // An older file whose rows stand past its sums totals them with the rest, each item once.
        auto older = makeDocument(document->dataOfType());
        older->tableModel()->addRow(std::make_shared<ItemRow>(QStringLiteral("05-09"), QStringLiteral("late"),
                                                              QStringLiteral("300"), QStringLiteral("1"),
                                                              QStringLiteral("300")));
        QVERIFY(!older->isTotalled());
        older->gridCalc();
        QCOMPARE(sumsTexts(*older, 5), (QStringList{"小計|" + yen(1800), "消費税|" + yen(144), "合計|" + yen(1944)}));
    }

    void sumsFollowEveryChange_data()
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
                                                                          {"remove rows", "Remove Rows"}})
            QTest::newRow(change) << QString::fromUtf8(change) << QString::fromUtf8(action);
    }
    void sumsFollowEveryChange()
    {
        QFETCH(QString, change);
        PrompterGuard prompter;
        auto document = totalledWholesale();
        if (change == u"withholding off") { // a set of sums that shrinks
            child<QCheckBox>(*document, "gridHold")->click();
            document->undoStack()->clear();
        }
        QAbstractItemModelTester tester(document->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QStringList before = tableAndSettings(*document);
        const QStringList sumsBefore = trailingSumsTexts(*document);
        const auto edit = [&](int row, Column column, const QString &text) {
            document->tableModel()->setData(document->tableModel()->index(row, int(column)), text); // as the view edits
        };
        if (change == u"quantity")
            edit(1, Column::Much, QStringLiteral("6"));
        else if (change == u"unit price")
            edit(2, Column::Solo, QStringLiteral("1500"));
        else if (change == u"price")
            edit(3, Column::Sums, QStringLiteral("7000"));
        else if (change == u"work out price")
            document->gridNeat(3);
        else if (change == u"rate") {
            child<QComboBox>(*document, "gridRate")
                ->setCurrentIndex(child<QComboBox>(*document, "gridRate")->findData(8));
            emit child<QComboBox>(*document, "gridRate")
                ->activated(child<QComboBox>(*document, "gridRate")->currentIndex()); // as a choice in the list
        } else if (change == u"include tax")
            child<QCheckBox>(*document, "gridXtax")->click();
        else if (change == u"reduced-rate mark") {
            selectRows(*document, {2});
            child<QAction>(*document, "markReduced")->trigger();
        } else if (change == u"not taxable") {
            selectRows(*document, {3});
            document->markRows(TaxClass::Exempt);
        } else if (change == u"withholding" || change == u"withholding off")
            child<QCheckBox>(*document, "gridHold")->click();
        else if (change == u"add a row")
            document->tblePlus();
        else if (change == u"remove rows") {
            selectRows(*document, {1, 5, 6}); // an item and sums rows: only the item goes
            document->tbleKill();
        }
        QVERIFY(document->isTotalled());
        QVERIFY(document->isEdited());
        QCOMPARE(prompter->questions, QStringList());
        const QStringList after = tableAndSettings(*document);
        // The sums are exactly what Add Sum gives for the rows as they are now.
        auto fresh = makeDocument(document->dataOfType());
        fresh->tbleBack();
        fresh->gridCalc();
        QCOMPARE(trailingSumsTexts(*document), trailingSumsTexts(*fresh));
        if (change == u"add a row") {
            QCOMPARE(trailingSumsTexts(*document), sumsBefore);
            QVERIFY(tableTexts(*document).at(4).contains(QStringLiteral("double click to edit")));
        } else {
            QVERIFY(trailingSumsTexts(*document) != sumsBefore);
        }
        // One step: undo gives back the rows, their sums and the settings together, redo all of it again.
        QCOMPARE(document->undoStack()->count(), 1);
        QTEST(document->undoStack()->undoText(), "action");
        for (int cycle = 0; cycle < 2; ++cycle) {
            document->undoStack()->undo();
            QCOMPARE(tableAndSettings(*document), before);
            document->undoStack()->redo();
            QCOMPARE(tableAndSettings(*document), after);
        }
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

    void pricesFollowTheirQuantityAndTheTotalsPriceTheRest()
    {
        // 3 × ￥1,000 worked out: a 4 for the 3 makes it ￥4,000. A typed price stays as typed.
        auto document = documentWithRows({{"1000", "３個", "00"}, {"100", "2", "5000"}, {"1.5", "1", ""}});
        document->gridNeat(1);
        document->editCell(1, Column::Much, QStringLiteral("4"));
        document->editCell(2, Column::Much, QStringLiteral("3"));
        QCOMPARE(tableTexts(*document).mid(1, 2),
                 (QStringList{"05-01|item|￥1,000|4|￥4,000", "05-02|item|100|3|5000"}));
        document->undoStack()->undo();
        document->undoStack()->undo();
        const QStringList unpriced = tableTexts(*document);
        QCOMPARE(unpriced.at(1), QStringLiteral("05-01|item|￥1,000|3|￥3,000"));
        // Rows whose unit price and quantity were typed but never clicked are priced by the totals;
        // a price typed straight into the row stays as typed.
        document->gridCalc();
        QCOMPARE(tableTexts(*document).mid(1, 3),
                 (QStringList{"05-01|item|￥1,000|3|￥3,000", "05-02|item|￥100|2|￥5,000", "05-03|item|￥1.5|1|￥2"}));
        QCOMPARE(cellDisplay(cell(*document, 5, Column::Sums)), yen(8002));
        // One step, undone as one: the rows are unpriced again.
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Add Sum"));
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), unpriced);
    }

    void ratesMarksAndWithholding()
    {
        // A food wholesaler's invoice: reduced-rate food, a standard-rate delivery, an exempt fee.
        auto document = documentWithRows({{"1500", "2", "00"}, {"50000", "1", "00"}, {"2000", "1", "00"}});
        document->setTaxRate(10);
        child<QTableView>(*document, "grid")->selectRow(1);
        document->markRows(TaxClass::Reduced);
        QCOMPARE(document->tableModel()->data(document->tableModel()->index(1, 1)).toString(),
                 QStringLiteral("item ※"));
        child<QTableView>(*document, "grid")->selectRow(3);
        document->markRows(TaxClass::Exempt);
        child<QCheckBox>(*document, "gridHold")->click();
        document->gridCalc();
        // The amount box asks for what the customer pays: 60,240 less 5,615 withheld from the 55,000 before
        // tax (what each rate's sums are is the sums rows' own rule). Remove Sum takes the whole set away.
        document->sumsCopy();
        QCOMPARE(child<PageButton>(*document, "sums")->title(), AmountHeading + yen(54625));
        document->tbleBack();
        QCOMPARE(document->tableModel()->count(), 4);
        // Marking again takes the mark off, one step at a time.
        child<QTableView>(*document, "grid")->selectRow(1);
        document->markRows(TaxClass::Reduced);
        QCOMPARE(document->tableModel()->row(1)->taxClass(), TaxClass::Standard);
        document->undoStack()->undo();
        QCOMPARE(document->tableModel()->row(1)->taxClass(), TaxClass::Reduced);
    }

    void totalsTooLargeSaySo()
    {
        auto document = documentWithRows({{"9223372036854775807", "1", "9223372036854775807"}});
        const QStringList before = tableTexts(*document);
        document->gridShow();
        document->gridCalc();
        QCOMPARE(document->shownSheet(), child<QDialog>(*document, "gridFail"));
        QVERIFY(child<QLabel>(*document, "gridFailText")->text().contains(QStringLiteral("too large")));
        QCOMPARE(tableTexts(*document), before);
        QCOMPARE(document->undoStack()->count(), 0);

        // Items of a totalled table that grow beyond what a sum can hold leave no stale sums behind.
        auto totalled = totalledWholesale();
        totalled->tableModel()->setData(totalled->tableModel()->index(1, int(Column::Sums)),
                                        QStringLiteral("9223372036854775807"));
        QVERIFY(!totalled->isTotalled());
        QCOMPARE(trailingSumsTexts(*totalled), QStringList());
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

    void finalizeAndItsUndo()
    {
        auto document = documentWithRows({{"1000", "3", "3000"}, {"00", "00", "00"}, {"-500", "1", "12.50"}}, false);
        document->gridCalc();
        document->undoStack()->clear();
        document->wipeDone(); // the amounts as plain numbers first
        const QStringList digits = tableTexts(*document);
        QCOMPARE(digits.mid(1, 3),
                 (QStringList{"05-01|item|1000|3|3000", "05-02|item|00|00|00", "05-03|item|-500|1|13"}));
        QCOMPARE(digits.mid(4),
                 (QStringList{" | | | | ", " | | |小計|3013", " | | |消費税|税込済み", " | | |合計|3013"}));
        document->done();
        QCOMPARE(tableTexts(*document).mid(1, 3),
                 (QStringList{"05-01|item|￥1,000|3|￥3,000", "05-02|item|00|00|00", "05-03|item|-￥500|1|￥13"}));
        const QStringList finalized = tableTexts(*document);
        document->undoStack()->undo();
        QCOMPARE(tableTexts(*document), digits);
        document->undoStack()->redo();
        QCOMPARE(tableTexts(*document), finalized);
        // The amount box after an undone Finalize takes the digits as they stand.
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
