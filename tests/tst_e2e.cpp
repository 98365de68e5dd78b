// End to end, the way a person uses Seikyu: the real invoice window on screen, mouse clicks on the
// page and the panels, typing into fields and table cells, the menus and their shortcuts, the
// keyboard alone. Only the file dialogs are answered by the scripted prompter. What the rules do
// with the input is the other tests' business; this one shows that the input reaches them.
#include "support/TestSupport.h"
#include "widgets/ImageWell.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

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

/// Clicks the shown panel's button and waits for the panel to go.
void confirm(const Document &document, const QString &button)
{
    QDialog *panel = document.shownSheet();
    click(child(document, button));
    QTRY_VERIFY(!panel->isVisible());
}

/// Presses a menu command's keyboard shortcut (Save, Undo, …) with the window in front.
void press(const Document &document, QKeySequence::StandardKey key)
{
    document.window()->show();
    document.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(document.window()));
    QTest::keySequence(document.window(), QKeySequence::keyBindings(key).constFirst());
}

void clickCell(QTableView *table, int row, int column)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(row, column)).center());
}

/// Opens a cell's editor with the key (F2 or Return), replaces its text by typing, commits with Return.
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

    void anInvoiceMadeWithTheMouseSavedReopenedAndExported()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = showNew(controller);

        // A customer (a person: 様) typed through the input method into the list's new entry.
        openPanel(*document, document->whom);
        click(child(*document, QStringLiteral("whomPlusButton")));
        QTRY_VERIFY(document->shownPopover() && document->shownPopover()->isVisible());
        type(document->whomNewsText, QStringLiteral("山田花子"));
        click(child(*document, QStringLiteral("whomPlusExec")));
        click(document->tail->findChild<QToolButton *>(QStringLiteral("segment1")));
        confirm(*document, QStringLiteral("whomCtrlOk"));
        QCOMPARE(document->whom->title(), QStringLiteral("山田花子 様"));
        // The stamp pasted from the clipboard.
        QImage stamp(48, 48, QImage::Format_ARGB32);
        stamp.fill(Qt::red);
        QApplication::clipboard()->setImage(stamp);
        openPanel(*document, document->push);
        QTest::keyClick(document->pushTest, Qt::Key_V, Qt::ControlModifier);
        confirm(*document, QStringLiteral("pushCtrlOk"));

        // Rows typed in (the editor opened by F2 or Return), each clicked to price it, totals asked
        // for and confirmed, Finalize, and the amount box taking the total.
        openPanel(*document, document->grid->viewport());
        const QStringList typed{"設計", "1200", "3", "実装", "25000", "2"};
        for (int row = 1; row <= 2; ++row) {
            click(document->rowsPlus);
            for (int column = 1; column <= 3; ++column)
                typeIntoCell(document->gridCore, row, column, typed.at(row * 3 + column - 4),
                             row == 2 ? Qt::Key_Return : Qt::Key_F2);
            clickCell(document->gridCore, row, 1);
        }
        click(child(*document, QStringLiteral("gridSumsButton")));
        QTRY_VERIFY(document->gridSums->isVisible());
        click(child(*document, QStringLiteral("gridSumsOk")));
        QTRY_VERIFY(document->gridCtrl->isVisible());
        click(child(*document, QStringLiteral("done")));
        confirm(*document, QStringLiteral("gridCtrlOk"));
        QCOMPARE(tableTexts(*document).at(1).section(u'|', 1), QStringLiteral("設計|￥1,200|3|￥3,600"));
        QCOMPARE(tableTexts(*document).at(2).section(u'|', 1), QStringLiteral("実装|￥25,000|2|￥50,000"));
        openPanel(*document, document->sums);
        confirm(*document, QStringLiteral("sumsCtrlOk"));
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n￥57,888"));

        // Save (the dialog proposes the customer's name), a new window whose undo is its own,
        // close, and open again from the other window.
        const QString path = dir.filePath(QStringLiteral("invoice.seikyu"));
        prompter->saveAnswers = {path};
        press(*document, QKeySequence::Save);
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(prompter->saveProposals.value(0).contains(QStringLiteral("山田花子")));
        const QStringList saved = tableTexts(*document);
        press(*document, QKeySequence::New);
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *other = controller.documents().constLast();
        press(*other, QKeySequence::Undo);
        QCOMPARE(tableTexts(*document), saved);
        press(*document, QKeySequence::Close);
        QTRY_COMPARE(controller.documents(), QList<Document *>{other});
        prompter->openAnswers = {path};
        press(*other, QKeySequence::Open);
        Document *reopened = nullptr;
        QTRY_VERIFY((reopened = controller.documentForPath(QFileInfo(path).canonicalFilePath())));
        QCOMPARE(reopened->push->image().size(), QSize(48, 48));
        QCOMPARE(reopened->whom->title(), QStringLiteral("山田花子 様"));

        // File ▸ Export as PDF…, with the mouse.
        reopened->window()->show();
        const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
        prompter->saveAnswers = {pdf};
        QMenuBar *bar = reopened->window()->menuBar();
        QMenu *menu = bar->actions().constFirst()->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(child<QAction>(*reopened, QStringLiteral("exportPdfAction"))).center());
        QTRY_VERIFY(QFileInfo(pdf).size() > 1000);
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
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
        tabTo(child(*document, QStringLiteral("whomPlusButton")));
        key(Qt::Key_Space);
        QTRY_COMPARE(QApplication::focusWidget(), document->whomNewsText.data());
        type(QApplication::focusWidget(), QStringLiteral("株式会社テスト商事"));
        key(Qt::Key_Return);
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
        auto *undo = child<QPushButton>(*document, QStringLiteral("gridUndo"));
        QVERIFY2(undo->toolTip().contains(document->undoStack()->undoText()), qPrintable(undo->toolTip()));
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lastRow(), typed);
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(lastRow(), priced);
        click(undo);
        QCOMPARE(lastRow(), typed);
        click(child(*document, QStringLiteral("gridRedo")));
        QCOMPARE(lastRow(), priced);

        // Esc with a cell open only leaves the cell; Esc again cancels the panel's edits as one
        // step, which the Edit menu's Undo brings back.
        tabTo(document->gridCore);
        key(Qt::Key_Return);
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        key(Qt::Key_Escape);
        QTRY_VERIFY(panel->isVisible() && QApplication::focusWidget() == document->gridCore);
        const QStringList edited = tableTexts(*document);
        key(Qt::Key_Escape);
        QTRY_VERIFY(!panel->isVisible());
        QCOMPARE(document->bank->count(), 1);
        QVERIFY(child<QAction>(*document, QStringLiteral("undoAction"))->text().contains("Cancel Table Edits"));
        press(*document, QKeySequence::Undo);
        QCOMPARE(tableTexts(*document), edited);
        QVERIFY(controller.closeAll());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
