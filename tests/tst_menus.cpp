// What a person notices first: every menu's access keys are unique, in English and in Japanese; the
// README names menu items as the menus do; Help ▸ About names the version, the licence and the
// libraries; editing in the table panel prints nothing on the terminal.
#include "app/AboutBox.h"
#include "app/Translations.h"
#include "support/TestSupport.h"

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
// qpdf's own shared pointers only, as the application builds it, without its old PointerHolder type.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <unicode/uversion.h>

using namespace seikyu;
using namespace seikyu::test;

namespace {

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
    if (!menus.contains(child<QToolButton>(document, QStringLiteral("gridMarks"))->menu()))
        menus.append(child<QToolButton>(document, QStringLiteral("gridMarks"))->menu());
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

class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void cleanup()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        installTranslations(*qApp);
    }

    void accessKeysAreUniqueAndTheReadmeNamesItemsAsTheMenusDo()
    {
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
        QList<PageButton *> regions{document->head, document->whom, document->home, document->note};
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
    }

    void editingPrintsNothingOnTheTerminal()
    {
        MessageCatcher messages;
        DocumentController controller;
        Document *document = controller.newDocument();
        document->window()->resize(900, 1100);
        document->window()->show();
        document->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(document->window()));
        QTest::mouseClick(document->grid->viewport(), Qt::LeftButton);
        QDialog *panel = document->gridCtrl.get();
        QTRY_VERIFY(panel->isVisible() && QApplication::activeWindow() == panel);
        QTableView *table = document->gridCore;
        QVERIFY(table);
        document->tblePlus();
        // A cell edited from the keyboard: Return opens it, Return commits it.
        const QModelIndex cell = table->model()->index(1, static_cast<int>(Column::Name));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
        QTest::keyClick(table, Qt::Key_Return);
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = table->viewport()->findChild<QLineEdit *>()) && editor->isVisible());
        editor->setText(QStringLiteral("設計"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(tableTexts(*document).value(1).section(u'|', 1, 1), QStringLiteral("設計"));
        QVERIFY(document->shownSheet() && document->shownSheet()->isVisible()); // Return did not close the panel
        document->undoStack()->undo();
        document->undoStack()->redo();
        QCOMPARE(messages.caught(), QStringList());
        PrompterGuard prompter;
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
