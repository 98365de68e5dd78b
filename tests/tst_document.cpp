// The invoice window: opening and setting it up, the edit watch, save, open, revert, autosave and
// close; the help panel and its search; and end to end, the way a person uses it: mouse clicks on
// the page and the panels, typing into fields and table cells, the menus and their shortcuts, the
// keyboard alone. Only the file dialogs are answered by the scripted prompter. And what a person
// notices first: every menu's access keys are unique, in English and in Japanese; the README names
// menu items as the menus do; Help ▸ About names the version, the licence and the libraries; the
// screen breaks lines as the paper does; editing prints nothing on the terminal.
#include "app/AboutBox.h"
#include "app/Translations.h"
#include "document/PageView.h"
#include "help/HelpPanel.h"
#include "help/HelpTopics.h"
#include "ledger/IssueLedger.h"
#include "output/PdfExport.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "widgets/ImageWell.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QAccessible>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>
// qpdf's own shared pointers only, as the application builds it, without its old PointerHolder type.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <unicode/uversion.h>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QByteArray sampleFile(const QString &whom = QStringLiteral("千代田商事"))
{
    return QStringLiteral(R"({"head": "御請求書", "date": "2024-05-01", "whom": "%1", "full": "\b御請求金額\n￥1,333",
        "from": "100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行", "jgen": 0, "tail": 1, "plus": 1,
        "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
                 {"date": "05-01", "name": "設計", "solo": "1000", "much": 1, "sums": "￥1,000"},
                 {"date": "05-02", "name": "実装", "solo": "234", "much": "1", "sums": "234"},
                 {"date": "05-03", "name": "検査", "solo": "", "much": "", "sums": ""}]})")
        .arg(whom)
        .toUtf8();
}

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

/// The help panel's topic headings, the text it shows, its search field and its chosen row.
QStringList headings(const HelpPanel &panel)
{
    const QAbstractItemModel *topics = panel.findChild<QTableView *>(QStringLiteral("HVGrid"))->model();
    QStringList heads;
    for (int row = 0; row < topics->rowCount(); ++row)
        heads.append(topics->index(row, 0).data().toString());
    return heads;
}

QString shownHelp(const HelpPanel &panel)
{
    return panel.findChild<QTextBrowser *>(QStringLiteral("HVText"))->toPlainText();
}

/// A menu item's text as a person reads it: without the access key's "&" or its "(&F)".
QString plain(QString text)
{
    static const QRegularExpression key(QStringLiteral("\\(&.\\)"));
    return text.remove(key).remove(QLatin1Char('&')).trimmed();
}

/// Every menu of an invoice window: the menu bar's, their submenus, and the menus of its panels.
QList<QMenu *> allMenus(const Document &document)
{
    QList<QMenu *> menus = document.window()->findChildren<QMenu *>();
    if (!menus.contains(child<QToolButton>(document, "gridMarks")->menu()))
        menus.append(child<QToolButton>(document, "gridMarks")->menu());
    return menus;
}

/// The access keys used more than once among the actions, as "key: text, text".
QStringList clashes(const QList<QAction *> &actions)
{
    QMap<QString, QStringList> byKey;
    for (QAction *action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        if (!key.isEmpty())
            byKey[key.toString()].append(action->text());
    }
    QStringList found;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        if (it.value().size() > 1)
            found.append(it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", ")));
    }
    return found;
}

/// Captures what Qt would print on the terminal while it lives.
class MessageCatcher
{
public:
    MessageCatcher() { s_caught.clear(), m_previous = qInstallMessageHandler(&MessageCatcher::catchMessage); }
    ~MessageCatcher() { qInstallMessageHandler(m_previous); }
    QStringList caught() const { return s_caught; }

private:
    static void catchMessage(QtMsgType, const QMessageLogContext &context, const QString &message)
    {
        // The offscreen platform's own notes about what it cannot do are not Seikyu's.
        if (!(context.category && QByteArray(context.category).startsWith("qt.qpa")) &&
            !message.startsWith(QLatin1String("This plugin does not support")))
            s_caught.append(message);
    }
    static inline QStringList s_caught;
    QtMessageHandler m_previous;
};

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }

    void screenReadersHearEveryRegionAndControl()
    {
        SavedLists::instance().save({QStringLiteral("株式会社テスト商事")}, QStringLiteral("whom"));
        auto document = makeDocument();
        const auto heard = [](QWidget *widget, QAccessible::Text text = QAccessible::Name) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
            return face ? face->text(text) : QString();
        };
        QCOMPARE(heard(child<PageButton>(*document, "whom")) + u'/' + heard(child<PageButton>(*document, "home")),
                 QStringLiteral("Customer: 株式会社テスト商事 御中/Your details: empty"));
        QCOMPARE(QAccessible::queryAccessibleInterface(child<PageButton>(*document, "whom"))->role(),
                 QAccessible::Button);
        // The name follows the region's text; pressing it opens the panel.
        document->whomShow();
        child<SegmentedControl>(*document, "tail")->setSelectedSegment(1);
        document->whomCopy();
        QCOMPARE(heard(child<PageButton>(*document, "whom")), QStringLiteral("Customer: 株式会社テスト商事 様"));
        QAccessible::queryAccessibleInterface(child<PageButton>(*document, "date"))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(child<QDialog>(*document, "dateCtrl")->isVisible());
        child<QDialog>(*document, "dateCtrl")->reject();
        // Every control a person can reach, on the page, in the panels and in the popovers.
        int reached = 0;
        for (QWidget *widget : document->window()->findChildren<QWidget *>()) {
            const QString name = widget->objectName();
            if (!(widget->focusPolicy() & Qt::TabFocus) || name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            ++reached;
            QVERIFY2(!heard(widget).isEmpty() && !heard(widget, QAccessible::Description).isEmpty(), qPrintable(name));
        }
        QVERIFY(reached > 60);
    }

    void newInvoices()
    {
        auto plain = makeDocument();
        QCOMPARE(tableTexts(*plain), QStringList{QStringLiteral("日付|項目|単価|個数|価格")});
        QCOMPARE(plain->invoiceDate(), QDate::currentDate());
        QCOMPARE(child<PageButton>(*plain, "head")->title() + child<PageButton>(*plain, "whom")->title() +
                     child<PageButton>(*plain, "sums")->title(),
                 "請求書\u0008御請求金額\n");
        QVERIFY(child<RoomBox>(*plain, "headRoom")->hasGuideBorder() &&
                child<RoomBox>(*plain, "gridRoom")->hasGuideBorder());
        QVERIFY(!plain->isEdited() && child<PageButton>(*plain, "push")->image().isNull());
        // Tax on top, at today's standard rate until the user chooses another.
        QVERIFY(child<QCheckBox>(*plain, "gridXtax")->isChecked() && plain->taxRate() == 10);
        QCOMPARE(savedList("head"), QStringList{"<absent>"});
        // With saved lists, a new invoice takes each list's first entry.
        SavedLists::instance().save({QStringLiteral("御見積書"), QStringLiteral("請求書")}, QStringLiteral("head"));
        storeCustomers({QStringLiteral("山田")});
        SavedLists::instance().save({QStringLiteral("a\nb\nc\nd\ne")}, QStringLiteral("from"));
        auto listed = makeDocument();
        QCOMPARE(child<PageButton>(*listed, "head")->title() + child<PageButton>(*listed, "whom")->title() +
                     child<PageButton>(*listed, "home")->title(),
                 "御見積書山田 御中a\nb\nc\nd\ne");
        QVERIFY(!listed->isEdited() && child<QComboBox>(*listed, "headDial")->count() == 2);
    }

    void openingAppliesTheFileAndTeachesTheLists()
    {
        SavedLists::instance().save({QStringLiteral("請求書"), QStringLiteral("御請求書")}, QStringLiteral("head"));
        SavedLists::instance().save({QStringLiteral("A")}, QStringLiteral("whom"));
        auto document = makeDocument(sampleFile());
        // Element 0 is never used; a unit price beside a price in currency text shows as currency too,
        // as it did when saved.
        QCOMPARE(tableTexts(*document).mid(0, 2),
                 (QStringList{"日付|項目|単価|個数|価格", "05-01|設計|￥1,000|1|￥1,000"}));
        QCOMPARE(document->tableModel()->count(), 4);
        QCOMPARE(document->tableModel()->row(1)->value(Column::Much).typeId(), QMetaType::LongLong);
        QCOMPARE(child<PageButton>(*document, "head")->title(),
                 QStringLiteral("御請求書")); // already the second saved title
        QVERIFY(child<QComboBox>(*document, "headDial")->currentIndex() == 1 && savedList("head").size() == 2);
        // A customer not in the book is added to it, and chosen.
        QCOMPARE(bookCustomerNames(), (QStringList{"A", "千代田商事"}));
        QCOMPARE(child<QComboBox>(*document, "whomDial")->currentIndex(), 1);
        QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("千代田商事 様"));
        QCOMPARE(child<PageButton>(*document, "date")->title(), QStringLiteral("2024年05月01日"));
        QVERIFY(child<QCheckBox>(*document, "gridXtax")->isChecked() &&
                child<PageButton>(*document, "home")->title().count(u'\n') == 4);
        // Every region counts as filled in but the amount box: its ￥1,333 is no total of this table.
        QVERIFY(document->amountBoxDisagrees() && child<RoomBox>(*document, "sumsRoom")->hasGuideBorder());
        child<RoomBox>(*document, "sumsRoom")->setBorderColor(Qt::transparent);
        QVERIFY(!anyGuideBorder(*document) && !document->isEdited());
        // Opening the same file again teaches the lists nothing new.
        auto again = makeDocument(sampleFile());
        QCOMPARE(bookCustomerNames().size(), 2);
        QCOMPARE(child<QComboBox>(*again, "whomDial")->currentIndex(), 1);
        // Another document is a new one: it has none of the opened file's contents.
        QCOMPARE(makeDocument()->tableModel()->count(), 1);
    }

    void noHonorificLeavesTheNameAlone_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("none") << QByteArray("-1");
        QTest::newRow("out of range") << QByteArray("9");
    }
    void noHonorificLeavesTheNameAlone()
    {
        // A name that itself ends like an honorific, shown without one.
        QFETCH(QByteArray, tail);
        auto document = makeDocument(sampleFile(QStringLiteral("お客様")).replace("\"tail\": 1", "\"tail\": " + tail));
        QCOMPARE(child<SegmentedControl>(*document, "tail")->selectedSegment(), -1);
        QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("お客様"));
        // Choosing an honorific without OK changes neither the page nor the name the file keeps.
        child<SegmentedControl>(*document, "tail")->setSelectedSegment(1);
        const QByteArray saved = document->dataOfType();
        QVERIFY(saved.contains(R"("whom": "お客様")"));
        // Opened again, the name stays the same and the book learns nothing new.
        auto again = makeDocument(saved);
        QCOMPARE(child<PageButton>(*again, "whom")->title(), QStringLiteral("お客様 様"));
        QCOMPARE(bookCustomerNames(), QStringList{QStringLiteral("お客様")});
        QVERIFY(again->dataOfType().contains(R"("whom": "お客様")"));
    }

    void saveOpenRevertAndAutosave()
    {
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = controller.newDocument();
        document->tblePlus();
        const QString path = dir.filePath(QStringLiteral("invoice.seikyu"));
        prompter->saveAnswers = {path};
        QVERIFY(controller.save(document));
        QVERIFY(!document->isEdited());
        QCOMPARE(QFileInfo(document->filePath()).fileName(), QStringLiteral("invoice.seikyu"));
        QVERIFY(document->window()->windowTitle().startsWith(QStringLiteral("invoice.seikyu")));
        QVERIFY(prompter->saveProposals.constFirst().endsWith(QStringLiteral("Untitled.seikyu")));
        // Already open: the same window comes forward, back from minimised, no second document.
        document->window()->setWindowState(Qt::WindowMinimized);
        QCOMPARE(controller.openFile(path), document);
        QCOMPARE(controller.documents().size(), 1);
        QVERIFY(!document->window()->isMinimized() && document->window()->isVisible());
        // So does Window ▸ Issued Invoices (Ctrl+Shift+I) for its window.
        IssueLedger::instance().setFolder(dir.filePath(QStringLiteral("ledger")));
        auto *issued = child<QAction>(*document, "issuedInvoicesAction");
        issued->trigger();
        QPointer<QWidget> ledger;
        for (QWidget *window : QApplication::topLevelWidgets())
            ledger = window->objectName() == QStringLiteral("issuedInvoices") ? window : ledger.data();
        QVERIFY(ledger);
        ledger->setWindowState(Qt::WindowMinimized);
        issued->trigger();
        QVERIFY(!ledger->isMinimized() && ledger->isVisible());
        ledger->close();
        IssueLedger::instance().close();
        QVERIFY(controller.recentFiles().contains(document->filePath()));
        QVERIFY(controller.close(document));
    }

    void refusesDamagedFiles()
    {
        // One plain sentence naming the file, then what is wrong; the file is left as it was.
        PrompterGuard prompter;
        QTemporaryDir dir;
        const QByteArray bytes = R"({"head":"請求書","item":[{"date")";
        const QString path = writeFile(dir.filePath(QStringLiteral("broken.seikyu")), bytes);
        DocumentController controller;
        QVERIFY(!controller.openFile(path) && controller.documents().isEmpty());
        QCOMPARE(prompter->alerts,
                 QStringList{QStringLiteral("“broken.seikyu” cannot be opened because it is damaged or is not a Seikyu "
                                            "invoice. | The file ends too early, as if it had been cut off while it "
                                            "was copied or saved.")});
        QCOMPARE(readAll(path), bytes);
    }

    void untitledWindowsAreNumberedAndAskBeforeClosing()
    {
        PrompterGuard prompter;
        DocumentController controller;
        QList<Document *> open;
        for (int i = 0; i < 3; ++i)
            open.append(controller.newDocument());
        const auto names = [&] {
            QStringList shown;
            for (Document *document : controller.documents())
                shown.append(document->window()->windowTitle().section(QStringLiteral("[*]"), 0, 0));
            return shown;
        };
        QCOMPARE(names(), (QStringList{"Untitled", "Untitled 2", "Untitled 3"}));
        // An unchanged document closes without a question; its number is given again.
        QVERIFY(controller.close(open.at(1)));
        QTRY_COMPARE(controller.documents().size(), 2);
        Document *again = controller.newDocument();
        QCOMPARE(again->displayName(), QStringLiteral("Untitled 2"));
        // A changed one asks, naming its window: Cancel keeps it, Don't Save closes it.
        again->tblePlus();
        prompter->saveChoices = {Prompter::SaveChoice::Cancel, Prompter::SaveChoice::DontSave};
        QVERIFY(!controller.close(again));
        QCOMPARE(prompter->asked, QStringList{QStringLiteral("Untitled 2")});
        QCOMPARE(again->filename(), QStringLiteral("Untitled")); // the suggested file name stays plain
        QVERIFY(controller.close(again));
        QTRY_COMPARE(names(), (QStringList{"Untitled", "Untitled 3"}));
        QVERIFY(controller.closeAll());
        QCOMPARE(prompter->asked.size(), 2);
    }

    void anInvoiceMadeWithTheKeyboardAndTheMouse()
    {
        const MessageCatcher messages; // nothing of it is printed on the terminal
        PrompterGuard prompter;
        QTemporaryDir dir;
        DocumentController controller;
        Document *document = showNew(controller);
        const auto key = [](Qt::Key pressed, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), pressed, modifiers);
        };
        const auto tabTo = [&](QWidget *target) {
            for (int i = 0; i < 20 && QApplication::focusWidget() != target; ++i)
                key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), target);
        };
        child<PageButton>(*document, "head")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), child<PageButton>(*document, "head"));

        // The customer by keyboard: Return opens the region, + puts the typing (through the input
        // method) into the new name at once, Return adds it, Return again is OK.
        tabTo(child<PageButton>(*document, "whom"));
        key(Qt::Key_Return);
        QTRY_VERIFY(child<QDialog>(*document, "whomCtrl")->isVisible() &&
                    QApplication::activeWindow() == child<QDialog>(*document, "whomCtrl"));
        tabTo(child(*document, QStringLiteral("whomPlusButton")));
        key(Qt::Key_Space);
        QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>(*document, "whomNewsText"));
        type(QApplication::focusWidget(), QStringLiteral("株式会社テスト商事"));
        key(Qt::Key_Return);
        QTRY_VERIFY(QApplication::activeWindow() == child<QDialog>(*document, "whomCtrl"));
        key(Qt::Key_Return);
        QTRY_VERIFY(!child<QDialog>(*document, "whomCtrl")->isVisible());
        QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("株式会社テスト商事 御中"));
        // The stamp pasted from the clipboard.
        QImage stamp(48, 48, QImage::Format_ARGB32);
        stamp.fill(Qt::red);
        QApplication::clipboard()->setImage(stamp);
        openPanel(*document, child<PageButton>(*document, "push"));
        QTest::keyClick(child<ImageWell>(*document, "pushTest"), Qt::Key_V, Qt::ControlModifier);
        confirm(*document, QStringLiteral("pushCtrlOk"));

        // The table, reached with Tab like the other regions; Tab leaves it for the buttons. Rows
        // typed in (the editor opened by F2 or Return), priced by Ctrl+Return or by a click.
        QTRY_VERIFY(QApplication::activeWindow() == document->window());
        tabTo(child<QTableView>(*document, "grid"));
        key(Qt::Key_Return);
        QDialog *panel = child<QDialog>(*document, "gridCtrl");
        QTRY_VERIFY(panel->isVisible() && QApplication::activeWindow() == panel);
        tabTo(child<QTableView>(*document, "gridCore"));
        key(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != child<QTableView>(*document, "gridCore"));
        tabTo(child<QPushButton>(*document, "rowsPlus"));
        key(Qt::Key_Space);
        click(child<QPushButton>(*document, "rowsPlus"));
        const QStringList typed{"設計", "1200", "3", "実装", "25000", "2"};
        for (int row = 1; row <= 2; ++row) {
            for (int column = 1; column <= 3; ++column)
                typeIntoCell(child<QTableView>(*document, "gridCore"), row, column, typed.at(row * 3 + column - 4),
                             row == 2 ? Qt::Key_Return : Qt::Key_F2);
        }
        child<QTableView>(*document, "gridCore")->setFocus();
        child<QTableView>(*document, "gridCore")->setCurrentIndex(document->tableModel()->index(1, 3));
        key(Qt::Key_Return, Qt::ControlModifier);
        clickCell(child<QTableView>(*document, "gridCore"), 2, 1);
        const auto row = [&](int at) { return tableTexts(*document).at(at).section(u'|', 1); };
        QCOMPARE(row(1) + u' ' + row(2), QStringLiteral("設計|￥1,200|3|￥3,600 実装|￥25,000|2|￥50,000"));
        // Undo and Redo with the panel open, on the keys and on its buttons.
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(row(2), QStringLiteral("実装|25000|2|00"));
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        click(child(*document, QStringLiteral("gridUndo")));
        click(child(*document, QStringLiteral("gridRedo")));
        QCOMPARE(row(2), QStringLiteral("実装|￥25,000|2|￥50,000"));
        // Esc with a cell open only leaves the cell; Esc again cancels the panel's edits as one
        // step, which the Edit menu's Undo brings back.
        const QStringList edited = tableTexts(*document);
        tabTo(child<QTableView>(*document, "gridCore"));
        key(Qt::Key_Return);
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        key(Qt::Key_Escape);
        QTRY_VERIFY(panel->isVisible() && QApplication::focusWidget() == child<QTableView>(*document, "gridCore"));
        key(Qt::Key_Escape);
        QTRY_VERIFY(!panel->isVisible());
        QCOMPARE(document->tableModel()->count(), 1);
        QAction *undo = child<QAction>(*document, "undoAction");
        QVERIFY(undo->text().contains("Cancel Table Edits"));
        undo->trigger();
        QCOMPARE(tableTexts(*document), edited);

        // Totals asked for and confirmed, Finalize, the amount box taking the total, by the mouse.
        openPanel(*document, child<QTableView>(*document, "grid")->viewport());
        click(child(*document, QStringLiteral("gridSumsButton")));
        QTRY_VERIFY(child<QDialog>(*document, "gridSums")->isVisible());
        click(child(*document, QStringLiteral("gridSumsOk")));
        QTRY_VERIFY(child<QDialog>(*document, "gridCtrl")->isVisible());
        // A quantity typed after the totals: the worked-out price and the sums follow at once, and
        // Ctrl+Z takes all three back together.
        const QStringList totalled = tableTexts(*document);
        QTRY_VERIFY(QApplication::activeWindow() == panel);
        typeIntoCell(child<QTableView>(*document, "gridCore"), 1, 3, QStringLiteral("4"), Qt::Key_F2);
        QCOMPARE(row(1), QStringLiteral("設計|￥1,200|4|￥4,800"));
        QCOMPARE(tableTexts(*document).last(), QStringLiteral(" | | |合計|￥60,280"));
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tableTexts(*document), totalled);
        QTest::keyClick(panel, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        click(child(*document, QStringLiteral("done")));
        confirm(*document, QStringLiteral("gridCtrlOk"));
        openPanel(*document, child<PageButton>(*document, "sums"));
        confirm(*document, QStringLiteral("sumsCtrlOk"));
        QCOMPARE(child<PageButton>(*document, "sums")->title(), QStringLiteral("\u0008御請求金額\n￥60,280"));

        // Save, a new window whose undo is its own, close, and open again from the other window.
        const QString path = dir.filePath(QStringLiteral("invoice.seikyu"));
        prompter->saveAnswers = {path};
        press(*document, QKeySequence::Save);
        QTRY_VERIFY(!document->isEdited());
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
        QCOMPARE(child<PageButton>(*reopened, "push")->image().size(), QSize(48, 48));
        QCOMPARE(tableTexts(*reopened).mid(0, 3), saved.mid(0, 3));
        // File ▸ Export as PDF…, with the mouse; the issuer was never filled in, and the export asks.
        reopened->window()->show();
        const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
        prompter->saveAnswers = {pdf};
        prompter->proceedAnswers = {true};
        QMenuBar *bar = reopened->window()->menuBar();
        QMenu *menu = bar->actions().constFirst()->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(child<QAction>(*reopened, "exportPdfAction")).center());
        QTRY_VERIFY(QFileInfo(pdf).size() > 1000);
        QCOMPARE(prompter->questions.filter(QStringLiteral("Your details are not filled in")).size(), 1);
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
        QCOMPARE(messages.caught(), QStringList());
    }

    void helpPanelSearches()
    {
        HelpPanel panel;
        auto *grid = panel.findChild<QTableView *>(QStringLiteral("HVGrid"));
        auto *field = panel.findChild<QLineEdit *>(QStringLiteral("HVSearch"));
        const QList<HelpTopic> all = seikyu::helpTopics();
        // The four topics every version has come first, the first one shown; later topics follow.
        QCOMPARE(headings(panel).mid(0, 4), (QStringList{"Summary", "Guide border", "Editable parts", "Table"}));
        QCOMPARE(shownHelp(panel), all.at(0).body);
        QCOMPARE(panel.windowTitle(), QStringLiteral("Seikyu Help"));
        // What a search finds is the rule's; the panel keeps the row number, not the topic, shows the
        // first topic where that row is gone, and every topic again once the search is cleared.
        const auto search = [&](const char *text, int selected) {
            grid->selectRow(selected);
            field->setText(QString::fromUtf8(text));
            const QList<HelpTopic> shown = filterHelpTopics(all, field->text());
            const int row = selected < shown.size() ? selected : (shown.isEmpty() ? -1 : 0);
            QCOMPARE(headings(panel).size(), shown.size());
            QCOMPARE(grid->selectionModel()->selectedRows().value(0).row(), row);
            QCOMPARE(shownHelp(panel), shown.value(row).body);
        };
        search("table", 1);
        search("border", 1);
        search("ｚｚｚｑｑｑ", 0);
        search("ｲﾝﾎﾞｲｽ", 0);
        field->clear();
        search("", 2);
        QCOMPARE(headings(panel).size(), all.size());
    }

    void accessKeysAreUniqueAndTheReadmeNamesItemsAsTheMenusDo()
    {
        // The other tests read the English texts in the locale of the environment.
        const auto english = qScopeGuard([] {
            QLocale::setDefault(QLocale(QStringLiteral("en_US")));
            installTranslations(*qApp);
            QLocale::setDefault(QLocale::system());
        });
        QMap<QString, QStringList> items; // menu title → its items, both languages
        for (const char *language : {"en_US", "ja_JP"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(language)));
            installTranslations(*qApp);
            DocumentController controller;
            Document *document = controller.newDocument();
            const QList<QMenu *> menus = allMenus(*document);
            QVERIFY(menus.size() >= 6); // File, Open Recent, Edit, View, Help, Tax Class
            QCOMPARE(clashes(document->window()->menuBar()->actions()), QStringList());
            for (QMenu *menu : menus) {
                emit menu->aboutToShow(); // a menu filled when it opens
                QVERIFY2(clashes(menu->actions()).isEmpty(),
                         qPrintable(QString::fromLatin1(language) + ": " + menu->title() + QStringLiteral(" — ") +
                                    clashes(menu->actions()).join(u"; ")));
                QString title = plain(menu->title());
                if (title.isEmpty() && menu->parentWidget()) // the Tax Class button's menu
                    title = plain(menu->parentWidget()->property("text").toString());
                for (QAction *action : menu->actions())
                    items[title].append(plain(action->text()));
            }
            QVERIFY(controller.closeAll());
        }
        // Every "**Menu ▸ Item**" of the README, in either language, is a menu and one of its items.
        const QString readme = QString::fromUtf8(readAll(qEnvironmentVariable("SEIKYU_SOURCE_DIR") + "/README.md"));
        static const QRegularExpression named(QStringLiteral("\\*\\*([^*]+▸[^*]+)\\*\\*"));
        int checked = 0;
        for (const QRegularExpressionMatch &match : named.globalMatch(readme)) {
            const QStringList path = match.captured(1).simplified().split(QStringLiteral(" ▸ "));
            QVERIFY2(items.contains(path.first()), qPrintable(match.captured(0)));
            for (const QString &item : path.last().split(QStringLiteral(" / ")))
                QVERIFY2(items.value(path.first()).contains(item), qPrintable(match.captured(0) + " — " + item));
            ++checked;
        }
        QVERIFY(checked >= 10);
    }

    void aboutNamesVersionLicenceAndLibraries()
    {
        UVersionInfo icu;
        u_getVersion(icu);
        char icuText[U_MAX_VERSION_STRING_LENGTH] = {};
        u_versionToString(icu, icuText);
        const QString text = aboutText();
        for (const QString &part :
             {QStringLiteral("Seikyu ") + QStringLiteral(SEIKYU_VERSION), QStringLiteral("License: "),
              QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
              QStringLiteral("ICU ") + QString::fromLatin1(icuText),
              QStringLiteral("qpdf ") + QString::fromStdString(QPDF::QPDFVersion())})
            QVERIFY2(text.contains(part), qPrintable(part));

        // Help ▸ About Seikyu shows it on the window, without blocking it.
        DocumentController controller;
        Document *document = controller.newDocument();
        QAction *about = document->window()->findChild<QAction *>(QStringLiteral("aboutAction"));
        QVERIFY(about);
        QCOMPARE(plain(about->text()), QStringLiteral("About Seikyu"));
        about->trigger();
        QMessageBox *box = nullptr;
        QTRY_VERIFY((box = document->window()->findChild<QMessageBox *>(QStringLiteral("aboutBox"))));
        QCOMPARE(box->text(), text);
        box->close();
        QVERIFY(controller.closeAll());
    }

    void theScreenBreaksLinesAsThePaperDoesAtEveryZoom()
    {
        auto document = makeDocument();
        const QString words = QStringLiteral("株式会社サンプルコンサルティング東日本 経理部 第二課 御中 "
                                             "〒100-0005 東京都千代田区丸の内一丁目2番3号 丸の内サンプルビル12階");
        QList<PageButton *> regions{child<PageButton>(*document, "head"), child<PageButton>(*document, "whom"),
                                    child<PageButton>(*document, "home"), child<PageButton>(*document, "note")};
        QStringList differences;
        for (qsizetype length = 8; length <= words.size(); length += 3) {
            const QString text = words.left(length);
            document->setZoom(1.0);
            for (PageButton *region : regions)
                region->setTitle(text);
            QList<QStringList> paper;
            for (PageButton *region : regions)
                paper.append(region->pageLines());
            for (const double zoom : {0.5, 0.67, 0.8, 0.9, 1.1, 1.13, 1.25, 1.33, 1.37, 1.5, 1.75, 2.0, 2.3, 3.0}) {
                document->setZoom(zoom);
                for (qsizetype i = 0; i < regions.size(); ++i) {
                    if (regions[i]->pageLines() != paper[i])
                        differences.append(
                            QStringLiteral("%1 at %2: %3").arg(regions[i]->objectName()).arg(zoom).arg(text));
                }
            }
        }
        QCOMPARE(differences, QStringList());
        // Zoomed, the PDF is the same A4 page, drawn the same, and the window keeps its zoom.
        document->setZoom(1.0);
        const QRect title = child<RoomBox>(*document, "headRoom")->geometry();
        const QByteArray atPaperSize = renderPagePdf(*document, QStringLiteral("zoom"));
        document->setZoom(2.0);
        QCOMPARE(child<PageView>(*document, "page")->size(), QSize(2 * PageView::Width, 2 * PageView::Height));
        QCOMPARE(child<RoomBox>(*document, "headRoom")->geometry(), QRect(title.topLeft() * 2, title.size() * 2));
        const QByteArray zoomed = renderPagePdf(*document, QStringLiteral("zoom"));
        QVERIFY(zoomed.contains("0 0 595.000000 842.000000")); // the MediaBox, however the writer spaces it
        QCOMPARE(zoomed.size(), atPaperSize.size());
        QCOMPARE(document->zoom(), 2.0);
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
