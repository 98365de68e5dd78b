// The shared ledger's timings against a PostgreSQL server the benchmark starts itself: recording,
// searching a million entries, and numbers taken by several clients at once.
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerSqlSearch.h"
#include "ledger/NumberSequence.h"
#include "ledger/ServerLedger.h"
#include "support/PostgresServer.h"

#include <QElapsedTimer>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

using namespace seikyu;

namespace {

double medianOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double millisecondsOf(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

/// A million entries straight into the table: nine issues to one payment, ten years of dates,
/// five thousand customers. The chain does not matter to a search, so it is not computed. The
/// table of issues is filled afterwards from all of them, as the migration to it fills it for a
/// ledger that held them already, rather than by its trigger over one statement of a million.
bool fillMillion(const test::PostgresServer &server, const QString &database, QString *error)
{
    return server.sql(
        database,
        QStringLiteral(
            "ALTER TABLE ledger_entries DISABLE TRIGGER ledger_issues_follow;"
            "INSERT INTO ledger_entries (id, kind, recorded_at, channel, customer, customer_folded, honorific, "
            "amount, invoice_date, due_date, number, number_folded, invoice_id, previous_hash, hash) "
            "SELECT g + 1000, 'issue', '2026-01-01T00:00:00.000Z', 'pdf', '株式会社 顧客' || (g % 5000), "
            "'株式会社 顧客' || (g % 5000), '御中', (g::bigint * 7919) % 1000000, "
            "to_char(date '2016-01-01' + (g % 3650), 'YYYY-MM-DD'), "
            "to_char(date '2016-02-01' + (g % 3650), 'YYYY-MM-DD'), 'B-' || g, 'b-' || g, g + 1000, '', '' "
            "FROM generate_series(1, 900000) g;"
            "INSERT INTO ledger_entries (id, kind, recorded_at, refers_to, amount, payment_date, invoice_id, "
            "previous_hash, hash) "
            "SELECT g + 901000, 'payment', '2026-01-02T00:00:00.000Z', (g * 9) + 1000, 1000, '2026-01-02', "
            "(g * 9) + 1000, '', '' FROM generate_series(1, 100000) g;"
            "ANALYZE ledger_entries; DELETE FROM ledger_issues;"
            "INSERT INTO ledger_issues (%1) %2;"
            "ALTER TABLE ledger_entries ENABLE TRIGGER ledger_issues_follow; ANALYZE ledger_issues;")
            .arg(issueStateColumns(), issueStateSelect()),
        error, 900000);
}

} // namespace

void benchOffice(const std::function<void(const QString &, double, double)> &report)
{
    const QString missing = test::PostgresServer::unavailableReason();
    if (!missing.isEmpty()) {
        std::printf("shared ledger: skipped, %s\n", qPrintable(missing));
        return;
    }
    test::PostgresServer server;
    QString error;
    if (!server.start(&error) || !server.createDatabase(QStringLiteral("bench"), &error)) {
        std::printf("shared ledger: no server: %s\n", qPrintable(error));
        report(QStringLiteral("shared ledger: server started"), 1, 0);
        return;
    }
    const QString connection = server.socketConnection(QStringLiteral("bench"));
    std::unique_ptr<LedgerStore> store = openServerLedger(connection);

    // The median of 51 issues recorded one by one, as exports record them.
    auto recording = [&store](qint64 firstAmount) {
        std::vector<double> samples;
        for (int i = 0; i < 51; ++i) {
            LedgerEntry entry;
            entry.kind = EntryKind::Issue;
            entry.channel = IssueChannel::Pdf;
            entry.customer = QStringLiteral("株式会社 速度");
            entry.amount = firstAmount + i;
            entry.invoiceDate = QDate(2026, 12, 7);
            samples.push_back(millisecondsOf([&] { static_cast<void>(store->record(entry)); }));
        }
        return medianOf(samples);
    };
    report(QStringLiteral("record an entry (shared)"), recording(11000), 20);

    if (!fillMillion(server, QStringLiteral("bench"), &error)) {
        std::printf("shared ledger: filling failed: %s\n", qPrintable(error));
        return;
    }
    report(QStringLiteral("record an entry, 1,000,000 kept (shared)"), recording(12000), 20);
    LedgerFilter customerAndMonth;
    customerAndMonth.customer = QStringLiteral("顧客123");
    customerAndMonth.from = QDate(2020, 1, 1);
    customerAndMonth.to = QDate(2022, 12, 31);
    LedgerFilter month;
    month.from = QDate(2021, 4, 1);
    month.to = QDate(2021, 4, 30);
    month.statuses = LedgerFilter::outstanding();
    LedgerFilter amounts;
    amounts.minAmount = 500000;
    amounts.maxAmount = 500300;
    const std::vector<std::pair<QString, LedgerFilter>> searches = {
        {QStringLiteral("customer, three years"), customerAndMonth},
        {QStringLiteral("a month's outstanding"), month},
        {QStringLiteral("an amount range"), amounts},
        {QStringLiteral("everything"), LedgerFilter{}}};
    for (const auto &[name, filter] : searches) {
        std::vector<double> samples;
        int found = 0;
        for (int i = 0; i < 9; ++i)
            samples.push_back(millisecondsOf([&, &filter = filter] {
                const Result<LedgerPage> page = searchLedger(store->database(), filter, LedgerSlice{});
                found = page ? page->totals.count : -1;
            }));
        report(QStringLiteral("search 1,000,000: %1 (%2 found)").arg(name).arg(found), medianOf(samples), 100);
    }
    store.reset();

    // 1,000 numbers by 8 clients at once, each on its own connection.
    const int clients = 8;
    const int each = 125;
    std::vector<QStringList> taken(clients);
    const double numbering = millisecondsOf([&] {
        std::vector<std::thread> threads;
        for (int c = 0; c < clients; ++c) {
            threads.emplace_back([&, c] {
                std::unique_ptr<LedgerStore> client = openServerLedger(connection);
                for (int i = 0; client && i < each; ++i) {
                    if (const auto number =
                            takeSharedNumber(client->database(), QStringLiteral("{yyyy}-{00000}"), QDate(2027, 1, 5)))
                        taken[size_t(c)].append(number->text);
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
    });
    QSet<QString> distinct;
    for (const QStringList &numbers : taken)
        for (const QString &number : numbers)
            distinct.insert(number);
    bool withoutGaps = distinct.size() == clients * each;
    for (int n = 1; withoutGaps && n <= clients * each; ++n)
        withoutGaps = distinct.contains(QStringLiteral("2027-%1").arg(n, 5, 10, QLatin1Char('0')));
    report(QStringLiteral("1,000 numbers by 8 clients (shared)"), numbering, 5000);
    report(QStringLiteral("  … distinct and without gaps (1 = yes)"), withoutGaps ? 1 : 0, 1);
}
