// The ledger in use: issuing records itself, failures never block an export, the window and the
// command line. Real SQLite files in temporary folders; the real seikyu binary for the command line.
#include "app/RecoveryStore.h"
#include "ledger/GroupFiles.h"
#include "ledger/IssueIntents.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerChain.h"
#include "ledger/LedgerCommandLine.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerTableModel.h"
#include "ledger/LongRead.h"
#include "ledger/PaymentDialog.h"
#include "ledger/SqlConnection.h"
#include "output/BatchExport.h"
#include "output/PdfExport.h"
#include "support/SeikyuRun.h"
#include "support/SqliteFile.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QUuid>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// What Verify Ledger says of a ledger nobody changed.
QString intactText()
{
    return QCoreApplication::translate("seikyu::IssuedInvoicesWindow",
                                       "The ledger is intact: no entry and no archived PDF was changed.");
}

} // namespace

class LedgerUseTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void batchExportRecordsEachInvoice();
    void fourProcessesOnANewProfileKeepEveryEntry();
    void killedBatchLeavesEveryPdfWithOneEntry();
    void interruptedIssuesAreCompletedOnce();
    void interruptedGroupIsCompletedOnce();
    void batchGroupRefusesRepeatsAndNamesUnwritten();
    void aPdfThatCannotBeMadeIsNamedWithWhy();
    void exportDialogAndPrintRecord();
    void unwritableLedgerNeverBlocksExport();
    void unwritableArchiveStillRecords();
    void damagedLedgerIsNamedNeverReplaced();
    void windowSearchesTotalsAndTakesPayments();
    void windowReadsALargeLedgerASliceAtATime();
    void longReadsAnswerAndCancel_data();
    void longReadsAnswerAndCancel();
    void cancelEndsALongQueryAtOnce();
    void commandLineOptions_data();
    void commandLineOptions();
    void commandLineListsAndVerifies();
    void wholeNamesOneStoryPrivateFiles();

private:
    SeikyuRun seikyu(const QStringList &arguments);
    /// The seikyu binary started with the test's profile, not waited for.
    std::unique_ptr<QProcess> startSeikyu(const QStringList &arguments);
    /// Invoice files named after their numbers (prefix-1 … prefix-count) in `folder`.
    QStringList numberedInvoices(const QString &folder, const QString &prefix, int count);
    /// An invoice file in/`name`.seikyu of the test's folder.
    QString invoiceFile(const QString &name, const QString &customer, qint64 amount, const QString &number,
                        const QString &date);
    /// Uses the profile (data folder) `name` from now on, for the test and the binary alike.
    void useProfile(const QString &name);
    QString exportOne(const QByteArray &bytes, const QString &name);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dataHome;
    QString m_ledgerFolder;
    ScriptedPrompter *m_prompter = nullptr;
};

void LedgerUseTest::useProfile(const QString &name)
{
    m_dataHome = m_dir->filePath(name);
    // Where the seikyu binary started with XDG_DATA_HOME=<data home> keeps its ledger.
    m_ledgerFolder =
        QDir(m_dataHome)
            .filePath(u"%1/%2"_s.arg(QCoreApplication::organizationName(), QCoreApplication::applicationName()));
    IssueLedger::instance().setFolder(m_ledgerFolder);
}

void LedgerUseTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    useProfile(u"data"_s);
    auto prompter = std::make_unique<ScriptedPrompter>();
    m_prompter = prompter.get();
    Prompter::setInstance(std::move(prompter));
}

void LedgerUseTest::cleanup()
{
    IssueLedger::instance().close();
    Prompter::setInstance(nullptr);
    m_prompter = nullptr;
}

std::unique_ptr<QProcess> LedgerUseTest::startSeikyu(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, m_dataHome);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process->setProcessEnvironment(environment);
    process->start(qEnvironmentVariable("SEIKYU_BINARY"), arguments);
    return process;
}

SeikyuRun LedgerUseTest::seikyu(const QStringList &arguments)
{
    return runSeikyuWithoutDisplay(arguments, {{u"XDG_DATA_HOME"_s, m_dataHome}});
}

QStringList LedgerUseTest::numberedInvoices(const QString &folder, const QString &prefix, int count)
{
    QStringList files;
    for (int n = 1; n <= count; ++n) {
        const QString number = u"%1-%2"_s.arg(prefix).arg(n);
        files.append(writeFile(m_dir->filePath(u"%1/%2.seikyu"_s.arg(folder, number)),
                               invoiceBytes(u"顧客%1"_s.arg(n), 1100 * n, number, "2026-03-10")));
    }
    return files;
}

QString LedgerUseTest::invoiceFile(const QString &name, const QString &customer, qint64 amount, const QString &number,
                                   const QString &date)
{
    return writeFile(m_dir->filePath(u"in/%1.seikyu"_s.arg(name)), invoiceBytes(customer, amount, number, date));
}

QString LedgerUseTest::exportOne(const QByteArray &bytes, const QString &name)
{
    const QString file = writeFile(m_dir->filePath(u"in/%1.seikyu"_s.arg(name)), bytes);
    QStringList lines;
    exportInvoicesAsPdf(m_dir->filePath(u"out"_s), {file}, &lines);
    return lines.join(u'\n');
}

void LedgerUseTest::batchExportRecordsEachInvoice()
{
    const QString a = invoiceFile("a", "株式会社サンプル商事", 110000, "A-1", "2026-03-10");
    const QString b = invoiceFile("b", "ＡＢＣ商店", 55000, "B-1", "2026-03-12");
    QStringList lines;
    QCOMPARE(exportInvoicesAsPdf(m_dir->filePath("out"), {a, b}, &lines), 0);
    QCOMPARE(lines, QStringList());

    LedgerStore *store = IssueLedger::instance().store().value_or(nullptr);
    QVERIFY(store);
    QList<LedgerEntry> entries = store->entries().value();
    QCOMPARE(entries.size(), 2);
    const LedgerEntry first = entries[0]; // a copy: the list is read again below
    QCOMPARE(std::tuple(first.channel, first.customer, first.honorific, first.amount, first.number),
             std::tuple(IssueChannel::Batch, QString("株式会社サンプル商事"), QString("御中"), qint64(110000),
                        QString("A-1")));
    QCOMPARE(std::tuple(first.invoiceDate, first.dueDate, first.sourcePath),
             std::tuple(QDate(2026, 3, 10), QDate(2026, 4, 30), QFileInfo(a).absoluteFilePath()));
    QCOMPARE(first.taxes, (QList<TaxLine>{{10, 100000, 10000, false}}));
    // The archived copy is the PDF written, byte for byte, under the tax agency's name.
    QCOMPARE(first.archiveName, u"20260310_株式会社サンプル商事_110000_A-1.pdf"_s);
    const QByteArray pdf = readAll(m_dir->filePath("out/a.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(readAll(QDir(IssueLedger::instance().archiveFolder()).filePath(first.archiveName)), pdf);
    QCOMPARE(first.pdfSha256, sha256Hex(pdf));

    // Issued again unchanged: an entry of the copy sent, with its own archived copy, owed once
    // (no second issue, nothing superseded). Changed under the same number: a reissue.
    const auto issues = [store] {
        QSqlQuery query(store->database());
        query.exec(u"SELECT count(*), sum(superseded) FROM ledger_issues"_s);
        query.next();
        return std::pair(query.value(0).toInt(), query.value(1).toInt());
    };
    QCOMPARE(exportInvoicesAsPdf(m_dir->filePath("out2"), {a}, &lines), 0);
    entries = store->entries().value();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(
        std::tuple(entries[2].kind, entries[2].refersTo, entries[2].invoiceId, entries[2].archiveName),
        std::tuple(EntryKind::Copy, first.id, first.id, QString("20260310_株式会社サンプル商事_110000_A-1_2.pdf")));
    QCOMPARE(issues(), std::pair(2, 0));
    invoiceFile("a", "株式会社サンプル商事", 99000, "A-1", "2026-03-10");
    // Changed under the same number: refused, naming the invoice that holds it, unless a reissue.
    lines.clear();
    QCOMPARE(exportInvoicesAsPdf(m_dir->filePath("out3"), {a}, &lines), 1);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains(first.customer) && lines[0].contains("--reissue"), qPrintable(lines[0]));
    QVERIFY(!QFileInfo::exists(m_dir->filePath("out3/a.pdf")));
    QCOMPARE(store->entries().value().size(), 3);
    IssueLedger::instance().setReissues(true);
    QCOMPARE(exportInvoicesAsPdf(m_dir->filePath("out2"), {a}, &lines), 0);
    IssueLedger::instance().setReissues(false);
    entries = store->entries().value();
    QCOMPARE(std::pair(entries[3].kind, entries[3].refersTo), std::pair(EntryKind::Issue, first.id));
    QCOMPARE(issues(), std::pair(3, 1));
    QVERIFY(store->verify(IssueLedger::instance().archiveFolder()).value().isEmpty());
}

void LedgerUseTest::fourProcessesOnANewProfileKeepEveryEntry()
{
    // Started at once on a profile with no ledger yet: each sets it up or waits for the one that does.
    constexpr int Processes = 4, Each = 10;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < Processes; ++p) {
        const QString prefix = u"P%1"_s.arg(p);
        running.push_back(startSeikyu(QStringList{u"--export-pdf"_s, m_dir->filePath(u"out/"_s + prefix)} +
                                      numberedInvoices(u"in/"_s + prefix, prefix, Each)));
    }
    for (const auto &process : running) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(process->readAllStandardError(), QByteArray());
    }
    const QList<LedgerEntry> entries = IssueLedger::instance().store().value()->entries().value();
    QSet<QString> numbers;
    for (const LedgerEntry &entry : entries)
        numbers.insert(entry.number);
    QCOMPARE(entries.size(), Processes * Each);
    QCOMPARE(numbers.size(), Processes * Each);
}

void LedgerUseTest::killedBatchLeavesEveryPdfWithOneEntry()
{
    // SIGKILL of seikyu itself at moments spread over its batch (its group's intents, its PDFs
    // written beside their names, synced, taking their names, its entries' transaction), then any
    // command: every PDF at its final name has exactly one entry with its hash, every entry its PDF
    // and archived copy, the archive holds nothing else, and nothing is left half-done.
    constexpr int Invoices = 16;
    const QStringList files = numberedInvoices(u"in"_s, u"K"_s, Invoices);
    useProfile(u"whole"_s);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(seikyu(QStringList{u"--export-pdf"_s, m_dir->filePath(u"whole/out"_s)} + files).exitCode, 0);
    const qint64 wholeUs = clock.nsecsElapsed() / 1000;
    IssueLedger::instance().close();
    struct Kill
    {
        int written;  ///< PDFs at their names before the kill is timed
        double share; ///< of a whole run's time, from the start (with `written` 0)
    };
    const QList<Kill> kills = {{0, 0.0}, {0, 0.3}, {0, 0.5}, {0, 0.65}, {0, 0.8}, {0, 0.9}, {1, 0}, {6, 0}, {11, 0}};
    for (qsizetype k = 0; k < kills.size(); ++k) {
        useProfile(u"kill%1"_s.arg(k));
        const QString out = m_dir->filePath(u"kill%1/out"_s.arg(k));
        const std::unique_ptr<QProcess> batch = startSeikyu(QStringList{u"--export-pdf"_s, out} + files);
        QVERIFY(batch->waitForStarted());
        while (QDir(out).entryList({u"*.pdf"_s}, QDir::Files).size() < kills[k].written && !batch->waitForFinished(1))
            ;
        const qint64 jitter = QRandomGenerator::global()->bounded(kills[k].written == 0 ? 40000 : 2000);
        QThread::usleep(quint64(kills[k].share * double(wholeUs)) + quint64(jitter));
        batch->kill();
        QVERIFY(batch->waitForFinished(10000));
        seikyu({u"--ledger"_s}); // any command completes what the killed one left

        QHash<QString, QString> pdfs; // hash → file
        for (const QString &pdf : QDir(out).entryList({u"*.pdf"_s}, QDir::Files))
            pdfs.insert(sha256Hex(readAll(QDir(out).filePath(pdf))), pdf);
        const QList<LedgerEntry> entries = IssueLedger::instance().store().value()->entries().value();
        QSet<QString> recorded, archived;
        for (const LedgerEntry &entry : entries) {
            QCOMPARE(pdfs.value(entry.pdfSha256), entry.number + u".pdf"_s);
            recorded.insert(entry.pdfSha256);
            archived.insert(entry.archiveName);
        }
        QCOMPARE(entries.size(), pdfs.size());
        QCOMPARE(recorded.size(), pdfs.size());
        const QStringList inArchive = QDir(IssueLedger::instance().archiveFolder()).entryList(QDir::Files);
        QCOMPARE(QSet<QString>(inArchive.begin(), inArchive.end()), archived);
        // No PDF left half-made beside its name, no intent left to settle.
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), pdfs.size());
        {
            const std::unique_ptr<LedgerOutbox> box =
                LedgerOutbox::open(IssueLedger::instance().waitingPath()).value_or(nullptr);
            QVERIFY(box);
            QCOMPARE(IssueIntents(box->database()).all().value().size(), 0);
        }
        // The anchor moves on only after a commit: a kill leaves it at or behind the newest entry.
        const LedgerCheck check = IssueLedger::instance().verify(*IssueLedger::instance().store().value()).value();
        QVERIFY2(check.problems.isEmpty(), qPrintable(describeProblem(check.problems.value(0))));
        IssueLedger::instance().close();
    }
    // The batch run again whole: each invoice once in what is owed.
    const QString out = m_dir->filePath(u"kill%1/out"_s.arg(kills.size() - 1));
    QCOMPARE(seikyu(QStringList{u"--export-pdf"_s, out} + files).exitCode, 0);
    const SeikyuRun unpaid = seikyu({u"--ledger"_s, u"--unpaid"_s});
    QCOMPARE(unpaid.out.count(u'\n'), Invoices + 1);
}

void LedgerUseTest::interruptedGroupIsCompletedOnce()
{
    // A batch's group killed after each of its steps, as the next run finds it: a group of four
    // invoices whose intents were kept in one transaction, then (as far as the kill let it) their
    // archived copies and PDFs written beside their names, the PDFs given their names, the entries
    // recorded. What reached its name is recorded once, with its copy; the rest leaves nothing.
    struct Case
    {
        const char *killed;
        int archived; ///< copies written (the last of them cut short when `cutShort`)
        bool cutShort;
        int parts;    ///< PDFs written beside their names
        int named;    ///< PDFs given their names
        int recorded; ///< entries committed
    };
    const QList<Case> cases = {{"after the intents", 0, false, 0, 0, 0},
                               {"while the copies were written", 2, true, 1, 0, 0},
                               {"before the sync", 4, false, 4, 0, 0},
                               {"between the names", 4, false, 4, 2, 0},
                               {"in the entries' transaction", 4, true, 4, 4, 0},
                               {"after the entries", 4, false, 4, 4, 4}};
    constexpr int Group = 4;
    for (qsizetype c = 0; c < cases.size(); ++c) {
        const Case &kill = cases[c];
        useProfile(u"group%1"_s.arg(c));
        IssueLedger &ledger = IssueLedger::instance();
        QVERIFY(ledger.store());
        const QDir archive(ledger.archiveFolder());
        const QDir out(m_dir->filePath(u"group%1/out"_s.arg(c)));
        QVERIFY(QDir().mkpath(archive.path()) && QDir().mkpath(out.path()));
        QList<IssueIntent> group;
        QStringList wanted;
        QList<QByteArray> pdfs;
        for (int n = 1; n <= Group; ++n) {
            pdfs.append(u"%PDF-1.7 G-%1"_s.arg(n).toLatin1());
            IssueIntent intent;
            intent.entry.number = u"G-%1"_s.arg(n);
            intent.entry.customer = u"中断商事"_s;
            intent.entry.pdfSha256 = sha256Hex(pdfs.constLast());
            intent.target = out.filePath(intent.entry.number + u".pdf"_s);
            group.append(intent);
            wanted.append(intent.entry.number + u".pdf"_s);
        }
        {
            std::unique_ptr<LedgerOutbox> box = LedgerOutbox::open(ledger.waitingPath()).value();
            QVERIFY(IssueIntents(box->database()).keepAll(group, wanted, archive.path()));
        }
        for (int k = 0; k < Group; ++k) {
            const IssueIntent &intent = group[k];
            const bool cut = kill.cutShort && k == kill.archived - 1;
            if (k < kill.archived)
                writeFile(archive.filePath(intent.entry.archiveName), cut ? pdfs[k].left(6) : pdfs[k]);
            if (k < kill.parts)
                writeFile(partFileOf(intent.target, intent.entry.origin), pdfs[k]);
            if (k < kill.named)
                QVERIFY(QFile::rename(partFileOf(intent.target, intent.entry.origin), intent.target));
            if (k < kill.recorded)
                QVERIFY(ledger.store().value()->record(intent.entry));
        }
        for (int run = 0; run < 2; ++run) // a second start finds nothing left to do
            ledger.settlePending();
        QStringList numbers, copies, left;
        for (int n = 1; n <= kill.named; ++n) {
            numbers.append(u"G-%1"_s.arg(n));
            copies.append(u"G-%1.pdf"_s.arg(n));
        }
        for (const LedgerEntry &entry : ledger.store().value()->entries().value())
            left.append(entry.number);
        QVERIFY2(left == numbers, kill.killed);
        QVERIFY2(archive.entryList(QDir::Files) == copies, kill.killed);
        for (const QString &copy : copies)
            QVERIFY2(readAll(archive.filePath(copy)) == pdfs[copy.mid(2, 1).toInt() - 1], kill.killed);
        QVERIFY2(out.entryList(QDir::Files | QDir::Hidden) == copies, kill.killed);
        std::unique_ptr<LedgerOutbox> box = LedgerOutbox::open(ledger.waitingPath()).value();
        QVERIFY2(IssueIntents(box->database()).all().value().isEmpty(), kill.killed);
        ledger.close();
    }
    // One group wanting one name for two copies: each holds a name of its own.
    std::unique_ptr<LedgerOutbox> box = LedgerOutbox::open(IssueLedger::instance().waitingPath()).value();
    QList<IssueIntent> twins(2);
    QVERIFY(IssueIntents(box->database()).keepAll(twins, {u"T.pdf"_s, u"T.pdf"_s}, m_dir->path()));
    QCOMPARE(std::pair(twins[0].entry.archiveName, twins[1].entry.archiveName), std::pair(u"T.pdf"_s, u"T_2.pdf"_s));
    QVERIFY(IssueIntents(box->database()).dropAll({twins[0].entry.origin, twins[1].entry.origin}));
    QCOMPARE(IssueIntents(box->database()).all().value().size(), 0);
}

void LedgerUseTest::batchGroupRefusesRepeatsAndNamesUnwritten()
{
    // In one batch, as one after the other: a number repeated changed is refused once the first
    // holds it, repeated unchanged it is a copy sent; a PDF that cannot take its name is named,
    // without entry or archived copy, and the others are recorded all the same.
    const QString a = invoiceFile("a", "株式会社サンプル商事", 110000, "A-1", "2026-03-10");
    const QString b = invoiceFile("b", "ＡＢＣ商店", 55000, "B-1", "2026-03-12");
    const QString changed = invoiceFile("a2", "株式会社サンプル商事", 99000, "A-1", "2026-03-10");
    const QString again = invoiceFile("a3", "株式会社サンプル商事", 110000, "A-1", "2026-03-10");
    const QString blocked = invoiceFile("c", "丸の内物産", 2200, "C-1", "2026-03-12");
    const QDir out(m_dir->filePath(u"out"_s));
    QVERIFY(QDir().mkpath(out.filePath(u"c.pdf"_s))); // a folder where its PDF goes
    QStringList lines;
    QCOMPARE(exportInvoicesAsPdf(out.path(), {a, b, changed, again, blocked}, &lines), 1);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith(QDir::toNativeSeparators(changed)) && lines[0].contains("--reissue"),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith(QDir::toNativeSeparators(out.filePath(u"c.pdf"_s))), qPrintable(lines[1]));
    const QList<LedgerEntry> entries = IssueLedger::instance().store().value()->entries().value();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(std::tuple(entries[0].number, entries[1].number, entries[2].number, entries[2].kind, entries[2].refersTo),
             std::tuple(QString("A-1"), QString("B-1"), QString("A-1"), EntryKind::Copy, entries[0].id));
    QCOMPARE(QDir(IssueLedger::instance().archiveFolder()).entryList(QDir::Files).size(), 3);
    QCOMPARE(out.entryList(QDir::Files | QDir::Hidden), (QStringList{u"a.pdf"_s, u"a3.pdf"_s, u"b.pdf"_s}));
    QCOMPARE(entries[2].pdfSha256, sha256Hex(readAll(out.filePath(u"a3.pdf"_s))));
}

void LedgerUseTest::aPdfThatCannotBeMadeIsNamedWithWhy()
{
    // Without the colour profile a PDF carrying its e-invoice cannot be made: in a batch each input
    // is named with why, and nothing is recorded.
    qputenv("SEIKYU_SRGB_PROFILE", QFile::encodeName(m_dir->filePath(u"none.icc"_s)));
    const auto restore = qScopeGuard([] { qunsetenv("SEIKYU_SRGB_PROFILE"); });
    const QByteArray eInvoice = R"json({"head": "請求書", "date": "2026-12-05", "whom": "株式会社丸の内商事",
        "tail": 0, "jgen": 0, "plus": 1, "rate": 10, "numb": "NUMBER", "dues": "2026-12-31", "peer": "0188:9234567890123",
        "from": "〒100-0005\n東京都千代田区\n山田食品株式会社\n03-1234-5678\nみずほ銀行 普通 1234567\nT8010001000003",
        "full": "\b御請求金額\n￥2,420", "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
        {"date": "12-02", "name": "配送料", "solo": "1100", "much": "2", "sums": "2200"},
        {"date": " ", "name": " ", "solo": "", "much": " ", "sums": " "},
        {"date": " ", "name": " ", "solo": "", "much": "10%対象", "sums": "2200"},
        {"date": " ", "name": " ", "solo": "", "much": "消費税(10%)", "sums": "220"},
        {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "2420"}]})json";
    QStringList files;
    for (const QByteArray number : {"E-1", "E-2"})
        files.append(writeFile(m_dir->filePath(u"in/%1.seikyu"_s.arg(QLatin1String(number))),
                               QByteArray(eInvoice).replace("NUMBER", number)));
    QStringList lines;
    QCOMPARE(exportInvoicesAsPdf(m_dir->filePath(u"out"_s), files, &lines, true), 1);
    QCOMPARE(lines.size(), 2);
    for (const QString &line : std::as_const(lines))
        QVERIFY2(line.contains(u"none.icc"_s), qPrintable(line));
    QCOMPARE(IssueLedger::instance().store().value()->entries().value().size(), 0);
}

void LedgerUseTest::exportDialogAndPrintRecord()
{
    auto document = makeDocument(invoiceBytes("丸の内物産", 33000, "M-7", "2026-05-01"));
    const QString pdf = m_dir->filePath("m7.pdf");
    m_prompter->saveAnswers = {pdf};
    exportPdf(*document, nullptr);
    QVERIFY(QFileInfo::exists(pdf));
    const std::optional<LedgerEntry> recorded = IssueLedger::instance().lastRecorded();
    QVERIFY(recorded && !recorded->archiveName.isEmpty());
    QCOMPARE(std::pair(recorded->channel, recorded->amount), std::pair(IssueChannel::Pdf, qint64(33000)));

    // Cancelled: nothing written, nothing recorded.
    exportPdf(*document, nullptr);
    QCOMPARE(IssueLedger::instance().store().value()->entries().value().size(), 1);
    QCOMPARE(m_prompter->notes, QStringList());

    // Another invoice under M-7: asked first, naming the invoice that holds it. Stopped, nothing is
    // written; said to be its correction, a reissue; or it takes the sequence's next number.
    auto other = makeDocument(invoiceBytes("別の会社", 1100, "M-7", "2026-05-01"));
    m_prompter->choiceAnswers = {-1, 1, 0};
    exportPdf(*other, nullptr);
    QVERIFY(m_prompter->questions.constLast().contains(u"丸の内物産"_s));
    QCOMPARE(m_prompter->saveProposals.size(), 2);
    m_prompter->saveAnswers = {m_dir->filePath("m7b.pdf"), m_dir->filePath("next.pdf")};
    exportPdf(*other, nullptr);
    QCOMPARE(IssueLedger::instance().lastRecorded()->refersTo, recorded->id);
    auto third = makeDocument(invoiceBytes("三番目の会社", 2200, "M-7", "2026-05-01"));
    exportPdf(*third, nullptr);
    const std::optional<LedgerEntry> numbered = IssueLedger::instance().lastRecorded();
    QCOMPARE(std::pair(numbered->number, numbered->refersTo), std::pair(QString("2026-0001"), qint64(0)));
    QCOMPARE(third->invoiceNumber(), u"2026-0001"_s);
}

void LedgerUseTest::unwritableLedgerNeverBlocksExport()
{
    // The ledger's folder cannot be made: a file stands where it would be.
    writeFile(m_dir->filePath("blocked"), "not a folder");
    IssueLedger::instance().setFolder(m_dir->filePath("blocked/ledger"));
    const QByteArray bytes = invoiceBytes("丸の内物産", 1000, "X-1", "2026-05-01");
    // Neither recorded nor kept to be recorded: each PDF is named, on one line, and the batch fails.
    for (const QString name : {"x1", "x2"}) {
        const QString told = exportOne(bytes, name);
        QVERIFY(QFileInfo::exists(m_dir->filePath(u"out/%1.pdf"_s.arg(name))));
        QVERIFY2(told.contains(name + ".pdf") && !told.contains('\n'), qPrintable(told));
    }
    QCOMPARE(exportInvoicesAsPdf(m_dir->filePath("out"), {m_dir->filePath("in/x1.seikyu")}, nullptr), 1);

    // From the window's export: the PDF is written, the user told each time.
    IssueLedger::instance().setFolder(m_dir->filePath("blocked/ledger"));
    auto document = makeDocument(bytes);
    for (const char *name : {"y1.pdf", "y2.pdf"}) {
        const QString pdf = m_dir->filePath(QLatin1String(name));
        m_prompter->saveAnswers = {pdf};
        exportPdf(*document, nullptr);
        QVERIFY(QFileInfo::exists(pdf));
    }
    QCOMPARE(m_prompter->notes.size(), 2);
    QCOMPARE(m_prompter->alerts, QStringList());

    // The ledger unusable for now (a folder stands at its name): each entry waits on this computer,
    // said once, and the next recording once the ledger is usable records them all.
    IssueLedger::instance().setFolder(m_ledgerFolder);
    QVERIFY(QDir().mkpath(IssueLedger::instance().databasePath()) && !exportOne(bytes, u"w1"_s).isEmpty());
    QCOMPARE(exportOne(bytes, u"w2"_s), QString());
    QVERIFY(QDir().rmdir(IssueLedger::instance().databasePath()));
    IssueLedger::instance().close();
    QCOMPARE(exportOne(bytes, u"w3"_s), QString());
    QCOMPARE(IssueLedger::instance().store().value()->entries().value().size(), 3);
}

void LedgerUseTest::damagedLedgerIsNamedNeverReplaced()
{
    QVERIFY(QDir().mkpath(m_ledgerFolder));
    const QByteArray junk(16384, 'j');
    const QString ledger = IssueLedger::instance().databasePath();
    {
        IssuedInvoicesWindow empty; // reading makes no ledger
        empty.refresh();
        QCOMPARE(empty.model()->rowCount(), 0);
        QVERIFY(!QFileInfo::exists(ledger));
    }
    writeFile(ledger, junk);
    writeFile(QDir(IssueLedger::instance().archiveFolder()).filePath(u"kept.pdf"_s), "%PDF-old");
    const QByteArray invoice = invoiceBytes(u"丸の内物産"_s, 1000, u"D-1"_s, u"2026-05-01"_s);
    const QString told = exportOne(invoice, u"d1"_s);
    QVERIFY(QFileInfo::exists(m_dir->filePath(u"out/d1.pdf"_s)));
    QVERIFY2(told.contains(QDir::toNativeSeparators(ledger)), qPrintable(told));
    // Neither recording nor the window moves, replaces or writes it; the window names it.
    IssuedInvoicesWindow window;
    window.refresh();
    QVERIFY(window.findChild<QLabel *>(u"problem"_s)->text().contains(QDir::toNativeSeparators(ledger)));
    QVERIFY(!window.verificationReport().value().startsWith(intactText()));
    QCOMPARE(readAll(ledger), junk);
    QCOMPARE(QDir(m_ledgerFolder).entryList({u"ledger.sqlite.damaged-*"_s}, QDir::Files), QStringList());

    // Recover…, choosing this ledger: set aside untouched, a new one started; nothing could be read.
    m_prompter->choiceAnswers = {0};
    window.findChild<QPushButton *>(u"recover"_s)->click();
    QCOMPARE(m_prompter->alerts.size(), 1);
    const QStringList aside = QDir(m_ledgerFolder).entryList({u"ledger.sqlite.damaged-*"_s}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QVERIFY2(m_prompter->alerts.first().contains(aside.first()), qPrintable(m_prompter->alerts.first()));
    QCOMPARE(readAll(QDir(m_ledgerFolder).filePath(aside.first())), junk);
    QVERIFY(QFileInfo::exists(QDir(IssueLedger::instance().archiveFolder()).filePath(u"kept.pdf"_s)));
    // d1 waited while the ledger was damaged: the new ledger takes it with d2.
    exportOne(invoice, u"d2"_s);
    QCOMPARE(IssueLedger::instance().store().value()->entries().value().size(), 2);
}

void LedgerUseTest::unwritableArchiveStillRecords()
{
    // A file stands where the archive folder would be: the issue is recorded without its copy, said once.
    writeFile(IssueLedger::instance().archiveFolder(), "not a folder");
    QVERIFY(!exportOne(invoiceBytes("丸の内物産", 1000, "R-1", "2026-05-01"), "r1").isEmpty());
    QVERIFY(QFileInfo::exists(m_dir->filePath("out/r1.pdf")));
    const QList<LedgerEntry> entries = IssueLedger::instance().store().value()->entries().value();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(std::pair(entries[0].archiveName, entries[0].pdfSha256.size()), std::pair(QString(), qsizetype(64)));
    QCOMPARE(exportOne(invoiceBytes("丸の内物産", 1000, "R-2", "2026-05-01"), "r2"), QString());
}

void LedgerUseTest::interruptedIssuesAreCompletedOnce()
{
    // An intent's keeper is known by its id and its start: the same id given to a later program is not it.
    QVERIFY(intentOwnerRuns(thisProcessToken()) && !intentOwnerRuns(thisProcessToken() + (qint64(1) << 22)));
    // What a run killed between its steps leaves, as the next run finds it.
    IssueLedger &ledger = IssueLedger::instance();
    QVERIFY(ledger.store());
    const QDir archive(ledger.archiveFolder());
    QVERIFY(QDir().mkpath(archive.path()));
    struct Case
    {
        const char *number;
        QByteArray written;  ///< at the target when the run was killed (null: nothing)
        QByteArray archived; ///< its archived copy as the kill left it (null: none)
        bool recorded;       ///< its entry was recorded before the kill
        bool expectEntry;
    };
    const QByteArray pdf = "%PDF-1.7 issued";
    const QList<Case> cases = {{"I-1", pdf, pdf, false, true},
                               {"I-2", {}, pdf, false, false},
                               {"I-3", "%PDF older", pdf, false, false},
                               {"I-4", pdf, pdf, true, true},
                               {"I-5", {}, {}, false, false},
                               {"I-9", pdf, {}, false, true},            // its copy made again from the PDF
                               {"I-10", pdf, pdf.left(7), false, true}}; // its copy cut short: made whole
    {
        std::unique_ptr<LedgerOutbox> box = LedgerOutbox::open(ledger.waitingPath()).value();
        QVERIFY(box);
        IssueIntents intents(box->database());
        for (const Case &c : cases) {
            IssueIntent intent;
            intent.entry.number = QString::fromLatin1(c.number);
            intent.entry.customer = u"中断商事"_s;
            intent.entry.pdfSha256 = sha256Hex(pdf);
            intent.target = m_dir->filePath(u"out/%1.pdf"_s.arg(intent.entry.number));
            QVERIFY(intents.keep(intent, intent.entry.number + u".pdf"_s, archive.path()));
            if (!c.archived.isNull())
                writeFile(archive.filePath(intent.entry.archiveName), c.archived);
            if (!c.written.isNull())
                writeFile(intent.target, c.written);
            if (c.recorded)
                QVERIFY(ledger.store().value()->record(intent.entry));
        }
        // A print job killed before its entry was recorded, and an entry left waiting for a busy ledger.
        IssueIntent print;
        print.entry.number = u"I-6"_s;
        QVERIFY(intents.keep(print, QString(), archive.path()));
        // Two runs wanting one name before either copy is written: the second is given another.
        IssueIntent twin;
        twin.entry.number = u"I-5"_s;
        QVERIFY(intents.keep(twin, u"I-5.pdf"_s, archive.path()));
        QCOMPARE(twin.entry.archiveName, u"I-5_2.pdf"_s);
        QVERIFY(intents.drop(twin.entry.origin));
        LedgerEntry waiting;
        waiting.number = u"I-7"_s;
        QVERIFY(box->add(waiting));
    }
    for (int run = 0; run < 2; ++run) // a second start finds nothing left to do
        ledger.settlePending();
    QStringList numbers;
    for (const LedgerEntry &entry : ledger.store().value()->entries().value())
        numbers.append(entry.number);
    QCOMPARE(numbers, (QStringList{"I-4", "I-1", "I-9", "I-10", "I-6", "I-7"}));
    QCOMPARE(archive.entryList(QDir::Files), (QStringList{"I-1.pdf", "I-10.pdf", "I-4.pdf", "I-9.pdf"}));
    for (const char *copy : {"I-9.pdf", "I-10.pdf"})
        QCOMPARE(test::readAll(archive.filePath(QString::fromLatin1(copy))), pdf);

    // An output that could not be written is not recorded, nor is its archived copy kept.
    Invoice page;
    page.number = u"I-8"_s;
    page.customer = u"中断商事"_s;
    page.honorificShown = u"御中"_s;
    QVERIFY(
        !ledger.issue(page, QString(), IssueChannel::Pdf, m_dir->filePath(u"out/I-8.pdf"_s), pdf, [] { return false; })
             ->written);
    QCOMPARE(ledger.store().value()->entries().value().size(), 6);
    QCOMPARE(archive.entryList(QDir::Files), (QStringList{"I-1.pdf", "I-10.pdf", "I-4.pdf", "I-9.pdf"}));
}

void LedgerUseTest::windowSearchesTotalsAndTakesPayments()
{
    LedgerStore *store = IssueLedger::instance().store().value_or(nullptr);
    auto issue = [&](const QString &customer, qint64 amount, const QDate &date, const QDate &due) {
        LedgerEntry entry;
        entry.customer = customer;
        entry.amount = amount;
        entry.invoiceDate = date;
        entry.dueDate = due;
        entry.number = u"%1"_s.arg(store->entries().value().size() + 1);
        return store->record(entry)->id;
    };
    const QDate today = QDate::currentDate();
    const qint64 late = issue(u"株式会社サンプル商事"_s, 300000, today.addDays(-40), today.addDays(-10));
    const qint64 march = issue(u"ｻﾝﾌﾟﾙ"_s, 100000, QDate(2026, 3, 1), QDate());
    issue(u"別の会社"_s, 500001, QDate(2026, 3, 2), QDate());
    LedgerEntry unused;
    unused.kind = EntryKind::Unused;
    unused.number = u"U-9"_s;
    unused.note = u"取消"_s;
    QVERIFY(store->record(unused));

    IssuedInvoicesWindow window;
    window.refresh();
    QCOMPARE(window.model()->rowCount(), 3);
    QVERIFY(window.footerText().contains(u"900,001"_s));
    QVERIFY(window.footerText().contains(u"U-9"_s)); // no row of its own, nothing owed
    window.findChild<QLineEdit *>(u"customer"_s)->setText(u"サンプル"_s);
    window.refresh();
    QCOMPARE(window.model()->rowCount(), 2);
    window.findChild<QLineEdit *>(u"min"_s)->setText(u"¥100,000"_s);
    window.findChild<QLineEdit *>(u"max"_s)->setText(u"１０００００"_s);
    window.refresh();
    QCOMPARE(window.model()->rowCount(), 1);
    QCOMPARE(window.model()->issueAt(0)->issue.id, march);

    // A date that does not read, or a range typed the wrong way round, says so and clears what an
    // earlier search showed.
    for (const auto &[from, to] : {std::pair("2026-02-30", ""), std::pair("2026-03-31", "2026/03/01")}) {
        window.findChild<QLineEdit *>(u"from"_s)->setText(QLatin1String(from));
        window.findChild<QLineEdit *>(u"to"_s)->setText(QLatin1String(to));
        window.refresh();
        QVERIFY(!window.findChild<QLabel *>(u"problem"_s)->isHidden());
        QCOMPARE(window.model()->rowCount(), 0);
    }
    QVERIFY(window.findChild<QLabel *>(u"problem"_s)->text().contains(u"2026-03-01"_s));
    for (const char *name : {"from", "to", "min", "max", "customer"})
        window.findChild<QLineEdit *>(QLatin1String(name))->clear();

    window.findChild<QPushButton *>(u"pastDue"_s)->click();
    QCOMPARE(window.model()->rowCount(), 1);
    QCOMPARE(window.model()->issueAt(0)->issue.id, late);
    const QModelIndex status = window.model()->index(0, LedgerTableModel::StatusColumn);
    QVERIFY(window.model()->data(status).toString().contains(u"past due"_s) ||
            window.model()->data(status).toString().contains(u"期限"_s));
    QVERIFY(window.model()->data(status, Qt::ForegroundRole).isValid());

    // Sorting by amount, both ways; the CSV follows the order shown.
    window.findChild<QComboBox *>(u"status"_s)->setCurrentIndex(0);
    window.model()->sort(LedgerTableModel::AmountColumn, Qt::AscendingOrder);
    QCOMPARE(window.model()->issueAt(0)->issue.amount, 100000);
    window.model()->sort(LedgerTableModel::AmountColumn, Qt::DescendingOrder);
    QCOMPARE(window.model()->issueAt(0)->issue.amount, 500001);
    const QStringList csv = QString::fromUtf8(window.csv()->value().mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 5);
    QVERIFY(csv[1].contains(u",500001,"_s) && csv[3].contains(u",100000,"_s));
    QVERIFY(csv[4].contains(u",U-9,"_s) && csv[4].contains(u"取消"_s)); // the gap's reason

    // Verify Ledger ends with the fingerprint to note at a closing.
    const LedgerEntry head = store->entries().value().constLast();
    QVERIFY2(window.verificationReport().value().endsWith(fingerprintText(head.id, head.hash)),
             qPrintable(window.verificationReport().value()));

    // Payments: what is still owed may be paid, a yen more is asked about first, nothing is no payment.
    const auto statusOfMarch = [&window, march] {
        const LedgerTableModel *model = window.model();
        return model->data(model->index(model->rowOfIssue(march), LedgerTableModel::StatusColumn)).toString();
    };
    QVERIFY(window.recordPayment(march, QDate(2026, 3, 20), 40000, QString()));
    QCOMPARE(statusOfMarch(), statusText(PaymentStatus::PartlyPaid));
    const qsizetype recorded = store->entries().value().size(), asked = m_prompter->questions.size();
    m_prompter->proceedAnswers = {false}; // declined: nothing recorded
    QVERIFY(!window.recordPayment(march, QDate(2026, 3, 21), 70000, QString()));
    QCOMPARE(std::pair(m_prompter->questions.size(), store->entries().value().size()), std::pair(asked + 1, recorded));
    QVERIFY(m_prompter->questions.constLast().contains("60,000"));
    m_prompter->proceedAnswers = {true};
    QVERIFY(window.recordPayment(march, QDate(2026, 3, 21), 70000, QString()));
    QCOMPARE(statusOfMarch(), statusText(PaymentStatus::Paid));
    QVERIFY(!window.recordPayment(march, QDate(2026, 3, 21), 0, QString()));
    QVERIFY2(window.footerText().contains("800,001"), qPrintable(window.footerText())); // still owed

    // A quotation is listed, of its kind, and picked by the kind; it adds nothing owed and takes no payment.
    LedgerEntry quote;
    quote.customer = u"見積先"_s;
    quote.amount = 70000;
    quote.document = DocumentKind::Quote;
    const qint64 quoted = store->record(quote)->id;
    window.refresh();
    QVERIFY2(window.footerText().contains("800,001"), qPrintable(window.footerText()));
    auto *kind = window.findChild<QComboBox *>(u"kind"_s);
    kind->setCurrentIndex(kind->findData(int(DocumentKind::Quote)));
    QCOMPARE(window.model()->rowCount(), 1);
    QCOMPARE(window.model()->data(window.model()->index(0, LedgerTableModel::KindColumn)).toString(),
             documentKindName(DocumentKind::Quote));
    const qsizetype before = store->entries().value().size();
    QVERIFY(!window.recordPayment(quoted, QDate(2026, 3, 21), 70000, QString()));
    QCOMPARE(store->entries().value().size(), before);

    // The dialog of a paid invoice proposes ￥0: refused with the reason, the dialog left open.
    PaymentDialog dialog(u"INV-1"_s, 0);
    dialog.show();
    dialog.accept();
    QVERIFY(dialog.isVisible() && !dialog.findChild<QLabel *>(u"reason"_s)->isHidden());
    dialog.findChild<QLineEdit *>(u"amount"_s)->setText(u"５００"_s);
    dialog.accept();
    QCOMPARE(std::pair(dialog.result(), dialog.amount()), std::pair(int(QDialog::Accepted), qint64(500)));
}

void LedgerUseTest::windowReadsALargeLedgerASliceAtATime()
{
    LedgerStore *store = IssueLedger::instance().store().value_or(nullptr);
    QList<LedgerEntry> entries;
    for (int i = 0; i < 450; ++i) {
        LedgerEntry entry;
        entry.customer = u"顧客%1"_s.arg(i);
        entry.amount = 1000 + i;
        entry.invoiceDate = QDate(2026, 1, 1).addDays(i);
        entries.append(entry);
    }
    QVERIFY(store->recordAll(entries));
    IssuedInvoicesWindow window;
    window.resize(900, 500);
    window.show();
    window.refresh();
    LedgerTableModel *model = window.model();
    // The first slice only, the sums over everything.
    QCOMPARE(model->rowCount(), LedgerTableModel::SliceSize);
    QCOMPARE(model->issueAt(0)->issue.amount, 1449);
    QCOMPARE(model->totals().count, 450);
    QVERIFY(window.footerText().contains(u"450"_s));
    QVERIFY(window.footerText().contains(u"551,025"_s)); // 450 × 1,000 + 0 + … + 449

    // Scrolling to the end reads the rest, once.
    auto *table = window.findChild<QTableView *>(u"ledgerTable"_s);
    for (int tries = 0; tries < 10 && model->canFetchMore(); ++tries) {
        table->scrollToBottom();
        QCoreApplication::processEvents();
    }
    QCOMPARE(model->rowCount(), 450);
    QVERIFY(!model->canFetchMore());

    // A selection far down stays on its invoice when the table sorts the other way.
    table->selectRow(400);
    const qint64 chosen = model->issueAt(400)->issue.id;
    model->sort(LedgerTableModel::AmountColumn, Qt::AscendingOrder);
    QCOMPARE(model->issueAt(0)->issue.amount, 1000);
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(model->issueAt(selected.first().row())->issue.id, chosen);

    // The download holds every row found, not only those read, in the order shown.
    window.refresh();
    QCOMPARE(model->rowCount(), LedgerTableModel::SliceSize);
    const QStringList csv = QString::fromUtf8(window.csv()->value().mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 451);
    QVERIFY(csv[1].contains(u",1000,"_s) && csv[450].contains(u",1449,"_s));
}

namespace {

/// Keeps the ledger's file to itself until release(): whoever else reads it waits meanwhile.
class HeldLedger
{
public:
    explicit HeldLedger(const QString &path) : m_connection(std::make_unique<SqlConnection>(u"QSQLITE"_s, u"held"_s))
    {
        QSqlDatabase db = m_connection->database();
        db.setDatabaseName(path);
        m_held = db.open() && QSqlQuery(db).exec(u"PRAGMA locking_mode = EXCLUSIVE"_s) &&
                 QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s);
    }
    bool held() const { return m_held; }
    void release() { m_connection.reset(); }
    bool released() const { return !m_connection; }

private:
    std::unique_ptr<SqlConnection> m_connection;
    bool m_held = false;
};

/// The window's thread beating every 20 ms while a long read runs; once the read's note shows,
/// its Cancel is clicked and `cancelled` runs.
class Heartbeat
{
public:
    Heartbeat(QWidget *owner, std::function<void()> cancelled)
    {
        QObject::connect(&m_beat, &QTimer::timeout, owner, [this, owner, cancelled = std::move(cancelled)] {
            m_longestPause = std::max(m_longestPause, m_sinceBeat.restart());
            auto *note = owner->findChild<QProgressDialog *>(u"longRead"_s);
            if (!m_cancelled && note && note->isVisible()) {
                m_cancelled = true;
                note->findChild<QPushButton *>()->click();
                cancelled();
            }
        });
        m_sinceBeat.start();
        m_beat.start(20);
    }
    qint64 longestPause() const { return m_longestPause; }
    bool cancelled() const { return m_cancelled; }

private:
    QTimer m_beat;
    QElapsedTimer m_sinceBeat;
    qint64 m_longestPause = 0;
    bool m_cancelled = false;
};

QList<LedgerEntry> manyEntries(int count)
{
    QList<LedgerEntry> entries(count);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        entries[i].customer = u"顧客%1"_s.arg(i);
        entries[i].amount = 1000 + i;
    }
    return entries;
}

} // namespace

void LedgerUseTest::longReadsAnswerAndCancel_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("Download CSV") << u"csv"_s;
    QTest::newRow("Verify Ledger") << u"verify"_s;
    QTest::newRow("Recover this ledger, damaged") << u"recover"_s;
}

void LedgerUseTest::longReadsAnswerAndCancel()
{
    QFETCH(QString, action);
    const int count = 1500;
    QVERIFY(IssueLedger::instance().store().value()->recordAll(manyEntries(count)));
    IssuedInvoicesWindow window;
    window.show();
    // It reads the ledger again when activated: before the file is held.
    QVERIFY(QTest::qWaitForWindowActive(&window));
    IssueLedger::instance().close();
    const QString ledger = IssueLedger::instance().databasePath();
    if (action == u"recover"_s) {
        // An index's page is overwritten: damaged, every entry still readable.
        overwriteIndexPage(ledger, QByteArray(1000, 'x'));
    }
    const QByteArray before = readAll(ledger);
    const QString target = m_dir->filePath(u"all.csv"_s);
    auto run = [&] {
        m_prompter->saveAnswers = {target};
        m_prompter->choiceAnswers = {0}; // this ledger
        if (action == u"csv"_s)
            window.downloadCsv();
        else if (action == u"verify"_s)
            window.verifyLedger();
        else
            window.recoverLedger();
    };

    // The read waits on the file while the window's thread answers; Cancel then ends it.
    HeldLedger held(ledger);
    QVERIFY(held.held());
    {
        const Heartbeat beat(&window, [&held] { held.release(); });
        run();
        QVERIFY(beat.cancelled());
        QVERIFY2(beat.longestPause() < 200, qPrintable(QString::number(beat.longestPause())));
    }
    QVERIFY(held.released());
    QCOMPARE(m_prompter->alerts, QStringList());
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(readAll(ledger), before);
    QCOMPARE(setAsideLedgers(ledger), QStringList());
    const QString stopped = QCoreApplication::translate("seikyu::IssuedInvoicesWindow", "Verify Ledger");
    QCOMPARE(m_prompter->notes.size(), action == u"verify"_s ? 1 : 0);
    QVERIFY(m_prompter->notes.isEmpty() || (m_prompter->notes.first().startsWith(stopped + " | ") &&
                                            !m_prompter->notes.first().contains(intactText())));

    // Not cancelled, each reads it all.
    m_prompter->notes.clear();
    run();
    if (action == u"csv"_s)
        QCOMPARE(readAll(target).count("\r\n"), count + 1);
    if (action == u"verify"_s)
        QVERIFY2(m_prompter->notes.value(0).contains(intactText()), qPrintable(m_prompter->notes.value(0)));
    if (action == u"recover"_s) {
        QCOMPARE(setAsideLedgers(ledger).size(), 1);
        QCOMPARE(IssueLedger::instance().store().value()->entries().value().size(), count);
    }
    // Every connection the reads made on their threads went with them.
    IssueLedger::instance().close();
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
}

void LedgerUseTest::cancelEndsALongQueryAtOnce()
{
    QVERIFY(IssueLedger::instance().store().value()->recordAll(manyEntries(3000)));
    IssueLedger::instance().close();
    QWidget window;
    window.show();
    // Three times every entry: hours of SQLite's work, unless it stops when told.
    auto ended = std::make_shared<std::optional<bool>>();
    QElapsedTimer took;
    took.start();
    const Heartbeat beat(&window, [] {});
    const bool whole =
        runCancellable(&window, u"…"_s,
                       [ended, path = IssueLedger::instance().databasePath(),
                        anchor = IssueLedger::instance().anchorPath()](const std::atomic<bool> &stop) {
                           const std::unique_ptr<LedgerStore> store = openToReadAside(path, anchor, stop);
                           if (!store)
                               return;
                           QSqlQuery query(store->database());
                           *ended =
                               query.exec(QStringLiteral("SELECT count(*) FROM ledger_entries a, ledger_entries b, "
                                                         "ledger_entries c WHERE a.amount + b.amount = c.amount")) &&
                               query.next();
                       });
    QVERIFY(!whole && beat.cancelled());
    QCOMPARE(*ended, std::optional<bool>(false));
    QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
    QVERIFY2(beat.longestPause() < 200, qPrintable(QString::number(beat.longestPause())));
}

void LedgerUseTest::commandLineOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("bare") << QStringList{"--ledger"} << true;
    QTest::newRow("all") << QStringList{"--ledger",   "--from",   "2026-03-01", "--to=2026-03-31",
                                        "--customer", "サンプル", "--min",      "100,000",
                                        "--max",      "500000",   "--unpaid",   "--csv"}
                         << true;
    QTest::newRow("same day") << QStringList{"--ledger", "--from", "2026-03-01", "--to", "2026-03-01"} << true;
    QTest::newRow("bad month") << QStringList{"--ledger", "--from", "2026-13-01"} << false;
    QTest::newRow("no zero padding") << QStringList{"--ledger", "--to", "2026-3-1"} << true;
    QTest::newRow("slashes") << QStringList{"--ledger", "--to", "2026/11/01"} << true;
    QTest::newRow("full-width") << QStringList{"--ledger", "--to", "２０２６－１１－０１", "--max", "１０００００"}
                                << true;
    QTest::newRow("29 February 2026") << QStringList{"--ledger", "--to", "2026-02-29"} << false;
    QTest::newRow("missing value") << QStringList{"--ledger", "--min"} << false;
    QTest::newRow("not an amount") << QStringList{"--ledger", "--max", "lots"} << false;
    QTest::newRow("unknown") << QStringList{"--ledger", "--paid"} << false;
    QTest::newRow("stray") << QStringList{"--ledger", "invoice.seikyu"} << false;
    QTest::newRow("value on a flag") << QStringList{"--ledger", "--csv=yes"} << false;
    QTest::newRow("reversed dates") << QStringList{"--ledger", "--from", "2026-04-01", "--to", "2026-03-01"} << false;
    QTest::newRow("reversed amounts") << QStringList{"--ledger", "--min", "5", "--max", "4"} << false;
    QTest::newRow("repeated flag") << QStringList{"--ledger", "--csv", "--csv"} << false;
    QTest::newRow("repeated value") << QStringList{"--ledger", "--min", "1", "--min=2"} << false;
    QTest::newRow("verify with a filter") << QStringList{"--ledger", "--verify", "--unpaid"} << false;
    QTest::newRow("verify as CSV") << QStringList{"--ledger", "--csv", "--verify"} << false;
    QTest::newRow("verify alone") << QStringList{"--verify", "--ledger"} << true;
    QTest::newRow("a line break in a date") << QStringList{"--ledger", "--from", "2026-03-01\n2026"} << false;
    QTest::newRow("a line break in an option") << QStringList{"--ledger", "--x\ny"} << false;
    QTest::newRow("kind") << QStringList{"--ledger", "--kind", "quote", "--unpaid"} << true;
    QTest::newRow("kind not a kind") << QStringList{"--ledger", "--kind=bill"} << false;
    QTest::newRow("kind capitalised") << QStringList{"--ledger", "--kind", "Receipt"} << false;
    QTest::newRow("kind empty") << QStringList{"--ledger", "--kind="} << false;
    QTest::newRow("a customer of 100,000 characters")
        << QStringList{"--ledger", "--customer", QString(100000, u'a')} << false;
}

void LedgerUseTest::commandLineOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, accepted);
    const Result<LedgerRequest> request = parseLedgerRequest(arguments);
    const QString error = request.message();
    QCOMPARE(request.ok(), accepted);
    QCOMPARE(error.isEmpty(), accepted);
    QVERIFY(!error.contains(u'\n') && error.size() < 200);
    if (QTest::currentDataTag() == u"all"_s) {
        QCOMPARE(request->filter.from, QDate(2026, 3, 1));
        QCOMPARE(request->filter.to, QDate(2026, 3, 31));
        QCOMPARE(request->filter.minAmount, 100000);
        QCOMPARE(request->filter.maxAmount, 500000);
        QCOMPARE(request->filter.statuses, LedgerFilter::outstanding());
        QVERIFY(request->csv);
    }
    if (QTest::currentDataTag() == u"kind"_s)
        QCOMPARE(request->filter.document, DocumentKind::Quote);
}

void LedgerUseTest::commandLineListsAndVerifies()
{
    const QString a = invoiceFile("a", "株式会社サンプル商事", 220000, "A-1", "2026-03-10");
    const QString b = invoiceFile("b", "ＡＢＣ, \\\"商店\\\"", 55000, "B-1", "2026-04-12");
    // Recorded last, dated first: the listing goes by invoice date.
    const QString c = invoiceFile("c", "C商店", 1000, "C-1", "2026-01-05");
    const SeikyuRun exported = seikyu({"--export-pdf", m_dir->filePath("out"), a, b, c});
    QCOMPARE(std::pair(exported.exitCode, exported.err), std::pair(0, QString()));

    const SeikyuRun listed = seikyu({"--ledger"});
    QCOMPARE(listed.exitCode, 0);
    QStringList lines = listed.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[1].contains("2026-04-12") && lines[3].contains("2026-01-05")); // newest invoice date first

    // The window's forms of dates and amounts; the status as the window shows it, past due.
    const SeikyuRun march = seikyu({"--ledger", "--from", "2026/03/10", "--to", "２０２６－０３－１０", "--min",
                                    "220000", "--max", "２２００００", "--customer", "ｻﾝﾌﾟﾙ", "--unpaid", "--csv"});
    QCOMPARE(march.exitCode, 0);
    QVERIFY(march.rawOut.startsWith("\xEF\xBB\xBF"));
    lines = QString::fromUtf8(march.rawOut.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].contains(",220000,") && lines[1].contains(",未入金（期限超過）,"), qPrintable(lines[1]));

    // A ledger option without --ledger, or a wrong value: what the user meant, and how to say it.
    const SeikyuRun alone = seikyu({"--unpaid"});
    const SeikyuRun wrong = seikyu({"--ledger", "--from", "yesterday"});
    QCOMPARE(std::tuple(alone.exitCode, alone.err.count('\n'), wrong.exitCode, wrong.err.count('\n'), wrong.out),
             std::tuple(2, qsizetype(1), 2, qsizetype(1), QString()));
    QVERIFY2(alone.err.contains("seikyu --ledger --unpaid"), qPrintable(alone.err));
    QVERIFY(wrong.err.startsWith("seikyu: --from"));
    QVERIFY(seikyu({"--ledger", "--customer", "abc", "--csv"}).out.contains(",\"ＡＢＣ, \"\"商店\"\"\","));

    // A quotation under the invoice's own number: recorded, no clash; listed by --kind, never unpaid.
    QByteArray quote = invoiceBytes("株式会社サンプル商事", 220000, "A-1", "2026-03-09");
    QVERIFY(quote.startsWith('{'));
    quote.replace(0, 1, "{\"kind\": \"quote\",");
    const SeikyuRun quoted =
        seikyu({"--export-pdf", m_dir->filePath("out"), writeFile(m_dir->filePath("in/q.seikyu"), quote)});
    QCOMPARE(std::pair(quoted.exitCode, quoted.err), std::pair(0, QString()));
    const SeikyuRun quotes = seikyu({"--ledger", "--kind", "quote", "--csv"});
    lines = QString::fromUtf8(quotes.rawOut.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].endsWith(",種類") && lines[1].endsWith(",見積書") && lines[1].contains(",請求対象外,"),
             qPrintable(lines.join('\n')));
    QCOMPARE(seikyu({"--ledger", "--kind", "invoice"}).out.split('\n', Qt::SkipEmptyParts).size(), 4);
    QVERIFY(!seikyu({"--ledger", "--unpaid"}).out.contains("見積書"));

    const SeikyuRun intact = seikyu({"--ledger", "--verify"});
    QVERIFY2(intact.exitCode == 0, qPrintable(intact.out));
    // The fingerprint to note at a closing: the newest entry and the start of its hash.
    const LedgerEntry head = IssueLedger::instance().store().value()->entries().value().constLast();
    QVERIFY2(intact.out.contains(fingerprintText(head.id, head.hash)), qPrintable(intact.out));

    // Changed outside Seikyu: an amount edited, an archived PDF replaced. Each is named.
    const QString archived =
        QDir(IssueLedger::instance().archiveFolder())
            .filePath(IssueLedger::instance().store().value()->entries().value().at(1).archiveName);
    IssueLedger::instance().close();
    QCOMPARE(
        onSqliteFile(IssueLedger::instance().databasePath(), {"DROP TRIGGER ledger_entries_no_update",
                                                              "UPDATE ledger_entries SET amount = 22000 WHERE id = 1"}),
        QString());
    QFile::setPermissions(archived, QFile::ReadOwner | QFile::WriteOwner);
    writeFile(archived, "%PDF-1.4 forged");
    const SeikyuRun changed = seikyu({"--ledger", "--verify"});
    QCOMPARE(changed.exitCode, 1);
    lines = changed.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[2].contains(fingerprintText(head.id, head.hash)));
    // Each named as the window shows it: the invoice's number and customer, not the entry's id.
    QVERIFY2(lines[0].contains("A-1") && lines[0].contains("株式会社サンプル商事"), qPrintable(lines[0]));
    QVERIFY2(lines[1].contains("20260412_ＡＢＣ,_商店__55000_B-1.pdf") && lines[1].contains("B-1（"),
             qPrintable(lines[1]));
}

void LedgerUseTest::wholeNamesOneStoryPrivateFiles()
{
    const mode_t umaskBefore = ::umask(022);
    const auto restore = qScopeGuard([umaskBefore] { ::umask(umaskBefore); });
    auto modeOf = [](const QString &path) {
        struct stat info = {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    };
    // 𠮷 as the 40th character of the name: archived under a name cut before it, verified intact.
    const QString customer = QString(39, QChar(u'長')) + u"𠮷商店"_s;
    const QString a = invoiceFile("a", customer, 110000, "A-1", "2026-03-10");
    QCOMPARE(seikyu({"--export-pdf", m_dir->filePath("out1"), a}).exitCode, 0);
    // Changed under the same number and said to be a reissue: the first issue is superseded.
    invoiceFile("a", customer, 121000, "A-1", "2026-03-10");
    QCOMPARE(seikyu({"--reissue", "--export-pdf", m_dir->filePath("out2"), a}).exitCode, 0);
    const SeikyuRun verified = seikyu({"--ledger", "--verify"});
    QVERIFY2(verified.exitCode == 0, qPrintable(verified.out));
    // The name suggested for the PDF is cut the same way, and drops a bidi override.
    const auto document = makeDocument(invoiceBytes(u"\u202E"_s + customer, 1, "A-1", "2026-03-10"));
    QCOMPARE(pdfSuggestedName(*document), u"A-1-"_s + QString(39, QChar(u'長')));

    const QStringList rows =
        QString::fromUtf8(seikyu({"--ledger", "--csv"}).rawOut.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 3);
    QVERIFY2(rows[2].contains("20260310_" + QString(39, QChar(u'長')) + "_110000_A-1.pdf"), qPrintable(rows[2]));
    const QStringList lines = seikyu({"--ledger"}).out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    for (const QString &older : {rows[2], lines[2]})
        QVERIFY2(older.contains("再発行済み") && !rows[1].contains("再発行済み"), qPrintable(older));
    // Owed once: only the latest issue is unpaid.
    const QString unpaid = seikyu({"--ledger", "--unpaid"}).out;
    QVERIFY2(unpaid.count('\n') == 2 && unpaid.contains("121000"), qPrintable(unpaid));

    // The owner's alone under umask 022, and tightened when an older installation is opened.
    const QString settings = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Seikyu/Seikyu.conf"_s;
    const QString database = QDir(m_ledgerFolder).filePath(u"ledger.sqlite"_s);
    const QString archive = QDir(m_ledgerFolder).filePath(u"archive"_s);
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(modeOf(m_ledgerFolder), 0700);
        QCOMPARE(modeOf(archive), 0700);
        QCOMPARE(modeOf(database), 0600);
        QCOMPARE(modeOf(settings), 0600);
        for (const QString &folder : {m_ledgerFolder, archive})
            ::chmod(QFile::encodeName(folder).constData(), 0755);
        for (const QString &file : {database, settings})
            ::chmod(QFile::encodeName(file).constData(), 0644);
        QCOMPARE(seikyu({u"--ledger"_s}).exitCode, 0);
    }
    {
        RecoveryStore recovery;
        // Named uniquely: the folder is shared with every other test run on this account, whose
        // own run folders (made under their own umask) come and go meanwhile.
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QVERIFY(recovery.write(id, "{}"));
        QCOMPARE(modeOf(RecoveryStore::rootFolder()), 0700);
        QCOMPARE(modeOf(QFileInfo(RecoveryStore::rootFolder()).absolutePath()), 0700);
        QFileInfoList copies = QDir(RecoveryStore::rootFolder()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
        copies.removeIf([&](const QFileInfo &run) { return QDir(run.filePath()).entryList({id + "*"}).isEmpty(); });
        QCOMPARE(copies.size(), 1);
        for (const QFileInfo &run : copies) {
            QCOMPARE(modeOf(run.absoluteFilePath()), 0700);
            for (const QFileInfo &copy : QDir(run.absoluteFilePath()).entryInfoList(QDir::Files))
                QCOMPARE(modeOf(copy.absoluteFilePath()), 0600);
        }
    }
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    seikyu::test::initApplication();
    LedgerUseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ledgeruse.moc"
