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
        const auto recorded = store->record(issue(tag, i, QDate(2026, 1, 1), QStringLiteral("%1-%2").arg(tag).arg(i)));
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
    const test::SeikyuRun run = test::runSeikyu(arguments, {{QStringLiteral("XDG_DATA_HOME"), dataHome}});
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
    return statusOf(row.issue.amount, paid, row.voided);
}

QList<LedgerEntry> chainOf(int count, int hashForm = CurrentHashForm)
{
    QList<LedgerEntry> issues;
    for (int i = 1; i <= count; ++i)
        issues.append(issue(QStringLiteral("C%1").arg(i), 1000 * i, QDate(2026, 1, i)));
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
        LedgerEntry entry =
            issue(QStringLiteral("株式会社サンプル商事"), 110000, QDate(2026, 3, 10), QStringLiteral("A-1"));
        entry.id = 1;
        entry.previousHash = GenesisHash;
        entry.recordedAt = QDateTime(QDate(2026, 3, 10), QTime(9, 0), Qt::UTC);
        const QString base = entryHash(entry);
        QCOMPARE(base.size(), 64);
        QCOMPARE(entryHash(entry), base); // the same fields, the same hash

        QList<std::function<void(LedgerEntry &)>> edits{
            [](LedgerEntry &e) { e.amount += 1; },
            [](LedgerEntry &e) { e.customer += QLatin1Char(' '); },
            [](LedgerEntry &e) { e.invoiceDate = e.invoiceDate.addDays(1); },
            [](LedgerEntry &e) { e.pdfSha256 = QStringLiteral("ab"); },
            [](LedgerEntry &e) {
                e.taxes = {TaxLine{10, 100000, 10000, false}};
            },
            [](LedgerEntry &e) { e.kind = EntryKind::Void; },
            [](LedgerEntry &e) { e.previousHash = QString(64, QLatin1Char('1')); },
            [](LedgerEntry &e) { e.id = 2; },
            [](LedgerEntry &e) { e.dueDate = QDate(2026, 4, 30); },
            [](LedgerEntry &e) { e.note = QStringLiteral("x"); },
        };
        for (const auto &edit : edits) {
            LedgerEntry changed = entry;
            edit(changed);
            QVERIFY(entryHash(changed) != base);
        }
        // Every stored column counts, the derived ones and who recorded it too; the older hash form
        // left those to the seal.
        const QList<std::function<void(LedgerEntry &)>> restOfRow{
            [](LedgerEntry &e) { e.customerFolded = QStringLiteral("x"); },
            [](LedgerEntry &e) { e.invoiceId = 7; },
            [](LedgerEntry &e) { e.issuedByUser = QStringLiteral("x"); },
            [](LedgerEntry &e) { e.issuedByHost = QStringLiteral("x"); },
            [](LedgerEntry &e) { e.origin = QStringLiteral("x"); },
            [](LedgerEntry &e) { e.hashForm = 1; },
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

        // One field's end cannot pass for the next one's start.
        LedgerEntry a = entry, b = entry;
        a.title = QStringLiteral("ab");
        a.number = QStringLiteral("c");
        b.title = QStringLiteral("a");
        b.number = QStringLiteral("bc");
        QVERIFY(entryHash(a) != entryHash(b));
    }

    void chainFindsEditedRemovedAndRewritten()
    {
        const QList<LedgerEntry> chain = chainOf(5);
        QVERIFY(verifyChain(chain).isEmpty());
        QVERIFY(verifyChain({}).isEmpty());

        QList<LedgerEntry> edited = chain;
        edited[2].amount = 1;
        QCOMPARE(verifyChain(edited), (QList<ChainProblem>{{ChainProblem::Kind::Changed, 3, {}}}));

        QList<LedgerEntry> removed = chain;
        removed.removeAt(1);
        QCOMPARE(verifyChain(removed), (QList<ChainProblem>{{ChainProblem::Kind::Missing, 3, {}}}));

        QList<LedgerEntry> firstRemoved = chain.mid(1);
        QCOMPARE(verifyChain(firstRemoved), (QList<ChainProblem>{{ChainProblem::Kind::Missing, 2, {}}}));

        // Edited with the hash recomputed: the next entry no longer follows it.
        QList<LedgerEntry> rewritten = chain;
        rewritten[1].amount = 1;
        rewritten[1].hash = entryHash(rewritten[1]);
        QCOMPARE(verifyChain(rewritten), (QList<ChainProblem>{{ChainProblem::Kind::Missing, 3, {}}}));

        // Entries of the older hash form are whole only with the seal that follows them.
        QList<LedgerEntry> sealed = chainOf(3, 1);
        LedgerEntry seal;
        seal.kind = EntryKind::Seal;
        seal.id = 4;
        seal.previousHash = sealed.constLast().hash;
        seal.pdfSha256 = sealDigest(sealed);
        seal.hash = entryHash(seal);
        sealed.append(seal);
        QVERIFY(verifyChain(sealed).isEmpty());
        QCOMPARE(verifyChain(sealed.mid(0, 3)), (QList<ChainProblem>{{ChainProblem::Kind::Changed, 1, {}}}));
        QVERIFY(verifyChain(sealed.mid(0, 3), false).isEmpty()); // a ledger not brought to the new form yet
        QList<LedgerEntry> unsealedEdit = sealed;
        unsealedEdit[1].issuedByUser = QStringLiteral("someone else");
        QCOMPARE(verifyChain(unsealedEdit), (QList<ChainProblem>{{ChainProblem::Kind::SealBroken, 4, {}}}));
        // An entry of the older form after the seal would escape it.
        QList<LedgerEntry> afterSeal = sealed;
        LedgerEntry late = chainOf(1, 1).constFirst();
        late.id = 5;
        late.previousHash = seal.hash;
        late.hash = entryHash(late);
        afterSeal.append(late);
        QCOMPARE(verifyChain(afterSeal), (QList<ChainProblem>{{ChainProblem::Kind::Changed, 5, {}}}));
        // Nor does a later seal take it in: the older form never follows the newer one.
        LedgerEntry reseal = seal;
        reseal.id = 6;
        reseal.previousHash = late.hash;
        reseal.pdfSha256 = sealDigest(afterSeal);
        reseal.hash = entryHash(reseal);
        afterSeal.append(reseal);
        QCOMPARE(verifyChain(afterSeal), (QList<ChainProblem>{{ChainProblem::Kind::Changed, 5, {}}}));
    }

    void anchorsComparedWithTheLedger()
    {
        const QList<LedgerEntry> chain = chainOf(3);
        const QString other(64, QLatin1Char('e'));
        const QString id = QStringLiteral("L1"), place = QStringLiteral("local");
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
            {{QStringLiteral("L2"), place, 9, other}, {{Kind::Replaced, 9, other}}},
            {{QStringLiteral("L2"), QStringLiteral("postgresql://pc:5432/l"), 9, other}, {}},
        };
        for (const Case &c : cases)
            QCOMPARE(compareWithAnchors({c.anchor}, id, place, chain), c.expected);
        QCOMPARE(fingerprintText(12, chain[0].hash),
                 QStringLiteral("#12 %1 %2 %3")
                     .arg(chain[0].hash.mid(0, 8), chain[0].hash.mid(8, 8), chain[0].hash.mid(16, 8)));
        QCOMPARE(fingerprintText(0, QString()), QString());

        // Moved on only to a later head that follows the anchored entry; a file that does not read is kept.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("anchor.json"));
        const auto holds = [&chain](qint64 n, const QString &hash) { return chain.value(n - 1).hash == hash; };
        QVERIFY(advanceAnchor(path, {id, place, 2, chain[1].hash}, holds));
        QVERIFY(advanceAnchor(path, {id, place, 1, chain[0].hash}, holds));
        QCOMPARE(readAnchors(path), (QList<LedgerAnchor>{{id, place, 2, chain[1].hash}}));
        QVERIFY(advanceAnchor(path, {id, place, 3, chain[2].hash}, [](qint64, const QString &) { return false; }));
        QCOMPARE(readAnchors(path).constFirst().id, 2);
        QVERIFY(advanceAnchor(path, {id, place, 3, chain[2].hash}, holds));
        QVERIFY(advanceAnchor(path, {QStringLiteral("L2"), place, 1, other}, holds));
        QCOMPARE(readAnchors(path),
                 (QList<LedgerAnchor>{{id, place, 3, chain[2].hash}, {QStringLiteral("L2"), place, 1, other}}));
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
        const QByteArray damaged = R"({"anchors": [{"ledger": 5}]})";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
        file.close();
        bool unreadable = false;
        QVERIFY(readAnchors(path, &unreadable).isEmpty() && unreadable);
        QVERIFY(!advanceAnchor(path, {id, place, 4, other}, holds));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
    }

    void archiveCheckLeavesOtherComputersPdfsToThem()
    {
        QList<LedgerEntry> chain = chainOf(6);
        const QStringList hosts = {
            QStringLiteral("pc-a"), QStringLiteral("pc-b"), QStringLiteral("PC-A"), QStringLiteral("pc-b"), QString(),
            QStringLiteral("pc-b")};
        const QStringList names = {QStringLiteral("1.pdf"), QStringLiteral("2.pdf"), QStringLiteral("3.pdf"),
                                   QStringLiteral("1.pdf"), QStringLiteral("5.pdf"), QStringLiteral("6.pdf")};
        for (int i = 0; i < chain.size(); ++i) {
            chain[i].issuedByHost = hosts.at(i);
            chain[i].archiveName = names.at(i);
            chain[i].pdfSha256 = QString::number(i + 1);
        }
        // pc-a holds its own copy 1 (1.pdf its own, not pc-b's of the same name), misses 3 (its own,
        // the name written in capitals) and 5 (which names no computer), and finds 6.pdf of pc-b here
        // with bytes nobody recorded.
        const QHash<QString, QString> onPcA = {{QStringLiteral("1.pdf"), QStringLiteral("1")},
                                               {QStringLiteral("6.pdf"), QStringLiteral("forged")}};
        const LedgerCheck here = checkArchive(chain, onPcA, QStringLiteral("pc-a"));
        QCOMPARE(here.problems, (QList<ChainProblem>{{ChainProblem::Kind::PdfMissing, 3, QStringLiteral("3.pdf")},
                                                     {ChainProblem::Kind::PdfMissing, 5, QStringLiteral("5.pdf")},
                                                     {ChainProblem::Kind::PdfChanged, 6, QStringLiteral("6.pdf")}}));
        QCOMPARE(std::pair(here.pdfsCheckedHere, here.pdfsKeptElsewhere), std::pair(4, 2));
        const QString reach = archiveReachText(here);
        QVERIFY(reach.contains(QLatin1Char('4')) && reach.contains(QLatin1Char('2')));

        // pc-b's own copy of 1.pdf altered is reported on pc-b, once: the file is pc-b's, not pc-a's.
        const QHash<QString, QString> onPcB = {{QStringLiteral("1.pdf"), QStringLiteral("9")},
                                               {QStringLiteral("2.pdf"), QStringLiteral("2")},
                                               {QStringLiteral("5.pdf"), QStringLiteral("5")},
                                               {QStringLiteral("6.pdf"), QStringLiteral("6")}};
        const LedgerCheck there = checkArchive(chain, onPcB, QStringLiteral("pc-b"));
        QCOMPARE(there.problems, (QList<ChainProblem>{{ChainProblem::Kind::PdfChanged, 4, QStringLiteral("1.pdf")}}));
        QCOMPARE(std::pair(there.pdfsCheckedHere, there.pdfsKeptElsewhere), std::pair(4, 2));

        // Without a computer's name, as for a ledger of one's own, every PDF belongs here.
        const LedgerCheck alone = checkArchive(chain, onPcA, QString());
        QCOMPARE(alone.pdfsKeptElsewhere, 0);
        QCOMPARE(alone.problems, (QList<ChainProblem>{{ChainProblem::Kind::PdfMissing, 2, QStringLiteral("2.pdf")},
                                                      {ChainProblem::Kind::PdfMissing, 3, QStringLiteral("3.pdf")},
                                                      {ChainProblem::Kind::PdfChanged, 4, QStringLiteral("1.pdf")},
                                                      {ChainProblem::Kind::PdfMissing, 5, QStringLiteral("5.pdf")},
                                                      {ChainProblem::Kind::PdfChanged, 6, QStringLiteral("6.pdf")}}));
        QVERIFY(archiveReachText(alone).isEmpty());
        QCOMPARE(alone.problems, verifyArchive(chain, onPcA));
    }

    void widthFolding_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("found");
        QTest::newRow("full-width latin") << QStringLiteral("ＡＢＣ") << QStringLiteral("ABC商店") << true;
        QTest::newRow("half-width latin finds full") << QStringLiteral("abc") << QStringLiteral("ＡＢＣ商店") << true;
        QTest::newRow("capitals typed") << QStringLiteral("ABC") << QStringLiteral("ａｂｃ商店") << true;
        QTest::newRow("half-width kana") << QStringLiteral("ｶﾌﾞｼｷ") << QStringLiteral("カブシキガイシャ") << true;
        QTest::newRow("full kana finds half") << QStringLiteral("カブシキ") << QStringLiteral("ｶﾌﾞｼｷｶﾞｲｼｬ") << true;
        QTest::newRow("digits") << QStringLiteral("１２３") << QStringLiteral("第123号") << true;
        QTest::newRow("kanji part") << QStringLiteral("サンプル") << QStringLiteral("株式会社サンプル商事") << true;
        QTest::newRow("hiragana is not katakana") << QStringLiteral("かぶしき") << QStringLiteral("カブシキ") << false;
        QTest::newRow("voiced differs") << QStringLiteral("ｶﾌｼｷ") << QStringLiteral("カブシキ") << false;
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
        auto store = LedgerStore::openSqlite(dir.filePath(QStringLiteral("ledger.sqlite"))).value_or(nullptr);
        const auto sent = store->record(issue(QStringLiteral("A"), amount, QDate(2026, 3, 1)));
        QVERIFY(sent);
        if (paid > 0)
            QVERIFY(store->recordPayment(sent->id, QDate(2026, 3, 9), paid));
        if (voided)
            QVERIFY(store->recordVoid(sent->id, QStringLiteral("twice")));
        QCOMPARE(int(statusOfIssue(*store, sent->id)), status);
        QTEST(searched(*store).totals.outstanding, "outstanding");
    }

    void archiveNames()
    {
        QCOMPARE(
            archiveFileName(QDate(2026, 3, 5), QStringLiteral("株式会社サンプル商事"), 110000, QStringLiteral("No.12")),
            QStringLiteral("20260305_株式会社サンプル商事_110000_No.12.pdf"));
        QCOMPARE(archiveFileName(QDate(2026, 3, 5), QStringLiteral("A/B: C"), 5, QString()),
                 QStringLiteral("20260305_A_B_C_5.pdf"));
        QCOMPARE(archiveFileName(QDate(2026, 3, 5), QStringLiteral(".."), -3, QStringLiteral("..")),
                 QStringLiteral("20260305____-3___.pdf"));
        QVERIFY(archiveFileName(QDate(2026, 3, 5), QString(100, QChar(u'長')), 1, QString()).size() < 60);
        // Cut at 40 UTF-16 units between whole characters only; format controls (a bidi override) go.
        const QString cut = QStringLiteral("20260305_") + QString(39, QChar(u'長')) + QStringLiteral("_1.pdf");
        for (const QString &last : {QStringLiteral("𠮷"), QStringLiteral("e\u0301"), QStringLiteral("👍🏽")})
            QCOMPARE(archiveFileName(QDate(2026, 3, 5), QString(39, QChar(u'長')) + last + QStringLiteral("x"), 1, {}),
                     cut);
        QCOMPARE(
            archiveFileName(QDate(2026, 3, 5), QStringLiteral("A\u202Efdp.exe\u200B"), 1, QStringLiteral("\u2066N")),
            QStringLiteral("20260305_Afdp.exe_1_N.pdf"));
        const QSet<QString> taken{QStringLiteral("a.pdf"), QStringLiteral("a_2.pdf")};
        QCOMPARE(uniqueArchiveName(QStringLiteral("a.pdf"), [&](const QString &n) { return taken.contains(n); }),
                 QStringLiteral("a_3.pdf"));
        QCOMPARE(uniqueArchiveName(QStringLiteral("b.pdf"), [&](const QString &n) { return taken.contains(n); }),
                 QStringLiteral("b.pdf"));
    }

    void taxLinesRoundTrip()
    {
        const QList<TaxLine> lines{{10, 50000, 5000, false}, {8, 1000, 74, true}, {0, 300, 0, false}};
        QCOMPARE(decodeTaxLines(encodeTaxLines(lines)), lines);
        QCOMPARE(decodeTaxLines(QStringLiteral("10:x:1;8:100:8;junk")), (QList<TaxLine>{{8, 100, 8, false}}));
    }

    void issueFactsFromThePage()
    {
        const QString s = QStringLiteral(" ");
        auto sumsRow = [&](const QString &label, const CellValue &value) { return ItemRow(s, s, s, label, value); };
        Invoice page;
        page.title = QStringLiteral("請求書");
        page.date = QDate(2026, 3, 10);
        page.customer = QStringLiteral("株式会社サンプル商事");
        page.honorificShown = QStringLiteral("御中");
        page.issuer = QStringLiteral("〒100-0001\n東京都\n山田太郎\n03-0000-0000\n銀行\nT1234567890123");
        page.number = QStringLiteral("2026-003");
        page.dueDate = QDate(2026, 4, 30);
        page.taxRate = 10;
        page.rows = {ItemRow(QStringLiteral("3/1"), QStringLiteral("原稿"), qint64(100000), qint64(1), qint64(100000)),
                     ItemRow(QStringLiteral("3/2"), QStringLiteral("菓子"), qint64(1000), qint64(1), qint64(1000)),
                     sumsRow(s, s),
                     sumsRow(QStringLiteral("10%対象"), QStringLiteral("¥100,000")),
                     sumsRow(QStringLiteral("消費税(10%)"), QStringLiteral("¥10,000")),
                     sumsRow(QStringLiteral("8%対象"), QStringLiteral("¥1,000")),
                     sumsRow(QStringLiteral("消費税(8%)"), QStringLiteral("¥80")),
                     sumsRow(QStringLiteral("合計"), QStringLiteral("¥111,080")),
                     sumsRow(QStringLiteral("源泉徴収税"), QStringLiteral("-¥10,210")),
                     sumsRow(QStringLiteral("差引請求額"), QStringLiteral("¥100,870"))};
        LedgerEntry entry = issueEntryOf(page);
        QCOMPARE((QStringList{entry.title, entry.customer, entry.honorific, entry.number, entry.registrationNumber}),
                 (QStringList{"請求書", "株式会社サンプル商事", "御中", "2026-003", "T1234567890123"}));
        QCOMPARE(std::tuple(entry.invoiceDate, entry.dueDate, entry.amount, entry.withholding),
                 std::tuple(QDate(2026, 3, 10), QDate(2026, 4, 30), qint64(100870), qint64(10210)));
        QCOMPARE(entry.taxes, (QList<TaxLine>{{10, 100000, 10000, false}, {8, 1000, 80, false}}));

        // Without withholding the payable amount is 合計; the one-rate rows give the invoice's rate.
        page.rows = {ItemRow(QStringLiteral("3/1"), QStringLiteral("原稿"), qint64(5000), qint64(2), qint64(10000)),
                     sumsRow(s, s), sumsRow(QStringLiteral("小計"), qint64(10000)),
                     sumsRow(QStringLiteral("消費税"), QStringLiteral("1000")),
                     sumsRow(QStringLiteral("合計"), qint64(11000))};
        entry = issueEntryOf(page);
        QCOMPARE(std::pair(entry.amount, entry.withholding), std::pair(qint64(11000), qint64(0)));
        QCOMPARE(entry.taxes, (QList<TaxLine>{{10, 10000, 1000, false}}));
        // The amount box as printed is what the page bills, even where the table totals otherwise.
        page.amountBox = QStringLiteral("\u0008御請求金額\n¥2,000,000");
        QCOMPARE(issueEntryOf(page).amount, qint64(2000000));
        page.amountBox = QStringLiteral("\u0008御請求金額\n"); // a box that holds no amount
        QCOMPARE(issueEntryOf(page).amount, qint64(11000));

        // A table that is not totalled: the amount box's amount.
        page.rows = {ItemRow(QStringLiteral("3/1"), QStringLiteral("原稿"), qint64(5000), qint64(2), qint64(10000))};
        page.amountBox = QStringLiteral("御請求金額 ¥55,000-");
        page.customer = QStringLiteral("お客様");
        page.honorificShown.clear();
        entry = issueEntryOf(page);
        QCOMPARE(std::tuple(entry.amount, entry.taxes.size(), entry.customer),
                 std::tuple(qint64(55000), qsizetype(0), QString("お客様")));
        // Neither sums nor an amount in the box: the items' prices as shown, never ¥0 (which reads as paid).
        page.rows.append(ItemRow(QStringLiteral("3/2"), QStringLiteral("校正"), qint64(3000), qint64(1), qint64(3000)));
        for (const QString &box : {QString(), QStringLiteral("\u0008御請求金額\n")}) {
            page.amountBox = box;
            QCOMPARE(issueEntryOf(page).amount, qint64(13000));
        }
    }

    void csvQuotingAndBom()
    {
        for (const auto &[field, written] : {std::pair("plain", "plain"),
                                             {"a,b", "\"a,b\""},
                                             {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                             {"two\nlines", "\"two\nlines\""},
                                             {" padded", "\" padded\""},
                                             {"", ""}})
            QCOMPARE(csvField(QString::fromUtf8(field)), QString::fromUtf8(written));

        LedgerPage found;
        IssuedInvoice row;
        row.issue = issue(QStringLiteral("山田, \"株\""), 1234567, QDate(2026, 3, 1), QStringLiteral("N-1"));
        row.issue.id = 1;
        row.issue.recordedAt = QDateTime::currentDateTimeUtc();
        row.date = row.issue.invoiceDate;
        found.rows.append(row);
        found.paid.append(0);
        const QByteArray csv = ledgerCsv(found);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3); // header, one row, and the empty rest after the last CRLF
        QCOMPARE(lines[0].split(QLatin1Char(',')).size(), ledgerColumnTitles().size());
        QVERIFY(lines[1].contains(QStringLiteral(",\"山田, \"\"株\"\"\",")));
        QVERIFY(lines[1].contains(QStringLiteral(",1234567,"))); // a plain integer, no separators or yen sign
        QVERIFY(lines[1].startsWith(QStringLiteral("1,2026-03-01,N-1,")));

        // Cells a spreadsheet would run as formulas are made inert; amounts stay numbers, negative ones too.
        for (const char *attack : {"=HYPERLINK(\"http://x\")", "+cmd|' /C calc'!A0", "-2+3", "@SUM(A1)", "\tx", "\rx"})
            QCOMPARE(inertCell(QString::fromUtf8(attack)), QLatin1Char('\'') + QString::fromUtf8(attack));
        QCOMPARE(inertCell(QStringLiteral("株式会社=")), QStringLiteral("株式会社="));
        found.rows[0].issue.customer = QStringLiteral("=1+1");
        found.rows[0].issue.amount = -500;
        found.rows[0].superseded = true; // and its status says it was issued again
        const QString line = QString::fromUtf8(ledgerCsv(found).mid(3)).split(QStringLiteral("\r\n"))[1];
        QVERIFY2(line.contains(QStringLiteral(",'=1+1,御中,-500,0,,0,\"Paid, issued again\",")), qPrintable(line));
        found.rows[0].issue.title = QStringLiteral("@SUM(A1)");
        const QString titled = QString::fromUtf8(ledgerCsv(found).mid(3)).split(QStringLiteral("\r\n"))[1];
        QVERIFY2(titled.contains(QStringLiteral(",'@SUM(A1),")), qPrintable(titled));
    }

    void textTableAlignsWideCharacters()
    {
        // Kanji and full-width letters take two columns of a terminal each: names of the same width line up.
        LedgerPage found;
        for (const QString &customer : {QStringLiteral("山田"), QStringLiteral("ＡＢ"), QStringLiteral("abcd")}) {
            IssuedInvoice row;
            row.issue = issue(customer, 5000, QDate(2026, 3, 1), QStringLiteral("N-1"));
            row.issue.id = found.rows.size() + 1;
            row.date = row.issue.invoiceDate;
            found.rows.append(row);
            found.paid.append(0);
        }
        const QStringList lines = ledgerTextTable(found).split(QLatin1Char('\n'));
        QCOMPARE(QString(lines[1]).replace(QStringLiteral("山田"), QStringLiteral("abcd")), lines[3]);
        QCOMPARE(QString(lines[2]).replace(QStringLiteral("ＡＢ"), QStringLiteral("abcd")), lines[3]);

        // What a terminal would obey is shown, not sent: escapes, NUL, line breaks, bidi overrides.
        found.rows[0].issue.customer = QStringLiteral("\x1b[2J") + QChar(7) + QStringLiteral("a\nb") + QChar(0) +
                                       QStringLiteral("\u202e\u2028") + QChar(0x9b);
        const QString table = ledgerTextTable(found);
        QVERIFY2(table.contains(QStringLiteral("\\x1b[2J\\x07a\\x0ab\\x00\\u202e\\u2028\\x9b")), qPrintable(table));
        QCOMPARE(table.count(QLatin1Char('\n')), 4);
    }

    // ---- the store ----
    void recordsChainedEntries()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ledger.sqlite"));
        auto opened = LedgerStore::openSqlite(path);
        QVERIFY2(opened, qPrintable(opened.message()));
        auto store = std::move(opened).value();
        QCOMPARE(store->schemaVersion(), CurrentSchemaVersion);
        QSqlQuery mode(store->database());
        QVERIFY(mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next());
        QCOMPARE(mode.value(0).toString(), QStringLiteral("wal"));
        mode.finish();
        // Another process's store on the same file sees each entry as it is recorded.
        auto reader = LedgerStore::openSqlite(path).value_or(nullptr);
        QCOMPARE(searched(*reader).rows.size(), 0);

        const auto first = store->record(issue(QStringLiteral("A"), 100, QDate(2026, 1, 5)));
        QVERIFY2(first, qPrintable(first.message()));
        QCOMPARE(std::pair(first->id, first->previousHash), std::pair(qint64(1), GenesisHash));
        QCOMPARE(searched(*reader).rows.size(), 1);
        QVERIFY(store->recordPayment(first->id, QDate(2026, 1, 9), 100));
        QCOMPARE(statusOfIssue(*reader, first->id), PaymentStatus::Paid);
        const auto second = store->record(issue(QStringLiteral("B"), 200, QDate(2026, 1, 6)));
        QCOMPARE(std::pair(second->id, second->previousHash),
                 std::pair(qint64(3), store->entries().value().at(1).hash));

        // Nothing recorded is changed or removed, by this program or another.
        for (const char *statement : {"UPDATE ledger_entries SET amount = 1", "DELETE FROM ledger_entries"})
            QVERIFY(test::onSqliteFile(path, {QString::fromLatin1(statement)}).contains(QLatin1String("never")));
        store.reset();
        store = LedgerStore::openSqlite(path).value_or(nullptr);
        QVERIFY(store);
        const QList<LedgerEntry> entries = store->entries().value();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(std::tuple(entries[0].amount, entries[2].customer, entries[2].hash, entries[2].recordedAt),
                 std::tuple(qint64(100), QStringLiteral("B"), second->hash, second->recordedAt));
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
             statements({QStringLiteral("DELETE FROM ledger_entries WHERE id = 4")}),
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
                 sql.append(QStringLiteral("UPDATE ledger_entries SET amount = 1 WHERE id = 2"));
                 sql.append(QStringLiteral("UPDATE ledger_issues SET amount = 1 WHERE id = 2"));
                 for (qsizetype i = 1; i < entries.size(); ++i) {
                     entries[i].previousHash = entries[i - 1].hash;
                     entries[i].hash = entryHash(entries[i]);
                     sql.append(
                         QStringLiteral("UPDATE ledger_entries SET previous_hash = '%1', hash = '%2' WHERE id = %3")
                             .arg(entries[i].previousHash, entries[i].hash)
                             .arg(entries[i].id));
                 }
                 QCOMPARE(test::onSqliteFile(path, sql), QString());
             },
             {{Kind::AnchorChanged, 4}}},
            {"payment moved to another invoice",
             statements({QStringLiteral("UPDATE ledger_entries SET refers_to = 2, invoice_id = 2 WHERE id = 3")}),
             {{Kind::Changed, 3}}},
            {"issuer edited",
             statements({QStringLiteral("UPDATE ledger_entries SET issued_by_user = 'x' WHERE id = 2")}),
             {{Kind::Changed, 2}}},
            {"folded customer edited",
             statements({QStringLiteral("UPDATE ledger_entries SET customer_folded = 'forged' WHERE id = 1")}),
             {{Kind::Changed, 1}}},
            {"folded number edited, which no hash covers",
             statements({QStringLiteral("UPDATE ledger_entries SET number_folded = 'forged' WHERE id = 1")}),
             {{Kind::Changed, 1}}},
            {"a part the reading passes over added",
             statements({QStringLiteral("UPDATE ledger_entries SET taxes = taxes || ';x' WHERE id = 2")}),
             {{Kind::Changed, 2}}},
            {"ledger identity changed",
             statements({QStringLiteral("UPDATE ledger_meta SET value = 'x' WHERE key = 'ledger_id'")}),
             {{Kind::Replaced, 4}}},
            {"middle entry deleted",
             statements({QStringLiteral("DELETE FROM ledger_entries WHERE id = 3")}),
             {{Kind::Missing, 4}}},
            {"archived PDF replaced",
             [](const QString &path, const QString &) {
                 test::writeFile(QFileInfo(path).dir().filePath(QStringLiteral("archive/a.pdf")), "%PDF-forged");
             },
             {{Kind::PdfChanged, 1}}},
            {"archived PDF removed",
             [](const QString &path, const QString &) {
                 QVERIFY(QFile::remove(QFileInfo(path).dir().filePath(QStringLiteral("archive/a.pdf"))));
             },
             {{Kind::PdfMissing, 1}}},
        };
        for (const Case &c : cases) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("ledger.sqlite"));
            const QString anchor = dir.filePath(QStringLiteral("anchor.json"));
            const auto open = [&] {
                auto store = LedgerStore::openSqlite(path).value_or(nullptr);
                store->setAnchor(anchor, QStringLiteral("local"));
                return store;
            };
            const QString archive = dir.filePath(QStringLiteral("archive"));
            {
                auto store = open();
                LedgerEntry archived = issue(QStringLiteral("A"), 1000, QDate(2026, 1, 5), QStringLiteral("1"));
                archived.archiveName = QStringLiteral("a.pdf");
                archived.pdfSha256 = test::sha256Hex("%PDF-a");
                QVERIFY(QDir().mkpath(archive));
                test::writeFile(archive + QStringLiteral("/a.pdf"), "%PDF-a");
                const auto a = store->record(archived);
                QVERIFY(store->record(issue(QStringLiteral("B"), 2000, QDate(2026, 1, 6), QStringLiteral("2"))));
                QVERIFY(store->recordPayment(a->id, QDate(2026, 2, 1), 500));
            }
            const QString older = dir.filePath(QStringLiteral("older.sqlite"));
            QVERIFY(QFile::copy(path, older));
            QVERIFY(open()->record(issue(QStringLiteral("C"), 3000, QDate(2026, 1, 7), QStringLiteral("3"))));
            c.tampering(path, older);

            auto store = open();
            QList<std::pair<Kind, qint64>> found;
            for (const ChainProblem &problem : store->check(archive, QString()).value().problems)
                found.append({problem.kind, problem.entryId});
            QVERIFY2(found == c.expected, c.name);
            // Nothing forged is taken into what searches read, nor into the anchor: recording on
            // afterwards hides nothing.
            LedgerFilter forged;
            forged.customer = QStringLiteral("forged");
            QVERIFY2(searched(*store, forged).rows.isEmpty(), c.name);
            QVERIFY(store->record(issue(QStringLiteral("D"), 4000, QDate(2026, 1, 8), QStringLiteral("4"))));
            QVERIFY2(!store->check(archive, QString()).value().problems.isEmpty(), c.name);
        }
    }

    void reissueRefersToTheEarlierIssue()
    {
        QTemporaryDir dir;
        auto store = LedgerStore::openSqlite(dir.filePath(QStringLiteral("ledger.sqlite"))).value_or(nullptr);
        const auto first = store->record(issue(QStringLiteral("A"), 100, QDate(2026, 1, 5), QStringLiteral("7")));
        const auto other = store->record(issue(QStringLiteral("B"), 100, QDate(2026, 1, 5), QStringLiteral("7")));
        // Changed under the same number, and said to be the correction: a reissue. Sent again
        // unchanged: a copy of the issue it repeats.
        LedgerEntry changed = issue(QStringLiteral("A"), 100, QDate(2026, 1, 5), QStringLiteral("7"));
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
        LedgerEntry unnumbered = issue(QStringLiteral("A"), 100, QDate(2026, 1, 9));
        unnumbered.sourcePath = QStringLiteral("/x/a.seikyu");
        const auto u1 = store->record(unnumbered);
        const auto u2 = store->record(unnumbered);
        QCOMPARE(std::pair(u2->kind, u2->refersTo), std::pair(EntryKind::Copy, u1->id));
        unnumbered.sourcePath.clear();
        QCOMPARE(store->record(unnumbered)->refersTo, 0); // an unsaved invoice is never assumed the same

        // A payment to the first issue counts for the invoice, shown on each of its issues; a mistaken
        // one, voided, counts for nothing.
        QVERIFY(store->recordPayment(first->id, QDate(2026, 2, 1), 60));
        const auto mistaken = store->recordPayment(third->id, QDate(2026, 2, 2), 25);
        QVERIFY(mistaken && store->recordVoid(mistaken->id, QStringLiteral("wrong customer")));
        QCOMPARE(issueRow(*store, third->id).second, 60);
        QVERIFY(issueRow(*store, first->id).first.superseded);
        QVERIFY(!issueRow(*store, third->id).first.superseded);
        // Totals count the invoice once.
        const LedgerTotals totals = searched(*store).totals;
        // Copies are no issues of their own; A-7 is counted once, beside B-7, the unnumbered and the unsaved one.
        QCOMPARE(std::tuple(totals.count, totals.amount, totals.outstanding),
                 std::tuple(6, qint64(100 + 100 + 100 + 100), qint64(40 + 100 + 100 + 100)));

        // Sent again unchanged after its void: owed again, so an issue of its own.
        QVERIFY(store->recordVoid(u1->id, QStringLiteral("宛先の誤り")));
        QCOMPARE(statusOfIssue(*store, u1->id), PaymentStatus::Voided);
        QCOMPARE(issueRow(*store, u1->id).first.voidReason, QStringLiteral("宛先の誤り"));
        // What cannot be: paying a voided issue, voiding twice, paying a payment, referring to nothing.
        QVERIFY(!store->recordPayment(u1->id, QDate(2026, 2, 1), 1));
        QVERIFY(!store->recordVoid(u1->id, QStringLiteral("again")));
        QVERIFY(!store->recordPayment(mistaken->id, QDate(2026, 2, 1), 1));
        QVERIFY(!store->recordVoid(999, QStringLiteral("?")));
        QVERIFY(verifyChain(store->entries().value()).isEmpty()); // nothing refused was half-written
        unnumbered.sourcePath = QStringLiteral("/x/a.seikyu");
        const auto u3 = store->record(unnumbered);
        QCOMPARE(std::pair(u3->kind, u3->refersTo), std::pair(EntryKind::Issue, u1->id));
        // A numbered one sent again unchanged after its void still finds its number held: a clash
        // unless said to be a reissue; without that, another customer's number clashes, never hides it.
        QVERIFY(store->recordVoid(copy->refersTo, QStringLiteral("金額の誤り")));
        changed.reissue = false;
        QCOMPARE(store->numberUseOf(changed)->kind, NumberUse::Kind::Clash);
        LedgerEntry forB = issue(QStringLiteral("B"), 999, QDate(2026, 1, 5), QStringLiteral("7"));
        QCOMPARE(store->numberUseOf(forB)->kind, NumberUse::Kind::Clash);
        QCOMPARE(store->numberUseOf(forB)->earlier->id, third->id); // the newest invoice holding it
        forB.reissue = true;
        QCOMPARE(store->numberUseOf(forB)->earlier->id, other->id); // the customer's own
    }

    void migratesOlderSchemas()
    {
        // Ledgers as the first schema and as schema 4 wrote them, with an issue, its reissue and a
        // payment; schema 4 kept who recorded each and what searches derive beside the hashed facts.
        {
            // Where there is no ledger, reading makes none: it is empty and whole.
            QTemporaryDir dir;
            QCOMPARE(runSeikyu(dir.filePath(QStringLiteral("data")),
                               {QStringLiteral("--ledger"), QStringLiteral("--verify")})
                         .first,
                     0);
            QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("data/Seikyu/Seikyu/ledger.sqlite"))));
        }
        for (const int version : {1, 4}) {
            QTemporaryDir dir;
            QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data/Seikyu/Seikyu")));
            const QString path = dir.filePath(QStringLiteral("data/Seikyu/Seikyu/ledger.sqlite"));
            const QStringList statements = test::olderLedger(sqliteDialect(), version, test::firstFormChain());
            QCOMPARE(test::onSqliteFile(path, statements), QString());
            // Read as it is, through an up-to-date copy, and left as the older Seikyu wrote it.
            const QByteArray older = test::readAll(path);
            const auto [listed, rows] = runSeikyu(dir.filePath(QStringLiteral("data")), {QStringLiteral("--ledger")});
            QVERIFY2(listed == 0, qPrintable(rows));
            QVERIFY2(rows.contains(QStringLiteral("ＡＢＣ商店")), qPrintable(rows));
            QCOMPARE(runSeikyu(dir.filePath(QStringLiteral("data")),
                               {QStringLiteral("--ledger"), QStringLiteral("--verify")})
                         .first,
                     0);
            QCOMPARE(test::readAll(path), older);

            auto opened = LedgerStore::openSqlite(path);
            QVERIFY2(opened, qPrintable(opened.message()));
            auto store = std::move(opened).value();
            QCOMPARE(store->schemaVersion(), CurrentSchemaVersion);
            QVERIFY(store->verify(dir.path()).value().isEmpty()); // nothing recorded changed
            // Re-anchored once: a seal over every column of the entries before it.
            QCOMPARE(store->takeSeal()->id, 4);
            QVERIFY(!store->takeSeal()); // told once
            QCOMPARE(store->entries().value().constLast().kind, EntryKind::Seal);
            QVERIFY(!LedgerStore::openSqlite(path).value_or(nullptr)->takeSeal());
            const LedgerPage all = searched(*store);
            QCOMPARE(all.rows.size(), 2);
            QCOMPARE(all.paid, (QList<qint64>{2000, 2000})); // the payment found its invoice through the reissue
            LedgerFilter filter;
            filter.customer = QStringLiteral("abc");
            QCOMPARE(searched(*store, filter).rows.size(), 2);
            filter.number = QStringLiteral("inv-9"); // the number folded in by the migration
            QCOMPARE(searched(*store, filter).rows.size(), 2);
            // Still append-only, and new entries continue the chain.
            QVERIFY(test::onSqliteFile(path, {QStringLiteral("DELETE FROM ledger_entries")})
                        .contains(QLatin1String("never")));
            QCOMPARE(store->record(issue(QStringLiteral("D"), 1, QDate(2026, 1, 1)))->id, 5);
            QVERIFY(verifyChain(store->entries().value()).isEmpty());
            // What the older entries' hashes leave out is the seal's to cover.
            QCOMPARE(test::onSqliteFile(
                         path, sqliteDialect().dropAppendOnlyGuards +
                                   QStringList{
                                       version == 4
                                           ? QStringLiteral("UPDATE ledger_entries SET issued_by_host = 'x' "
                                                            "WHERE id = 1")
                                           : QStringLiteral("UPDATE ledger_entries SET invoice_id = 7 WHERE id = 3")}),
                     QString());
            QCOMPARE(store->verify(dir.path()).value(), (QList<ChainProblem>{{ChainProblem::Kind::SealBroken, 4, {}}}));
        }
    }

    void damagedAndUnwritableFiles()
    {
        QTemporaryDir dir;
        const QString damaged = test::writeFile(dir.filePath(QStringLiteral("damaged.sqlite")), QByteArray(8192, 'x'));
        const auto notALedger = LedgerStore::openSqlite(damaged);
        QVERIFY(!notALedger);
        QCOMPARE(notALedger.fault().kind, FaultKind::BadInput);
        QCOMPARE(QFileInfo(damaged).size(), 8192); // never overwritten

        // A folder that cannot be made, because a file stands where it would be.
        test::writeFile(dir.filePath(QStringLiteral("blocker")), QByteArray());
        const auto blocked = LedgerStore::openSqlite(dir.filePath(QStringLiteral("blocker/ledger.sqlite")));
        QVERIFY(!blocked);
        QCOMPARE(blocked.fault().kind, FaultKind::Unwritable);

        // A full disk: the database may not grow past the pages it has.
        const QString path = dir.filePath(QStringLiteral("full.sqlite"));
        auto store = LedgerStore::openSqlite(path).value_or(nullptr);
        QVERIFY(store->record(issue(QStringLiteral("A"), 1, QDate(2026, 1, 1))));
        QSqlQuery limit(store->database());
        QVERIFY(limit.exec(QStringLiteral("PRAGMA max_page_count")) && limit.next());
        const qint64 pages = limit.value(0).toLongLong();
        QVERIFY(limit.exec(QStringLiteral("PRAGMA page_count")) && limit.next());
        QVERIFY(limit.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(limit.value(0).toLongLong())));
        limit.finish();
        LedgerEntry big = issue(QString(20000, QChar(u'x')), 2, QDate(2026, 1, 2));
        const auto full = store->record(big);
        QVERIFY(!full);
        QCOMPARE(full.fault().kind, FaultKind::Unwritable);
        QVERIFY(limit.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
        limit.finish();
        // Nothing half-written: the ledger goes on where it was.
        const auto next = store->record(issue(QStringLiteral("B"), 3, QDate(2026, 1, 3)));
        QVERIFY2(next, qPrintable(next.message()));
        QCOMPARE(next->id, 2);
        QVERIFY(verifyChain(store->entries().value()).isEmpty());

        // Recovering a rewritten ledger: the entry after the one rewritten (its hash made to fit) no
        // longer follows it, so the chain vouches for it no more.
        const QString rewritten = dir.filePath(QStringLiteral("rewritten.sqlite"));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(LedgerStore::openSqlite(rewritten).value_or(nullptr)->record(
                issue(QStringLiteral("C"), i, QDate(2026, 1, i))));
        LedgerEntry second = LedgerStore::openSqlite(rewritten).value_or(nullptr)->entries().value().at(1);
        second.amount = 7;
        QCOMPARE(test::onSqliteFile(
                     rewritten,
                     sqliteDialect().dropAppendOnlyGuards +
                         QStringList{QStringLiteral("UPDATE ledger_entries SET amount = 7, hash = '%1' WHERE id = 2")
                                         .arg(entryHash(second))}),
                 QString());
        const auto into = LedgerStore::openSqlite(dir.filePath(QStringLiteral("into.sqlite"))).value_or(nullptr);
        const LedgerRecovery recovered = recoverEntries(rewritten, *into);
        QCOMPARE(std::pair(recovered.taken, recovered.notTaken.size()), std::pair(2, qsizetype(1)));

        // A log whose last transaction a kill cut short: its damaged frame is followed by no commit,
        // so nothing committed is lost and nothing is reported.
        const QString logged = dir.filePath(QStringLiteral("logged.sqlite"));
        QByteArray log;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cut-log"));
            db.setDatabaseName(logged);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const char *sql :
                 {"PRAGMA page_size = 512", "PRAGMA journal_mode = WAL", "PRAGMA wal_autocheckpoint = 0", "BEGIN",
                  "CREATE TABLE t (b BLOB)", "INSERT INTO t VALUES (zeroblob(4000))", "COMMIT"})
                QVERIFY(query.exec(QString::fromLatin1(sql)));
            log = test::readAll(logged + QStringLiteral("-wal"));
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("cut-log"));
        constexpr qsizetype Frame = 24 + 512;
        QVERIFY(log.size() > 32 + 3 * Frame);
        log.chop(Frame);                                      // the commit frame never written
        log[32 + 24 + 100] = char(log[32 + 24 + 100] ^ 0x55); // the first frame damaged
        QFile cut(dir.filePath(QStringLiteral("cut.sqlite-wal")));
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
                test::sqliteValue(path, QStringLiteral("SELECT max(pageno) FROM dbstat WHERE name = 'ledger_entries'"));
            QVERIFY(QFile::resize(path, (last - 1) * test::sqliteValue(path, QStringLiteral("PRAGMA page_size"))));
        }) << false;
        QTest::newRow("random bytes") << Damage([=](const QString &path) {
            overwrite(path, 0, noise(QFileInfo(path).size()));
        }) << false;
        QTest::newRow("schema row removed") << Damage([](const QString &path) {
            QCOMPARE(
                test::onSqliteFile(path, {QStringLiteral("PRAGMA writable_schema = ON"),
                                          QStringLiteral("DELETE FROM sqlite_master WHERE name = 'ledger_entries'")}),
                QString());
        }) << true;
        QTest::newRow("index page") << Damage([=](const QString &path) {
            test::overwriteIndexPage(path, noise(65536));
        }) << true;
        QTest::newRow("log after a kill") << Damage([=](const QString &path) {
            const QString wal = path + QStringLiteral("-wal");
            overwrite(wal, QFileInfo(wal).size() / 2, noise(64));
        }) << false;
    }

    void damagedLedgerIsReportedAndRecovered()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, allBack);
        QTemporaryDir dir;
        const QString dataHome = dir.filePath(QStringLiteral("data"));
        const QDir folder(dir.filePath(QStringLiteral("data/Seikyu/Seikyu")));
        const QString path = folder.filePath(QStringLiteral("ledger.sqlite"));
        // Entries written by a process killed while its log was not yet in the file.
        constexpr int Written = 30;
        QProcess writer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SEIKYU_LEDGER_WRITER"), QStringLiteral("%1|%2|W|hold").arg(path).arg(Written));
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(writer.waitForReadyRead(60000));
        QCOMPARE(writer.readLine().trimmed(), QByteArray("recorded"));
        writer.kill();
        QVERIFY(writer.waitForFinished());
        QVERIFY(QFileInfo(path + QStringLiteral("-wal")).size() > 0);
        const QList<LedgerEntry> written =
            LedgerStore::openSqlite(path, LedgerAccess::ReadOnly).value_or(nullptr)->entries().value();
        QCOMPARE(written.size(), Written);
        QVERIFY(folder.mkpath(QStringLiteral("archive")));
        QFile stray(folder.filePath(QStringLiteral("archive/stray.pdf")));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.close();
        if (QTest::currentDataTag() != QLatin1String("log after a kill")) // the others damage the file alone
            LedgerStore::openSqlite(path).value_or(nullptr).reset();
        damage(path);
        if (QTest::currentTestFailed())
            return;
        const QByteArray file = test::readAll(path);
        const QByteArray log = test::readAll(path + QStringLiteral("-wal"));

        // Reported with the file's name, exit 1; never moved, replaced or written.
        const auto [verified, said] = runSeikyu(dataHome, {QStringLiteral("--ledger"), QStringLiteral("--verify")});
        QCOMPARE(verified, 1);
        QVERIFY2(said.contains(path), qPrintable(said));
        runSeikyu(dataHome, {QStringLiteral("--ledger")});
        QCOMPARE(test::readAll(path), file);
        QCOMPARE(test::readAll(path + QStringLiteral("-wal")), log);
        QCOMPARE(setAsideLedgers(path), QStringList());
        // Recording neither succeeds into it nor replaces it.
        if (auto store = LedgerStore::openSqlite(path).value_or(nullptr)) {
            const auto recorded = store->record(issue(QStringLiteral("X"), 1, QDate(2026, 2, 1)));
            QVERIFY(!recorded);
            QCOMPARE(recorded.fault().kind, FaultKind::BadInput);
        }
        QCOMPARE(test::readAll(path), file);

        // Recover sets it aside, starts a new ledger and takes what the chain vouches for, as it was.
        const auto [recovered, told] =
            runSeikyu(dataHome, {QStringLiteral("--ledger"), QStringLiteral("--recover"), path});
        QCOMPARE(recovered, allBack ? 0 : 1);
        const QStringList aside = setAsideLedgers(path);
        QCOMPARE(aside.size(), 1);
        QVERIFY2(told.contains(aside.first()), qPrintable(told));
        QCOMPARE(test::readAll(folder.filePath(aside.first())), file);
        const QList<LedgerEntry> back = LedgerStore::openSqlite(path).value_or(nullptr)->entries().value();
        QVERIFY(verifyChain(back).isEmpty());
        if (allBack)
            QCOMPARE(back.size(), Written);
        else if (QTest::currentDataTag() != QLatin1String("random bytes"))
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
        const auto [after, report] = runSeikyu(dataHome, {QStringLiteral("--ledger"), QStringLiteral("--verify")});
        QCOMPARE(after, 1);
        QVERIFY2(report.contains(aside.first()) && report.contains(QStringLiteral("stray.pdf")), qPrintable(report));
    }

    void twoProcessesRecordAtOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ledger.sqlite"));
        QVERIFY(LedgerStore::openSqlite(path).value_or(nullptr)); // created before, so neither process creates it
        constexpr int PerProcess = 1000;
        QList<QProcess *> writers;
        for (const QString &tag : {QStringLiteral("P"), QStringLiteral("Q")}) {
            auto *process = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("SEIKYU_LEDGER_WRITER"),
                       QStringLiteral("%1|%2|%3").arg(path).arg(PerProcess).arg(tag));
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
            fromP += e.customer == QLatin1String("P") ? 1 : 0;
        QCOMPARE(fromP, PerProcess);
    }
};

int main(int argc, char *argv[])
{
    // Started by twoProcessesRecordAtOnce as one of the writers.
    const QString writer = qEnvironmentVariable("SEIKYU_LEDGER_WRITER");
    if (!writer.isEmpty()) {
        QCoreApplication app(argc, argv);
        const QStringList parts = writer.split(QLatin1Char('|'));
        return recordEntries(parts.value(0), parts.value(1).toInt(), parts.value(2), parts.value(3) == u"hold");
    }
    QCoreApplication app(argc, argv);
    LedgerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ledger.moc"
