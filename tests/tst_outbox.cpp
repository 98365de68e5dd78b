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
#include "support/LedgerEntries.h"
#include "support/ServerFixture.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace seikyu;
using seikyu::test::issue;
using seikyu::test::payment;
using seikyu::test::voiding;

namespace {

/// The one entry of the server's ledger that came from `origin`.
LedgerEntry arrived(const QList<LedgerEntry> &entries, const QString &origin)
{
    const auto count = std::count_if(entries.cbegin(), entries.cend(),
                                     [&](const LedgerEntry &entry) { return entry.origin == origin; });
    if (count != 1)
        qWarning("%s arrived %d times", qPrintable(origin), int(count));
    const auto found = std::find_if(entries.cbegin(), entries.cend(),
                                    [&](const LedgerEntry &entry) { return entry.origin == origin; });
    return count == 1 ? *found : LedgerEntry();
}

/// Records an entry while the server is away: it must wait.
LedgerEntry waitWith(SharedLedger &shared, const LedgerEntry &entry)
{
    const SharedRecording recording = shared.record(entry);
    if (!recording.entry || !recording.waiting)
        qWarning("not kept: %s", qPrintable(recording.entry.message()));
    return recording.entry.value_or(LedgerEntry());
}

} // namespace

class OutboxTest : public QObject
{
    Q_OBJECT

    test::ServerFixture server{u"refs"_s};

private Q_SLOTS:
    void initTestCase() { server.start(); }

    // ---- pure rules -------------------------------------------------------------------------

    void referencesAndRefusalsAreSaidPlainly()
    {
        LedgerEntry held = issue(u"甲"_s, 1, u"1"_s);
        held.id = 42;
        held.origin = u"outbox:sent-already"_s;
        LedgerEntry waiting = issue(u"乙"_s, 2, u"2"_s);
        waiting.origin = u"outbox:still-here"_s;
        // A reference names the id, or while the entry waits its origin.
        const LedgerEntry toHeld = payment(held, 1);
        QCOMPARE(std::pair(toHeld.refersTo, toHeld.refersToOrigin), std::pair(qint64(42), QString()));
        const LedgerEntry toWaiting = voiding(waiting, u"誤り"_s);
        QCOMPARE(std::pair(toWaiting.refersTo, toWaiting.refersToOrigin), std::pair(qint64(0), u"outbox:still-here"_s));
        // The outbox keeps the reference by origin across a restart; one written before entries
        // referred by origin still reads.
        QCOMPARE(entryFromJson(entryToJson(toWaiting)).value().refersToOrigin, toWaiting.refersToOrigin);
        QVERIFY(entryFromJson(R"({"kind":"payment","refers_to":"7","amount":"5"})")->refersToOrigin.isEmpty());

        // A refusal says what was refused and why.
        const LedgerEntry paid = payment(held, 12000);
        const QString said = refusedText(paid, u"entry 5 is void"_s);
        for (const QString &word : {u"12,000"_s, u"2026-12-20"_s, u"is void"_s})
            QVERIFY2(said.contains(word), qPrintable(said));
        QVERIFY(refusedText(issue(u"丙"_s, 3, u"2026-0009"_s), u"x"_s).contains(u"2026-0009"_s));
        QVERIFY(refusedText(voiding(paid, u"二重計上"_s), u"x"_s).contains(u"二重計上"_s));
    }

    // ---- against the server -----------------------------------------------------------------

    void postgresErrorsOfTheEntryItselfAreRefusals()
    {
        REQUIRE_SERVER(server);
        std::unique_ptr<LedgerStore> store = server.freshLedger();
        QVERIFY(store);
        QSqlQuery query(store->database());
        QVERIFY(query.exec(u"CREATE TEMPORARY TABLE once (k int PRIMARY KEY)"_s));
        QVERIFY(query.exec(u"INSERT INTO once VALUES (1)"_s));
        // A data exception is about what was sent: sending it again cannot help. A duplicate key
        // may be another writer's and passes when tried again; nor is a missing table the entry's.
        const QList<std::pair<QString, bool>> failures{{u"SELECT 1 / 0"_s, true},
                                                       {u"SELECT 'x'::date"_s, true},
                                                       {u"INSERT INTO once VALUES (1)"_s, false},
                                                       {u"SELECT * FROM no_such_table"_s, false}};
        for (const auto &[statement, refused] : failures) {
            QVERIFY2(!query.exec(statement), qPrintable(statement));
            QVERIFY2((faultKindOf(query.lastError(), FaultKind::Unwritable) == FaultKind::Refused) == refused,
                     qPrintable(statement));
        }
    }

    void waitingEntriesArriveOnceWithTheirReferencesOrAreKeptAside()
    {
        REQUIRE_SERVER(server);
        const QString connection = server.freshDatabase().connection;
        QTemporaryDir folder;
        const QString outboxFile = folder.filePath(u"outbox.sqlite"_s);
        LedgerEntry held, gone, first, reissue, paid, other, voided, paidHeld, paidGone, undo, later, paidLater,
            receipt;
        {
            SharedLedger shared(connection, LedgerOutbox::open(outboxFile).value());
            const SharedRecording before = shared.record(issue(u"先方"_s, 5000, u"2026-0001"_s));
            QVERIFY(before.entry && !before.waiting);
            held = *before.entry;
            gone = shared.record(issue(u"取消先"_s, 5000, u"2026-0009"_s)).entry.value();

            QVERIFY(server->stop());
            first = waitWith(shared, issue(u"甲商事"_s, 30000, u"2026-0002"_s));
            // Exported again, changed, while still away: a reissue that refers to the first.
            LedgerEntry correction = issue(u"甲商事"_s, 33000, u"2026-0002"_s);
            correction.reissue = true;
            reissue = waitWith(shared, correction);
            paid = waitWith(shared, payment(first, 10000));
            other = waitWith(shared, issue(u"乙工業"_s, 7000, u"2026-0003"_s));
            voided = waitWith(shared, voiding(other, u"宛先の誤り"_s));
            paidHeld = waitWith(shared, payment(held, 5000));
            // A payment to an invoice someone else voids meanwhile, mistyped and voided while away.
            paidGone = waitWith(shared, payment(gone, 5000));
            undo = waitWith(shared, voiding(paidGone, u"金額の誤り"_s));
            later = waitWith(shared, issue(u"丁"_s, 800, u"2026-0004"_s));
            paidLater = waitWith(shared, payment(later, 800));
            // The receipt for it, handed over while away, names the payment that waits too.
            LedgerEntry received = issue(u"丁"_s, 800, u"2026-0004"_s);
            received.document = DocumentKind::Receipt;
            acknowledge(received, paidLater);
            receipt = waitWith(shared, received);
            QCOMPARE(std::pair(receipt.acknowledges, receipt.acknowledgesOrigin),
                     std::pair(qint64(0), paidLater.origin));
            QCOMPARE(shared.waitingCount(), 11);
            QVERIFY(paid.refersToOrigin == first.origin && paid.refersTo == 0);
            QCOMPARE(paidHeld.refersTo, held.id);
        } // as if Seikyu were killed: only the outbox's file remains

        std::unique_ptr<LedgerOutbox> outbox = LedgerOutbox::open(outboxFile).value();
        QVERIFY(outbox);
        QCOMPARE(outbox->count(), 11);
        QCOMPARE(outbox->waiting().at(2).refersToOrigin, first.origin);
        QVERIFY(server->start());
        {
            // The first reached the server before a crash kept it from leaving the outbox, and
            // someone at another desk voided an invoice paid while away.
            std::unique_ptr<LedgerStore> elsewhere = openServerLedger(connection);
            QVERIFY(elsewhere && elsewhere->record(outbox->waiting().at(0)));
            QVERIFY(elsewhere->recordVoid(gone.id, u"別の者が取消"_s));
        }
        std::unique_ptr<LedgerStore> store = openServerLedger(connection);
        QVERIFY(store);
        {
            SharedLedger shared(connection, std::move(outbox));
            const OutboxSending sending = shared.sendWaiting();
            QVERIFY2(sending.error.isEmpty(), qPrintable(sending.error));
            QCOMPARE(std::pair(sending.sent, sending.waiting), std::pair(9, 0));
            QCOMPARE(sending.refused.size(), 2);
            QVERIFY2(sending.refused.at(0).contains(u"5,000"_s), qPrintable(sending.refused.at(0)));
            QVERIFY(sending.refused.at(0).contains(u"is void"_s) && sending.refused.at(1).contains(u"金額の誤り"_s));

            const QList<LedgerEntry> entries = store->entries().value();
            QCOMPARE(entries.size(), 12); // each once, the refused left out
            const auto here = [&entries](const LedgerEntry &sent) { return arrived(entries, sent.origin); };
            const LedgerEntry firstHere = here(first), otherHere = here(other), laterHere = here(later);
            QVERIFY(firstHere.id != 0);
            QCOMPARE(std::pair(firstHere.refersTo, firstHere.invoiceId), std::pair(qint64(0), firstHere.id));
            // What each refers to, and the invoice it counts for.
            const QList<std::pair<LedgerEntry, qint64>> references{{here(reissue), firstHere.id},
                                                                   {here(paid), firstHere.id},
                                                                   {here(voided), otherHere.id},
                                                                   {here(paidHeld), held.id},
                                                                   {here(paidLater), laterHere.id}};
            for (const auto &[entry, invoice] : references)
                QCOMPARE(std::pair(entry.refersTo, entry.invoiceId), std::pair(invoice, invoice));
            // The receipt, of a number of its own kind, names the payment it acknowledges.
            const LedgerEntry receiptHere = here(receipt);
            QCOMPARE(std::pair(receiptHere.acknowledges, receiptHere.refersTo),
                     std::pair(here(paidLater).id, qint64(0)));
            const QList<PaymentReceipts> payments = store->paymentsOf(laterHere.id).value();
            QCOMPARE(payments.size(), 1);
            QCOMPARE(std::pair(payments.at(0).payment.id, payments.at(0).receiptId),
                     std::pair(here(paidLater).id, receiptHere.id));
            // In the order they were made, the chain whole.
            QList<qint64> ids;
            for (const LedgerEntry &sent : {first, reissue, paid, other, voided, paidHeld, later})
                ids.append(here(sent).id);
            QVERIFY(std::adjacent_find(ids.cbegin(), ids.cend(), std::greater_equal<>()) == ids.cend());
            QVERIFY(store->verify(QString()).value().isEmpty());
            auto shown = [&](qint64 id) {
                LedgerFilter only;
                only.issueId = id;
                return searchLedger(store->database(), only, LedgerSlice{}).value();
            };
            QCOMPARE(shown(here(reissue).id).paid, QList<qint64>{10000});
            QVERIFY(shown(otherHere.id).rows.value(0).voided);
            QCOMPARE(shown(held.id).paid, QList<qint64>{5000});

            // The entry a caller kept from the outbox still serves as a reference once it was sent.
            const SharedRecording afterwards = shared.record(payment(first, 20000));
            QVERIFY2(afterwards.entry && !afterwards.waiting, qPrintable(afterwards.entry.message()));
            QCOMPARE(std::pair(afterwards.entry->refersTo, afterwards.entry->invoiceId),
                     std::pair(firstHere.id, firstHere.id));
            QCOMPARE(shared.sendWaiting().sent, 0); // nothing sent twice
        }

        // Kept aside, across a restart, as they were; never sent again.
        outbox = LedgerOutbox::open(outboxFile).value();
        QCOMPARE(outbox->count(), 0);
        const QList<RefusedEntry> aside = outbox->refused();
        QCOMPARE(aside.size(), 2);
        QCOMPARE(aside.at(0).entry.origin, paidGone.origin);
        QCOMPARE(std::pair(aside.at(0).entry.amount, aside.at(0).entry.refersTo), std::pair(qint64(5000), gone.id));
        QVERIFY(aside.at(0).reason.contains(u"void"_s) && aside.at(0).refusedAt.isValid());
        QCOMPARE(aside.at(1).entry.refersToOrigin, paidGone.origin);
        QCOMPARE(outbox->send(*store).sent, 0);
        QCOMPARE(store->entries().value().size(), 13);
    }

    void anInvoiceExportedTwiceWhileAwayArrivesAsAnIssueAndItsReissue()
    {
        REQUIRE_SERVER(server);
        const QString connection = server.freshDatabase().connection;
        QTemporaryDir folder;
        const test::OwnLedger owned(folder.path(), connection);
        IssueLedger &ledger = *owned;
        QVERIFY(openServerLedger(connection)); // sets up the server's ledger
        Invoice page;
        page.title = u"請求書"_s;
        page.date = QDate(2026, 12, 1);
        page.customer = u"株式会社サンプル商事"_s;
        page.honorificShown = u"御中"_s;
        page.number = u"2026-0077"_s;
        const QString pdf = test::writeFile(folder.filePath(u"sent.pdf"_s), "%PDF-1.7\n% the invoice as sent\n%%EOF\n");

        QVERIFY(server->stop());
        const std::optional<QString> told = ledger.recordIssue(page, QString(), IssueChannel::Pdf, pdf);
        QVERIFY(told && told->contains(u"waits"_s));
        QVERIFY(!ledger.recordIssue(page, QString(), IssueChannel::Pdf, pdf)); // said once is enough
        QCOMPARE(ledger.shared()->waitingCount(), 2);
        ledger.close(); // as if Seikyu were killed

        QVERIFY(server->start());
        ServerSession *office = ledger.shared();
        const Result<OutboxSending> sending = office->call<OutboxSending>(
            [](SharedLedger &shared) { return shared.sendWaiting(); }, office->defaultWait());
        QVERIFY(sending);
        QCOMPARE(std::pair(sending->sent, sending->waiting), std::pair(2, 0));
        std::unique_ptr<LedgerStore> ledgerThere = openServerLedger(connection);
        const QList<LedgerEntry> entries = ledgerThere->entries().value();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).refersTo, 0);
        QCOMPARE(std::pair(entries.at(1).refersTo, entries.at(1).invoiceId),
                 std::pair(entries.at(0).id, entries.at(0).id));
        QVERIFY(entries.at(0).archiveName != entries.at(1).archiveName);
        QVERIFY(ledgerThere->verify(ledger.archiveFolder()).value().isEmpty());
    }

    void anEntryRefusedWhileTheServerAnswersIsKeptAsideToo()
    {
        REQUIRE_SERVER(server);
        QTemporaryDir folder;
        SharedLedger shared(server.freshDatabase().connection,
                            LedgerOutbox::open(folder.filePath(u"o.sqlite"_s)).value());
        const LedgerEntry held = shared.record(issue(u"先方"_s, 900, u"7"_s)).entry.value();
        QVERIFY(shared.record(voiding(held, u"誤り"_s)).entry);

        const SharedRecording refused = shared.record(payment(held, 900));
        QVERIFY(!refused.entry && !refused.waiting && refused.keptAside && refused.entry.message().contains(u"void"_s));
        QCOMPARE(refused.refused.size(), 1);
        QCOMPARE(shared.waitingCount(), 0);
        QCOMPARE(shared.outbox().refusedCount(), 1);

        // A reference by an origin the ledger never saw is refused, not waited on forever.
        LedgerEntry nowhere;
        nowhere.origin = u"outbox:never-sent"_s;
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
        QCOMPARE(shared.server()->entries().value().size(), 2);
    }

    void theWindowRefusesPaymentsWithoutTheServerAndShowsWhatWasRefused()
    {
        REQUIRE_SERVER(server);
        const QString connection = server.freshDatabase().connection;
        QTemporaryDir folder;
        const test::OwnLedger owned(folder.path(), connection);
        test::PrompterGuard prompter;
        {
            SharedLedger shared(connection, LedgerOutbox::open(IssueLedger::instance().outboxPath()).value());
            QVERIFY(shared.record(issue(u"窓口"_s, 3000, u"2026-0050"_s)).entry);
        }
        IssuedInvoicesWindow window;
        window.refresh();
        QCOMPARE(window.model()->rowCount(), 1);
        window.findChild<QTableView *>(u"ledgerTable"_s)->selectRow(0);
        LedgerEntry shown;
        shown.id = window.model()->issueAt(0)->issue.id;

        QVERIFY(server->stop());
        // The rows shown before stay; recording against them needs the server, and says so
        // before anything is typed.
        window.recordPaymentForSelection();
        window.voidSelection();
        QVERIFY(!window.recordPayment(shown.id, QDate(2026, 12, 9), 100, QString()));
        QCOMPARE(prompter->alerts.size(), 3);
        for (const QString &alert : prompter->alerts.mid(0, 2))
            QVERIFY2(alert.contains(serverProblemText(ServerProblem::NoServer)), qPrintable(alert));

        // A payment waiting in the outbox against the invoice, which someone at another desk
        // voids before the server is back.
        ServerSession *office = IssueLedger::instance().shared();
        QVERIFY(office && office->record(payment(shown, 3000), office->defaultWait()).waiting && server->start());
        QVERIFY(openServerLedger(connection)->recordVoid(shown.id, u"別の者が取消"_s));
        // Once a look in the background sees the server again, what waits is sent by itself.
        QTRY_COMPARE_WITH_TIMEOUT(office->waitingCount(), 0, 30000);
        window.refresh();
        auto *problem = window.findChild<QLabel *>(u"problem"_s);
        QVERIFY(!problem->isHidden());
        QVERIFY2(problem->text().contains(u"3,000"_s), qPrintable(problem->text()));
        window.refresh(); // still said, once: it is in no ledger
        QCOMPARE(problem->text().count(u"kept aside"_s), 1);
        // Beside what else the window has to say.
        window.findChild<QLineEdit *>(u"from"_s)->setText(u"someday"_s);
        window.refresh();
        QVERIFY2(problem->text().contains(u"not a date"_s), qPrintable(problem->text()));
        QVERIFY(problem->text().contains(u"kept aside"_s));
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
