// The customer book's rules, without widgets: due dates from closing days and payment terms, the terms as
// typed in a customer list, the address block's honorifics and postal codes, and searching by name or reading.
#include "customers/AddressBlock.h"
#include "customers/CustomerBook.h"
#include "customers/CustomerBookWindow.h"
#include "customers/CustomerCsv.h"
#include "customers/CustomerMigration.h"
#include "customers/CustomerSearch.h"
#include "customers/PaymentTerms.h"
#include "document/Document.h"
#include "import/ShiftJisText.h"
#include "sections/CustomerHonorifics.h"
#include "sections/CustomerPeers.h"
#include "sections/SavedLists.h"
#include "support/FullDisk.h"
#include "support/TestSupport.h"
#include "widgets/SegmentedControl.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

using namespace seikyu;
using test::child;

namespace {

PaymentTerms afterClosing(int closingDay, int months, int day)
{
    return {.closingDay = closingDay, .months = months, .day = day};
}

PaymentTerms daysAfter(int days)
{
    return {.basis = PaymentTerms::Basis::InvoiceDate, .days = days};
}

Customer customer(const QString &name, const QString &kana = {})
{
    Customer c;
    c.name = name;
    c.kana = kana;
    return c;
}

/// A company customer with everything the book keeps of one: its reading, contact, address,
/// electronic address and terms.
Customer yamadaShoji()
{
    Customer c = customer(QStringLiteral("株式会社山田商事"), QStringLiteral("ヤマダショウジ"));
    c.department = QStringLiteral("経理部");
    c.contactTitle = QStringLiteral("部長");
    c.contactName = QStringLiteral("山田太郎");
    c.postalCode = QStringLiteral("100-0005");
    c.address1 = QStringLiteral("東京都千代田区丸の内1-1-1");
    c.address2 = QStringLiteral("丸の内ビル 12階");
    c.peppolId = QStringLiteral("0188:7010705000725");
    c.terms = parsePaymentTerms(QStringLiteral("20日締め翌月末払い"));
    c.note = QStringLiteral("請求書は郵送で");
    return c;
}

std::unique_ptr<CustomerBook> openBook(const QString &path)
{
    Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(path);
    if (!book)
        qWarning("%s (%s)", qPrintable(book.message()), qPrintable(book.fault().detail));
    return book ? std::move(*book) : nullptr;
}

QStringList namesOf(const Result<QList<Customer>> &customers)
{
    return test::each(customers ? *customers : QList<Customer>(), &Customer::name);
}

/// The writer role of this executable: adds `count` customers named `tag`-n to the book at `path`,
/// saying each one's number once it is stored.
int addCustomers(const QString &path, int count, const QString &tag)
{
    auto book = openBook(path);
    if (!book)
        return 1;
    for (int i = 0; i < count; ++i) {
        Customer c = customer(QStringLiteral("%1-%2").arg(tag).arg(i));
        c.note = QString(2000, QChar(u'備')); // a row that spans more than one write
        if (const Result<qint64> id = book->add(c); !id) {
            std::fprintf(stderr, "add %d: %s\n", i, qPrintable(id.fault().detail));
            return 1;
        }
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}

QProcess *startWriter(QObject *parent, const QString &path, int count, const QString &tag)
{
    auto *process = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SEIKYU_CUSTOMER_WRITER"), QStringLiteral("%1|%2|%3").arg(path).arg(count).arg(tag));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QCoreApplication::applicationFilePath(), {});
    return process;
}

} // namespace

class TestCustomers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dueDates()
    {
        const int end = MonthEndDay;
        const struct
        {
            const char *name;
            QDate invoice;
            PaymentTerms terms;
            QDate due;
        } cases[] = {
            {"末締め翌月末", {2026, 1, 15}, afterClosing(end, 1, end), {2026, 2, 28}},
            {"on the closing day", {2026, 1, 20}, afterClosing(20, 1, end), {2026, 2, 28}},
            {"a day after closing", {2026, 1, 21}, afterClosing(20, 1, end), {2026, 3, 31}},
            {"翌々月10日", {2026, 3, 5}, afterClosing(end, 2, 10), {2026, 5, 10}},
            {"into a leap February", {2028, 1, 31}, afterClosing(end, 1, 30), {2028, 2, 29}},
            {"closing on 29 February", {2028, 2, 29}, afterClosing(end, 1, end), {2028, 3, 31}},
            {"closing day 30 in February", {2027, 2, 28}, afterClosing(30, 0, end), {2027, 2, 28}},
            {"over the year end", {2026, 12, 25}, afterClosing(20, 1, 10), {2027, 2, 10}},
            {"December closing", {2026, 12, 10}, afterClosing(end, 1, end), {2027, 1, 31}},
            {"当月25日", {2026, 4, 1}, afterClosing(15, 0, 25), {2026, 4, 25}},
            {"30 days", {2026, 12, 15}, daysAfter(30), {2027, 1, 14}},
            {"60 days over February", {2028, 1, 1}, daysAfter(60), {2028, 3, 1}},
            {"no date", {}, afterClosing(end, 1, end), {}},
        };
        for (const auto &c : cases)
            QVERIFY2(dueDateFromTerms(c.invoice, c.terms) == c.due, c.name);
    }

    void termsAndClosingDaysAsTyped()
    {
        // Terms as typed in a customer list, and as written back ("" when refused).
        const std::pair<const char *, const char *> terms[] = {
            {"翌月末", "末締め翌月末払い"},
            {"翌月末払い", "末締め翌月末払い"},
            {"翌々月10日", "末締め翌々月10日払い"},
            {"翌翌月１０日払", "末締め翌々月10日払い"},
            {"20日締め翌月末払い", "20日締め翌月末払い"},
            {"20日〆 翌月 25日 払い", "20日締め翌月25日払い"},
            {"月末締め当月末日払い", "末締め当月末払い"},
            {"3ヶ月後末", "末締め3ヶ月後末払い"},
            {"30日", "請求日から30日後払い"},
            {"請求日から４５日以内", "請求日から45日後払い"},
            {"13ヶ月後末", ""}, // a year ahead at most
            {"翌月32日", ""},
            {"現金", ""},
            {"", ""},
        };
        for (const auto &[typed, read] : terms) {
            const std::optional<PaymentTerms> parsed = parsePaymentTerms(QString::fromUtf8(typed));
            QVERIFY2((parsed ? paymentTermsText(*parsed) : QString()) == QString::fromUtf8(read), typed);
            // What is written back reads as the same terms.
            QVERIFY2(!parsed || parsePaymentTerms(paymentTermsText(*parsed)) == parsed, typed);
        }
        // Closing days; 0 when refused, and the 29th and 30th close the month.
        const std::pair<const char *, int> closingDays[] = {{"20", 20},
                                                            {"２０日締め", 20},
                                                            {"末", MonthEndDay},
                                                            {"月末", MonthEndDay},
                                                            {"末日締", MonthEndDay},
                                                            {"30日締め", MonthEndDay},
                                                            {"0", 0},
                                                            {"32", 0},
                                                            {"毎週", 0}};
        for (const auto &[typed, day] : closingDays)
            QVERIFY2(parseClosingDay(QString::fromUtf8(typed)).value_or(0) == day, typed);
    }

    void addressBlockAndPostalCodes()
    {
        // The honorific goes once, after the last line it belongs to: never both 御中 and 様.
        const struct
        {
            const char *company;
            bool personal;
            const char *department, *attention, *lastLines;
        } cases[] = {
            {"株式会社山田商事", false, "", "", "株式会社山田商事 御中"},
            {"株式会社山田商事", false, "経理部", "", "株式会社山田商事|経理部 御中"},
            {"株式会社山田商事", false, "経理部", "部長 山田太郎", "株式会社山田商事|経理部|部長 山田太郎 様"},
            {"株式会社山田商事", false, "", "山田太郎", "株式会社山田商事|山田太郎 様"},
            {"株式会社山田商事 御中", false, "経理部御中", "山田太郎様", "株式会社山田商事|経理部|山田太郎 様"},
            {"山田太郎", true, "", "", "山田太郎 様"}, // a customer who is a person
            {"", false, "", "", ""},
        };
        const QStringList address{QStringLiteral("東京都千代田区丸の内1-1-1"), QStringLiteral("丸の内ビル 12階")};
        for (const auto &c : cases) {
            const QStringList lines =
                addressBlockLines({QStringLiteral("100-0005"), address, QString::fromUtf8(c.company), c.personal,
                                   QString::fromUtf8(c.department), QString::fromUtf8(c.attention)});
            const QString all = lines.join(QLatin1Char('|'));
            QVERIFY2(all == QStringLiteral("〒100-0005|") + address.join(u'|') +
                                (*c.lastLines ? QStringLiteral("|") + QString::fromUtf8(c.lastLines) : QString()),
                     qPrintable(all));
            QVERIFY2(!(all.contains(QStringLiteral("御中")) && all.contains(QStringLiteral("様"))), qPrintable(all));
        }
        // Postal codes as typed; "refused" when it is none.
        const std::pair<const char *, const char *> codes[] = {{"1000005", "100-0005"},
                                                               {"100-0005", "100-0005"},
                                                               {"〒１００－０００５", "100-0005"},
                                                               {"100ー0005", "100-0005"},
                                                               {"  ", ""},
                                                               {"100-005", "refused"},
                                                               {"ABC-DEFG", "refused"}};
        for (const auto &[typed, code] : codes)
            QVERIFY2(normalizedPostalCode(QString::fromUtf8(typed)).value_or(QStringLiteral("refused")) ==
                         QString::fromUtf8(code),
                     typed);
    }

    void bookKeepsCustomersByIdentity()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/customers.sqlite"));
        auto book = openBook(path);
        QVERIFY(book);
        Customer yamada = yamadaShoji();
        const Result<qint64> id = book->add(yamada);
        QVERIFY(id);
        QVERIFY(book->add(customer(QStringLiteral("あおば工房"), QStringLiteral("アオバコウボウ"))));
        QVERIFY(book->add(customer(QStringLiteral("Zebra Inc."))));
        QCOMPARE(namesOf(book->all()), QStringList({"Zebra Inc.", "あおば工房", "株式会社山田商事"}));

        // Renamed, it is the same customer with everything it held.
        yamada.id = *id;
        yamada.name = QStringLiteral("山田商事株式会社");
        QVERIFY(book->update(yamada));
        const Result<Customer> reread = openBook(path)->byId(*id); // as another window reads it
        QVERIFY(reread);
        QCOMPARE(*reread, yamada);
        QCOMPARE(namesOf(book->search(QStringLiteral("やまだ"))), QStringList({"山田商事株式会社"}));
        QCOMPARE(namesOf(book->search(QStringLiteral("ｺｳﾎﾞｳ"))), QStringList({"あおば工房"}));

        // Refusals leave the book as it was.
        QCOMPARE(book->add(customer(QStringLiteral("  "))).fault().kind, FaultKind::BadInput);
        const Result<QList<qint64>> some = book->addAll({customer(QStringLiteral("A")), customer(QString())});
        QVERIFY(!some);
        QCOMPARE(book->all()->size(), 3);
        QVERIFY(book->remove(*id));
        QCOMPARE(book->byId(*id).fault().kind, FaultKind::NotFound);
        QCOMPARE(book->update(yamada).fault().kind, FaultKind::NotFound);
        QCOMPARE(book->all()->size(), 2);
    }

    void filesThatAreNoBookAreLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // written at the book's place; "folder" makes a folder there
        QTest::addColumn<QString>("sql");      // or run there on a fresh database
        QTest::addColumn<int>("kind");
        QTest::newRow("random bytes") << QByteArray(8192, '\x5a') << QString() << int(FaultKind::BadInput);
        QTest::newRow("another program's database")
            << QByteArray() << "CREATE TABLE notes (x TEXT)" << int(FaultKind::BadInput);
        QTest::newRow("a later version's book")
            << QByteArray() << "PRAGMA application_id = 1397441346; PRAGMA user_version = 2; CREATE TABLE t (x)"
            << int(FaultKind::Refused);
        QTest::newRow("a folder") << QByteArray("folder") << QString() << int(FaultKind::BadInput);
    }

    void filesThatAreNoBookAreLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sql);
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("customers.sqlite"));
        if (bytes == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("customers.sqlite")));
        } else if (!bytes.isEmpty()) {
            test::writeFile(path, bytes);
        } else {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            for (const QString &statement : sql.split(QStringLiteral("; ")))
                QVERIFY(QSqlQuery(db).exec(statement));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        }
        const QByteArray before = QFileInfo(path).isFile() ? test::readAll(path) : QByteArray();
        const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(path);
        QVERIFY(!book);
        QCOMPARE(int(book.fault().kind), kind);
        QVERIFY(!book.message().isEmpty());
        if (QFileInfo(path).isFile())
            QCOMPARE(test::readAll(path), before);
    }

    void aFullDiskChangesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("customers.sqlite"));
        auto book = openBook(path);
        QVERIFY(book && book->add(customer(QStringLiteral("A"))));
        Customer big = customer(QStringLiteral("B"));
        big.note = QString(200000, QChar(u'x'));
        {
            const test::FullDisk full(QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size());
            const Result<qint64> added = book->add(big);
            QVERIFY(!added);
            QCOMPARE(added.fault().kind, FaultKind::Unwritable);
        }
        QCOMPARE(namesOf(book->all()), QStringList({"A"}));
        QVERIFY(book->add(customer(QStringLiteral("C"))));
        QCOMPARE(namesOf(openBook(path)->all()), QStringList({"A", "C"}));
    }

    void processesShareTheBookAndSurviveAKill()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("customers.sqlite"));
        constexpr int PerProcess = 40;
        QList<QProcess *> writers{startWriter(this, path, PerProcess, QStringLiteral("P")),
                                  startWriter(this, path, PerProcess, QStringLiteral("Q"))};
        for (QProcess *writer : writers) {
            QVERIFY(writer->waitForFinished(120000));
            QCOMPARE(writer->exitCode(), 0);
        }
        QCOMPARE(openBook(path)->all()->size(), 2 * PerProcess);

        // Killed while adding: what it said it stored is there, and every row is whole.
        QProcess *killed = startWriter(this, path, 100000, QStringLiteral("K"));
        int stored = -1;
        while (stored < 25 && killed->waitForReadyRead(60000)) {
            while (killed->canReadLine())
                stored = killed->readLine().trimmed().toInt();
        }
        killed->kill();
        QVERIFY(killed->waitForFinished());
        const Result<QList<Customer>> after = openBook(path)->all();
        QVERIFY(after);
        int fromKilled = 0;
        for (const Customer &c : *after) {
            QCOMPARE(c.note.size(), 2000);
            fromKilled += c.name.startsWith(QLatin1String("K-")) ? 1 : 0;
        }
        QVERIFY2(fromKilled >= stored + 1, qPrintable(QStringLiteral("%1 of %2").arg(fromKilled).arg(stored + 1)));
        QVERIFY(openBook(path)->add(customer(QStringLiteral("after"))));
    }

    void customerListsReadBackAsWritten()
    {
        Customer full = yamadaShoji();
        full.name += QStringLiteral(", 本社"); // a comma, quotes and a line break to quote
        full.contactName = QStringLiteral("山田 \"太郎\"");
        full.telephone = QStringLiteral("+81-3-1234-5678"); // written inert for spreadsheets, read back as typed
        full.email = QStringLiteral("keiri@yamada.example.jp");
        full.terms = parsePaymentTerms(QStringLiteral("20日締め翌々月10日払い"));
        full.note = QStringLiteral("請求書は郵送で\n控えはPDFで");
        Customer person = customer(QStringLiteral("鈴木花子"));
        person.honorific = 1;
        person.terms = parsePaymentTerms(QStringLiteral("30日"));
        for (const auto &[encoding, read] : {std::pair(CustomerCsvEncoding::Utf8, TextEncoding::Utf8WithBom),
                                             std::pair(CustomerCsvEncoding::ShiftJis, TextEncoding::ShiftJis)}) {
            const Result<CustomerImport> back = readCustomerCsv(customerCsv({full, person}, encoding).value());
            QVERIFY(back && back->customers == QList<Customer>({full, person}) && back->encoding == read);
            QVERIFY(back->skipped.isEmpty() && back->ignoredColumns.isEmpty());
        }
    }

    void customerListOfAnotherProgram()
    {
        const QString text = QStringLiteral(
            "取引先名,ふりがな,〒,住所,建物名,TEL,ランク,締日,支払サイト,備考,敬称\r\n"
            "株式会社青葉,アオバ,１００－０００１,東京都千代田区千代田1-1,,03-1111-2222,A,末,翌月末,,\r\n"
            ",,,,,,,,,,\r\n"                         // an empty line of cells
            "佐藤商店,サトウ,123,大阪府,,,,,,,\r\n"  // line 4: a short postal code
            "田中工務店,タナカ,,,,,,20,現金,,\r\n"   // line 5: no terms
            "高橋様,タカハシ,,,,,,,,,殿\r\n"         // line 6: an honorific
            "伊藤,イトウ,,,,,,２０日,,郵送,様\r\n"); // a closing day alone
        const std::variant<QByteArray, qsizetype> bytes = toShiftJis(text);
        QVERIFY(std::holds_alternative<QByteArray>(bytes));
        const Result<CustomerImport> read = readCustomerCsv(std::get<QByteArray>(bytes));
        QVERIFY(read);
        QCOMPARE(read->encoding, TextEncoding::ShiftJis);
        QCOMPARE(read->ignoredColumns, QStringList({"ランク"}));
        QCOMPARE(namesOf(read->customers), QStringList({"株式会社青葉", "伊藤"}));
        const Customer &aoba = read->customers.at(0);
        QCOMPARE(aoba.postalCode, QStringLiteral("100-0001"));
        QCOMPARE(aoba.telephone, QStringLiteral("03-1111-2222"));
        QCOMPARE(paymentTermsText(aoba.terms.value()), QStringLiteral("末締め翌月末払い"));
        QCOMPARE(read->customers.at(1).honorific, 1);
        QCOMPARE(paymentTermsText(read->customers.at(1).terms.value()), QStringLiteral("20日締め翌月末払い"));
        QCOMPARE(test::each(read->skipped, &SkippedLine::line), QList<int>({4, 5, 6}));
        QVERIFY(!test::each(read->skipped, &SkippedLine::reason).contains(QString()));
    }

    void customerListsRefused()
    {
        QCOMPARE(readCustomerCsv("name,address\r\nA,B\r\n").fault().kind, FaultKind::BadInput);
        QCOMPARE(readCustomerCsv(QByteArray("\x00\x01\x02", 3)).fault().kind, FaultKind::BadInput);
        // Shift_JIS has no sushi: the list is not written with a question mark in its place.
        const Result<QByteArray> written = customerCsv(
            {customer(QStringLiteral("青葉")), customer(QStringLiteral("すし🍣処"))}, CustomerCsvEncoding::ShiftJis);
        QVERIFY(!written);
        QVERIFY2(written.message().contains(QStringLiteral("すし🍣処")), qPrintable(written.message()));
        QVERIFY(customerCsv({customer(QStringLiteral("すし🍣処"))}, CustomerCsvEncoding::Utf8));
    }

    void oldCustomerListsMoveIntoTheBookOnce()
    {
        const QStringList list{QStringLiteral("株式会社青葉"), QStringLiteral("鈴木花子"),
                               QStringLiteral("株式会社青葉"), QString()};
        SavedLists::instance().save(list, QStringLiteral("whom"));
        CustomerHonorifics::remember(QStringLiteral("鈴木花子"), QStringLiteral("様"));
        storePeer(QStringLiteral("株式会社青葉"), QStringLiteral("0188:7010705000725"));
        QSettings().remove(QStringLiteral("customerBook"));
        QTemporaryDir dir;
        auto book = openBook(dir.filePath(QStringLiteral("customers.sqlite")));
        QVERIFY(book->add(customer(QStringLiteral("鈴木花子")))); // already there: not added again
        QCOMPARE(moveOldCustomerListsInto(*book).value(), 1);
        QCOMPARE(namesOf(book->all()), QStringList({"株式会社青葉", "鈴木花子"}));
        QCOMPARE(book->all()->at(0).peppolId, QStringLiteral("0188:7010705000725"));
        QCOMPARE(customersOfOldLists(list, SavedLists::instance().read(CustomerHonorifics::ListKey).value(), {})
                     .at(1)
                     .honorific,
                 1);
        // Once moved, a book emptied by the user is not filled again; the settings keep their lists.
        QVERIFY(book->remove(book->all()->at(0).id));
        QCOMPARE(moveOldCustomerListsInto(*book).value(), 0);
        QCOMPARE(SavedLists::instance().read(QStringLiteral("whom")), std::optional(list));
    }

    void theWindowEditsTheBook()
    {
        test::initApplication();
        test::PrompterGuard prompter;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("customers.sqlite"));
        CustomerBookWindow window(path);
        auto *list = window.findChild<QListWidget *>(QStringLiteral("customerList"));
        auto *name = window.findChild<QLineEdit *>(QStringLiteral("customerName"));
        auto *terms = window.findChild<QLineEdit *>(QStringLiteral("customerTerms"));
        auto *closing = window.findChild<QComboBox *>(QStringLiteral("customerClosingDay"));
        window.findChild<QPushButton *>(QStringLiteral("addCustomer"))->click();
        QCOMPARE(list->count(), 1);
        // Typed as an input method commits text, each field stored when left.
        const auto type = [](QLineEdit *field, const QString &text) {
            field->selectAll();
            field->insert(text);
            emit field->editingFinished();
        };
        type(name, QStringLiteral("株式会社山田商事"));
        closing->setCurrentIndex(20);
        emit closing->activated(20);
        type(terms, QStringLiteral("翌々月１０日"));
        const Result<QList<Customer>> stored = openBook(path)->all();
        QCOMPARE(namesOf(stored), QStringList({"株式会社山田商事"}));
        QCOMPARE(paymentTermsText(stored->front().terms.value()), QStringLiteral("20日締め翌々月10日払い"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("株式会社山田商事"));

        // A list with one good line and one without a name: the preview is shown, and Add adds the one.
        const QString csv =
            test::writeFile(dir.filePath(QStringLiteral("list.csv")),
                            QStringLiteral("顧客名,郵便番号\r\nあおば工房,1000001\r\n,1000002\r\n").toUtf8());
        QTimer::singleShot(0, [] {
            if (auto *preview = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                preview->accept();
        });
        QCOMPARE(window.importFrom(csv), 1);
        QCOMPARE(namesOf(openBook(path)->all()), QStringList({"あおば工房", "株式会社山田商事"}));

        // Shift_JIS cannot hold the sushi: refused with a reason, and no file is left behind.
        QVERIFY(openBook(path)->add(customer(QStringLiteral("すし🍣処"))));
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(!window.exportTo(out, true));
        QCOMPARE(prompter->alerts.size(), 1);
        QVERIFY(!QFileInfo::exists(out));
        QVERIFY(window.exportTo(out, false));
        QCOMPARE(readCustomerCsv(test::readAll(out))->customers.size(), 3);
    }

    void theCustomerPanelChoosesFromTheBook()
    {
        test::initApplication();
        test::PrompterGuard prompter;
        const Customer yamada = yamadaShoji();
        Customer aoba = customer(QStringLiteral("青葉花子"), QStringLiteral("アオバハナコ"));
        aoba.honorific = 1;
        auto book = openBook(CustomerBook::defaultPath());
        const qint64 yamadaId = *book->add(yamada);
        QVERIFY(book->add(aoba));

        const std::unique_ptr<Document> document = test::makeDocument();
        auto *search = test::child<QLineEdit>(*document, "whomFind");
        const auto shown = [&] {
            QStringList names;
            for (int i = 0; i < child<QComboBox>(*document, "whomDial")->count(); ++i)
                names.append(child<QComboBox>(*document, "whomDial")->itemText(i));
            return names;
        };
        // The book's customers, in its order; a new invoice shows the first with its honorific.
        QCOMPARE(shown(), (QStringList{"青葉花子", "株式会社山田商事"}));
        QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("青葉花子 様"));

        // Keyboard only: type a reading in half-width kana, Return puts the one found on the page
        // with its honorific, its address, its electronic address and the due date by its terms.
        document->setInvoiceDate(QDate(2026, 12, 25));
        document->setDueDate(QDate(2027, 1, 10));
        document->whomShow();
        search->setFocus();
        search->insert(QStringLiteral("ﾔﾏﾀﾞ")); // as an input method commits it
        QCOMPARE(shown(), QStringList{"株式会社山田商事"});
        QTest::keyClick(search, Qt::Key_Return);
        QTRY_VERIFY(!child<QDialog>(*document, "whomCtrl")->isVisible());
        QCOMPARE(child<PageButton>(*document, "whom")->title(), QStringLiteral("株式会社山田商事 御中"));
        QCOMPARE(document->peer(), yamada.peppolId);
        const QJsonObject file = QJsonDocument::fromJson(document->dataOfType()).object();
        QCOMPARE(file.value("post").toString(), yamada.postalCode);
        QCOMPARE(file.value("addr").toString(), yamada.address1 + u'\n' + yamada.address2);
        QCOMPARE(file.value("dept").toString() + u'|' + file.value("attn").toString(),
                 QStringLiteral("経理部|部長 山田太郎"));
        QCOMPARE(document->dueDate(), QDate(2027, 2, 28)); // closed on 20 January, paid by the end of February
        // The date panel moves the due date by the terms too.
        document->dateShow();
        child<QDateEdit>(*document, "dateDial")->setDate(QDate(2027, 1, 25));
        document->dateCopy();
        QCOMPARE(document->dueDate(), QDate(2027, 3, 31));
        QCOMPARE(search->text(), QString()); // open again, the panel lists everyone

        // The arrows in the search choose among what it found; Cancel puts the choice back.
        document->whomShow();
        search->setFocus();
        QTest::keyClick(search, Qt::Key_Up);
        QCOMPARE(child<QComboBox>(*document, "whomDial")->currentText(), QStringLiteral("青葉花子"));
        QCOMPARE(child<SegmentedControl>(*document, "tail")->selectedSegment(), 1);
        QTest::keyClicks(search, QStringLiteral("zz"));
        QCOMPARE(child<QComboBox>(*document, "whomDial")->count(), 0);
        test::click(*document, QStringLiteral("whomCtrlCancel"));
        QCOMPARE(shown().size(), 2);
        QCOMPARE(child<QComboBox>(*document, "whomDial")->currentText(), QStringLiteral("株式会社山田商事"));

        // A name typed in the panel is a new customer of the book, and chosen.
        document->whomShow();
        document->whomPlus(child<QComboBox>(*document, "whomDial"));
        child<QLineEdit>(*document, "whomNewsText")->setText(QStringLiteral("佐藤商店"));
        document->whomPlusExec();
        QCOMPARE(namesOf(book->all()), (QStringList{"青葉花子", "株式会社山田商事", "佐藤商店"}));
        QCOMPARE(child<QComboBox>(*document, "whomDial")->currentText(), QStringLiteral("佐藤商店"));

        // Renaming in the panel renames the customer of the book: its address stays with it.
        child<QComboBox>(*document, "whomDial")
            ->setCurrentIndex(child<QComboBox>(*document, "whomDial")->findText(QStringLiteral("株式会社山田商事")));
        document->whomEdit(child<QComboBox>(*document, "whomDial"));
        child<QLineEdit>(*document, "whomEditText")->setText(QStringLiteral("株式会社山田ホールディングス"));
        document->whomEditExec();
        const Result<Customer> renamed = book->byId(yamadaId);
        QCOMPARE(renamed->name, QStringLiteral("株式会社山田ホールディングス"));
        QCOMPARE(renamed->postalCode, yamada.postalCode);
        QCOMPARE(renamed->peppolId, yamada.peppolId);
        QCOMPARE(child<QComboBox>(*document, "whomDial")->currentText(), renamed->name);

        // Removing it from the panel, after the question, removes it from the book.
        document->whomKill(child<QComboBox>(*document, "whomDial"));
        document->whomKillExec();
        QVERIFY(!book->byId(yamadaId));
        document->hide();

        // A customer added in the Customers window shows in the open panel at once.
        CustomerBookWindow window(CustomerBook::defaultPath());
        window.findChild<QPushButton *>(QStringLiteral("addCustomer"))->click();
        QVERIFY(shown().contains(QStringLiteral("New Customer")));

        // An invoice of a customer the book lacks adds it, and shows its own line unchanged.
        const std::unique_ptr<Document> opened = test::makeDocument(
            test::invoiceBytes(QStringLiteral("株式会社丸の内物産"), 1100, QString(), QStringLiteral("2026-12-05")));
        QCOMPARE(child<PageButton>(*opened, "whom")->title(), QStringLiteral("株式会社丸の内物産 御中"));
        QVERIFY(namesOf(book->all()).contains(QStringLiteral("株式会社丸の内物産")));
        QCOMPARE(child<QComboBox>(*opened, "whomDial")->currentText(), QStringLiteral("株式会社丸の内物産"));
        QVERIFY(prompter->alerts.isEmpty());
    }

    void searchByNameOrReading()
    {
        // By part of the name or of the reading, folding kana, widths, case and spaces.
        const std::pair<const char *, bool> cases[] = {{"山田", true}, {"やまだ", true},    {"ヤマダショウジ", true},
                                                       {"ﾔﾏﾀﾞ", true}, {"山田 商事", true}, {"ｙａｍａｄａ", true},
                                                       {"", true},     {"佐藤", false}};
        for (const auto &[typed, found] : cases)
            QVERIFY2(customerMatches(QString::fromUtf8(typed), QStringLiteral("株式会社山田商事 (Yamada)"),
                                     QStringLiteral("ヤマダショウジ")) == found,
                     typed);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Started by the tests of processes sharing a book, as one of the writers.
    if (const QString writer = qEnvironmentVariable("SEIKYU_CUSTOMER_WRITER"); !writer.isEmpty()) {
        const QStringList parts = writer.split(QLatin1Char('|'));
        return addCustomers(parts.value(0), parts.value(1).toInt(), parts.value(2));
    }
    TestCustomers test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_customers.moc"
