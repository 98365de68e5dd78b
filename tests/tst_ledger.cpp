// The ledger of issued invoices: its pure rules and its store on real SQLite files.
#include "ledger/ArchiveName.h"
#include "ledger/IssueFacts.h"
#include "ledger/LedgerAnchor.h"
#include "ledger/LedgerChain.h"
#include "ledger/LedgerCsv.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerRecovery.h"
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerSqlSearch.h"
#include "ledger/LedgerStore.h"
#include "ledger/PaymentRule.h"
#include "ledger/SearchFolding.h"
#include "support/LedgerEntries.h"
#include "support/OlderLedgers.h"
#include "support/SeikyuRun.h"
#include "support/SqliteFile.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>

using namespace Qt::StringLiterals;

using namespace seikyu;
using seikyu::test::issue;

namespace {

/// Damages a ledger file in some way, given its path.
using Damage = std::function<void(const QString &)>;

/// The helper role of this executable: records `count` entries into the ledger at `path`.
int recordEntries(const QString &path, int count, const QString &tag, bool hold = false)
{
    auto opened = LedgerStore::openSqlite(path);
    if (!opened) {
        std::fprintf(stderr, "open: %s\n", qPrintable(opened.message()));
        return 1;
    }
    const auto store = std::move(opened).value();
    for (int i = 0; i < count; ++i) {
        const auto recorded = store->record(issue(tag, i, QDate(2026, 1, 1), u"%1-%2"_s.arg(tag).arg(i)));
        if (!recorded) {
            std::fprintf(stderr, "record %d: %s\n", i, qPrintable(recorded.message()));
            return 1;
        }
    }
    if (hold) { // the ledger stays open, its log unwritten to the file, until the test kills us
        std::puts("recorded");
        std::fflush(stdout);
        QThread::sleep(600);
    }
    return 0;
}

/// What `seikyu args…` did with XDG_DATA_HOME at `dataHome`: its exit status and what it wrote.
std::pair<int, QString> runSeikyu(const QString &dataHome, const QStringList &arguments)
{
    const test::SeikyuRun run = test::runSeikyu(arguments, {{u"XDG_DATA_HOME"_s, dataHome}});
    return {run.exitCode, run.out + run.err};
}

/// Everything a search finds in the store's database, newest recorded first.
LedgerPage searched(LedgerStore &store, const LedgerFilter &filter = {})
{
    const Result<LedgerPage> page = searchLedger(store.database(), filter, {LedgerOrder::Recorded, true, 0, 1 << 20});
    if (!page)
        qFatal("search failed: %s", qPrintable(page.message()));
    return *page;
}

/// The row of one issue as the search shows it, and what it received.
std::pair<IssuedInvoice, qint64> issueRow(LedgerStore &store, qint64 id)
{
    LedgerFilter only;
    only.issueId = id;
    const LedgerPage page = searched(store, only);
    if (page.rows.size() != 1)
        qFatal("issue %lld not found", id);
    return {page.rows.constFirst(), page.paid.constFirst()};
}

PaymentStatus statusOfIssue(LedgerStore &store, qint64 id)
{
    const auto [row, paid] = issueRow(store, id);
    return statusOf(row.issue.amount, paid, row.voided, row.issue.document);
}

QList<LedgerEntry> chainOf(int count, int hashForm = CurrentHashForm)
{
    QList<LedgerEntry> issues;
    for (int i = 1; i <= count; ++i)
        issues.append(issue(u"C%1"_s.arg(i), 1000 * i, QDate(2026, 1, i)));
    return test::chained(issues, hashForm, QDateTime(QDate(2026, 1, 1), QTime(10, 0), Qt::UTC));
}
} // namespace

Q_DECLARE_METATYPE(Damage)

class LedgerTest : public QObject
{
    Q_OBJECT

private slots:
    // ---- pure rules ----
    void hashCoversEveryRecordedField()
    {
        LedgerEntry entry = issue(u"株式会社サンプル商事"_s, 110000, QDate(2026, 3, 10), u"A-1"_s);
        entry.id = 1;
        entry.previousHash = GenesisHash;
        entry.recordedAt = QDateTime(QDate(2026, 3, 10), QTime(9, 0), Qt::UTC);
        const QString base = entryHash(entry);
        // An invoice's entry hashes as it did before documents had kinds: older ledgers verify as they are.
        QCOMPARE(base, u"cf28c8126aee3a2b98b10f88d066ba2df80c56607ddb5d26b9a3eb28fd695c6c"_s);
        QCOMPARE(entryHash(entry), base); // the same fields, the same hash

        QList<std::function<void(LedgerEntry &)>> edits{
            [](LedgerEntry &e) { e.amount += 1; },
            [](LedgerEntry &e) { e.customer += u' '; },
            [](LedgerEntry &e) { e.invoiceDate = e.invoiceDate.addDays(1); },
            [](LedgerEntry &e) { e.pdfSha256 = u"ab"_s; },
            [](LedgerEntry &e) {
                e.taxes = {TaxLine{10, 100000, 10000, false}};
            },
            [](LedgerEntry &e) { e.kind = EntryKind::Void; },
            [](LedgerEntry &e) { e.previousHash = QString(64, u'1'); },
            [](LedgerEntry &e) { e.id = 2; },
            [](LedgerEntry &e) { e.dueDate = QDate(2026, 4, 30); },
            [](LedgerEntry &e) { e.note = u"x"_s; },
            [](LedgerEntry &e) { e.document = DocumentKind::Quote; },
            [](LedgerEntry &e) { e.acknowledges = 3; },
        };
        for (const auto &edit : edits) {
            LedgerEntry changed = entry;
            edit(changed);
            QVERIFY(entryHash(changed) != base);
        }
        // Every stored column counts, the derived ones and who recorded it too; the older hash form
        // left those to the seal.
        const QList<std::function<void(LedgerEntry &)>> restOfRow{
            [](LedgerEntry &e) { e.customerFolded = u"x"_s; }, [](LedgerEntry &e) { e.invoiceId = 7; },
            [](LedgerEntry &e) { e.issuedByUser = u"x"_s; },   [](LedgerEntry &e) { e.issuedByHost = u"x"_s; },
            [](LedgerEntry &e) { e.origin = u"x"_s; },         [](LedgerEntry &e) { e.hashForm = 1; },
        };
        LedgerEntry older = entry;
        older.hashForm = 1;
        const QString olderBase = entryHash(older);
        for (const auto &edit : restOfRow) {
            LedgerEntry changed = entry;
            edit(changed);
            QVERIFY(entryHash(changed) != base);
            LedgerEntry olderChanged = older;
            edit(olderChanged);
            olderChanged.hashForm = 1;
            QCOMPARE(entryHash(olderChanged), olderBase);
        }
        // The older form covers the kind too: an entry it hashed cannot be made a quotation.
        older.document = DocumentKind::Quote;
        QVERIFY(entryHash(older) != olderBase);

        // One field's end cannot pass for the next one's start.
        LedgerEntry a = entry, b = entry;
        a.title = u"ab"_s;
        a.number = u"c"_s;
        b.title = u"a"_s;
        b.number = u"bc"_s;
        QVERIFY(entryHash(a) != entryHash(b));
    }

    void chainFindsEditedRemovedAndRewritten()
    {
        using enum ChainProblem::Kind;
        const auto one = [](ChainProblem::Kind kind, qint64 id) { return QList<ChainProblem>{{kind, id, {}}}; };
        const QList<LedgerEntry> chain = chainOf(5);
        QVERIFY(verifyChain(chain).isEmpty() && verifyChain({}).isEmpty());
        QList<LedgerEntry> edited = chain, removed = chain, rewritten = chain;
        edited[2].amount = 1;
        QCOMPARE(verifyChain(edited), one(Changed, 3));
        removed.removeAt(1);
        QCOMPARE(verifyChain(removed), one(Missing, 3));
        QCOMPARE(verifyChain(chain.mid(1)), one(Missing, 2));
        // Edited with the hash recomputed: the next entry no longer follows it.
        rewritten[1].amount = 1;
        rewritten[1].hash = entryHash(rewritten[1]);
        QCOMPARE(verifyChain(rewritten), one(Missing, 3));

        // Entries of the older hash form are whole only with the seal that follows them.
        const auto appended = [](QList<LedgerEntry> entries, LedgerEntry entry) { // its hash made to fit
            entry.id = entries.constLast().id + 1;
            entry.previousHash = entries.constLast().hash;
            if (entry.kind == EntryKind::Seal)
                entry.pdfSha256 = sealDigest(entries);
            entry.hash = entryHash(entry);
            return entries << entry;
        };
        LedgerEntry seal;
        seal.kind = EntryKind::Seal;
        const QList<LedgerEntry> sealed = appended(chainOf(3, 1), seal);
        QVERIFY(verifyChain(sealed).isEmpty());
        QCOMPARE(verifyChain(sealed.mid(0, 3)), one(Changed, 1));
        QVERIFY(verifyChain(sealed.mid(0, 3), false).isEmpty()); // a ledger not brought to the new form yet
        QList<LedgerEntry> unsealedEdit = sealed;
        unsealedEdit[1].issuedByUser = u"someone else"_s;
        QCOMPARE(verifyChain(unsealedEdit), one(SealBroken, 4));
        // An entry of the older form after the seal would escape it; nor does a later seal take it in:
        // the older form never follows the newer one.
        const QList<LedgerEntry> afterSeal = appended(sealed, chainOf(1, 1).constFirst());
        QCOMPARE(verifyChain(afterSeal), one(Changed, 5));
        QCOMPARE(verifyChain(appended(afterSeal, seal)), one(Changed, 5));
    }

    void anchorsComparedWithTheLedger()
    {
        const QList<LedgerEntry> chain = chainOf(3);
        const QString other(64, u'e');
        const QString id = u"L1"_s, place = u"local"_s;
        using Kind = ChainProblem::Kind;
        struct Case
        {
            LedgerAnchor anchor;
            QList<ChainProblem> expected;
        };
        const QList<Case> cases{
            {{id, place, 3, chain[2].hash}, {}},
            {{id, place, 2, chain[1].hash}, {}}, // recorded after: the anchor lags, nothing lost
            {{id, place, 4, other}, {{Kind::AnchorLost, 4, other}}},
            {{id, place, 3, other}, {{Kind::AnchorChanged, 3, other}}},
            {{u"L2"_s, place, 9, other}, {{Kind::Replaced, 9, other}}},
            {{u"L2"_s, u"postgresql://pc:5432/l"_s, 9, other}, {}},
        };
        for (const Case &c : cases)
            QCOMPARE(compareWithAnchors({c.anchor}, id, place, chain), c.expected);
        QCOMPARE(fingerprintText(12, chain[0].hash),
                 u"#12 %1 %2 %3"_s.arg(chain[0].hash.mid(0, 8), chain[0].hash.mid(8, 8), chain[0].hash.mid(16, 8)));
        QCOMPARE(fingerprintText(0, QString()), QString());

        // Moved on only to a later head that follows the anchored entry; a file that does not read is kept.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"anchor.json"_s);
        const auto holds = [&chain](qint64 n, const QString &hash) { return chain.value(n - 1).hash == hash; };
        QVERIFY(advanceAnchor(path, {id, place, 2, chain[1].hash}, holds));
        QVERIFY(advanceAnchor(path, {id, place, 1, chain[0].hash}, holds));
        QCOMPARE(readAnchors(path), (QList<LedgerAnchor>{{id, place, 2, chain[1].hash}}));
        QVERIFY(advanceAnchor(path, {id, place, 3, chain[2].hash}, [](qint64, const QString &) { return false; }));
        QCOMPARE(readAnchors(path).constFirst().id, 2);
        QVERIFY(advanceAnchor(path, {id, place, 3, chain[2].hash}, holds));
        QVERIFY(advanceAnchor(path, {u"L2"_s, place, 1, other}, holds));
        QCOMPARE(readAnchors(path), (QList<LedgerAnchor>{{id, place, 3, chain[2].hash}, {u"L2"_s, place, 1, other}}));
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
        const QByteArray damaged = R"({"anchors": [{"ledger": 5}]})";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
        file.close();
        bool unreadable = false;
        QVERIFY(readAnchors(path, &unreadable).isEmpty() && unreadable);
        QVERIFY(!advanceAnchor(path, {id, place, 4, other}, holds) && file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
    }

    void archiveCheckLeavesOtherComputersPdfsToThem()
    {
        QList<LedgerEntry> chain = chainOf(6);
        const QStringList hosts = {u"pc-a"_s, u"pc-b"_s, u"PC-A"_s, u"pc-b"_s, QString(), u"pc-b"_s};
        const QStringList names = {u"1.pdf"_s, u"2.pdf"_s, u"3.pdf"_s, u"1.pdf"_s, u"5.pdf"_s, u"6.pdf"_s};
        for (int i = 0; i < chain.size(); ++i) {
            chain[i].issuedByHost = hosts.at(i);
            chain[i].archiveName = names.at(i);
            chain[i].pdfSha256 = QString::number(i + 1);
        }
        // pc-a holds its own copy 1 (1.pdf its own, not pc-b's of the same name), misses 3 (its own,
        // the name written in capitals) and 5 (which names no computer), and finds 6.pdf of pc-b here
        // with bytes nobody recorded.
        const QHash<QString, QString> onPcA = {{u"1.pdf"_s, u"1"_s}, {u"6.pdf"_s, u"forged"_s}};
        const LedgerCheck here = checkArchive(chain, onPcA, u"pc-a"_s);
        QCOMPARE(here.problems, (QList<ChainProblem>{{ChainProblem::Kind::PdfMissing, 3, u"3.pdf"_s},
                                                     {ChainProblem::Kind::PdfMissing, 5, u"5.pdf"_s},
                                                     {ChainProblem::Kind::PdfChanged, 6, u"6.pdf"_s}}));
        QCOMPARE(std::pair(here.pdfsCheckedHere, here.pdfsKeptElsewhere), std::pair(4, 2));
        const QString reach = archiveReachText(here);
        QVERIFY(reach.contains(u'4') && reach.contains(u'2'));

        // pc-b's own copy of 1.pdf altered is reported on pc-b, once: the file is pc-b's, not pc-a's.
        const QHash<QString, QString> onPcB = {
            {u"1.pdf"_s, u"9"_s}, {u"2.pdf"_s, u"2"_s}, {u"5.pdf"_s, u"5"_s}, {u"6.pdf"_s, u"6"_s}};
        const LedgerCheck there = checkArchive(chain, onPcB, u"pc-b"_s);
        QCOMPARE(there.problems, (QList<ChainProblem>{{ChainProblem::Kind::PdfChanged, 4, u"1.pdf"_s}}));
        QCOMPARE(std::pair(there.pdfsCheckedHere, there.pdfsKeptElsewhere), std::pair(4, 2));

        // Without a computer's name, as for a ledger of one's own, every PDF belongs here.
        const LedgerCheck alone = checkArchive(chain, onPcA, QString());
        QCOMPARE(alone.pdfsKeptElsewhere, 0);
        QCOMPARE(alone.problems, (QList<ChainProblem>{{ChainProblem::Kind::PdfMissing, 2, u"2.pdf"_s},
                                                      {ChainProblem::Kind::PdfMissing, 3, u"3.pdf"_s},
                                                      {ChainProblem::Kind::PdfChanged, 4, u"1.pdf"_s},
                                                      {ChainProblem::Kind::PdfMissing, 5, u"5.pdf"_s},
                                                      {ChainProblem::Kind::PdfChanged, 6, u"6.pdf"_s}}));
        QVERIFY(archiveReachText(alone).isEmpty());
        QCOMPARE(alone.problems, verifyArchive(chain, onPcA));
    }

    void widthFolding_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("found");
        QTest::newRow("full-width latin") << u"ＡＢＣ"_s << u"ABC商店"_s << true;
        QTest::newRow("half-width latin finds full") << u"abc"_s << u"ＡＢＣ商店"_s << true;
        QTest::newRow("capitals typed") << u"ABC"_s << u"ａｂｃ商店"_s << true;
        QTest::newRow("half-width kana") << u"ｶﾌﾞｼｷ"_s << u"カブシキガイシャ"_s << true;
        QTest::newRow("full kana finds half") << u"カブシキ"_s << u"ｶﾌﾞｼｷｶﾞｲｼｬ"_s << true;
        QTest::newRow("digits") << u"１２３"_s << u"第123号"_s << true;
        QTest::newRow("kanji part") << u"サンプル"_s << u"株式会社サンプル商事"_s << true;
        QTest::newRow("hiragana is not katakana") << u"かぶしき"_s << u"カブシキ"_s << false;
        QTest::newRow("voiced differs") << u"ｶﾌｼｷ"_s << u"カブシキ"_s << false;
    }

    void widthFolding()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, found);
        QCOMPARE(foldForSearch(stored).contains(foldForSearch(typed)), found);
    }

    void statusFollowsPayments_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<qint64>("paid");
        QTest::addColumn<bool>("voided");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("outstanding");
        QTest::newRow("nothing paid") << qint64(1000) << qint64(0) << false << int(PaymentStatus::Unpaid)
                                      << qint64(1000);
        QTest::newRow("one yen") << qint64(1000) << qint64(1) << false << int(PaymentStatus::PartlyPaid) << qint64(999);
        QTest::newRow("one short") << qint64(1000) << qint64(999) << false << int(PaymentStatus::PartlyPaid)
                                   << qint64(1);
        QTest::newRow("exactly") << qint64(1000) << qint64(1000) << false << int(PaymentStatus::Paid) << qint64(0);
        QTest::newRow("over") << qint64(1000) << qint64(1200) << false << int(PaymentStatus::Paid) << qint64(0);
        QTest::newRow("asks nothing") << qint64(0) << qint64(0) << false << int(PaymentStatus::Paid) << qint64(0);
        QTest::newRow("voided and paid") << qint64(1000) << qint64(1000) << true << int(PaymentStatus::Voided)
                                         << qint64(0);
    }

    void statusFollowsPayments()
    {
        QFETCH(qint64, amount);
        QFETCH(qint64, paid);
        QFETCH(bool, voided);
        QFETCH(int, status);
        QCOMPARE(int(statusOf(amount, paid, voided)), status);
        const QDate today(2026, 5, 1);
        QCOMPARE(isPastDue(statusOf(amount, paid, voided), today.addDays(-1), today),
                 status == int(PaymentStatus::Unpaid) || status == int(PaymentStatus::PartlyPaid));
        QVERIFY(!isPastDue(statusOf(amount, paid, voided), today, today)); // due today is not late yet
        QVERIFY(!isPastDue(statusOf(amount, paid, voided), QDate(), today));
        // What is still owed may be paid; a yen more is asked about first; nothing is no payment.
        QFETCH(qint64, outstanding);
        if (!voided) {
            QCOMPARE(stillOwed(amount, paid), outstanding);
            QCOMPARE(fitPayment(outstanding + 1, amount, paid), PaymentFit::Beyond);
            QCOMPARE(fitPayment(outstanding, amount, paid), outstanding > 0 ? PaymentFit::Within : PaymentFit::Nothing);
            QCOMPARE(fitPayment(-1, amount, paid), PaymentFit::Nothing);
        }

        // The same through the database search, whose totals count what is still owed, never less
        // than nothing.
        QTemporaryDir dir;
        auto store = LedgerStore::openSqlite(dir.filePath(u"ledger.sqlite"_s)).value_or(nullptr);
        const auto sent = store->record(issue(u"A"_s, amount, QDate(2026, 3, 1)));
        QVERIFY(sent);
        if (paid > 0)
            QVERIFY(store->recordPayment(sent->id, QDate(2026, 3, 9), paid));
        if (voided)
            QVERIFY(store->recordVoid(sent->id, u"twice"_s));
        QCOMPARE(int(statusOfIssue(*store, sent->id)), status);
        QTEST(searched(*store).totals.outstanding, "outstanding");
    }

    void archiveNames()
    {
        QCOMPARE(archiveFileName(QDate(2026, 3, 5), u"株式会社サンプル商事"_s, 110000, u"No.12"_s),
                 u"20260305_株式会社サンプル商事_110000_No.12.pdf"_s);
        QCOMPARE(archiveFileName(QDate(2026, 3, 5), u"A/B: C"_s, 5, QString()), u"20260305_A_B_C_5.pdf"_s);
        QCOMPARE(archiveFileName(QDate(2026, 3, 5), u".."_s, -3, u".."_s), u"20260305____-3___.pdf"_s);
        QVERIFY(archiveFileName(QDate(2026, 3, 5), QString(100, QChar(u'長')), 1, QString()).size() < 60);
        // Cut at 40 UTF-16 units between whole characters only; format controls (a bidi override) go.
        const QString cut = u"20260305_"_s + QString(39, QChar(u'長')) + u"_1.pdf"_s;
        for (const QString &last : {u"𠮷"_s, u"e\u0301"_s, u"👍🏽"_s})
            QCOMPARE(archiveFileName(QDate(2026, 3, 5), QString(39, QChar(u'長')) + last + u"x"_s, 1, {}), cut);
        QCOMPARE(archiveFileName(QDate(2026, 3, 5), u"A\u202Efdp.exe\u200B"_s, 1, u"\u2066N"_s),
                 u"20260305_Afdp.exe_1_N.pdf"_s);
        const QSet<QString> taken{u"a.pdf"_s, u"a_2.pdf"_s};
        QCOMPARE(uniqueArchiveName(u"a.pdf"_s, [&](const QString &n) { return taken.contains(n); }), u"a_3.pdf"_s);
        QCOMPARE(uniqueArchiveName(u"b.pdf"_s, [&](const QString &n) { return taken.contains(n); }), u"b.pdf"_s);
    }

    void taxLinesRoundTrip()
    {
        const QList<TaxLine> lines{{10, 50000, 5000, false}, {8, 1000, 74, true}, {0, 300, 0, false}};
        QCOMPARE(decodeTaxLines(encodeTaxLines(lines)), lines);
        QCOMPARE(decodeTaxLines(u"10:x:1;8:100:8;junk"_s), (QList<TaxLine>{{8, 100, 8, false}}));
    }

    void issueFactsFromThePage()
    {
        const QString s = u" "_s;
        auto sumsRow = [&](const QString &label, const CellValue &value) { return ItemRow(s, s, s, label, value); };
        Invoice page;
        page.title = u"請求書"_s;
        page.date = QDate(2026, 3, 10);
        page.customer = u"株式会社サンプル商事"_s;
        page.honorificShown = u"御中"_s;
        page.issuer = u"〒100-0001\n東京都\n山田太郎\n03-0000-0000\n銀行\nT1234567890123"_s;
        page.number = u"2026-003"_s;
        page.dueDate = QDate(2026, 4, 30);
        page.taxRate = 10;
        page.rows = {ItemRow(u"3/1"_s, u"原稿"_s, qint64(100000), qint64(1), qint64(100000)),
                     ItemRow(u"3/2"_s, u"菓子"_s, qint64(1000), qint64(1), qint64(1000)),
                     sumsRow(s, s),
                     sumsRow(u"10%対象"_s, u"¥100,000"_s),
                     sumsRow(u"消費税(10%)"_s, u"¥10,000"_s),
                     sumsRow(u"8%対象"_s, u"¥1,000"_s),
                     sumsRow(u"消費税(8%)"_s, u"¥80"_s),
                     sumsRow(u"合計"_s, u"¥111,080"_s),
                     sumsRow(u"源泉徴収税"_s, u"-¥10,210"_s),
                     sumsRow(u"差引請求額"_s, u"¥100,870"_s)};
        LedgerEntry entry = issueEntryOf(page);
        QCOMPARE((QStringList{entry.title, entry.customer, entry.honorific, entry.number, entry.registrationNumber}),
                 (QStringList{"請求書", "株式会社サンプル商事", "御中", "2026-003", "T1234567890123"}));
        QCOMPARE(std::tuple(entry.invoiceDate, entry.dueDate, entry.amount, entry.withholding),
                 std::tuple(QDate(2026, 3, 10), QDate(2026, 4, 30), qint64(100870), qint64(10210)));
        QCOMPARE(entry.taxes, (QList<TaxLine>{{10, 100000, 10000, false}, {8, 1000, 80, false}}));

        // Without withholding the payable amount is 合計; the one-rate rows give the invoice's rate.
        page.rows = {ItemRow(u"3/1"_s, u"原稿"_s, qint64(5000), qint64(2), qint64(10000)), sumsRow(s, s),
                     sumsRow(u"小計"_s, qint64(10000)), sumsRow(u"消費税"_s, u"1000"_s),
                     sumsRow(u"合計"_s, qint64(11000))};
        entry = issueEntryOf(page);
        QCOMPARE(std::pair(entry.amount, entry.withholding), std::pair(qint64(11000), qint64(0)));
        QCOMPARE(entry.taxes, (QList<TaxLine>{{10, 10000, 1000, false}}));
        // The amount box as printed is what the page bills, even where the table totals otherwise.
        page.amountBox = u"\u0008御請求金額\n¥2,000,000"_s;
        QCOMPARE(issueEntryOf(page).amount, qint64(2000000));
        page.amountBox = u"\u0008御請求金額\n"_s; // a box that holds no amount
        QCOMPARE(issueEntryOf(page).amount, qint64(11000));

        // A table that is not totalled: the amount box's amount.
        page.rows = {ItemRow(u"3/1"_s, u"原稿"_s, qint64(5000), qint64(2), qint64(10000))};
        page.amountBox = u"御請求金額 ¥55,000-"_s;
        page.customer = u"お客様"_s;
        page.honorificShown.clear();
        entry = issueEntryOf(page);
        QCOMPARE(std::tuple(entry.amount, entry.taxes.size(), entry.customer),
                 std::tuple(qint64(55000), qsizetype(0), QString("お客様")));
        // Neither sums nor an amount in the box: the items' prices as shown, never ¥0 (which reads as paid).
        page.rows.append(ItemRow(u"3/2"_s, u"校正"_s, qint64(3000), qint64(1), qint64(3000)));
        for (const QString &box : {QString(), u"\u0008御請求金額\n"_s}) {
            page.amountBox = box;
            QCOMPARE(issueEntryOf(page).amount, qint64(13000));
        }
    }

    void csvAndTextTableShowEachCellInert()
    {
        for (const auto &[field, written] : {std::pair("plain", "plain"),
                                             {"a,b", "\"a,b\""},
                                             {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                             {"two\nlines", "\"two\nlines\""},
                                             {" padded", "\" padded\""},
                                             {"", ""}})
            QCOMPARE(csvField(QString::fromUtf8(field)), QString::fromUtf8(written));

        LedgerPage found;
        for (const QString &customer : {u"山田"_s, u"ＡＢ"_s, u"abcd"_s}) {
            IssuedInvoice row;
            row.issue = issue(customer, 1234567, QDate(2026, 3, 1), u"N-1"_s);
            row.issue.id = found.rows.size() + 1;
            row.issue.recordedAt = QDateTime::currentDateTimeUtc();
            row.date = row.issue.invoiceDate;
            found.rows.append(row);
            found.paid.append(0);
        }
        // Kanji and full-width letters take two columns of a terminal each: names of the same width line up.
        const QStringList rows = ledgerTextTable(found).split(u'\n');
        QCOMPARE(QString(rows[1]).replace(u"山田"_s, u"abcd"_s), rows[3]);
        QCOMPARE(QString(rows[2]).replace(u"ＡＢ"_s, u"abcd"_s), rows[3]);
        // What a terminal would obey is shown, not sent: escapes, NUL, line breaks, bidi overrides.
        found.rows[0].issue.customer = u"\x1b[2J"_s + QChar(7) + u"a\nb"_s + QChar(0) + u"\u202e\u2028"_s + QChar(0x9b);
        const QString table = ledgerTextTable(found);
        QVERIFY2(table.contains(u"\\x1b[2J\\x07a\\x0ab\\x00\\u202e\\u2028\\x9b"_s), qPrintable(table));
        QCOMPARE(table.count(u'\n'), 4);

        found.rows[0].issue.customer = u"山田, \"株\""_s;
        const QByteArray csv = ledgerCsv(found);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 5); // header, three rows, and the empty rest after the last CRLF
        QCOMPARE(lines[0].split(u',').size(), ledgerColumnTitles().size());
        QVERIFY(lines[1].contains(u",\"山田, \"\"株\"\"\","_s));
        QVERIFY(lines[1].contains(u",1234567,"_s)); // a plain integer, no separators or yen sign
        QVERIFY(lines[1].startsWith(u"1,2026-03-01,N-1,"_s));
        // The kind comes last, so the columns before stay where readers of the older download find them.
        QVERIFY(lines[0].endsWith(u",Source file,Kind"_s) && lines[1].endsWith(u",Invoice"_s));
        found.rows[2].issue.document = DocumentKind::Delivery;
        QCOMPARE(ledgerRowCells(found.rows[2], 0).constLast(), documentKindName(DocumentKind::Delivery));
        QCOMPARE(ledgerRowCells(found.rows[2], 0).at(9), statusText(PaymentStatus::NotOwed));

        // Cells a spreadsheet would run as formulas are made inert; amounts stay numbers, negative ones too.
        for (const char *attack : {"=HYPERLINK(\"http://x\")", "+cmd|' /C calc'!A0", "-2+3", "@SUM(A1)", "\tx", "\rx"})
            QCOMPARE(inertCell(QString::fromUtf8(attack)), u'\'' + QString::fromUtf8(attack));
        QCOMPARE(inertCell(u"株式会社="_s), u"株式会社="_s);
        found.rows[0].issue.customer = u"=1+1"_s;
        found.rows[0].issue.amount = -500;
        found.rows[0].issue.title = u"@SUM(A1)"_s;
        found.rows[0].superseded = true; // and its status says it was issued again
        const QString line = QString::fromUtf8(ledgerCsv(found).mid(3)).split(u"\r\n"_s)[1];
        QVERIFY2(line.contains(u",'=1+1,御中,-500,0,,0,\"Paid, issued again\","_s) && line.contains(u",'@SUM(A1),"_s),
                 qPrintable(line));
    }

    // ---- the store ----
    void recordsChainedEntries()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ledger.sqlite"_s);
        auto opened = LedgerStore::openSqlite(path);
        QVERIFY2(opened, qPrintable(opened.message()));
        auto store = std::move(opened).value();
        QCOMPARE(store->schemaVersion(), CurrentSchemaVersion);
        QSqlQuery mode(store->database());
        QVERIFY(mode.exec(u"PRAGMA journal_mode"_s) && mode.next());
        QCOMPARE(mode.value(0).toString(), u"wal"_s);
        mode.finish();
        // Another process's store on the same file sees each entry as it is recorded.
        auto reader = LedgerStore::openSqlite(path).value_or(nullptr);
        QCOMPARE(searched(*reader).rows.size(), 0);

        const auto first = store->record(issue(u"A"_s, 100, QDate(2026, 1, 5)));
        QVERIFY2(first, qPrintable(first.message()));
        QCOMPARE(std::pair(first->id, first->previousHash), std::pair(qint64(1), GenesisHash));
        QCOMPARE(searched(*reader).rows.size(), 1);
        QVERIFY(store->recordPayment(first->id, QDate(2026, 1, 9), 100));
        QCOMPARE(statusOfIssue(*reader, first->id), PaymentStatus::Paid);
        const auto second = store->record(issue(u"B"_s, 200, QDate(2026, 1, 6)));
        QCOMPARE(std::pair(second->id, second->previousHash),
                 std::pair(qint64(3), store->entries().value().at(1).hash));

        // Nothing recorded is changed or removed, by this program or another.
        for (const char *statement : {"UPDATE ledger_entries SET amount = 1", "DELETE FROM ledger_entries"})
            QVERIFY(test::onSqliteFile(path, {QString::fromLatin1(statement)}).contains(u"never"_s));
        store.reset();
        store = LedgerStore::openSqlite(path).value_or(nullptr);
        QVERIFY(store);
        const QList<LedgerEntry> entries = store->entries().value();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(std::tuple(entries[0].amount, entries[2].customer, entries[2].hash, entries[2].recordedAt),
                 std::tuple(qint64(100), u"B"_s, second->hash, second->recordedAt));
        QVERIFY(verifyChain(entries).isEmpty());
    }

    void verifyFindsEachTampering()
    {
        using Kind = ChainProblem::Kind;
        const QStringList unguard = sqliteDialect().dropAppendOnlyGuards;
        struct Case
        {
            const char *name;
            std::function<void(const QString &path, const QString &older)> tampering;
            QList<std::pair<Kind, qint64>> expected;
        };
        const auto statements = [unguard](const QStringList &sql) {
            return [unguard, sql](const QString &path, const QString &) {
                QCOMPARE(test::onSqliteFile(path, unguard + sql), QString());
            };
        };
        const QList<Case> cases{
            {"newest entry deleted",
             statements({u"DELETE FROM ledger_entries WHERE id = 4"_s}),
             {{Kind::AnchorLost, 4}}},
            {"older copy restored",
             [](const QString &path, const QString &older) {
                 QVERIFY(QFile::remove(path) && QFile::copy(older, path));
             },
             {{Kind::AnchorLost, 4}}},
            {"amount edited, chain and search table recomputed",
             [unguard](const QString &path, const QString &) {
                 QList<LedgerEntry> entries = LedgerStore::openSqlite(path).value_or(nullptr)->entries().value();
                 QStringList sql = unguard;
                 entries[1].amount = 1;
                 sql.append(u"UPDATE ledger_entries SET amount = 1 WHERE id = 2"_s);
                 sql.append(u"UPDATE ledger_issues SET amount = 1 WHERE id = 2"_s);
                 for (qsizetype i = 1; i < entries.size(); ++i) {
                     entries[i].previousHash = entries[i - 1].hash;
                     entries[i].hash = entryHash(entries[i]);
                     sql.append(u"UPDATE ledger_entries SET previous_hash = '%1', hash = '%2' WHERE id = %3"_s
                                    .arg(entries[i].previousHash, entries[i].hash)
                                    .arg(entries[i].id));
                 }
                 QCOMPARE(test::onSqliteFile(path, sql), QString());
             },
             {{Kind::AnchorChanged, 4}}},
            {"payment moved to another invoice",
             statements({u"UPDATE ledger_entries SET refers_to = 2, invoice_id = 2 WHERE id = 3"_s}),
             {{Kind::Changed, 3}}},
            {"issuer edited",
             statements({u"UPDATE ledger_entries SET issued_by_user = 'x' WHERE id = 2"_s}),
             {{Kind::Changed, 2}}},
            {"folded customer edited",
             statements({u"UPDATE ledger_entries SET customer_folded = 'forged' WHERE id = 1"_s}),
             {{Kind::Changed, 1}}},
            {"folded number edited, which no hash covers",
             statements({u"UPDATE ledger_entries SET number_folded = 'forged' WHERE id = 1"_s}),
             {{Kind::Changed, 1}}},
            {"a part the reading passes over added",
             statements({u"UPDATE ledger_entries SET taxes = taxes || ';x' WHERE id = 2"_s}),
             {{Kind::Changed, 2}}},
            {"ledger identity changed",
             statements({u"UPDATE ledger_meta SET value = 'x' WHERE key = 'ledger_id'"_s}),
             {{Kind::Replaced, 4}}},
            {"middle entry deleted", statements({u"DELETE FROM ledger_entries WHERE id = 3"_s}), {{Kind::Missing, 4}}},
            {"a quotation made an invoice, owed",
             statements({u"UPDATE ledger_entries SET document_kind = 'invoice' WHERE id = 2"_s,
                         u"UPDATE ledger_issues SET document_kind = 'invoice' WHERE id = 2"_s}),
             {{Kind::Changed, 2}}},
            {"an invoice made a quotation",
             statements({u"UPDATE ledger_entries SET document_kind = 'quote' WHERE id = 1"_s}),
             {{Kind::Changed, 1}}},
            {"a kind no document has, read as an invoice",
             statements({u"UPDATE ledger_entries SET document_kind = 'bill' WHERE id = 1"_s}),
             {{Kind::Changed, 1}}},
            {"archived PDF replaced",
             [](const QString &path, const QString &) {
                 test::writeFile(QFileInfo(path).dir().filePath(u"archive/a.pdf"_s), "%PDF-forged");
             },
             {{Kind::PdfChanged, 1}}},
            {"archived PDF removed",
             [](const QString &path, const QString &) {
                 QVERIFY(QFile::remove(QFileInfo(path).dir().filePath(u"archive/a.pdf"_s)));
             },
             {{Kind::PdfMissing, 1}}},
        };
        for (const Case &c : cases) {
            QTemporaryDir dir;
            const QString path = dir.filePath(u"ledger.sqlite"_s);
            const QString anchor = dir.filePath(u"anchor.json"_s);
            const auto open = [&] {
                auto store = LedgerStore::openSqlite(path).value_or(nullptr);
                store->setAnchor(anchor, u"local"_s);
                return store;
            };
            const QString archive = dir.filePath(u"archive"_s);
            {
                auto store = open();
                LedgerEntry archived = issue(u"A"_s, 1000, QDate(2026, 1, 5), u"1"_s);
                archived.archiveName = u"a.pdf"_s;
                archived.pdfSha256 = test::sha256Hex("%PDF-a");
                QVERIFY(QDir().mkpath(archive));
                test::writeFile(archive + u"/a.pdf"_s, "%PDF-a");
                const auto a = store->record(archived);
                LedgerEntry quote = issue(u"B"_s, 2000, QDate(2026, 1, 6), u"2"_s);
                quote.document = DocumentKind::Quote;
                QVERIFY(store->record(quote));
                QVERIFY(store->recordPayment(a->id, QDate(2026, 2, 1), 500));
            }
            const QString older = dir.filePath(u"older.sqlite"_s);
            QVERIFY(QFile::copy(path, older) && open()->record(issue(u"C"_s, 3000, QDate(2026, 1, 7), u"3"_s)));
            c.tampering(path, older);

            auto store = open();
            QList<std::pair<Kind, qint64>> found;
            for (const ChainProblem &problem : store->check(archive, QString()).value().problems)
                found.append({problem.kind, problem.entryId});
            QVERIFY2(found == c.expected, c.name);
            // Nothing forged is taken into what searches read, nor into the anchor: recording on
            // afterwards hides nothing.
            LedgerFilter forged;
            forged.customer = u"forged"_s;
            QVERIFY2(searched(*store, forged).rows.isEmpty(), c.name);
            QVERIFY(store->record(issue(u"D"_s, 4000, QDate(2026, 1, 8), u"4"_s)));
            QVERIFY2(!store->check(archive, QString()).value().problems.isEmpty(), c.name);
        }
    }

    void reissueRefersToTheEarlierIssue()
    {
        QTemporaryDir dir;
        auto store = LedgerStore::openSqlite(dir.filePath(u"ledger.sqlite"_s)).value_or(nullptr);
        const auto first = store->record(issue(u"A"_s, 100, QDate(2026, 1, 5), u"7"_s));
        const auto other = store->record(issue(u"B"_s, 100, QDate(2026, 1, 5), u"7"_s));
        // Changed under the same number, and said to be the correction: a reissue. Sent again
        // unchanged: a copy of the issue it repeats.
        LedgerEntry changed = issue(u"A"_s, 100, QDate(2026, 1, 5), u"7"_s);
        changed.dueDate = QDate(2026, 2, 28);
        changed.reissue = true;
        const auto again = store->record(changed);
        QCOMPARE(std::pair(first->refersTo, other->refersTo), std::pair(qint64(0), qint64(0))); // B's 7 is another
        QCOMPARE(std::pair(again->refersTo, again->invoiceId), std::pair(first->id, first->id));
        changed.dueDate = QDate(2026, 3, 31);
        const auto third = store->record(changed);
        QCOMPARE(std::pair(third->refersTo, third->invoiceId), std::pair(again->id, first->id));
        const auto copy = store->record(changed);
        QCOMPARE(std::tuple(copy->kind, copy->refersTo, copy->invoiceId),
                 std::tuple(EntryKind::Copy, third->id, first->id));

        // Without a number: the same source file, date and customer.
        LedgerEntry unnumbered = issue(u"A"_s, 100, QDate(2026, 1, 9));
        unnumbered.sourcePath = u"/x/a.seikyu"_s;
        const auto u1 = store->record(unnumbered);
        const auto u2 = store->record(unnumbered);
        QCOMPARE(std::pair(u2->kind, u2->refersTo), std::pair(EntryKind::Copy, u1->id));
        unnumbered.sourcePath.clear();
        QCOMPARE(store->record(unnumbered)->refersTo, 0); // an unsaved invoice is never assumed the same

        // A payment to the first issue counts for the invoice, shown on each of its issues; a mistaken
        // one, voided, counts for nothing.
        QVERIFY(store->recordPayment(first->id, QDate(2026, 2, 1), 60));
        const auto mistaken = store->recordPayment(third->id, QDate(2026, 2, 2), 25);
        QVERIFY(mistaken && store->recordVoid(mistaken->id, u"wrong customer"_s));
        QCOMPARE(issueRow(*store, third->id).second, 60);
        QVERIFY(issueRow(*store, first->id).first.superseded && !issueRow(*store, third->id).first.superseded);
        // Totals count the invoice once.
        const LedgerTotals totals = searched(*store).totals;
        // Copies are no issues of their own; A-7 is counted once, beside B-7, the unnumbered and the unsaved one.
        QCOMPARE(std::tuple(totals.count, totals.amount, totals.outstanding),
                 std::tuple(6, qint64(100 + 100 + 100 + 100), qint64(40 + 100 + 100 + 100)));

        // Sent again unchanged after its void: owed again, so an issue of its own.
        QVERIFY(store->recordVoid(u1->id, u"宛先の誤り"_s));
        QCOMPARE(statusOfIssue(*store, u1->id), PaymentStatus::Voided);
        QCOMPARE(issueRow(*store, u1->id).first.voidReason, u"宛先の誤り"_s);
        // What cannot be: paying a voided issue, voiding twice, paying a payment, referring to nothing.
        QVERIFY(!store->recordPayment(u1->id, QDate(2026, 2, 1), 1) && !store->recordVoid(u1->id, u"again"_s));
        QVERIFY(!store->recordPayment(mistaken->id, QDate(2026, 2, 1), 1) && (!store->recordVoid(999, u"?"_s)));
        QVERIFY(verifyChain(store->entries().value()).isEmpty()); // nothing refused was half-written
        unnumbered.sourcePath = u"/x/a.seikyu"_s;
        const auto u3 = store->record(unnumbered);
        QCOMPARE(std::pair(u3->kind, u3->refersTo), std::pair(EntryKind::Issue, u1->id));
        // A numbered one sent again unchanged after its void still finds its number held: a clash
        // unless said to be a reissue; without that, another customer's number clashes, never hides it.
        QVERIFY(store->recordVoid(copy->refersTo, u"金額の誤り"_s));
        changed.reissue = false;
        QCOMPARE(store->numberUseOf(changed)->kind, NumberUse::Kind::Clash);
        LedgerEntry forB = issue(u"B"_s, 999, QDate(2026, 1, 5), u"7"_s);
        QCOMPARE(store->numberUseOf(forB)->kind, NumberUse::Kind::Clash);
        QCOMPARE(store->numberUseOf(forB)->earlier->id, third->id); // the newest invoice holding it
        forB.reissue = true;
        QCOMPARE(store->numberUseOf(forB)->earlier->id, other->id); // the customer's own
    }

    void documentsBesideInvoicesAreRecordedNotOwed()
    {
        QTemporaryDir dir;
        auto store = LedgerStore::openSqlite(dir.filePath(u"ledger.sqlite"_s)).value_or(nullptr);
        QVERIFY(store);
        const auto of = [](DocumentKind kind, qint64 amount, const QString &number) {
            LedgerEntry entry = issue(u"A"_s, amount, QDate(2026, 1, 5), number);
            entry.document = kind;
            entry.sourcePath = u"/x/a.seikyu"_s;
            return entry;
        };
        // A quotation and the invoice made from it share a number and a file: neither clashes nor reissues.
        const auto quote = store->record(of(DocumentKind::Quote, 5000, u"7"_s));
        const auto invoice = store->record(of(DocumentKind::Invoice, 5000, u"7"_s));
        const auto slip = store->record(of(DocumentKind::Delivery, 5000, QString()));
        const auto unnumbered = store->record(of(DocumentKind::Invoice, 5000, QString()));
        QVERIFY(quote && invoice && slip && unnumbered);
        QCOMPARE(std::pair(invoice->refersTo, unnumbered->refersTo), std::pair(qint64(0), qint64(0)));
        QCOMPARE(std::pair(invoice->kind, unnumbered->kind), std::pair(EntryKind::Issue, EntryKind::Issue));
        QCOMPARE(store->numberUseOf(of(DocumentKind::Receipt, 1, u"7"_s))->kind, NumberUse::Kind::New);
        LedgerEntry across = of(DocumentKind::Invoice, 5000, u"8"_s);
        across.refersTo = quote->id; // a reissue never turns a quotation into an invoice
        QCOMPARE(store->record(across).fault().kind, FaultKind::Refused);
        // Owed is the invoices alone; a payment against a quotation is refused, saying why.
        const Result<LedgerEntry> refused = store->recordPayment(quote->id, QDate(2026, 2, 1), 5000);
        QCOMPARE(refused.fault().kind, FaultKind::Refused);
        QVERIFY2(refused.message().contains(u"not an invoice"_s), qPrintable(refused.message()));
        QCOMPARE(statusOfIssue(*store, quote->id), PaymentStatus::NotOwed);
        QCOMPARE(issueStatusText(issueRow(*store, slip->id).first, 0, QDate(2027, 1, 1)),
                 statusText(PaymentStatus::NotOwed));
        const LedgerTotals totals = searched(*store).totals;
        QCOMPARE(std::tuple(totals.count, totals.amount, totals.outstanding),
                 std::tuple(4, qint64(10000), qint64(10000)));

        // A receipt names the payment it acknowledges, and only a payment that stands.
        const auto paid = store->recordPayment(invoice->id, QDate(2026, 2, 1), 3000);
        const auto wrong = store->recordPayment(invoice->id, QDate(2026, 2, 2), 10);
        QVERIFY(paid && wrong && store->recordVoid(wrong->id, u"誤入金"_s));
        LedgerEntry receipt = of(DocumentKind::Receipt, 3000, u"7"_s);
        const QList<std::pair<qint64, DocumentKind>> refusals{
            {wrong->id, DocumentKind::Receipt},   // voided
            {invoice->id, DocumentKind::Receipt}, // no payment
            {999, DocumentKind::Receipt},         // nothing
            {paid->id, DocumentKind::Invoice},    // no receipt
        };
        for (const auto &[acknowledged, kind] : refusals) {
            receipt.acknowledges = acknowledged;
            receipt.document = kind;
            QCOMPARE(store->record(receipt).fault().kind, FaultKind::Refused);
        }
        receipt.acknowledges = paid->id;
        receipt.document = DocumentKind::Receipt;
        const auto acknowledging = store->record(receipt);
        QVERIFY(acknowledging);
        QCOMPARE(acknowledging->acknowledges, paid->id);
        const QList<PaymentReceipts> payments = store->paymentsOf(invoice->id).value();
        QCOMPARE(payments.size(), 2);
        QCOMPARE(std::tuple(payments.at(0).payment.id, payments.at(0).voided, payments.at(0).receiptId),
                 std::tuple(paid->id, false, acknowledging->id));
        QCOMPARE(std::pair(payments.at(1).voided, payments.at(1).receiptId), std::pair(true, qint64(0)));
        QVERIFY(store->verify(QString()).value().isEmpty());
    }

    void damagedAndUnwritableFiles()
    {
        QTemporaryDir dir;
        const QString damaged = test::writeFile(dir.filePath(u"damaged.sqlite"_s), QByteArray(8192, 'x'));
        const auto notALedger = LedgerStore::openSqlite(damaged);
        QVERIFY(!notALedger);
        QCOMPARE(notALedger.fault().kind, FaultKind::BadInput);
        QCOMPARE(QFileInfo(damaged).size(), 8192); // never overwritten

        // A folder that cannot be made, because a file stands where it would be.
        test::writeFile(dir.filePath(u"blocker"_s), QByteArray());
        const auto blocked = LedgerStore::openSqlite(dir.filePath(u"blocker/ledger.sqlite"_s));
        QVERIFY(!blocked);
        QCOMPARE(blocked.fault().kind, FaultKind::Unwritable);

        // A full disk: the database may not grow past the pages it has.
        const QString path = dir.filePath(u"full.sqlite"_s);
        auto store = LedgerStore::openSqlite(path).value_or(nullptr);
        QVERIFY(store->record(issue(u"A"_s, 1, QDate(2026, 1, 1))));
        QSqlQuery limit(store->database());
        QVERIFY(limit.exec(u"PRAGMA max_page_count"_s) && limit.next());
        const qint64 pages = limit.value(0).toLongLong();
        QVERIFY(limit.exec(u"PRAGMA page_count"_s) && limit.next());
        QVERIFY(limit.exec(u"PRAGMA max_page_count = %1"_s.arg(limit.value(0).toLongLong())));
        limit.finish();
        LedgerEntry big = issue(QString(20000, QChar(u'x')), 2, QDate(2026, 1, 2));
        const auto full = store->record(big);
        QVERIFY(!full);
        QCOMPARE(full.fault().kind, FaultKind::Unwritable);
        QVERIFY(limit.exec(u"PRAGMA max_page_count = %1"_s.arg(pages)));
        limit.finish();
        // Nothing half-written: the ledger goes on where it was.
        const auto next = store->record(issue(u"B"_s, 3, QDate(2026, 1, 3)));
        QVERIFY2(next, qPrintable(next.message()));
        QCOMPARE(next->id, 2);
        QVERIFY(verifyChain(store->entries().value()).isEmpty());

        // Recovering a rewritten ledger: the entry after the one rewritten (its hash made to fit) no
        // longer follows it, so the chain vouches for it no more.
        const QString rewritten = dir.filePath(u"rewritten.sqlite"_s);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(LedgerStore::openSqlite(rewritten).value_or(nullptr)->record(issue(u"C"_s, i, QDate(2026, 1, i))));
        LedgerEntry second = LedgerStore::openSqlite(rewritten).value_or(nullptr)->entries().value().at(1);
        second.amount = 7;
        QCOMPARE(test::onSqliteFile(
                     rewritten, sqliteDialect().dropAppendOnlyGuards +
                                    QStringList{u"UPDATE ledger_entries SET amount = 7, hash = '%1' WHERE id = 2"_s.arg(
                                        entryHash(second))}),
                 QString());
        const auto into = LedgerStore::openSqlite(dir.filePath(u"into.sqlite"_s)).value_or(nullptr);
        const LedgerRecovery recovered = recoverEntries(rewritten, *into);
        QCOMPARE(std::pair(recovered.taken, recovered.notTaken.size()), std::pair(2, qsizetype(1)));

        // A log whose last transaction a kill cut short: its damaged frame is followed by no commit,
        // so nothing committed is lost and nothing is reported.
        const QString logged = dir.filePath(u"logged.sqlite"_s);
        QByteArray log;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"cut-log"_s);
            db.setDatabaseName(logged);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const char *sql :
                 {"PRAGMA page_size = 512", "PRAGMA journal_mode = WAL", "PRAGMA wal_autocheckpoint = 0", "BEGIN",
                  "CREATE TABLE t (b BLOB)", "INSERT INTO t VALUES (zeroblob(4000))", "COMMIT"})
                QVERIFY(query.exec(QString::fromLatin1(sql)));
            log = test::readAll(logged + u"-wal"_s);
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(u"cut-log"_s);
        constexpr qsizetype Frame = 24 + 512;
        QVERIFY(log.size() > 32 + 3 * Frame);
        log.chop(Frame);                                      // the commit frame never written
        log[32 + 24 + 100] = char(log[32 + 24 + 100] ^ 0x55); // the first frame damaged
        QFile cut(dir.filePath(u"cut.sqlite-wal"_s));
        QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(log) == log.size());
        cut.close();
        QCOMPARE(walDamage(cut.fileName()), std::nullopt);
    }

    void damagedLedgerIsReportedAndRecovered_data()
    {
        // How the file is damaged, given its path; and whether every entry comes back.
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<bool>("allBack");
        auto overwrite = [](const QString &path, qint64 at, const QByteArray &bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(at));
            file.write(bytes);
        };
        auto noise = [](qsizetype size) {
            QByteArray bytes(size, Qt::Uninitialized);
            for (char &byte : bytes)
                byte = char(QRandomGenerator::global()->bounded(256));
            return bytes;
        };
        QTest::newRow("truncated") << Damage([](const QString &path) { // from the last page of entries on
            const qint64 last =
                test::sqliteValue(path, u"SELECT max(pageno) FROM dbstat WHERE name = 'ledger_entries'"_s);
            QVERIFY(QFile::resize(path, (last - 1) * test::sqliteValue(path, u"PRAGMA page_size"_s)));
        }) << false;
        QTest::newRow("random bytes") << Damage([=](const QString &path) {
            overwrite(path, 0, noise(QFileInfo(path).size()));
        }) << false;
        QTest::newRow("schema row removed") << Damage([](const QString &path) {
            QCOMPARE(test::onSqliteFile(path, {u"PRAGMA writable_schema = ON"_s,
                                               u"DELETE FROM sqlite_master WHERE name = 'ledger_entries'"_s}),
                     QString());
        }) << true;
        QTest::newRow("index page") << Damage([=](const QString &path) {
            test::overwriteIndexPage(path, noise(65536));
        }) << true;
        QTest::newRow("log after a kill") << Damage([=](const QString &path) {
            const QString wal = path + u"-wal"_s;
            overwrite(wal, QFileInfo(wal).size() / 2, noise(64));
        }) << false;
    }

    void damagedLedgerIsReportedAndRecovered()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, allBack);
        QTemporaryDir dir;
        const QString dataHome = dir.filePath(u"data"_s);
        const QDir folder(dir.filePath(u"data/Seikyu/Seikyu"_s));
        const QString path = folder.filePath(u"ledger.sqlite"_s);
        // Entries written by a process killed while its log was not yet in the file.
        constexpr int Written = 30;
        QProcess writer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"SEIKYU_LEDGER_WRITER"_s, u"%1|%2|W|hold"_s.arg(path).arg(Written));
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(writer.waitForReadyRead(60000));
        QCOMPARE(writer.readLine().trimmed(), QByteArray("recorded"));
        writer.kill();
        QVERIFY(writer.waitForFinished() && QFileInfo(path + u"-wal"_s).size() > 0);
        const QList<LedgerEntry> written =
            LedgerStore::openSqlite(path, LedgerAccess::ReadOnly).value_or(nullptr)->entries().value();
        QCOMPARE(written.size(), Written);
        QVERIFY(folder.mkpath(u"archive"_s));
        QFile stray(folder.filePath(u"archive/stray.pdf"_s));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.close();
        if (QTest::currentDataTag() != u"log after a kill"_s) // the others damage the file alone
            LedgerStore::openSqlite(path).value_or(nullptr).reset();
        damage(path);
        if (QTest::currentTestFailed())
            return;
        const QByteArray file = test::readAll(path);
        const QByteArray log = test::readAll(path + u"-wal"_s);

        // Reported with the file's name, exit 1; never moved, replaced or written.
        const auto [verified, said] = runSeikyu(dataHome, {u"--ledger"_s, u"--verify"_s});
        QCOMPARE(verified, 1);
        QVERIFY2(said.contains(path), qPrintable(said));
        runSeikyu(dataHome, {u"--ledger"_s});
        QCOMPARE(test::readAll(path), file);
        QCOMPARE(test::readAll(path + u"-wal"_s), log);
        QCOMPARE(setAsideLedgers(path), QStringList());
        // Recording neither succeeds into it nor replaces it.
        if (auto store = LedgerStore::openSqlite(path).value_or(nullptr)) {
            const auto recorded = store->record(issue(u"X"_s, 1, QDate(2026, 2, 1)));
            QVERIFY(!recorded);
            QCOMPARE(recorded.fault().kind, FaultKind::BadInput);
        }
        QCOMPARE(test::readAll(path), file);

        // Recover sets it aside, starts a new ledger and takes what the chain vouches for, as it was.
        const auto [recovered, told] = runSeikyu(dataHome, {u"--ledger"_s, u"--recover"_s, path});
        QCOMPARE(recovered, allBack ? 0 : 1);
        const QStringList aside = setAsideLedgers(path);
        QCOMPARE(aside.size(), 1);
        QVERIFY2(told.contains(aside.first()), qPrintable(told));
        QCOMPARE(test::readAll(folder.filePath(aside.first())), file);
        const QList<LedgerEntry> back = LedgerStore::openSqlite(path).value_or(nullptr)->entries().value();
        QVERIFY(verifyChain(back).isEmpty());
        if (allBack)
            QCOMPARE(back.size(), Written);
        else if (QTest::currentDataTag() != u"random bytes"_s)
            QVERIFY2(back.size() > 0 && back.size() < Written, qPrintable(told));
        for (const LedgerEntry &entry : back) {
            const LedgerEntry &was = written.at(entry.id - 1); // gaps only ever come at the end here
            QCOMPARE(std::tuple(entry.customer, entry.number, entry.amount, entry.recordedAt, entry.issuedByHost),
                     std::tuple(was.customer, was.number, was.amount, was.recordedAt, was.issuedByHost));
        }
        // Again from the file set aside: nothing twice. Verify still names the ledger set aside.
        {
            const auto store = LedgerStore::openSqlite(path).value_or(nullptr);
            const LedgerRecovery again = recoverEntries(folder.filePath(aside.first()), *store);
            QCOMPARE(std::pair(again.taken, again.alreadyThere), std::pair(0, int(back.size())));
            QCOMPARE(store->entries().value().size(), back.size());
        }
        const auto [after, report] = runSeikyu(dataHome, {u"--ledger"_s, u"--verify"_s});
        QCOMPARE(after, 1);
        QVERIFY2(report.contains(aside.first()) && report.contains(u"stray.pdf"_s), qPrintable(report));
    }

    void twoProcessesRecordAtOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ledger.sqlite"_s);
        QVERIFY(LedgerStore::openSqlite(path).value_or(nullptr)); // created before, so neither process creates it
        constexpr int PerProcess = 1000;
        QList<QProcess *> writers;
        for (const QString &tag : {u"P"_s, u"Q"_s}) {
            auto *process = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"SEIKYU_LEDGER_WRITER"_s, u"%1|%2|%3"_s.arg(path).arg(PerProcess).arg(tag));
            process->setProcessEnvironment(env);
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(QCoreApplication::applicationFilePath(), {});
            writers.append(process);
        }
        for (QProcess *process : writers) {
            QVERIFY(process->waitForFinished(240000));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
        }
        auto store = LedgerStore::openSqlite(path).value_or(nullptr);
        const QList<LedgerEntry> entries = store->entries().value();
        QCOMPARE(entries.size(), 2 * PerProcess);
        QVERIFY(verifyChain(entries).isEmpty());
        int fromP = 0;
        for (const LedgerEntry &e : entries)
            fromP += e.customer == u"P"_s ? 1 : 0;
        QCOMPARE(fromP, PerProcess);
    }
};

int main(int argc, char *argv[])
{
    // Started by twoProcessesRecordAtOnce as one of the writers.
    const QString writer = qEnvironmentVariable("SEIKYU_LEDGER_WRITER");
    if (!writer.isEmpty()) {
        QCoreApplication app(argc, argv);
        const QStringList parts = writer.split(u'|');
        return recordEntries(parts.value(0), parts.value(1).toInt(), parts.value(2), parts.value(3) == u"hold");
    }
    QCoreApplication app(argc, argv);
    LedgerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ledger.moc"
