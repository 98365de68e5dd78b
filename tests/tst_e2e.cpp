// End to end, the way a person uses Seikyu: the real invoice window on screen, mouse clicks on the
// page and the panels, typing into fields and table cells, the menus' keyboard shortcuts. The
// only thing not done by input events is answering the file dialogs (the scripted prompter).
#include "app/DocumentController.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "support/TestSupport.h"
#include "table/ItemTableModel.h"
#include "widgets/ImageWell.h"
#include "widgets/PageButton.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// Types text as a person does: ASCII on the keyboard, the rest as the input method commits it.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QInputMethodEvent commit;
        commit.setCommitString(c);
        c.unicode() < 0x80 ? QTest::keyClick(widget, c.toLatin1()) : (void)QApplication::sendEvent(widget, &commit);
    }
}

template <typename T = QWidget> T *element(const Document &document, const QString &name)
{
    return document.window()->findChild<T *>(name);
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

/// Clicks a region of the page and waits for its panel.
void openPanel(const Document &document, QWidget *region)
{
    click(region);
    QTRY_VERIFY(document.shownSheet() && document.shownSheet()->isVisible());
}

/// Clicks the shown panel's button (OK) and waits for the panel to go.
void confirm(const Document &document, const QString &button)
{
    QDialog *panel = document.shownSheet();
    click(element(document, button));
    QTRY_VERIFY(!panel->isVisible());
}

/// Clicks the panel's + button, types each text into its field and clicks Add.
void addEntry(const Document &document, const QString &list, const QList<QLineEdit *> &fields, const QStringList &texts)
{
    click(element(document, list + QStringLiteral("PlusButton")));
    QTRY_VERIFY(document.shownPopover() && document.shownPopover()->isVisible());
    for (int i = 0; i < fields.size(); ++i)
        type(fields.at(i), texts.at(i));
    click(element(document, list + QStringLiteral("PlusExec")));
    QTRY_VERIFY(!document.shownPopover() || !document.shownPopover()->isVisible());
}

/// Presses a menu command's keyboard shortcut (Save, Undo, …) with the window in front.
void press(const Document &document, QKeySequence::StandardKey key)
{
    InvoiceWindow *window = document.window();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keySequence(window, QKeySequence::keyBindings(key).constFirst());
}

void clickCell(QTableView *table, int row, int column)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(row, column)).center());
}

/// Opens a cell's editor with the key (F2 or Return), replaces its text by typing and commits with Return.
void typeIntoCell(QTableView *table, int row, int column, const QString &text, Qt::Key opener)
{
    clickCell(table, row, column);
    QTest::keyClick(table, opener);
    QLineEdit *editor = nullptr;
    QTRY_VERIFY((editor = table->viewport()->findChild<QLineEdit *>()) && editor->isVisible());
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, text);
    const QPointer<QLineEdit> committed = editor; // the editor deletes itself once committed
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!committed || !committed->isVisible());
}

/// Every text the page shows, region by region, then the table.
QStringList pageTexts(const Document &document)
{
    return QStringList{document.head->title(), document.date->title(), document.whom->title(), document.home->title(),
                       document.sums->title()} +
           tableTexts(document);
}

Document *showNew(DocumentController &controller)
{
    Document *document = controller.newDocument();
    document->window()->resize(900, 1100); // every region in view without scrolling
    document->window()->show();
    document->window()->activateWindow();
    (void)QTest::qWaitForWindowActive(document->window());
    return document;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }
    void completeInvoiceSavedReopenedAndExported()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = showNew(controller);

        // Title, customer (a person: 様) and issuer, each added to its list and chosen with OK.
        const QStringList issuer{"〒100-0001", "東京都千代田区千代田1-1", "株式会社請求", "03-1234-5678",
                                 "みずほ銀行 普通 1234567"};
        const QList<QLineEdit *> issuerFields{document->newsCode, document->newsMaps, document->newsName,
                                              document->newsCall, document->newsBank};
        const QList<std::tuple<PageButton *, QString, QList<QLineEdit *>, QStringList, QString>> lists{
            {document->head, "head", {document->headNewsText}, {"御請求書"}, "御請求書"},
            {document->whom, "whom", {document->whomNewsText}, {"山田花子"}, "山田花子 様"},
            {document->home, "home", issuerFields, issuer, issuer.join(QLatin1Char('\n'))}};
        for (const auto &[region, list, fields, texts, shown] : lists) {
            openPanel(*document, region);
            addEntry(*document, list, fields, texts);
            if (list == QStringLiteral("whom"))
                click(document->tail->findChild<QToolButton *>(QStringLiteral("segment1")));
            confirm(*document, list + QStringLiteral("CtrlOk"));
            QCOMPARE(region->title(), shown);
        }

        QImage stamp(48, 48, QImage::Format_ARGB32);
        stamp.fill(Qt::red);
        QApplication::clipboard()->setImage(stamp);
        openPanel(*document, document->push);
        QTest::keyClick(document->pushTest, Qt::Key_V, Qt::ControlModifier);
        confirm(*document, QStringLiteral("pushCtrlOk"));

        // Three rows typed in (the editor opened by F2 or Return), then clicked to price them.
        openPanel(*document, document->grid->viewport());
        const QStringList typed{"設計", "1200", "3", "実装", "25000", "2", "検査", "800", "5"};
        for (int row = 1; row <= 3; ++row) {
            click(document->rowsPlus);
            for (int column = 1; column <= 3; ++column)
                typeIntoCell(document->gridCore, row, column, typed.at(row * 3 + column - 4),
                             row == 2 ? Qt::Key_Return : Qt::Key_F2);
            clickCell(document->gridCore, row, 1);
        }
        // Totals with tax (a new invoice adds it), confirmed in their panel.
        QVERIFY(document->gridXtax->isChecked());
        click(element(*document, QStringLiteral("gridSumsButton")));
        QTRY_VERIFY(document->gridSums->isVisible());
        click(element(*document, QStringLiteral("gridSumsOk")));
        QTRY_VERIFY(document->gridCtrl->isVisible());
        const QStringList rows = tableTexts(*document);
        const QStringList expected{"設計|￥1,200|3|￥3,600", "実装|￥25,000|2|￥50,000", "検査|￥800|5|￥4,000", "",
                                   "小計|￥57,600",          "消費税|￥4,608",           "合計|￥62,208"};
        QCOMPARE(rows.size(), 8);
        for (int row = 1; row < 8; ++row)
            QVERIFY2(rows.at(row).endsWith(expected.at(row - 1)), qPrintable(rows.at(row)));
        click(element(*document, QStringLiteral("done")));
        confirm(*document, QStringLiteral("gridCtrlOk"));

        openPanel(*document, document->sums);
        confirm(*document, QStringLiteral("sumsCtrlOk"));
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n￥62,208"));

        // Save (the dialog proposes the customer's name), close, reopen from another window.
        const QString path = dir.filePath(QStringLiteral("invoice.seikyu"));
        prompter->saveAnswers = {path};
        press(*document, QKeySequence::Save);
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(prompter->saveProposals.value(0).contains(QStringLiteral("山田花子")));
        // The reopened invoice shows its unit prices as it was saved, though the file keeps them as
        // numbers (and a sums row's blank unit price as nothing).
        QStringList saved = pageTexts(*document);
        saved.replaceInStrings(QRegularExpression(QStringLiteral("^ \\| \\| \\|")), QStringLiteral(" | ||"));
        press(*document, QKeySequence::New);
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *other = controller.documents().constLast();
        press(*document, QKeySequence::Close);
        QTRY_COMPARE(controller.documents(), QList<Document *>{other});
        prompter->openAnswers = {path};
        press(*other, QKeySequence::Open);
        Document *reopened = nullptr;
        QTRY_VERIFY((reopened = controller.documentForPath(QFileInfo(path).canonicalFilePath())));
        QCOMPARE(pageTexts(*reopened), saved);
        QCOMPARE(reopened->push->image().size(), QSize(48, 48));
        QCOMPARE(reopened->tail->selectedSegment(), 1);

        // File ▸ Export as PDF…, with the mouse.
        reopened->window()->show();
        const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
        prompter->saveAnswers = {pdf};
        QAction *exportPdf = element<QAction>(*reopened, QStringLiteral("exportPdfAction"));
        QMenuBar *bar = reopened->window()->menuBar();
        QMenu *menu = bar->actions().constFirst()->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(exportPdf).center());
        QTRY_VERIFY(QFileInfo(pdf).size() > 1000);
        if (QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf}) < 0)
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString text = QString::fromUtf8(readAll(dir.filePath(QStringLiteral("invoice.txt"))));
        const QString words =
            QStringLiteral("御請求書 山田花子 様 御請求金額 62,208 株式会社請求 東京都千代田区千代田1-1 "
                           "設計 実装 検査 50,000 小計 57,600 消費税 4,608 合計 日付 単価 個数 価格");
        for (const QString &word : words.split(QLatin1Char(' ')))
            QVERIFY2(text.contains(word), qPrintable(word + QStringLiteral(" not in:\n") + text));
        QVERIFY(controller.closeAll());
    }

    void undoRedoWalkThroughTheTableCommands()
    {
        PrompterGuard prompter;
        DocumentController controller;
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        Document *document = showNew(controller);
        QTableView *table = document->gridCore;
        QList<QStringList> states{tableTexts(*document)};
        QStringList names;
        const auto record = [&](const QString &name) {
            QCOMPARE(document->undoStack()->undoText(), name);
            names.append(name);
            states.append(tableTexts(*document));
        };
        openPanel(*document, document->grid->viewport());
        for (int i = 0; i < 3; ++i) {
            click(document->rowsPlus);
            record(QStringLiteral("Add a Row"));
        }
        for (const auto &[row, column, text] :
             {std::tuple(1, 1, "紙"), std::tuple(1, 2, "500"), std::tuple(2, 2, "700")}) {
            typeIntoCell(table, row, column, QString::fromUtf8(text), column == row ? Qt::Key_F2 : Qt::Key_Return);
            record(QStringLiteral("Edit a cell"));
        }
        clickCell(table, 3, 1);
        click(element(*document, QStringLiteral("tbleKill")));
        record(QStringLiteral("Remove Rows"));
        click(element(*document, QStringLiteral("done")));
        record(QStringLiteral("Finalize"));
        confirm(*document, QStringLiteral("gridCtrlOk"));

        // Back with the Edit menu's shortcut to the first edit (redoing an added row makes a new
        // row, which the later edits could not redo into), then forward again.
        QAction *undo = element<QAction>(*document, QStringLiteral("undoAction"));
        for (qsizetype i = names.size() - 1; i >= 3; --i) {
            QVERIFY2(undo->text().contains(names.at(i)), qPrintable(undo->text()));
            press(*document, QKeySequence::Undo);
            QCOMPARE(tableTexts(*document), states.at(i));
        }
        for (qsizetype i = 3; i < names.size(); ++i) {
            press(*document, QKeySequence::Redo);
            QCOMPARE(tableTexts(*document), states.at(i + 1));
        }
        QVERIFY(!element<QAction>(*document, QStringLiteral("redoAction"))->isEnabled());
        QVERIFY(controller.closeAll());
    }

    void keyboardOnly()
    {
        PrompterGuard prompter;
        DocumentController controller;
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        Document *document = showNew(controller);
        const auto key = [](Qt::Key pressed, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), pressed, modifiers);
        };
        const auto tabTo = [&](QWidget *target) {
            for (int i = 0; i < 20 && QApplication::focusWidget() != target; ++i)
                key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), target);
        };
        document->head->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), document->head.data());

        // The customer: Return opens the region, + puts the typing into the new name at once.
        tabTo(document->whom);
        key(Qt::Key_Return);
        QTRY_VERIFY(document->whomCtrl->isVisible() && QApplication::activeWindow() == document->whomCtrl.get());
        tabTo(element(*document, QStringLiteral("whomPlusButton")));
        key(Qt::Key_Space);
        QTRY_COMPARE(QApplication::focusWidget(), document->whomNewsText.data());
        type(QApplication::focusWidget(), QStringLiteral("株式会社テスト商事"));
        key(Qt::Key_Return);
        QTRY_VERIFY(!document->whomPlusPopover->isVisible());
        QTRY_VERIFY(QApplication::activeWindow() == document->whomCtrl.get());
        key(Qt::Key_Return); // OK
        QTRY_VERIFY(!document->whomCtrl->isVisible());
        QCOMPARE(document->whom->title(), QStringLiteral("株式会社テスト商事 御中"));

        // The table: reached with Tab like the other regions; Tab leaves it for the buttons.
        QTRY_VERIFY(QApplication::activeWindow() == document->window());
        tabTo(document->grid);
        key(Qt::Key_Return);
        QDialog *panel = document->gridCtrl.get();
        QTRY_VERIFY(panel->isVisible() && QApplication::activeWindow() == panel);
        tabTo(document->gridCore);
        key(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != document->gridCore);
        tabTo(document->rowsPlus);
        key(Qt::Key_Space);
        QCOMPARE(document->bank->count(), 2);
        tabTo(document->gridCore);
        document->gridCore->setCurrentIndex(document->bank->index(1, 2));
        for (const QString &text : {QStringLiteral("1200"), QStringLiteral("3")}) {
            key(Qt::Key_Return);
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            key(Qt::Key_A, Qt::ControlModifier);
            type(QApplication::focusWidget(), text);
            key(Qt::Key_Return);
            QTRY_COMPARE(QApplication::focusWidget(), document->gridCore.data());
            key(Qt::Key_Right);
        }
        const auto lastRow = [&] { return tableTexts(*document).last().section(QLatin1Char('|'), 2); };
        const QString typed = lastRow();
        key(Qt::Key_Return, Qt::ControlModifier); // works out the price
        const QString priced = QStringLiteral("￥1,200|3|￥3,600");
        QCOMPARE(lastRow(), priced);

        // Undo and Redo with the panel open, on the keys and on its buttons.
        auto *undo = element<QPushButton>(*document, QStringLiteral("gridUndo"));
        QVERIFY2(undo->toolTip().contains(document->undoStack()->undoText()), qPrintable(undo->toolTip()));
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lastRow(), typed);
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(lastRow(), priced);
        click(undo);
        QCOMPARE(lastRow(), typed);
        click(element(*document, QStringLiteral("gridRedo")));
        QCOMPARE(lastRow(), priced);

        // Esc with a cell open only leaves the cell; Esc again cancels the panel's edits as one step.
        tabTo(document->gridCore);
        key(Qt::Key_Return);
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        key(Qt::Key_Escape);
        QTRY_VERIFY(panel->isVisible() && QApplication::focusWidget() == document->gridCore);
        const QStringList edited = tableTexts(*document);
        key(Qt::Key_Escape);
        QTRY_VERIFY(!panel->isVisible());
        QCOMPARE(document->bank->count(), 1);
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Cancel Table Edits"));
        press(*document, QKeySequence::Undo);
        QCOMPARE(tableTexts(*document), edited);
        QVERIFY(controller.closeAll());
    }

    void twoWindowsKeepTheirOwnPagesAndUndo()
    {
        PrompterGuard prompter;
        DocumentController controller;
        prompter->saveChoices = {Prompter::SaveChoice::DontSave, Prompter::SaveChoice::DontSave};
        Document *first = showNew(controller);
        press(*first, QKeySequence::New);
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *second = controller.documents().constLast();
        second->window()->show();

        // A row in the first window, a title (typed, Return) in the second.
        openPanel(*first, first->grid->viewport());
        click(first->rowsPlus);
        confirm(*first, QStringLiteral("gridCtrlOk"));
        openPanel(*second, second->head);
        click(element(*second, QStringLiteral("headPlusButton")));
        type(second->headNewsText, QStringLiteral("領収書"));
        QTest::keyClick(second->headNewsText, Qt::Key_Return);
        confirm(*second, QStringLiteral("headCtrlOk"));
        // Each page keeps its own title, rows and undo.
        QCOMPARE(first->head->title(), QStringLiteral("請求書"));
        press(*second, QKeySequence::Undo);
        QCOMPARE(first->bank->count(), 2);
        press(*first, QKeySequence::Undo);
        QCOMPARE(first->bank->count(), 1);
        QCOMPARE(second->head->title(), QStringLiteral("領収書"));

        // Closing one window asks about that one only.
        press(*second, QKeySequence::Close);
        QTRY_COMPARE(controller.documents(), QList<Document *>{first});
        QCOMPARE(prompter->saveChoices.size(), 1);
        QVERIFY(controller.closeAll());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
