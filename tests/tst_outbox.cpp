// The shared ledger's outbox with entries that refer to others: a reissue, a payment or a void
// made while the server was away, against an entry that waits too or one the server holds; and
// what the server refuses on their arrival. Against a real PostgreSQL server the test starts.
#include "ledger/EntryJson.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerLocation.h"
#include "ledger/LedgerOutbox.h"
#include "ledger/LedgerSqlSearch.h"
#include "ledger/LedgerStore.h"
#include "ledger/LedgerTableModel.h"
#include "ledger/ServerLedger.h"
#include "ledger/SharedLedger.h"
#include "support/PostgresServer.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace seikyu;
using seikyu::test::PostgresServer;

namespace {

LedgerEntry issue(const QString &customer, qint64 amount, const QString &number)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Issue;
    entry.channel = IssueChannel::Pdf;
    entry.customer = customer;
    entry.honorific = QStringLiteral("御中");
    entry.amount = amount;
    entry.invoiceDate = QDate(2026, 12, 7);
    entry.number = number;
    entry.title = QStringLiteral("請求書");
    return entry;
}

LedgerEntry payment(const LedgerEntry &of, qint64 amount)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Payment;
    entry.amount = amount;
    entry.paymentDate = QDate(2026, 12, 20);
    referTo(entry, of);
    return entry;
}

LedgerEntry voiding(const LedgerEntry &of, const QString &why)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Void;
    entry.note = why;
    referTo(entry, of);
    return entry;
}

/// The one entry of the server's ledger that came from `origin`.
LedgerEntry arrived(const QList<LedgerEntry> &entries, const QString &origin)
{
    LedgerEntry found;
    int times = 0;
    for (const LedgerEntry &entry : entries) {
        if (entry.origin == origin) {
            found = entry;
            ++times;
        }
    }
    if (times != 1)
        qWarning("%s arrived %d times", qPrintable(origin), times);
    return times == 1 ? found : LedgerEntry();
}

} // namespace

class OutboxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<PostgresServer> server;
    int databases = 0;

    QString freshDatabase()
    {
        const QString name = QStringLiteral("refs%1").arg(++databases);
        QString error;
        if (!server->createDatabase(name, &error))
            qWarning("%s", qPrintable(error));
        return server->socketConnection(name);
    }

    void requireServer()
    {
        if (!server)
            QSKIP(qPrintable(PostgresServer::unavailableReason()));
        if (!server->isRunning()) {
            QString error;
            QVERIFY2(server->start(&error), qPrintable(error));
        }
    }

    /// Records an entry while the server is away: it must wait.
    static LedgerEntry waitWith(SharedLedger &shared, const LedgerEntry &entry)
    {
        const SharedRecording recording = shared.record(entry);
        if (!recording.entry || !recording.waiting)
            qWarning("not kept: %s", qPrintable(recording.error));
        return recording.entry.value_or(LedgerEntry());
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = PostgresServer::unavailableReason();
        if (!missing.isEmpty()) {
            std::printf("The tests against a server are skipped: %s\n", qPrintable(missing));
            return;
        }
        server = std::make_unique<PostgresServer>();
        QString error;
        QVERIFY2(server->start(&error), qPrintable(error));
    }

    // ---- pure rules -------------------------------------------------------------------------

    void aReferenceNamesTheIdOrWhileWaitingTheOrigin()
    {
        LedgerEntry held = issue(QStringLiteral("甲"), 1, QStringLiteral("1"));
        held.id = 42;
        held.origin = QStringLiteral("outbox:sent-already");
        LedgerEntry waiting = issue(QStringLiteral("乙"), 2, QStringLiteral("2"));
        waiting.origin = QStringLiteral("outbox:still-here");

        const LedgerEntry toHeld = payment(held, 1);
        QCOMPARE(toHeld.refersTo, 42);
        QVERIFY(toHeld.refersToOrigin.isEmpty());
        const LedgerEntry toWaiting = voiding(waiting, QStringLiteral("誤り"));
        QCOMPARE(toWaiting.refersTo, 0);
        QCOMPARE(toWaiting.refersToOrigin, QStringLiteral("outbox:still-here"));

        // The outbox keeps the reference by origin across a restart.
        const std::optional<LedgerEntry> back = entryFromJson(entryToJson(toWaiting));
        QVERIFY(back);
        QCOMPARE(back->refersToOrigin, toWaiting.refersToOrigin);
        // An outbox written before entries referred by origin still reads.
        QVERIFY(entryFromJson(R"({"kind":"payment","refers_to":"7","amount":"5"})")->refersToOrigin.isEmpty());
    }

    void aRefusalSaysWhatWasRefusedAndWhy()
    {
        LedgerEntry paid;
        paid.kind = EntryKind::Payment;
        paid.amount = 12000;
        paid.paymentDate = QDate(2026, 12, 20);
        const QString said = refusedText(paid, QStringLiteral("entry 5 is void"));
        QVERIFY2(said.contains(QStringLiteral("12,000")), qPrintable(said));
        QVERIFY(said.contains(QStringLiteral("2026-12-20")));
        QVERIFY(said.contains(QStringLiteral("entry 5 is void")));
        QVERIFY(refusedText(issue(QStringLiteral("株式会社丙"), 3, QStringLiteral("2026-0009")), QStringLiteral("x"))
                    .contains(QStringLiteral("2026-0009")));
        QVERIFY(refusedText(voiding(paid, QStringLiteral("二重計上")), QStringLiteral("x"))
                    .contains(QStringLiteral("二重計上")));
    }

    // ---- against the server -----------------------------------------------------------------

    void postgresErrorsOfTheEntryItselfAreRefusals()
    {
        requireServer();
        std::unique_ptr<LedgerStore> store = openServerLedger(freshDatabase());
        QVERIFY(store);
        QSqlQuery query(store->database());
        // A data exception is about what was sent: sending it again cannot help.
        QVERIFY(!query.exec(QStringLiteral("SELECT 1 / 0")));
        QCOMPARE(faultOf(query.lastError()), LedgerFault::Refused);
        QVERIFY(!query.exec(QStringLiteral("SELECT 'x'::date")));
        QCOMPARE(faultOf(query.lastError()), LedgerFault::Refused);
        // A duplicate key may be another writer's, and passes when tried again.
        QVERIFY(query.exec(QStringLiteral("CREATE TEMPORARY TABLE once (k int PRIMARY KEY)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO once VALUES (1)")));
        QVERIFY(!query.exec(QStringLiteral("INSERT INTO once VALUES (1)")));
        QVERIFY(faultOf(query.lastError()) != LedgerFault::Refused);
        // Neither is a mistyped statement, nor a missing table.
        QVERIFY(!query.exec(QStringLiteral("SELECT * FROM no_such_table")));
        QVERIFY(faultOf(query.lastError()) != LedgerFault::Refused);
    }

    void waitingEntriesReferringToEachOtherArriveOnceWithTheirReferences()
    {
        requireServer();
        const QString connection = freshDatabase();
        QTemporaryDir folder;
        const QString outboxFile = folder.filePath(QStringLiteral("outbox.sqlite"));
        LedgerEntry held, first, reissue, paid, other, voided, paidHeld;
        {
            SharedLedger shared(connection, LedgerOutbox::open(outboxFile));
            const SharedRecording before =
                shared.record(issue(QStringLiteral("先方"), 5000, QStringLiteral("2026-0001")));
            QVERIFY(before.entry && !before.waiting);
            held = *before.entry;

            QVERIFY(server->stop());
            first = waitWith(shared, issue(QStringLiteral("甲商事"), 30000, QStringLiteral("2026-0002")));
            // Exported again, changed, while still away: a reissue that refers to the first.
            LedgerEntry correction = issue(QStringLiteral("甲商事"), 33000, QStringLiteral("2026-0002"));
            correction.reissue = true;
            reissue = waitWith(shared, correction);
            paid = waitWith(shared, payment(first, 10000));
            other = waitWith(shared, issue(QStringLiteral("乙工業"), 7000, QStringLiteral("2026-0003")));
            voided = waitWith(shared, voiding(other, QStringLiteral("宛先の誤り")));
            paidHeld = waitWith(shared, payment(held, 5000));
            QCOMPARE(shared.waitingCount(), 6);
            QVERIFY(paid.refersToOrigin == first.origin && paid.refersTo == 0);
            QCOMPARE(paidHeld.refersTo, held.id);
        } // as if Seikyu were killed: only the outbox's file remains

        std::unique_ptr<LedgerOutbox> outbox = LedgerOutbox::open(outboxFile);
        QVERIFY(outbox);
        QCOMPARE(outbox->count(), 6);
        QCOMPARE(outbox->waiting().at(2).refersToOrigin, first.origin);
        QVERIFY(server->start());
        {
            // The first reached the server before a crash kept it from leaving the outbox.
            std::unique_ptr<LedgerStore> store = openServerLedger(connection);
            QVERIFY(store);
            QVERIFY(store->record(outbox->waiting().at(0)));
        }
        SharedLedger shared(connection, std::move(outbox));
        const OutboxSending sending = shared.sendWaiting();
        QVERIFY2(sending.error.isEmpty(), qPrintable(sending.error));
        QVERIFY(sending.refused.isEmpty());
        QCOMPARE(sending.waiting, 0);
        QCOMPARE(shared.outbox().refusedCount(), 0);

        std::unique_ptr<LedgerStore> store = openServerLedger(connection);
        QVERIFY(store);
        const QList<LedgerEntry> entries = store->entries();
        QCOMPARE(entries.size(), 7); // each once
        const LedgerEntry firstHere = arrived(entries, first.origin);
        const LedgerEntry reissueHere = arrived(entries, reissue.origin);
        const LedgerEntry paidHere = arrived(entries, paid.origin);
        const LedgerEntry otherHere = arrived(entries, other.origin);
        const LedgerEntry voidedHere = arrived(entries, voided.origin);
        const LedgerEntry paidHeldHere = arrived(entries, paidHeld.origin);
        QVERIFY(firstHere.id != 0);
        QCOMPARE(firstHere.refersTo, 0);
        QCOMPARE(firstHere.invoiceId, firstHere.id);
        QCOMPARE(reissueHere.refersTo, firstHere.id);
        QCOMPARE(reissueHere.invoiceId, firstHere.id);
        QCOMPARE(paidHere.refersTo, firstHere.id);
        QCOMPARE(paidHere.invoiceId, firstHere.id);
        QCOMPARE(voidedHere.refersTo, otherHere.id);
        QCOMPARE(voidedHere.invoiceId, otherHere.id);
        QCOMPARE(paidHeldHere.refersTo, held.id);
        QCOMPARE(paidHeldHere.invoiceId, held.id);
        // In the order they were made, the chain whole.
        QVERIFY(firstHere.id < reissueHere.id && reissueHere.id < paidHere.id && paidHere.id < otherHere.id &&
                otherHere.id < voidedHere.id && voidedHere.id < paidHeldHere.id);
        QVERIFY(store->verify(QString()).isEmpty());

        auto shown = [&](qint64 id) {
            LedgerFilter only;
            only.issueId = id;
            return searchLedger(store->database(), only, LedgerSlice{}).value();
        };
        QCOMPARE(shown(reissueHere.id).paid, QList<qint64>{10000});
        QVERIFY(shown(otherHere.id).rows.value(0).voided);
        QCOMPARE(shown(held.id).paid, QList<qint64>{5000});

        // The entry a caller kept from the outbox still serves as a reference once it was sent.
        const SharedRecording later = shared.record(payment(first, 20000));
        QVERIFY2(later.entry && !later.waiting, qPrintable(later.error));
        QCOMPARE(later.entry->refersTo, firstHere.id);
        QCOMPARE(later.entry->invoiceId, firstHere.id);
        // Sending again sends nothing twice.
        QCOMPARE(shared.sendWaiting().sent, 0);
        QCOMPARE(store->entries().size(), 8);
    }

    void anInvoiceExportedTwiceWhileAwayArrivesAsAnIssueAndItsReissue()
    {
        requireServer();
        const QString connection = freshDatabase();
        QTemporaryDir folder;
        qputenv(LedgerEnvironmentVariable, connection.toUtf8());
        IssueLedger &ledger = IssueLedger::instance();
        ledger.setFolder(folder.path());
        QVERIFY(openServerLedger(connection)); // sets up the server's ledger
        Invoice page;
        page.title = QStringLiteral("請求書");
        page.date = QDate(2026, 12, 1);
        page.customer = QStringLiteral("株式会社サンプル商事");
        page.honorificShown = QStringLiteral("御中");
        page.number = QStringLiteral("2026-0077");
        const QString pdf = folder.filePath(QStringLiteral("sent.pdf"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.7\n% the invoice as sent\n%%EOF\n");
        file.close();

        QVERIFY(server->stop());
        const std::optional<QString> told = ledger.recordIssue(page, QString(), IssueChannel::Pdf, pdf);
        QVERIFY(told && told->contains(QStringLiteral("waits")));
        QVERIFY(!ledger.recordIssue(page, QString(), IssueChannel::Pdf, pdf)); // said once is enough
        QCOMPARE(ledger.shared()->waitingCount(), 2);
        ledger.close(); // as if Seikyu were killed

        QVERIFY(server->start());
        ServerSession *office = ledger.shared();
        const std::optional<OutboxSending> sending = office->call<OutboxSending>(
            [](SharedLedger &shared) { return shared.sendWaiting(); }, office->defaultWait());
        QVERIFY(sending);
        QCOMPARE(sending->sent, 2);
        QCOMPARE(sending->waiting, 0);
        std::unique_ptr<LedgerStore> ledgerThere = openServerLedger(connection);
        const QList<LedgerEntry> entries = ledgerThere->entries();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).refersTo, 0);
        QCOMPARE(entries.at(1).refersTo, entries.at(0).id);
        QCOMPARE(entries.at(1).invoiceId, entries.at(0).id);
        QVERIFY(entries.at(0).archiveName != entries.at(1).archiveName);
        QVERIFY(ledgerThere->verify(ledger.archiveFolder()).isEmpty());

        ledger.close();
        qunsetenv(LedgerEnvironmentVariable);
    }

    void aRefusedEntryIsKeptAsideAndTheRestArrive()
    {
        requireServer();
        const QString connection = freshDatabase();
        QTemporaryDir folder;
        const QString outboxFile = folder.filePath(QStringLiteral("outbox.sqlite"));
        LedgerEntry held, paidHeld, undo, later, paidLater;
        {
            SharedLedger shared(connection, LedgerOutbox::open(outboxFile));
            held = shared.record(issue(QStringLiteral("先方"), 5000, QStringLiteral("2026-0001"))).entry.value();
            QVERIFY(server->stop());
            paidHeld = waitWith(shared, payment(held, 5000));
            // A payment mistyped and voided while still away: the void refers to a waiting payment.
            undo = waitWith(shared, voiding(paidHeld, QStringLiteral("金額の誤り")));
            later = waitWith(shared, issue(QStringLiteral("丁"), 800, QStringLiteral("2026-0002")));
            paidLater = waitWith(shared, payment(later, 800));
            QCOMPARE(shared.waitingCount(), 4);
        }
        QVERIFY(server->start());
        {
            // Meanwhile someone at another desk voided the invoice paid while away.
            std::unique_ptr<LedgerStore> elsewhere = openServerLedger(connection);
            QVERIFY(elsewhere->recordVoid(held.id, QStringLiteral("別の者が取消")));
        }

        {
            SharedLedger shared(connection, LedgerOutbox::open(outboxFile));
            const OutboxSending sending = shared.sendWaiting();
            QVERIFY2(sending.error.isEmpty(), qPrintable(sending.error));
            QCOMPARE(sending.sent, 2);
            QCOMPARE(sending.waiting, 0);
            QCOMPARE(sending.refused.size(), 2);
            QVERIFY2(sending.refused.at(0).contains(QStringLiteral("5,000")), qPrintable(sending.refused.at(0)));
            QVERIFY(sending.refused.at(0).contains(QStringLiteral("is void")));
            QVERIFY(sending.refused.at(1).contains(QStringLiteral("金額の誤り")));
        }

        std::unique_ptr<LedgerStore> store = openServerLedger(connection);
        QCOMPARE(store->entries().size(), 4); // the invoice, its void, and what came after the refused
        QCOMPARE(arrived(store->entries(), paidLater.origin).refersTo, arrived(store->entries(), later.origin).id);
        QVERIFY(store->verify(QString()).isEmpty());

        // Kept aside, across a restart, as they were; never sent again.
        std::unique_ptr<LedgerOutbox> outbox = LedgerOutbox::open(outboxFile);
        QCOMPARE(outbox->count(), 0);
        const QList<RefusedEntry> aside = outbox->refused();
        QCOMPARE(aside.size(), 2);
        QCOMPARE(aside.at(0).entry.origin, paidHeld.origin);
        QCOMPARE(aside.at(0).entry.amount, 5000);
        QCOMPARE(aside.at(0).entry.refersTo, held.id);
        QVERIFY(aside.at(0).reason.contains(QStringLiteral("void")));
        QVERIFY(aside.at(0).refusedAt.isValid());
        QCOMPARE(aside.at(1).entry.refersToOrigin, paidHeld.origin);
        QCOMPARE(outbox->send(*store).sent, 0);
        QCOMPARE(store->entries().size(), 4);
    }

    void anEntryRefusedWhileTheServerAnswersIsKeptAsideToo()
    {
        requireServer();
        const QString connection = freshDatabase();
        QTemporaryDir folder;
        SharedLedger shared(connection, LedgerOutbox::open(folder.filePath(QStringLiteral("o.sqlite"))));
        const LedgerEntry held = shared.record(issue(QStringLiteral("先方"), 900, QStringLiteral("7"))).entry.value();
        QVERIFY(shared.record(voiding(held, QStringLiteral("誤り"))).entry);

        const SharedRecording refused = shared.record(payment(held, 900));
        QVERIFY(!refused.entry);
        QVERIFY(!refused.waiting);
        QVERIFY(refused.error.contains(QStringLiteral("void")));
        QCOMPARE(refused.refused.size(), 1);
        QVERIFY(refused.keptAside);
        QCOMPARE(shared.waitingCount(), 0);
        QCOMPARE(shared.outbox().refusedCount(), 1);

        // A reference by an origin the ledger never saw is refused, not waited on forever.
        LedgerEntry nowhere;
        nowhere.origin = QStringLiteral("outbox:never-sent");
        const SharedRecording lost = shared.record(payment(nowhere, 1));
        QVERIFY(!lost.entry);
        QCOMPARE(lost.refused.size(), 1);
        QCOMPARE(shared.outbox().refusedCount(), 2);
        // Nor is a payment that names no entry at all recorded, to pay nothing for good.
        LedgerEntry unpaid;
        unpaid.kind = EntryKind::Payment;
        unpaid.amount = 5;
        QVERIFY(!shared.record(unpaid).entry);
        QCOMPARE(shared.outbox().refusedCount(), 3);
        QCOMPARE(shared.server()->entries().size(), 2);
    }

    void theWindowRefusesPaymentsWithoutTheServerAndShowsWhatWasRefused()
    {
        requireServer();
        const QString connection = freshDatabase();
        QTemporaryDir folder;
        qputenv(LedgerEnvironmentVariable, connection.toUtf8());
        IssueLedger::instance().setFolder(folder.path());
        test::PrompterGuard prompter;
        {
            SharedLedger shared(connection, LedgerOutbox::open(IssueLedger::instance().outboxPath()));
            QVERIFY(shared.record(issue(QStringLiteral("窓口"), 3000, QStringLiteral("2026-0050"))).entry);
        }
        IssuedInvoicesWindow window;
        window.refresh();
        QCOMPARE(window.model()->rowCount(), 1);
        auto *table = window.findChild<QTableView *>(QStringLiteral("ledgerTable"));
        table->selectRow(0);
        LedgerEntry shown;
        shown.id = window.model()->issueAt(0)->issue.id;

        QVERIFY(server->stop());
        // The rows shown before stay; recording against them needs the server, and says so
        // before anything is typed.
        window.recordPaymentForSelection();
        QCOMPARE(prompter->alerts.size(), 1);
        QVERIFY2(prompter->alerts.at(0).contains(serverProblemText(ServerProblem::NoServer)),
                 qPrintable(prompter->alerts.at(0)));
        window.voidSelection();
        QCOMPARE(prompter->alerts.size(), 2);
        QVERIFY(prompter->alerts.at(1).contains(serverProblemText(ServerProblem::NoServer)));
        QVERIFY(!window.recordPayment(shown.id, QDate(2026, 12, 9), 100, QString()));
        QCOMPARE(prompter->alerts.size(), 3);

        // A payment waiting in the outbox against the invoice, which someone at another desk
        // voids before the server is back.
        ServerSession *office = IssueLedger::instance().shared();
        QVERIFY(office);
        QVERIFY(office->record(payment(shown, 3000), office->defaultWait()).waiting);
        QVERIFY(server->start());
        {
            std::unique_ptr<LedgerStore> elsewhere = openServerLedger(connection);
            QVERIFY(elsewhere->recordVoid(shown.id, QStringLiteral("別の者が取消")));
        }
        // Once a look in the background sees the server again, what waits is sent by itself.
        QTRY_COMPARE_WITH_TIMEOUT(office->waitingCount(), 0, 30000);
        window.refresh();
        auto *problem = window.findChild<QLabel *>(QStringLiteral("problem"));
        QVERIFY(!problem->isHidden());
        QVERIFY2(problem->text().contains(QStringLiteral("3,000")), qPrintable(problem->text()));
        QVERIFY(problem->text().contains(QStringLiteral("kept aside")));
        window.refresh(); // still said: it is in no ledger
        QVERIFY(problem->text().contains(QStringLiteral("kept aside")));
        QCOMPARE(problem->text().count(QStringLiteral("kept aside")), 1);
        // Beside what else the window has to say.
        window.findChild<QLineEdit *>(QStringLiteral("from"))->setText(QStringLiteral("someday"));
        window.refresh();
        QVERIFY2(problem->text().contains(QStringLiteral("not a date")), qPrintable(problem->text()));
        QVERIFY(problem->text().contains(QStringLiteral("kept aside")));

        IssueLedger::instance().close();
        qunsetenv(LedgerEnvironmentVariable);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    test::initApplication();
    OutboxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_outbox.moc"
