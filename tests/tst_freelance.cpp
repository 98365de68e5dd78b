// A freelancer's invoice: the invoice number and its sequence, the payment due date, the remarks
// under the table, and next month's invoice made with Duplicate.
#include "document/PageView.h"
#include "sections/FreelancePreferences.h"
#include "support/TestSupport.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <cstdio>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QJsonObject row(const QString &date, const QString &name, const QString &solo, const QJsonValue &much,
                const QString &sums)
{
    return {{"date", date}, {"name", name}, {"solo", solo}, {"much", much}, {"sums", sums}};
}

/// An invoice as earlier versions wrote it, through the same writer: none of the optional members.
const QByteArray SeedFile =
    QJsonDocument(QJsonObject{{"head", "請求書"},
                              {"date", "2026-12-05"},
                              {"whom", "株式会社サンプル商事"},
                              {"from", "150-0001\n東京都渋谷区\n佐藤花子"},
                              {"full", "\b御請求金額\n￥330,000"},
                              {"item", QJsonArray{row("日付", "項目", "", "個数", "価格"),
                                                  row("12-01", "デザイン", "300000", 1, "￥300,000"),
                                                  row(" ", " ", "", "合計", "￥330,000")}},
                              {"jgen", 0},
                              {"plus", 1},
                              {"tail", 0}})
        .toJson();

/// Opens a region by clicking it, lets `fill` change its panel, and presses OK or Cancel.
void editRegion(const Document &document, const QString &region, const std::function<void()> &fill, bool ok = true)
{
    QTest::mouseClick(child<PageButton>(document, region), Qt::LeftButton);
    QVERIFY(document.shownSheet() && document.shownSheet()->isVisible());
    fill();
    QTest::mouseClick(child<QPushButton>(document, region + (ok ? "CtrlOk" : "CtrlCancel")), Qt::LeftButton);
    QVERIFY(!document.shownSheet()->isVisible());
}

/// A document dated `day`, with its number given through the number panel as offered or as typed.
std::unique_ptr<Document> numbered(const QDate &day, const QString &typed = QString())
{
    auto document = makeDocument(SeedFile);
    document->dateDial->setDate(day);
    editRegion(*document, QStringLiteral("numb"), [&] {
        if (!typed.isNull())
            document->numbText->setText(typed);
    });
    return document;
}

} // namespace

class TestFreelance : public QObject
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

    void numberPattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<qint64>("lastUsed");
        QTest::addColumn<QString>("number"); // for an invoice dated 2026-12-05, and the counter it takes
        QTest::newRow("default") << DefaultNumberPattern << qint64(11) << "2026-0012 of 2026";
        QTest::newRow("empty: default") << " " << qint64(0) << "2026-0001 of 2026";
        QTest::newRow("past its zeros") << "{yyyy}-{0000}" << qint64(9999) << "2026-10000 of 2026";
        QTest::newRow("short year, {0}") << "INV{yy}/{0}" << qint64(6) << "INV26/7 of 2026";
        QTest::newRow("no year") << "S-{000}" << qint64(41) << "S-042 of all";
        QTest::newRow("no sequence") << "{yyyy}" << qint64(2) << "20260003 of 2026";
        QTest::newRow("other braces") << "{abc}{y}-{00}" << qint64(0) << "{abc}{y}-01 of all";
        QTest::newRow("damaged count") << DefaultNumberPattern << qint64(-5) << "2026-0001 of 2026";
    }
    void numberPattern()
    {
        QFETCH(QString, pattern);
        QFETCH(qint64, lastUsed);
        const NumberProposal proposal = proposeNumber(pattern, QDate(2026, 12, 5), lastUsed);
        QTEST(proposal.text + QStringLiteral(" of ") + proposal.counter, "number");
    }

    void dueDates_data()
    {
        QTest::addColumn<QDate>("invoiced");
        QTest::addColumn<int>("term");
        QTest::addColumn<int>("day");
        QTest::addColumn<QDate>("due");
        const int end = int(DueTerm::EndOfNextMonth), thirty = int(DueTerm::ThirtyDays),
                  fixed = int(DueTerm::DayOfNextMonth);
        QTest::newRow("Jan 31 → end of Feb") << QDate(2026, 1, 31) << end << 0 << QDate(2026, 2, 28);
        QTest::newRow("leap year") << QDate(2028, 1, 31) << end << 0 << QDate(2028, 2, 29);
        QTest::newRow("December → January") << QDate(2026, 12, 5) << end << 0 << QDate(2027, 1, 31);
        QTest::newRow("30 days over February") << QDate(2026, 1, 31) << thirty << 0 << QDate(2026, 3, 2);
        QTest::newRow("30 days, leap year") << QDate(2028, 2, 1) << thirty << 0 << QDate(2028, 3, 2);
        QTest::newRow("fixed 25th") << QDate(2026, 12, 31) << fixed << 25 << QDate(2027, 1, 25);
        QTest::newRow("fixed 31st in February") << QDate(2026, 1, 10) << fixed << 31 << QDate(2026, 2, 28);
        QTest::newRow("fixed 30th, leap February") << QDate(2028, 1, 10) << fixed << 30 << QDate(2028, 2, 29);
        QTest::newRow("fixed 31st in April") << QDate(2026, 3, 31) << fixed << 31 << QDate(2026, 4, 30);
    }
    void dueDates()
    {
        QFETCH(QDate, invoiced);
        QFETCH(int, term);
        QFETCH(int, day);
        QTEST(proposeDueDate(invoiced, {DueTerm(term), day}), "due");
    }

    void numberSequenceAcrossInvoices()
    {
        const QDate day(2026, 12, 5);
        auto first = numbered(day);
        QCOMPARE(first->numb->title(), QStringLiteral("No. 2026-0001"));
        QVERIFY(first->isEdited() && !first->numbRoom->hasGuideBorder());
        QCOMPARE(first->filename(), QStringLiteral("2026-0001-株式会社サンプル商事 御中"));
        QCOMPARE(numbered(day)->invoiceNumber(), QStringLiteral("2026-0002"));
        // A number of the user's own leaves the sequence alone, as does an invoice without one.
        QCOMPARE(numbered(day, QStringLiteral("A-77"))->invoiceNumber(), QStringLiteral("A-77"));
        QCOMPARE(numbered(day, QString(""))->numb->title(), QString());
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2026-0003"));
        // Each year of the invoice date counts on its own.
        QCOMPARE(numbered(QDate(2027, 1, 4))->invoiceNumber(), QStringLiteral("2027-0001"));
        QCOMPARE(numbered(day)->invoiceNumber(), QStringLiteral("2026-0003"));
        // Opening the panel of a numbered invoice shows its own number; Next Number offers the next.
        QTest::mouseClick(first->numb, Qt::LeftButton);
        QCOMPARE(first->numbText->text(), QStringLiteral("2026-0001"));
        QTest::mouseClick(child<QPushButton>(*first, QStringLiteral("numbNext")), Qt::LeftButton);
        QCOMPARE(first->numbText->text(), QStringLiteral("2026-0004"));
        first->numbCtrl->reject();

        // The next number set by hand in the preferences is the one offered next.
        FreelancePreferences::setNextSequence(day, 12);
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2026-0012"));
        // A damaged setting reads as the default.
        QSettings().setValue(QStringLiteral("invoiceNumbers/2026"), QStringLiteral("lots"));
        QSettings().setValue(QStringLiteral("invoiceNumberPattern"), QString(200, u'x'));
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2026-0001"));
    }

    void numberSequenceSurvivesARestart()
    {
        FreelancePreferences::setNumberPattern(QStringLiteral("No{yy}-{000}"));
        numbered(QDate(2026, 12, 5));
        numbered(QDate(2026, 12, 6));
        QProcess reader; // a second process reads the settings file afresh
        reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--next-number"), "2026-12-07"});
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(reader.readAllStandardOutput().trimmed(), QByteArray("No26-003"));
    }

    void theNewPartsRoundTrip()
    {
        // An invoice from before opens and saves back byte for byte, with nothing new on its page.
        auto seed = makeDocument(SeedFile);
        QCOMPARE(seed->dataOfType(), SeedFile);
        QVERIFY(seed->numb->title().isEmpty() && seed->dues->title().isEmpty() && seed->remarks().isEmpty());

        editRegion(*seed, QStringLiteral("numb"), [&] { seed->numbText->setText(QStringLiteral(" 請求 12 ")); });
        editRegion(*seed, QStringLiteral("dues"), [&] { QCOMPARE(seed->duesDial->date(), QDate(2027, 1, 31)); });
        editRegion(*seed, QStringLiteral("note"),
                   [&] { seed->noteText->setPlainText(QStringLiteral("振込手数料はご負担ください。\n案件: A\n\n")); });
        QCOMPARE(seed->dues->title(), QStringLiteral("お支払期限 2027年01月31日"));
        QCOMPARE(seed->remarks(), QStringLiteral("振込手数料はご負担ください。\n案件: A"));
        const QByteArray bytes = seed->dataOfType();
        for (const char *member : {R"("numb": "請求 12")", R"("dues": "2027-01-31")", "\"note\": \"振込"})
            QVERIFY2(bytes.contains(member), member);
        auto reopened = makeDocument(bytes);
        QCOMPARE(reopened->dataOfType(), bytes);
        QCOMPARE(reopened->numb->title(), QStringLiteral("No. 請求 12"));
        // The due date follows the invoice date's era, and asks to be looked at when it falls before
        // it (on the day itself it is due on delivery).
        reopened->dateJaps->setChecked(true);
        for (const int day : {31, 32}) {
            reopened->dateDial->setDate(QDate(2027, 1, 1).addDays(day - 1));
            reopened->dateCopy();
            QCOMPARE(reopened->duesRoom->hasGuideBorder(), day == 32);
        }
        QCOMPARE(reopened->dues->title(), QStringLiteral("お支払期限 令和9年1月31日"));
        // Unticked, the due date goes; emptied, the number and the remarks go: the file is as before.
        editRegion(*seed, QStringLiteral("dues"), [&] { seed->duesUsed->setChecked(false); });
        editRegion(*seed, QStringLiteral("numb"), [&] { seed->numbText->clear(); });
        editRegion(*seed, QStringLiteral("note"), [&] { seed->noteText->setPlainText(QStringLiteral(" \n")); });
        QCOMPARE(seed->dataOfType(), SeedFile);
    }

    void remarksMakeRoomUnderTheTable_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<int>("lines");
        QTest::newRow("2 rows, short") << 2 << false << 1;
        QTest::newRow("2 rows with the legend, long") << 2 << true << 40;
        QTest::newRow("34 rows with the legend, short") << 34 << true << 1;
        QTest::newRow("80 rows, long") << 80 << false << 40;
    }
    void remarksMakeRoomUnderTheTable()
    {
        QFETCH(int, rows);
        QFETCH(bool, reduced);
        QFETCH(int, lines);
        QString items = QStringLiteral(R"({"date":"日付"})");
        for (int row = 0; row < rows; ++row)
            items += QStringLiteral(R"(,{"name":"作業 %1","solo":"1000","much":1,"sums":"1000"%2})")
                         .arg(row)
                         .arg(reduced && row == 0 ? QStringLiteral(R"(,"rate":8)") : QString());
        auto document = makeDocument(QStringLiteral(R"({"rate":10,"item":[%1]})").arg(items).toUtf8());
        const auto tableEnd = [&] {
            const QHeaderView *heights = document->grid->verticalHeader();
            return document->gridRoom->y() + document->grid->y() + heights->sectionPosition(rows) +
                   heights->sectionSize(rows);
        };
        const int before = tableEnd();
        document->setRemarks(QStringList(lines, QStringLiteral("振込手数料は貴社にてご負担ください。")).join('\n'));
        const QRect remarks = document->noteRoom->geometry();
        const int legend = reduced ? 13 : 0;
        QVERIFY2(tableEnd() + legend <= remarks.top(), "the remarks cover the table");
        QVERIFY2(remarks.bottom() < PageView::Height - PageView::Margin, "the remarks leave the page");
        QCOMPARE(tableEnd() < before, rows > 30); // a long table gives up room; a short one need not
        document->setRemarks(QString());
        QCOMPARE(tableEnd(), before);
    }

    void duplicateMakesNextMonthsInvoice_data()
    {
        QTest::addColumn<bool>("keepSums");
        QTest::newRow("sums dropped") << false;
        QTest::newRow("sums kept") << true;
    }
    void duplicateMakesNextMonthsInvoice()
    {
        QFETCH(bool, keepSums);
        PrompterGuard prompter;
        DocumentController controller;
        controller.setAutosaveDelay(0);
        QTemporaryDir folder;
        const QString path = writeFile(folder.filePath(QStringLiteral("original.seikyu")), SeedFile);
        Document *original = controller.openFile(path);
        editRegion(*original, QStringLiteral("numb"), [] {});
        editRegion(*original, QStringLiteral("dues"), [&] { original->duesDial->setDate(QDate(2027, 1, 15)); });
        controller.save(original);
        const QByteArray saved = readAll(path);

        // Cancel makes nothing; the choice is offered as it was last made.
        const QDate today = QDate::currentDate();
        const QString next = FreelancePreferences::nextNumber(today).text;
        prompter->duplicateAnswers = {std::nullopt, keepSums};
        QVERIFY(!controller.duplicate(original));
        auto *action = original->window()->findChild<QAction *>(QStringLiteral("duplicateAction"));
        QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+D")));
        action->trigger();
        QCOMPARE(controller.documents().size(), 2);
        Document *copy = controller.documents().last();
        QCOMPARE(prompter->duplicateOffers, (QList<bool>{false, false}));
        QCOMPARE(FreelancePreferences::duplicateKeepsSums(), keepSums);

        QCOMPARE(copy->dateDial->date(), today);
        QCOMPARE(copy->invoiceNumber(), next);
        QVERIFY(FreelancePreferences::nextNumber(today).text != next); // taken by the copy
        QCOMPARE(copy->dueDate(), proposeDueDate(today, {}));
        QCOMPARE(copy->isTotalled(), keepSums);
        QCOMPARE(copy->sums->title(), keepSums ? original->sums->title() : Document::emptyAmountBox());
        QCOMPARE(tableTexts(*copy).at(1), tableTexts(*original).at(1));
        QCOMPARE(copy->whom->title(), original->whom->title());
        QVERIFY(!anyGuideBorder(*copy));
        QVERIFY(copy->filePath().isEmpty() && copy->isEdited() && copy->untitledNumber() == 1);
        QVERIFY(copy->undoStack()->count() == 0);
        // The original is as it was, on screen and on disk.
        QVERIFY(!original->isEdited());
        QCOMPARE(original->dataOfType(), saved);
        QCOMPARE(readAll(path), saved);
        // Closing the copy asks.
        const QString name = copy->displayName();
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.close(copy) && controller.closeAll());
        QCOMPARE(prompter->asked, QStringList{name});
    }
};

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--next-number") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Seikyu"));
        QCoreApplication::setOrganizationName(QStringLiteral("Seikyu"));
        QStandardPaths::setTestModeEnabled(true);
        const QDate day = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
        std::printf("%s\n", FreelancePreferences::nextNumber(day).text.toUtf8().constData());
        return 0;
    }
    QApplication app(argc, argv);
    TestFreelance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_freelance.moc"
