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
#include "widgets/RoomBox.h"
#include "widgets/SegmentedControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// Types text as a person does: ASCII on the keyboard, everything else as the input method
/// commits it (kana–kanji conversion ends in a commit of the chosen characters).
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

template <typename T = QWidget> T *element(const Document &document, const char *name)
{
    T *found = document.window()->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no element %s", name);
    return found;
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

/// Presses the menu command's keyboard shortcut (Save, Undo, …) with the window in front, as a
/// person would. The shortcut must be one that a menu action of the window carries.
void press(const Document &document, QKeySequence::StandardKey key)
{
    InvoiceWindow *window = document.window();
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
    QVERIFY(!bindings.isEmpty());
    const auto actions = window->findChildren<QAction *>();
    QVERIFY2(std::any_of(actions.cbegin(), actions.cend(),
                         [&](QAction *action) { return action->shortcuts().contains(bindings.constFirst()); }),
             qPrintable(bindings.constFirst().toString()));
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    QTest::keySequence(window, bindings.constFirst());
}

QPoint cellCentre(QTableView *table, int row, int column)
{
    return table->visualRect(table->model()->index(row, column)).center();
}

void clickCell(QTableView *table, int row, int column)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellCentre(table, row, column));
}

enum class Opening { DoubleClick, F2, Enter };

/// Opens a cell's editor the way asked, replaces its text by typing, and commits with Return.
void typeIntoCell(QTableView *table, int row, int column, const QString &text, Opening opening)
{
    switch (opening) {
    case Opening::DoubleClick:
        // Far enough in (simulated) time from the previous click that the two do not pair up.
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cellCentre(table, row, column),
                           QApplication::doubleClickInterval() + 1);
        break;
    case Opening::F2:
        clickCell(table, row, column);
        QTest::keyClick(table, Qt::Key_F2);
        break;
    case Opening::Enter:
        clickCell(table, row, column);
        QTest::keyClick(table, Qt::Key_Return);
        break;
    }
    QLineEdit *editor = nullptr;
    QTRY_VERIFY((editor = table->viewport()->findChild<QLineEdit *>()) && editor->isVisible());
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, text);
    // The editor deletes itself once the edit is committed, so watch it through a guarded pointer.
    const QPointer<QLineEdit> committed = editor;
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!committed || !committed->isVisible());
}

/// Every text the page shows, region by region, then the table.
QStringList pageTexts(const Document &document)
{
    QStringList texts{document.head->title(), document.date->title(), document.whom->title(), document.home->title(),
                      document.sums->title()};
    texts += tableTexts(document);
    return texts;
}

QImage stampImage()
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int i = 4; i < 44; ++i) {
        image.setPixelColor(i, 4, Qt::red);
        image.setPixelColor(i, 43, Qt::red);
        image.setPixelColor(4, i, Qt::red);
        image.setPixelColor(43, i, Qt::red);
    }
    return image;
}

Document *showNew(DocumentController &controller)
{
    Document *document = controller.newDocument();
    InvoiceWindow *window = document->window();
    // Large enough that every region of the page is in view without scrolling.
    window->resize(900, 1100);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("the invoice window did not become active");
    return document;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    }
    void init() { clearSettings(); }
    void cleanup()
    {
        QTRY_VERIFY(std::none_of(QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
                                 [](QWidget *w) { return w->isVisible(); }));
    }

    void completeInvoiceSavedReopenedAndExported()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = showNew(controller);
        QVERIFY(document->headRoom->hasGuideBorder());

        // Title: a new entry in the list, then OK.
        click(document->head);
        QTRY_VERIFY(document->headCtrl->isVisible());
        click(element(*document, "headPlusButton"));
        QTRY_VERIFY(document->headPlusPopover->isVisible());
        type(document->headNewsText, QStringLiteral("御請求書"));
        click(element(*document, "headPlusExec"));
        QTRY_VERIFY(!document->headPlusPopover->isVisible());
        click(element(*document, "headCtrlOk"));
        QTRY_VERIFY(!document->headCtrl->isVisible());
        QCOMPARE(document->head->title(), QStringLiteral("御請求書"));
        QVERIFY(!document->headRoom->hasGuideBorder());

        // Date: typed into the picker, shown in the Japanese era.
        click(document->date);
        QTRY_VERIFY(document->dateCtrl->isVisible());
        click(document->dateDial);
        QTest::keyClick(document->dateDial, Qt::Key_A, Qt::ControlModifier);
        type(document->dateDial, QStringLiteral("2026-12-05"));
        // The year section keeps the current year when typed over; month and day take the keys.
        const QDate typed = document->dateDial->date();
        QCOMPARE(typed.month(), 12);
        QCOMPARE(typed.day(), 5);
        QVERIFY(typed.year() >= 2019);
        click(document->dateJaps);
        QVERIFY(document->dateJaps->isChecked());
        click(element(*document, "dateCtrlOk"));
        QTRY_VERIFY(!document->dateCtrl->isVisible());
        const QString eraDate = QStringLiteral("令和%1年12月5日").arg(typed.year() - 2018);
        QCOMPARE(document->date->title(), eraDate);

        // Customer, a person: 様.
        click(document->whom);
        QTRY_VERIFY(document->whomCtrl->isVisible());
        click(element(*document, "whomPlusButton"));
        QTRY_VERIFY(document->whomPlusPopover->isVisible());
        type(document->whomNewsText, QStringLiteral("山田花子"));
        QTest::keyClick(document->whomNewsText, Qt::Key_Return);
        QTRY_VERIFY(!document->whomPlusPopover->isVisible());
        click(document->tail->findChild<QToolButton *>(QStringLiteral("segment1")));
        click(element(*document, "whomCtrlOk"));
        QTRY_VERIFY(!document->whomCtrl->isVisible());
        QCOMPARE(document->whom->title(), QStringLiteral("山田花子 様"));

        // Issuer: five fields.
        click(document->home);
        QTRY_VERIFY(document->homeCtrl->isVisible());
        click(element(*document, "homePlusButton"));
        QTRY_VERIFY(document->homePlusPopover->isVisible());
        const QStringList issuer{QStringLiteral("〒100-0001"), QStringLiteral("東京都千代田区千代田1-1"),
                                 QStringLiteral("株式会社請求"), QStringLiteral("03-1234-5678"),
                                 QStringLiteral("みずほ銀行 普通 1234567")};
        const QList<QLineEdit *> fields{document->newsCode, document->newsMaps, document->newsName, document->newsCall,
                                        document->newsBank};
        for (int i = 0; i < fields.size(); ++i) {
            click(fields.at(i));
            type(fields.at(i), issuer.at(i));
        }
        click(element(*document, "homePlusExec"));
        QTRY_VERIFY(!document->homePlusPopover->isVisible());
        click(element(*document, "homeCtrlOk"));
        QTRY_VERIFY(!document->homeCtrl->isVisible());
        QCOMPARE(document->home->title(), issuer.join(QLatin1Char('\n')));

        // Stamp: an image on the clipboard, pasted into the well.
        QApplication::clipboard()->setImage(stampImage());
        click(document->push);
        QTRY_VERIFY(document->pushCtrl->isVisible());
        click(document->pushTest);
        QTest::keyClick(document->pushTest, Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(document->pushTest->image().size(), QSize(48, 48));
        click(element(*document, "pushCtrlOk"));
        QTRY_VERIFY(!document->pushCtrl->isVisible());
        QCOMPARE(document->push->image().size(), QSize(48, 48));

        // Items: three rows, each opened for editing a different way, then clicked to price it.
        QTest::mouseClick(document->grid->viewport(), Qt::LeftButton);
        QTRY_VERIFY(document->gridCtrl->isVisible());
        QTableView *table = document->gridCore;
        for (int i = 0; i < 3; ++i)
            click(document->rowsPlus);
        QCOMPARE(document->bank->count(), 4);
        const QList<std::array<QString, 3>> items{
            {QStringLiteral("設計"), QStringLiteral("1200"), QStringLiteral("3")},
            {QStringLiteral("実装"), QStringLiteral("25000"), QStringLiteral("2")},
            {QStringLiteral("検査"), QStringLiteral("800"), QStringLiteral("5")}};
        const Opening openings[] = {Opening::F2, Opening::Enter, Opening::F2};
        for (int row = 1; row <= 3; ++row) {
            const auto &item = items.at(row - 1);
            for (int column = 1; column <= 3; ++column)
                typeIntoCell(table, row, column, item[static_cast<std::size_t>(column - 1)], openings[row - 1]);
        }
        for (int row = 1; row <= 3; ++row)
            clickCell(table, row, 1);
        QCOMPARE(
            tableTexts(*document).mid(1, 3).join(QLatin1Char(';')).remove(QRegularExpression("^[^|]*\\||;[^|]*\\|")),
            QStringLiteral("設計|￥1,200|3|￥3,600実装|￥25,000|2|￥50,000検査|￥800|5|￥4,000"));

        // Totals with tax, confirmed in their panel.
        if (!document->gridXtax->isChecked())
            click(document->gridXtax);
        click(element(*document, "gridSumsButton"));
        QTRY_VERIFY(document->gridSums->isVisible());
        click(element(*document, "gridSumsOk"));
        QTRY_VERIFY(document->gridCtrl->isVisible());
        QCOMPARE(document->bank->count(), 8);
        QStringList rows = tableTexts(*document);
        QVERIFY2(rows.at(5).endsWith(QStringLiteral("小計|￥57,600")), qPrintable(rows.at(5)));
        QVERIFY2(rows.at(6).endsWith(QStringLiteral("消費税|￥4,608")), qPrintable(rows.at(6)));
        QVERIFY2(rows.at(7).endsWith(QStringLiteral("合計|￥62,208")), qPrintable(rows.at(7)));
        click(element(*document, "done"));
        QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Finalize"));
        click(element(*document, "gridCtrlOk"));
        QTRY_VERIFY(!document->gridCtrl->isVisible());
        QVERIFY(!document->gridRoom->hasGuideBorder());

        // The amount box takes the total.
        click(document->sums);
        QTRY_VERIFY(document->sumsCtrl->isVisible());
        click(element(*document, "sumsCtrlOk"));
        QTRY_VERIFY(!document->sumsCtrl->isVisible());
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n￥62,208"));
        QVERIFY(document->isEdited());

        // Save (the save dialog proposes date and customer), close, reopen from another window.
        const QString path = dir.filePath(QStringLiteral("invoice.seikyu"));
        prompter->saveAnswers = {path};
        press(*document, QKeySequence::Save);
        QTRY_VERIFY(!document->isEdited());
        QVERIFY(prompter->saveProposals.constFirst().endsWith(typed.toString(QStringLiteral("yyyy-MM-dd-")) +
                                                              QStringLiteral("山田花子 様.seikyu")) ||
                prompter->saveProposals.constFirst().contains(QStringLiteral("山田花子")));
        QVERIFY(prompter->alerts.isEmpty());
        // The file keeps unit prices as digits; everything else comes back exactly as shown.
        QStringList saved = pageTexts(*document);
        for (qsizetype i = 6; i < saved.size(); ++i) {
            QStringList cells = saved.at(i).split(QLatin1Char('|'));
            cells[2].remove(QRegularExpression(QStringLiteral("[^0-9]")));
            saved[i] = cells.join(QLatin1Char('|'));
        }

        press(*document, QKeySequence::New);
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *other = controller.documents().constLast();
        QVERIFY(other != document);
        QPointer<InvoiceWindow> closing = document->window();
        press(*document, QKeySequence::Close);
        QTRY_COMPARE(controller.documents().size(), 1);
        QTRY_VERIFY(!closing || !closing->isVisible());
        other->window()->show();
        prompter->openAnswers = {path};
        press(*other, QKeySequence::Open);
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *reopened = controller.documentForPath(QFileInfo(path).canonicalFilePath());
        QVERIFY(reopened);
        QCOMPARE(pageTexts(*reopened), saved);
        QCOMPARE(reopened->push->image().size(), QSize(48, 48));
        QCOMPARE(reopened->tail->selectedSegment(), 1);
        QVERIFY(reopened->dateJaps->isChecked());
        QVERIFY(!reopened->isEdited());

        // Export through the File menu, with the mouse.
        reopened->window()->show();
        const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
        prompter->saveAnswers = {pdf};
        QAction *exportPdf = reopened->window()->findChild<QAction *>(QStringLiteral("exportPdfAction"));
        if (!exportPdf || !exportPdf->isEnabled()) {
            QSKIP("File ▸ Export as PDF… is not available in this build");
        }
        QMenuBar *bar = reopened->window()->menuBar();
        QAction *fileMenu = bar->actions().constFirst();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileMenu).center());
        QMenu *menu = fileMenu->menu();
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(exportPdf).center());
        QTRY_VERIFY(QFileInfo(pdf).size() > 1000);
        QVERIFY(prompter->alerts.isEmpty());
        QVERIFY(!reopened->isEdited());

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess process;
        process.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &expected : {QStringLiteral("御請求書"),     eraDate,
                                        QStringLiteral("山田花子"),     QStringLiteral("様"),
                                        QStringLiteral("御請求金額"),   QStringLiteral("62,208"),
                                        QStringLiteral("株式会社請求"), QStringLiteral("東京都千代田区千代田1-1"),
                                        QStringLiteral("設計"),         QStringLiteral("実装"),
                                        QStringLiteral("検査"),         QStringLiteral("50,000"),
                                        QStringLiteral("小計"),         QStringLiteral("57,600"),
                                        QStringLiteral("消費税"),       QStringLiteral("4,608"),
                                        QStringLiteral("合計"),         QStringLiteral("日付"),
                                        QStringLiteral("単価"),         QStringLiteral("個数"),
                                        QStringLiteral("価格")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));

        QVERIFY(controller.closeAll());
    }

    void undoRedoWalkThroughEveryTableCommand()
    {
        PrompterGuard prompter;
        DocumentController controller;
        Document *document = showNew(controller);
        QTableView *table = document->gridCore;
        QStringList states{tableTexts(*document).join(QLatin1Char('\n'))};
        QStringList names;
        auto record = [&](const QString &name) {
            QCOMPARE(document->undoStack()->undoText(), name);
            names.append(name);
            states.append(tableTexts(*document).join(QLatin1Char('\n')));
        };

        QTest::mouseClick(document->grid->viewport(), Qt::LeftButton);
        QTRY_VERIFY(document->gridCtrl->isVisible());
        if (!document->gridXtax->isChecked())
            click(document->gridXtax);
        for (int i = 0; i < 3; ++i) {
            click(document->rowsPlus);
            record(QStringLiteral("Add a Row"));
        }
        typeIntoCell(table, 1, 1, QStringLiteral("紙"), Opening::F2);
        record(QStringLiteral("Edit a cell"));
        typeIntoCell(table, 1, 2, QStringLiteral("500"), Opening::Enter);
        record(QStringLiteral("Edit a cell"));
        typeIntoCell(table, 2, 2, QStringLiteral("700"), Opening::F2);
        record(QStringLiteral("Edit a cell"));
        clickCell(table, 3, 1);
        click(element(*document, "tbleKill"));
        record(QStringLiteral("Remove Rows"));
        // Finalize last: its undo brings amounts back as digits, which is what they were typed as.
        click(element(*document, "done"));
        record(QStringLiteral("Finalize"));
        click(element(*document, "gridCtrlOk"));
        QTRY_VERIFY(!document->gridCtrl->isVisible());

        // Every command of the walk is named as the Edit menu shows it.
        for (const char *name : {"Add a Row", "Edit a cell", "Remove Rows", "Finalize"})
            QVERIFY2(names.contains(QString::fromLatin1(name)), name);

        // Back through the Edit menu's shortcut, one state at a time…
        QAction *undo = element<QAction>(*document, "undoAction");
        QAction *redo = element<QAction>(*document, "redoAction");
        // (Not past the added rows: redoing "Add a Row" makes a new row, and the edits recorded
        // against the earlier one would then have nothing to redo into.)
        const qsizetype firstEdit = names.indexOf(QStringLiteral("Edit a cell"));
        QCOMPARE(firstEdit, 3);
        for (qsizetype i = names.size() - 1; i >= firstEdit; --i) {
            QVERIFY(undo->isEnabled());
            QVERIFY2(undo->text().contains(names.at(i)), qPrintable(undo->text()));
            press(*document, QKeySequence::Undo);
            QCOMPARE(tableTexts(*document).join(QLatin1Char('\n')), states.at(i));
        }
        QCOMPARE(undo->text(), QStringLiteral("Undo Add a Row"));
        // …and forward again to where the walk ended.
        for (qsizetype i = firstEdit; i < names.size(); ++i) {
            QVERIFY(redo->isEnabled());
            press(*document, QKeySequence::Redo);
            QCOMPARE(tableTexts(*document).join(QLatin1Char('\n')), states.at(i + 1));
        }
        QVERIFY(!redo->isEnabled());

        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
    }

    void twoWindowsKeepTheirOwnPagesAndUndo()
    {
        PrompterGuard prompter;
        DocumentController controller;
        Document *first = showNew(controller);
        press(*first, QKeySequence::New);
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *second = controller.documents().constLast();
        second->window()->resize(900, 1100);
        second->window()->show();

        // A row in the first window, a title in the second.
        QTest::mouseClick(first->grid->viewport(), Qt::LeftButton);
        QTRY_VERIFY(first->gridCtrl->isVisible());
        click(first->rowsPlus);
        click(element(*first, "gridCtrlOk"));
        QTRY_VERIFY(!first->gridCtrl->isVisible());

        click(second->head);
        QTRY_VERIFY(second->headCtrl->isVisible());
        click(element(*second, "headPlusButton"));
        QTRY_VERIFY(second->headPlusPopover->isVisible());
        type(second->headNewsText, QStringLiteral("領収書"));
        QTest::keyClick(second->headNewsText, Qt::Key_Return);
        click(element(*second, "headCtrlOk"));
        QTRY_VERIFY(!second->headCtrl->isVisible());

        // The saved list is shared: the first window's title panel offers the new title at once.
        QCOMPARE(first->headDial->count(), 1);
        QCOMPARE(first->head->title(), QStringLiteral("請求書"));
        QCOMPARE(second->bank->count(), 1);
        QVERIFY(first->isEdited() && second->isEdited());

        // Undo in the second window leaves the first window's row alone.
        QVERIFY(!element<QAction>(*second, "undoAction")->isEnabled());
        press(*second, QKeySequence::Undo);
        QCOMPARE(first->bank->count(), 2);
        press(*first, QKeySequence::Undo);
        QCOMPARE(first->bank->count(), 1);
        QCOMPARE(second->head->title(), QStringLiteral("領収書"));

        // Closing one window asks only about that one.
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        press(*second, QKeySequence::Close);
        QTRY_COMPARE(controller.documents().size(), 1);
        QCOMPARE(controller.documents().constFirst(), first);
        QVERIFY(first->window()->isVisible());
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
