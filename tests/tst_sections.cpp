// The regions of the page and their panels and popovers: title, date, customer, issuer and stamp
// with the saved lists behind them; the invoice number and its sequence, the payment due date, the
// remarks under the table; and next month's invoice made with Duplicate.
#include "document/PageView.h"
#include "einvoice/BankAccount.h"
#include "ledger/IssueLedger.h"
#include "ledger/SharedNumberHook.h"
#include "sections/DateText.h"
#include "sections/FreelancePreferences.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "widgets/ImageWell.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

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

/// An invoice dated `date` whose rows carry the given date texts.
QByteArray invoiceDated(const QString &date, const QStringList &rowDates)
{
    QJsonArray items{row("日付", "項目", "", "個数", "価格")};
    for (const QString &rowDate : rowDates)
        items.append(row(rowDate, QStringLiteral("配送"), "1000", 1, ""));
    return QJsonDocument(QJsonObject{{"head", "請求書"},
                                     {"date", date},
                                     {"numb", "2025-0042"},
                                     {"dues", "2026-01-31"},
                                     {"whom", "株式会社テスト商事"},
                                     {"item", items}})
        .toJson();
}

/// The dates of the table's rows, under its header row.
QStringList rowDates(const Document &document)
{
    QStringList dates;
    for (const QString &row : tableTexts(document).mid(1))
        dates.append(row.section(u'|', 0, 0));
    return dates;
}

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
    document->setInvoiceDate(day);
    editRegion(*document, QStringLiteral("numb"), [&] {
        if (!typed.isNull())
            child<QLineEdit>(*document, "numbText")->setText(typed);
    });
    return document;
}

} // namespace

class TestSections : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }
    void cleanup() { QTRY_VERIFY(noWindowShown()); }

    void titleList()
    {
        auto document = makeDocument();
        QTest::mouseClick(child<PageButton>(*document, "head"), Qt::LeftButton);
        QVERIFY(child<QDialog>(*document, "headCtrl")->isVisible() &&
                child<QDialog>(*document, "headCtrl")->windowModality() == Qt::WindowModal);
        click(*document, QStringLiteral("headCtrlOk")); // nothing to write: nothing happens
        QVERIFY(child<QDialog>(*document, "headCtrl")->isVisible() &&
                child<RoomBox>(*document, "headRoom")->hasGuideBorder());
        // Added entries are kept as typed, twice and empty too; the page changes only on OK, and
        // list changes never mark the invoice edited.
        for (const QString &title : {QStringLiteral("御請求書"), QStringLiteral("御請求書"), QString()}) {
            click(*document, QStringLiteral("headPlusButton"));
            child<QLineEdit>(*document, "headNewsText")->setText(title);
            click(*document, QStringLiteral("headPlusExec"));
        }
        QVERIFY(!child<Popover>(*document, "headPlus")->isVisible() &&
                child<QLineEdit>(*document, "headNewsText")->text().isEmpty());
        QCOMPARE(savedList("head"), (QStringList{"御請求書", "御請求書", ""}));
        QCOMPARE(child<QComboBox>(*document, "headDial")->currentIndex(), 2);
        click(*document, QStringLiteral("headCtrlOk")); // the empty entry cannot go on the page
        QVERIFY(child<QDialog>(*document, "headCtrl")->isVisible() && !document->isEdited());
        child<QComboBox>(*document, "headDial")->setCurrentIndex(1);
        click(*document, QStringLiteral("headCtrlOk"));
        QCOMPARE(child<PageButton>(*document, "head")->title(), QStringLiteral("御請求書"));
        QVERIFY(!child<RoomBox>(*document, "headRoom")->hasGuideBorder() && document->isEdited() &&
                !child<QDialog>(*document, "headCtrl")->isVisible());
        document->updateChangeCount(Document::ChangeCleared);
        document->headShow();
        document->headCopy(); // OK again with the same title still counts as an edit
        QVERIFY(document->isEdited());
        // Edit and remove act on the chosen entry; removing the title the page shows leaves the page.
        document->headShow();
        click(*document, QStringLiteral("headEditButton"));
        QCOMPARE(document->shownPopover(), child<Popover>(*document, "headEdit"));
        QCOMPARE(child<QLineEdit>(*document, "headEditText")->text(), QStringLiteral("御請求書"));
        child<QLineEdit>(*document, "headEditText")->setText(QStringLiteral("Changed"));
        QTest::keyClick(child<QLineEdit>(*document, "headEditText"), Qt::Key_Return);
        QCOMPARE(savedList("head"), (QStringList{"御請求書", "Changed", ""}));
        QCOMPARE(child<QComboBox>(*document, "headDial")->currentIndex(), 1);
        click(*document, QStringLiteral("headKillButton"));
        click(*document, QStringLiteral("headKillExec"));
        QCOMPARE(savedList("head"), (QStringList{"御請求書", ""}));
        QCOMPARE(child<QComboBox>(*document, "headDial")->currentIndex(), 0);
        QCOMPARE(child<PageButton>(*document, "head")->title(), QStringLiteral("御請求書"));
        // Remove everything: the list stays present, and empty; a further remove does nothing.
        for (int i = 0; i < 3; ++i)
            document->headKillExec();
        QCOMPARE(savedList("head"), QStringList());
        document->away();
    }

    void stamp_data()
    {
        QTest::addColumn<QString>("closing"); // how the panel closes after "No stamp"
        QTest::newRow("OK") << "pushCtrlOk";
        QTest::newRow("Cancel") << "pushCtrlCancel";
        QTest::newRow("Esc") << "";
    }
    void stamp()
    {
        // A photo becomes the lossless stamp every invoice shares.
        QImage photo(120, 80, QImage::Format_RGB32);
        photo.fill(QColor(180, 20, 20));
        auto document = makeDocument();
        document->pushShow();
        child<ImageWell>(*document, "pushTest")->setImage(ImageWell::decode(encodedImage(photo, "JPEG")));
        click(*document, QStringLiteral("pushCtrlOk"));
        QVERIFY(SavedLists::instance().stamp().startsWith("\x89PNG"));
        QCOMPARE(child<PageButton>(*makeDocument(), "push")->image().size(), QSize(120, 80));
        // "No stamp" takes it away only with OK: Cancel keeps the stamp every invoice shares.
        QFETCH(QString, closing);
        const QByteArray kept = SavedLists::instance().stamp();
        document->updateChangeCount(Document::ChangeCleared);
        document->pushShow();
        click(*document, QStringLiteral("pushKillExec"));
        QVERIFY(child<ImageWell>(*document, "pushTest")->image().isNull());
        QCOMPARE(SavedLists::instance().stamp(), kept); // nothing is lost before OK
        closing.isEmpty() ? QTest::keyClick(child<QDialog>(*document, "pushCtrl"), Qt::Key_Escape)
                          : click(*document, closing);
        QVERIFY(!child<QDialog>(*document, "pushCtrl")->isVisible());
        const bool ok = closing == QLatin1String("pushCtrlOk");
        QCOMPARE(SavedLists::instance().stamp().isEmpty(), ok);
        QCOMPARE(child<PageButton>(*document, "push")->image().isNull(), ok);
        QCOMPARE(child<ImageWell>(*document, "pushTest")->image().isNull(),
                 ok); // the preview shows the stamp again
        QCOMPARE(document->isEdited(), ok);
    }

    void aCopysDueDateNeverFallsBeforeItsDate()
    {
        // Due on 31 January but dated 15 February: moved on by a month, the due date would still
        // fall before the copy's date, so the copy is given one by the usual terms instead.
        auto copy = makeDocument(invoiceDated(QStringLiteral("2026-02-15"), {}));
        copy->startAsNextInvoice(true);
        QCOMPARE(copy->invoiceDate(), QDate(2026, 3, 15));
        QVERIFY(copy->dueDate() >= copy->invoiceDate());
    }

    void cancelPutsThePanelBack_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<bool>("escape");
        QTest::newRow("title, Cancel") << "head" << false;
        QTest::newRow("customer, Esc") << "whom" << true;
        QTest::newRow("issuer, Esc") << "home" << true;
        QTest::newRow("date, Cancel") << "date" << false;
        QTest::newRow("number, Esc") << "numb" << true;
        QTest::newRow("due date, Cancel") << "dues" << false;
        QTest::newRow("remarks, Cancel") << "note" << false;
    }
    void cancelPutsThePanelBack()
    {
        QFETCH(QString, region);
        QFETCH(bool, escape);
        for (const char *key : {"head", "whom", "from"})
            SavedLists::instance().save({"A", "B"}, QString::fromLatin1(key));
        auto document =
            makeDocument(R"({"head":"B","whom":"A","from":"B","date":"2024-05-01","jgen":0,"tail":0,"item":[{}]})");
        const QByteArray file = document->dataOfType();
        const auto page = [&] {
            return QStringList{
                child<PageButton>(*document, "head")->title(), child<PageButton>(*document, "whom")->title(),
                child<PageButton>(*document, "home")->title(), child<PageButton>(*document, "date")->title()};
        };
        const QStringList pageAtOpen = page();
        const auto panel = child<QDialog>(*document, region + QStringLiteral("Ctrl"));
        const auto texts = [panel] { // a date's or a chooser's own line edit follows its control
            QList<QLineEdit *> lines = panel->findChildren<QLineEdit *>();
            lines.removeIf([](QLineEdit *line) {
                return line->parent()->inherits("QAbstractSpinBox") || line->parent()->inherits("QComboBox");
            });
            return lines;
        };
        const auto offered = [&] { // what the panel offers, control by control
            QStringList values;
            for (QComboBox *c : panel->findChildren<QComboBox *>())
                values << QString::number(c->currentIndex());
            for (SegmentedControl *c : panel->findChildren<SegmentedControl *>())
                values << QString::number(c->selectedSegment());
            for (QDateEdit *c : panel->findChildren<QDateEdit *>())
                values << c->date().toString();
            for (QCheckBox *c : panel->findChildren<QCheckBox *>())
                values << QString::number(c->isChecked());
            for (QLineEdit *c : texts())
                values << c->text();
            for (QPlainTextEdit *c : panel->findChildren<QPlainTextEdit *>())
                values << c->toPlainText();
            return values;
        };
        QTest::mouseClick(child<PageButton>(*document, region), Qt::LeftButton);
        QVERIFY(panel->isVisible());
        const QStringList atOpen = offered();
        // Everything the panel offers changes, then the user thinks better of it.
        for (QComboBox *c : panel->findChildren<QComboBox *>())
            c->setCurrentIndex(1 - c->currentIndex());
        for (SegmentedControl *c : panel->findChildren<SegmentedControl *>())
            c->setSelectedSegment(1);
        for (QDateEdit *c : panel->findChildren<QDateEdit *>())
            c->setDate(QDate(2030, 1, 2));
        for (QCheckBox *c : panel->findChildren<QCheckBox *>())
            c->setChecked(!c->isChecked());
        for (QLineEdit *c : texts())
            c->setText(QStringLiteral("X"));
        for (QPlainTextEdit *c : panel->findChildren<QPlainTextEdit *>())
            c->setPlainText(QStringLiteral("Y"));
        QVERIFY(offered() != atOpen);
        // The date, number, due date and remarks are the invoice's only from OK on: a save meanwhile
        // writes what the page shows.
        const QStringList committedOnOk{"date", "numb", "dues", "note"};
        if (committedOnOk.contains(region))
            QCOMPARE(document->dataOfType(), file);
        escape ? QTest::keyClick(panel, Qt::Key_Escape) : click(*document, panel->objectName() + "Cancel");
        QVERIFY(!panel->isVisible());
        // The panel offers again what it did, and nothing reached the page, the file or the sequence.
        QCOMPARE(offered(), atOpen);
        QCOMPARE(document->dataOfType(), file);
        QCOMPARE(page(), pageAtOpen);
        QVERIFY(!document->isEdited() && !anyGuideBorder(*document));
        QCOMPARE(FreelancePreferences::nextNumber(QDate(2024, 5, 1)).sequence, 1);
    }

    void bankAccountsTypedAndWritten()
    {
        // Fields as typed (bank|code|branch|code|type|number|holder): the line written, or what the refusal says.
        const std::pair<const char *, const char *> typed[] = {
            {"みずほ銀行|0001|丸の内支店|110|普通|1234567|ヤマダシヨクヒン(カ",
             "みずほ銀行(0001) 丸の内支店(110) 普通 1234567 ヤマダシヨクヒン(カ"},
            {"三井住友銀行||本店営業部||当座|0000001|", "三井住友銀行 本店営業部 当座 0000001"},
            {"城南信用金庫|1234|本店||貯蓄|7654321|ヤマダ タロウ",
             "城南信用金庫(1234) 本店 貯蓄 7654321 ヤマダ タロウ"},
            {"みずほ 銀行|０００１|丸の内支店|１１０|普通|１２３４５６７|ﾔﾏﾀﾞﾀﾛｳ",
             "みずほ銀行(0001) 丸の内支店(110) 普通 1234567 ヤマダタロウ"}, // as an input method types it
            {"みずほ銀行|001|丸の内支店||普通|1234567|", "four digits"},
            {"みずほ銀行||丸の内支店|11a|普通|1234567|", "three digits"},
            {"みずほ銀行||丸の内支店||普通|123456|", "seven digits"},
            {"みずほ銀行||丸の内支店||普通||", "seven digits"},
            {"みずほ||丸の内支店||普通|1234567|", "銀行"},
            {"||丸の内支店||普通|1234567|", "銀行"},
            {"みずほ銀行||丸の内||普通|1234567|", "支店"},
            {"みずほ銀行||丸の内支店||定期|1234567|", "普通, 当座 or 貯蓄"},
        };
        for (const auto &[fields, expected] : typed) {
            const QStringList f = QString::fromUtf8(fields).split(u'|');
            const BankAccount asTyped{f[0], f[1], f[2], f[3], f[4], f[5], f[6]};
            const Result<BankAccount> account = checkedBankAccount(asTyped);
            const QString said = account ? formatBankAccount(*account) : account.message();
            QVERIFY2(account ? said == QString::fromUtf8(expected) : said.contains(QString::fromUtf8(expected)),
                     qPrintable(said));
            // The line reads back as the account; one typed as it is written is kept as typed.
            QVERIFY2(!account || parseBankAccount(said) == std::optional(*account), fields);
            QVERIFY2(!account || formatBankAccount(asTyped) != said || *account == asTyped, fields);
        }
        // The issuer's bank line is replaced where it stands, or put where it belongs.
        const QString line = QStringLiteral("みずほ銀行 丸の内支店 普通 1234567");
        const std::pair<const char *, const char *> issuers[] = {
            {"〒100\n東京都\n山田\n03\nゆうちょ銀行 〇一八店 普通 7654321\nT7010705000725",
             "〒100\n東京都\n山田\n03\n%1\nT7010705000725"},
            {"〒100\n東京都\n山田\n03\n銀行", "〒100\n東京都\n山田\n03\n%1"},           // free text in its place
            {"〒100\n東京都\nゆうちょ銀行 〇一八店 普通 7654321", "〒100\n東京都\n%1"}, // on another line
            {"〒100\n東京都\n山田", "〒100\n東京都\n山田\n\n%1"},
            {"", "\n\n\n\n%1"},
        };
        for (const auto &[issuer, written] : issuers) {
            QVERIFY2(withBankLine(QString::fromUtf8(issuer), line) == QString::fromUtf8(written).arg(line), issuer);
            QVERIFY2(bankAccountOf(QString::fromUtf8(written).arg(line)).value_or(BankAccount{}).number == u"1234567",
                     written);
        }
    }

    void issuerBankAccountAsFields()
    {
        PrompterGuard prompter;
        const QString before =
            QStringLiteral("〒100\n東京都\n山田\n03\nみずほ銀行 丸の内支店 普通 1234567\nT7010705000725");
        SavedLists::instance().save({before}, QStringLiteral("from"));
        auto document = makeDocument();
        Popover *popover = child<Popover>(*document, "homeBank");
        const auto field = [&](const char *name) { return popover->findChild<QLineEdit *>(QLatin1String(name)); };
        document->homeShow();
        click(*document, QStringLiteral("homeBankButton"));
        QVERIFY(popover->isVisible());
        QCOMPARE(field("bankName")->text() + field("branchName")->text() + field("bankNumber")->text(),
                 QStringLiteral("みずほ銀行丸の内支店1234567"));
        // A bad code is refused with why, and the fields stay as typed.
        field("bankCode")->setText(QStringLiteral("12"));
        click(*document, QStringLiteral("homeBankExec"));
        QCOMPARE(prompter->alerts.size(), 1);
        QVERIFY(prompter->alerts.constFirst().contains(QStringLiteral("four digits")));
        QTRY_VERIFY(popover->isVisible());
        QCOMPARE(field("bankCode")->text(), QStringLiteral("12"));
        QCOMPARE(savedList("from"), QStringList{before});
        // Full-width digits as an input method types them; the entry's bank line is rewritten.
        field("bankCode")->setText(QStringLiteral("０００１"));
        field("branchCode")->setText(QStringLiteral("110"));
        field("bankHolder")->setText(QStringLiteral("ﾔﾏﾀﾞﾀﾛｳ"));
        popover->findChild<QComboBox *>(QStringLiteral("bankType"))->setCurrentIndex(1);
        QTest::keyClick(field("bankHolder"), Qt::Key_Return);
        QTRY_VERIFY(!popover->isVisible());
        const QString line = QStringLiteral("みずほ銀行(0001) 丸の内支店(110) 当座 1234567 ヤマダタロウ");
        QCOMPARE(savedList("from"),
                 QStringList{QStringLiteral("〒100\n東京都\n山田\n03\n%1\nT7010705000725").arg(line)});
        // The page prints the line with OK; the file keeps the text, the e-invoice reads the account.
        QVERIFY(!child<PageButton>(*document, "home")->title().contains(line));
        click(*document, QStringLiteral("homeCtrlOk"));
        QVERIFY(child<PageButton>(*document, "home")->title().contains(line));
        const QString issuer = QJsonDocument::fromJson(document->dataOfType()).object().value("from").toString();
        QCOMPARE(issuer.split(u'\n').value(4), line);
        QCOMPARE(parseBankAccount(issuer.split(u'\n').value(4))->bankCode, QStringLiteral("0001"));
    }

    void aTitleRemovedInAnotherWindowIsFollowed()
    {
        // The lists kept in the settings follow their entries as the customer book does.
        SavedLists::instance().save({"A", "B", "C"}, QStringLiteral("head"));
        auto first = makeDocument();
        auto second = makeDocument();
        child<QComboBox>(*second, "headDial")->setCurrentIndex(2);
        child<QComboBox>(*first, "headDial")->setCurrentIndex(0);
        first->headKillExec();
        QCOMPARE(child<QComboBox>(*second, "headDial")->currentText(), QStringLiteral("C"));
        QCOMPARE(savedList("head"), (QStringList{"B", "C"}));
    }

    void twoWindowsKeepTheirChoices()
    {
        storeCustomers({"A", "B", "C", "D"});
        auto first = makeDocument();
        auto second = makeDocument();
        first->whomShow();
        second->whomShow();
        QCOMPARE(first->shownSheet(), child<QDialog>(*first, "whomCtrl")); // each window keeps its own sheet
        child<QComboBox>(*second, "whomDial")->setCurrentIndex(2);
        child<QComboBox>(*first, "whomDial")->setCurrentIndex(0);
        first->whomKillExec(); // "A" goes: the second window keeps "C", not what moved into its place
        QCOMPARE(child<QComboBox>(*second, "whomDial")->currentText(), QStringLiteral("C"));
        child<QComboBox>(*first, "whomDial")->setCurrentIndex(1);
        first->whomEdit(child<QComboBox>(*first, "whomDial"));
        child<QLineEdit>(*first, "whomEditText")->setText(QStringLiteral("C2"));
        first->whomEditExec(); // an edited entry is still the same entry
        click(*second, QStringLiteral("whomCtrlOk"));
        QCOMPARE(child<PageButton>(*second, "whom")->title(), QStringLiteral("C2 御中"));
        // The very entry removed: the other window chooses nothing and says so; its OK writes nothing,
        // and its Cancel does not bring back a choice of an entry that is gone.
        second->whomShow();
        first->whomKillExec();
        QCOMPARE(bookCustomerNames(), (QStringList{"B", "D"}));
        QCOMPARE(child<QComboBox>(*second, "whomDial")->currentIndex(), -1);
        QVERIFY(!child<QComboBox>(*second, "whomDial")->placeholderText().isEmpty());
        second->whomCopy();
        QVERIFY(child<QDialog>(*second, "whomCtrl")->isVisible());
        QCOMPARE(child<PageButton>(*second, "whom")->title(), QStringLiteral("C2 御中"));
        click(*second, QStringLiteral("whomCtrlCancel"));
        QCOMPARE(child<QComboBox>(*second, "whomDial")->currentIndex(), -1);
        first->hide();
        QVERIFY(!first->isEdited());
    }

    void numberAndRemarksRefuseWhatNoFileKeeps()
    {
        // Refused where typed, the panel left open and the page as it was: the invoice's file
        // could not be opened again.
        PrompterGuard prompter;
        auto document = makeDocument(SeedFile);
        const QString number = document->invoiceNumber();
        QTest::mouseClick(child<PageButton>(*document, "numb"), Qt::LeftButton);
        child<QLineEdit>(*document, "numbText")->setText(QStringLiteral("A-") + QChar(0xFEFF));
        document->numbCopy();
        QCOMPARE(prompter->alerts.size(), 1);
        QCOMPARE(document->invoiceNumber(), number);
        QVERIFY(document->shownSheet()->isVisible());
        document->hide();
        QTest::mouseClick(child<PageButton>(*document, "note"), Qt::LeftButton);
        child<QPlainTextEdit>(*document, "noteText")->setPlainText(QStringLiteral("備考") + QChar(0xD800));
        document->noteCopy();
        QCOMPARE(prompter->alerts.size(), 2);
        QCOMPARE(document->remarks(), QString());
        document->hide();
    }

    void numberSequenceAcrossInvoices()
    {
        const QDate day(2026, 12, 5);
        auto first = numbered(day);
        QCOMPARE(child<PageButton>(*first, "numb")->title(), QStringLiteral("No. 2026-0001"));
        QVERIFY(first->isEdited() && !child<RoomBox>(*first, "numbRoom")->hasGuideBorder());
        QCOMPARE(first->filename(), QStringLiteral("2026-0001-株式会社サンプル商事"));
        QCOMPARE(numbered(day)->invoiceNumber(), QStringLiteral("2026-0002"));
        // A number of the user's own leaves the sequence alone, as does an invoice without one.
        QCOMPARE(numbered(day, QStringLiteral("A-77"))->invoiceNumber(), QStringLiteral("A-77"));
        QCOMPARE(child<PageButton>(*numbered(day, QString("")), QStringLiteral("numb"))->title(), QString());
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2026-0003"));
        // Each year of the invoice date counts on its own.
        QCOMPARE(numbered(QDate(2027, 1, 4))->invoiceNumber(), QStringLiteral("2027-0001"));
        QCOMPARE(numbered(day)->invoiceNumber(), QStringLiteral("2026-0003"));
        // Opening the panel of a numbered invoice shows its own number; Next Number offers the next.
        QTest::mouseClick(child<PageButton>(*first, "numb"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(*first, "numbText")->text(), QStringLiteral("2026-0001"));
        QTest::mouseClick(child<QPushButton>(*first, "numbNext"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(*first, "numbText")->text(), QStringLiteral("2026-0004"));
        child<QDialog>(*first, "numbCtrl")->reject();

        // The next number set by hand in the preferences is the one offered next.
        FreelancePreferences::setNextSequence(day, 12);
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2026-0012"));
        // A damaged setting reads as the default.
        QSettings().setValue(QStringLiteral("invoiceNumbers/2026"), QStringLiteral("lots"));
        QSettings().setValue(QStringLiteral("invoiceNumberPattern"), QString(200, u'x'));
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2026-0001"));
    }

    void theNewPartsRoundTrip()
    {
        // An invoice from before opens and saves back byte for byte, with nothing new on its page.
        auto seed = makeDocument(SeedFile);
        QCOMPARE(seed->dataOfType(), SeedFile);
        QVERIFY(child<PageButton>(*seed, "numb")->title().isEmpty() &&
                child<PageButton>(*seed, "dues")->title().isEmpty() && seed->remarks().isEmpty());

        editRegion(*seed, QStringLiteral("numb"),
                   [&] { child<QLineEdit>(*seed, "numbText")->setText(QStringLiteral(" 請求 12 ")); });
        editRegion(*seed, QStringLiteral("dues"),
                   [&] { QCOMPARE(child<QDateEdit>(*seed, "duesDial")->date(), QDate(2027, 1, 31)); });
        editRegion(*seed, QStringLiteral("note"), [&] {
            child<QPlainTextEdit>(*seed, "noteText")
                ->setPlainText(QStringLiteral("振込手数料はご負担ください。\n案件: A\n\n"));
        });
        QCOMPARE(child<PageButton>(*seed, "dues")->title(), QStringLiteral("お支払期限 2027年01月31日"));
        QCOMPARE(seed->remarks(), QStringLiteral("振込手数料はご負担ください。\n案件: A"));
        const QByteArray bytes = seed->dataOfType();
        auto reopened = makeDocument(bytes);
        QCOMPARE(reopened->dataOfType(), bytes);
        QCOMPARE(child<PageButton>(*reopened, "numb")->title(), QStringLiteral("No. 請求 12"));
        // The due date follows the invoice date's era, and asks to be looked at when it falls before
        // it (on the day itself it is due on delivery).
        child<QCheckBox>(*reopened, "dateJaps")->setChecked(true);
        for (const int day : {31, 32}) {
            child<QDateEdit>(*reopened, "dateDial")->setDate(QDate(2027, 1, 1).addDays(day - 1));
            reopened->dateCopy();
            QCOMPARE(child<RoomBox>(*reopened, "duesRoom")->hasGuideBorder(), day == 32);
        }
        QCOMPARE(child<PageButton>(*reopened, "dues")->title(), QStringLiteral("お支払期限 令和9年1月31日"));
        // Unticked, the due date goes; emptied, the number and the remarks go: the file is as before.
        editRegion(*seed, QStringLiteral("dues"), [&] { child<QCheckBox>(*seed, "duesUsed")->setChecked(false); });
        editRegion(*seed, QStringLiteral("numb"), [&] { child<QLineEdit>(*seed, "numbText")->clear(); });
        editRegion(*seed, QStringLiteral("note"),
                   [&] { child<QPlainTextEdit>(*seed, "noteText")->setPlainText(QStringLiteral(" \n")); });
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
        QTest::newRow("36 rows, long") << 36 << false << 40;
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
            const QHeaderView *heights = child<QTableView>(*document, "grid")->verticalHeader();
            return child<RoomBox>(*document, "gridRoom")->y() + child<QTableView>(*document, "grid")->y() +
                   heights->sectionPosition(rows) + heights->sectionSize(rows);
        };
        const int before = tableEnd();
        document->setRemarks(QStringList(lines, QStringLiteral("振込手数料は貴社にてご負担ください。")).join('\n'));
        const QRect remarks = child<RoomBox>(*document, "noteRoom")->geometry();
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
        editRegion(*original, QStringLiteral("dues"),
                   [&] { child<QDateEdit>(*original, "duesDial")->setDate(QDate(2027, 1, 15)); });
        controller.save(original);
        const QByteArray saved = readAll(path);

        // Cancel makes nothing; the choice is offered as it was last made, dated a month on, which
        // here starts the next year's sequence.
        const QDate day(2027, 1, 5);
        prompter->duplicateAnswers = {std::nullopt, Prompter::DuplicateChoice{keepSums, false}};
        QVERIFY(!controller.duplicate(original));
        child<QAction>(*original, "duplicateAction")->trigger();
        QCOMPARE(controller.documents().size(), 2);
        Document *copy = controller.documents().last();
        QCOMPARE(prompter->duplicateOffers.size(), 2);
        QVERIFY(!prompter->duplicateOffers.at(0).keepSums && !prompter->duplicateOffers.at(1).keepSums);
        QCOMPARE(prompter->duplicateOffers.at(1).date, day);
        QCOMPARE(FreelancePreferences::duplicateKeepsSums(), keepSums);

        QCOMPARE(copy->invoiceDate(), day);
        QCOMPARE(copy->invoiceNumber(), QStringLiteral("2027-0001"));
        QCOMPARE(FreelancePreferences::nextNumber(day).text, QStringLiteral("2027-0002")); // taken by the copy
        QCOMPARE(copy->dueDate(), QDate(2027, 2, 15)); // the original's 1-15, a month on
        QCOMPARE(copy->isTotalled(), keepSums);
        QCOMPARE(child<PageButton>(*copy, "sums")->title(),
                 keepSums ? child<PageButton>(*original, "sums")->title() : Document::emptyAmountBox());
        QCOMPARE(tableTexts(*copy).at(1) + child<PageButton>(*copy, "whom")->title(),
                 tableTexts(*original).at(1) + child<PageButton>(*original, "whom")->title());
        QVERIFY(!anyGuideBorder(*copy) && copy->undoStack()->count() == 0);
        // A new, unsaved invoice; the original is as it was, on screen and on disk.
        QVERIFY(copy->filePath().isEmpty() && copy->isEdited() && copy->untitledNumber() == 1);
        QVERIFY(!original->isEdited() && original->dataOfType() == saved && readAll(path) == saved);
        prompter->saveChoices = {Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
    }
    void listsAndTheNumberSurviveARestart()
    {
        FreelancePreferences::setNumberPattern(QStringLiteral("No{yy}-{000}"));
        numbered(QDate(2026, 12, 5));
        numbered(QDate(2026, 12, 6));
        SavedLists::instance().save({}, QStringLiteral("head"));
        SavedLists::instance().save({QStringLiteral("a, b"), QStringLiteral("line\nfeed"), QStringLiteral("\"q\"")},
                                    QStringLiteral("whom"));
        QSettings().remove(QStringLiteral("from"));
        QProcess reader; // a second process reads the settings file afresh
        reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-settings")});
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(reader.readAllStandardOutput(),
                 QByteArray("head=0:\nwhom=3:a, b|line\\nfeed|\"q\"\nfrom=absent\nnext=No26-003\n"));
    }

    void duplicateMovesTheRowsWithTheInvoiceDate()
    {
        installSharedNumbers(); // as the application does: numbers not used go back
        PrompterGuard prompter;
        DocumentController controller;
        QTemporaryDir folder;
        IssueLedger::instance().setFolder(folder.filePath(QStringLiteral("ledger")));
        // December's invoice, dated and due on a month's last day, made into January's: the rows
        // cross the year end.
        const QString path = writeFile(
            folder.filePath(QStringLiteral("december.seikyu")),
            invoiceDated(QStringLiteral("2025-12-31"), {QStringLiteral("12/31"), QStringLiteral("１１月３０日"),
                                                        QStringLiteral("1/31"), QStringLiteral("送料")}));
        Document *original = controller.openFile(path);
        QVERIFY(original);

        // Offered on at first and dated a month after the original, whatever today is; the choice
        // made is remembered and offered next time.
        QVERIFY(FreelancePreferences::duplicateMovesRowDates());
        prompter->duplicateAnswers = {Prompter::DuplicateChoice{false, true}};
        child<QAction>(*original, "duplicateAction")->trigger();
        QCOMPARE(controller.documents().size(), 2);
        Document *copy = controller.documents().last();
        const QDate january(2026, 1, 31);
        QCOMPARE(prompter->duplicateOffers.constFirst(),
                 (Prompter::DuplicateChoice{false, true, january, QDate(2025, 12, 31)}));
        QCOMPARE(rowDates(*copy), (QStringList{"1/31", "１２月３０日", "2/28", "送料"}));
        QCOMPARE(std::tuple(copy->invoiceDate(), copy->dueDate(), copy->invoiceNumber()),
                 std::tuple(january, QDate(2026, 2, 28), QStringLiteral("2026-0001")));
        // Nothing to undo in a new invoice; the original is as it was.
        QCOMPARE(copy->undoStack()->count(), 0);
        QCOMPARE(rowDates(*original).constFirst(), QStringLiteral("12/31"));

        // Turned off, the dates stay as they were, and the choice is offered so next time; a date
        // set in the dialog moves the due date by its months.
        prompter->duplicateAnswers = {Prompter::DuplicateChoice{false, false, QDate(2026, 3, 5)}};
        child<QAction>(*original, "duplicateAction")->trigger();
        QCOMPARE(controller.documents().size(), 3);
        QCOMPARE(rowDates(*controller.documents().last()).constFirst(), QStringLiteral("12/31"));
        QCOMPARE(controller.documents().last()->dueDate(), QDate(2026, 4, 30));
        QVERIFY(!FreelancePreferences::duplicateMovesRowDates());
        prompter->duplicateAnswers = {std::nullopt};
        QVERIFY(!controller.duplicate(original));
        QVERIFY(!prompter->duplicateOffers.last().moveRowDates);

        // The first copy dated back into December before it is saved: Cancel keeps the panel open;
        // moved, the rows and the due date follow, and its number is the new year's.
        QTest::mouseClick(child<PageButton>(*copy, "date"), Qt::LeftButton);
        child<QDateEdit>(*copy, "dateDial")->setDate(QDate(2025, 12, 25));
        prompter->choiceAnswers = {-1, 0};
        auto *ok = child<QPushButton>(*copy, "dateCtrlOk");
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(copy->shownSheet()->isVisible());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!copy->shownSheet()->isVisible());
        QCOMPARE(rowDates(*copy), (QStringList{"12/31", "１１月３０日", "1/28", "送料"}));
        QCOMPARE(std::pair(copy->dueDate(), copy->invoiceNumber()), std::pair(january, QStringLiteral("2025-0001")));

        prompter->saveChoices = {Prompter::SaveChoice::DontSave, Prompter::SaveChoice::DontSave};
        QVERIFY(controller.closeAll());
        // No gap: the numbers of the discarded copies go back to their sequences, and the one given
        // up while another copy held the next is recorded in the ledger as unused, with why.
        QCOMPARE(FreelancePreferences::nextNumber(january).text, QStringLiteral("2026-0002"));
        QCOMPARE(FreelancePreferences::nextNumber(QDate(2025, 12, 25)).text, QStringLiteral("2025-0001"));
        const LedgerEntry unused = IssueLedger::instance().store().value()->entries().value().value(0);
        QCOMPARE(std::pair(unused.kind, unused.number), std::pair(EntryKind::Unused, QStringLiteral("2026-0001")));
        QVERIFY(!unused.note.isEmpty());
        IssueLedger::instance().close();
    }
};

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--read-settings") == 0) {
        QCoreApplication app(argc, argv);
        nameApplication();
        for (const char *key : {"head", "whom", "from"}) {
            const auto list = SavedLists::instance().read(QString::fromLatin1(key));
            const QString shown =
                list ? QStringLiteral("%1:%2").arg(list->size()).arg(list->join(u'|')) : QStringLiteral("absent");
            std::printf("%s=%s\n", key, QString(shown).replace(u'\n', QStringLiteral("\\n")).toUtf8().constData());
        }
        std::printf("next=%s\n", FreelancePreferences::nextNumber(QDate(2026, 12, 7)).text.toUtf8().constData());
        return 0;
    }
    QApplication app(argc, argv);
    TestSections test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sections.moc"
