// The Japanese interface: the committed catalogue is complete, covers every text the code asks
// for, and switches with the locale while the page's own Japanese texts stay as they are.
#include "app/Translations.h"
#include "help/HelpTopics.h"
#include "import/ClipboardRows.h"
#include "import/ImportRowsDialog.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerStore.h"
#include "support/TestSupport.h"
#include "widgets/PageButton.h"
#include "widgets/SegmentedControl.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>

using namespace seikyu;
using test::child;

namespace {

/// The source of each live message of a Qt Linguist file that lacks a finished translation or loses
/// or invents a %1 … %9 or %n marker.
QStringList unfinished(const QString &path)
{
    static const QRegularExpression message(QStringLiteral("<source>(.*?)</source>.*?<translation( type=\"(\\w+)\")?>"
                                                           "(.*?)</translation>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QStringList faults;
    int live = 0;
    for (const QRegularExpressionMatch &m : message.globalMatch(QString::fromUtf8(test::readAll(path)))) {
        const QString source = m.captured(1), type = m.captured(3), text = m.captured(4);
        if (type == u"vanished" || type == u"obsolete")
            continue;
        ++live;
        bool markersDiffer = false;
        for (const QChar marker : QStringLiteral("123456789n"))
            markersDiffer |= source.contains(u'%' + QString(marker)) != text.contains(u'%' + QString(marker));
        if (!type.isEmpty() || text.trimmed().isEmpty() || markersDiffer)
            faults.append(source);
    }
    if (live < 50)
        faults.append(QStringLiteral("%1: only %2 messages read").arg(path).arg(live));
    return faults;
}

/// Every text a window shows: its title, labels, buttons, choices, placeholders, actions, and the
/// headers and cells of its tables.
QStringList shownTexts(const QWidget &window)
{
    QStringList texts{window.windowTitle()};
    for (const QAction *action : window.findChildren<QAction *>())
        texts.append(action->text());
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            texts.append(label->text());
        else if (const auto *region = qobject_cast<const PageButton *>(widget))
            texts << region->text() << region->placeholder(); // an empty region says what goes there
        else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts.append(button->text());
        else if (const auto *line = qobject_cast<const QLineEdit *>(widget))
            texts.append(line->placeholderText());
        else if (const auto *group = qobject_cast<const QGroupBox *>(widget))
            texts.append(group->title());
        else if (const auto *combo = qobject_cast<const QComboBox *>(widget))
            for (int i = 0; i < combo->count(); ++i)
                texts.append(combo->itemText(i));
        const auto *view = qobject_cast<const QTableView *>(widget);
        const QAbstractItemModel *model = view ? view->model() : nullptr;
        for (int c = 0; model && c < model->columnCount(); ++c) {
            if (!view->horizontalHeader()->isHidden())
                texts.append(model->headerData(c, Qt::Horizontal).toString());
            for (int r = 0; r < model->rowCount(); ++r)
                texts.append(model->index(r, c).data().toString());
        }
    }
    return texts;
}

/// The texts shown in Japanese that hold an English word (a run of Latin letters with two lower-case
/// letters in a row), each with its first such word; option names, placeholders, file extensions,
/// key names and the names no language translates are left out.
QStringList englishIn(const QStringList &texts)
{
    static const QRegularExpression kept(QStringLiteral(
        R"(--?[a-z][a-z-]*|<[^>]*>|\.[a-z]+\b|\b(?:Ctrl|Shift|Alt)\+\w+|\b(?:Seikyu|seikyu|PostgreSQL|SQLite|Shift_JIS|xvfb-run)\b)"));
    static const QRegularExpression word(QStringLiteral(R"(\b[A-Za-z]*[a-z]{2}[A-Za-z]*\b)"));
    QStringList faults;
    for (const QString &text : texts) {
        const QRegularExpressionMatch m = word.match(QString(text).replace(kept, QStringLiteral(" ")));
        if (m.hasMatch())
            faults.append(QStringLiteral("“%1” in: %2").arg(m.captured(), text.left(160)));
    }
    faults.removeDuplicates();
    return faults;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::initApplication(); }

    void everyTextIsTranslated()
    {
        // lupdate merges the code's texts into a copy of the catalogue, filed under the context the code looks them up
        // in at run time (a tr() outside a class shows as an unknown context); a new text comes in unfinished.
        const QString source = qEnvironmentVariable("SEIKYU_SOURCE_DIR");
        const QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
        QTemporaryDir scratch;
        const QString merged = scratch.filePath(QStringLiteral("seikyu_ja.ts"));
        QVERIFY(QFile::copy(source + QStringLiteral("/translations/seikyu_ja.ts"), merged));
        QVERIFY2(unfinished(merged).isEmpty(), qPrintable(unfinished(merged).join(u'\n')));
        if (!QFileInfo(lupdate).isExecutable())
            QSKIP("lupdate is not installed (Debian package qt6-l10n-tools)");
        QProcess update;
        update.start(lupdate, {"-silent", "-recursive", source + QStringLiteral("/src"), "-ts", merged});
        QVERIFY(update.waitForFinished(120000) && update.exitCode() == 0);
        // A tr() that lupdate finds in no class of its own (a helper function named tr, say) is filed
        // under another context than the one the code looks it up in, and shows in English.
        const QString warnings = QString::fromUtf8(update.readAllStandardError() + update.readAllStandardOutput());
        QVERIFY2(!warnings.contains(QStringLiteral("lacks Q_OBJECT")), qPrintable(warnings));
        QVERIFY2(unfinished(merged).isEmpty(),
                 qPrintable("build update_translations and translate:\n" + unfinished(merged).join(u'\n')));
    }

    void interface_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("texts");
        QTest::newRow("ja_JP")
            << "ja_JP"
            << "ファイル(&F) | 別名で保存(&A)… | PDFを書き出せませんでした | 概要 | 名称未設定 | 元に戻す 行を追加";
        QTest::newRow("en_US") << "en_US"
                               << "&File | Save &As… | Failed writing PDF | Summary | Untitled | Undo Add a Row";
    }
    void interface()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        installTranslations(*qApp);
        const auto menu = [](const char *text) { return QCoreApplication::translate("MainMenu", text); };
        // The document's texts are looked up as it is built and as each edit is recorded.
        const std::unique_ptr<Document> document = test::makeDocument();
        std::unique_ptr<QAction> undo(document->undoStack()->createUndoAction(nullptr, menu("Undo")));
        document->tblePlus();
        const QStringList shown{menu("&File"),
                                menu("Save &As…"),
                                QCoreApplication::translate("PdfExport", "Failed writing PDF"),
                                helpTopics().constFirst().head,
                                document->displayName(),
                                undo->text()};
        QTEST(shown.join(QStringLiteral(" | ")), "texts");
        // The page's own texts are data and read the same in every interface language.
        QVERIFY(child<PageButton>(*document, "sums")->title().contains(QStringLiteral("御請求金額")));
        QCOMPARE(child<SegmentedControl>(*document, "tail")->labelForSegment(1), QStringLiteral("様"));
        QCOMPARE(test::tableTexts(*document).constFirst(), QStringLiteral("日付|項目|単価|個数|価格"));
    }

    void japaneseWindowShowsNoEnglish()
    {
        QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
        installTranslations(*qApp);
        QTemporaryDir dir;
        QStringList shown;
        // The invoice window with its panels, and the import's messages through it as the user gets them.
        {
            test::PrompterGuard prompter;
            setImportChooser([](QWidget *, const CsvFile &file, const QString &) {
                return std::optional<ImportChoice>({file.proposedMapping(), file.header.has_value()});
            });
            const std::unique_ptr<Document> document = test::makeDocument();
            QFile big(dir.filePath(QStringLiteral("大.CSV")));
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(MaximumRowFileBytes + 1)); // sparse
            big.close();
            for (const QByteArray &bytes : {QByteArray(), QByteArray("\x01\x02"), QByteArray("\"a,b\n"),
                                            QStringLiteral("品名,金額\n\"閉じない,1\nりんご,300\n").toUtf8()})
                document->importRowsFrom(test::writeFile(dir.filePath(QStringLiteral("明細.CSV")), bytes));
            document->importRowsFrom(big.fileName());
            document->importRowsFrom(dir.path());
            shown << prompter->alerts << prompter->notes;
            for (const QWidget *window : QApplication::topLevelWidgets())
                shown << shownTexts(*window);
            QCOMPARE(prompter->alerts.size() + prompter->notes.size(), 6);
            setImportChooser({});
        }
        // The preview of a file and of a paste.
        const Result<CsvFile> file =
            readCsvBytes("\xEF\xBB\xBF" + QStringLiteral("日付,品名,金額\n12/1,りんご,300\n").toUtf8());
        QVERIFY2(file, qPrintable(file.message()));
        shown << shownTexts(ImportRowsDialog(nullptr, *file, QStringLiteral("明細.CSV")));
        const CsvFile pasted = clipboardTable(QStringLiteral("りんご\t朝\t300"));
        shown << shownTexts(ImportRowsDialog(nullptr, pasted, QString()));
        // The ledger's window, with invoices unpaid, past due and partly paid.
        const QString dataHome = dir.filePath(QStringLiteral("data"));
        IssueLedger::instance().setFolder(QDir(dataHome).filePath(
            QStringLiteral("%1/%2").arg(QCoreApplication::organizationName(), QCoreApplication::applicationName())));
        const QDate today = QDate::currentDate();
        QList<qint64> ids;
        for (int days : {10, 60}) {
            LedgerEntry entry;
            entry.customer = QStringLiteral("丸の内物産");
            entry.number = QStringLiteral("A-%1").arg(days);
            entry.amount = 110000;
            entry.invoiceDate = today.addDays(-days);
            entry.dueDate = today.addDays(30 - days);
            ids.append(IssueLedger::instance().store().value()->record(entry)->id);
        }
        {
            IssuedInvoicesWindow window;
            window.refresh();
            QVERIFY(window.recordPayment(ids.constLast(), today, 10000, QString()));
            window.refresh();
            shown << shownTexts(window) << window.footerText() << window.verificationReport().value();
        }
        IssueLedger::instance().close();
        // The command line, as a script in a Japanese session reads it.
        const QString binary = qEnvironmentVariable("SEIKYU_BINARY");
        const QList<QStringList> commands{{"--help"},
                                          {"--ledger"},
                                          {"--ledger", "--unpaid", "--csv"},
                                          {"--ledger", "--verify"},
                                          {"--ledger", "--from", "x"},
                                          {"--ledger", "--recover"},
                                          {"--attach-ubl"},
                                          {"--export-pdf", dir.filePath("out"), dir.filePath("無い.seikyu")},
                                          {}};
        for (const QStringList &arguments : commands) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE"})
                environment.remove(QString::fromLatin1(name));
            environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
            environment.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
            environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ja_JP.UTF-8"));
            process.setProcessEnvironment(environment);
            process.start(binary, arguments);
            QVERIFY(process.waitForFinished(60000));
            const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
            QVERIFY(!output.isEmpty());
            shown << QString(output).remove(binary);
        }
        // The test's own folder names are no text of the window.
        shown.replaceInStrings(dir.path(), QString()).replaceInStrings(QFileInfo(dir.path()).fileName(), QString());
        QVERIFY2(englishIn(shown).isEmpty(), qPrintable(englishIn(shown).join(QStringLiteral("\n---\n"))));
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
