// Seikyu's benchmark: prints the median time of each measured operation against its target.
// Run it with `make bench` (see bench/README.md).
#include "app/Application.h"
#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/PageView.h"
#include "einvoice/EInvoiceExport.h"
#include "einvoice/UblValidation.h"
#include "import/CsvFile.h"
#include "import/ImportRowsDialog.h"
#include "invoice/ItemTableModel.h"
#include "ledger/IssueFacts.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedInvoicesWindow.h"
#include "ledger/LedgerCsv.h"
#include "ledger/LedgerSqlSearch.h"
#include "ledger/LedgerTableModel.h"
#include "output/PdfExport.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "widgets/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

using namespace seikyu;

/// The shared ledger's part (office_bench.cpp); it reports each measurement through `report`.
void benchOffice(const std::function<void(const QString &, double, double)> &report);

namespace {

struct Measurement
{
    QString name;
    double medianMs;
    double targetMs;
};

std::vector<Measurement> results;

/// Writes a file a measurement needs; a failure is said, as the numbers after it would mean nothing.
void writeBenchFile(const QString &path, const QByteArray &bytes)
{
    if (const Result<void> written = writeFileAtomically(path, bytes); !written)
        std::fprintf(stderr, "%s could not be written: %s\n", qPrintable(path), qPrintable(written.message()));
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

/// Times `run` `rounds` times after `prepare` (untimed) each round; records the median.
void measure(const QString &name, double targetMs, int rounds, const std::function<void()> &prepare,
             const std::function<void()> &run)
{
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        run();
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    results.push_back({name, median(samples), targetMs});
}

/// An invoice of `rows` items, typed but not yet priced; with mixed rates at 10 %, every third
/// row reduced and every seventh exempt.
QByteArray invoiceWithRows(int rows, bool mixedRates = false)
{
    QByteArray items = R"({"date":"日付","name":"項目","solo":"","much":"個数","sums":"価格"})";
    for (int i = 1; i <= rows; ++i) {
        const char *rate = !mixedRates ? "" : i % 7 == 0 ? R"(,"rate":0)" : i % 3 == 0 ? R"(,"rate":8)" : "";
        items += QStringLiteral(R"(,{"date":"12-%1","name":"作業 %2","solo":"%3","much":"%4","sums":"00"%5})")
                     .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                     .arg(i)
                     .arg(1000 + i)
                     .arg(i % 5 + 1)
                     .arg(QString::fromLatin1(rate))
                     .toUtf8();
    }
    return QByteArray(
               R"({"head":"請求書","date":"2026-12-05","whom":"千代田商事","from":"100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行",)"
               R"("full":"\b御請求金額\n","jgen":0,"tail":0,"plus":1,)") +
           (mixedRates ? QByteArray(R"("rate":10,)") : QByteArray()) + R"("item":[)" + items + "]}";
}

/// A hundred invoice files of 5 to 24 rows made by `invoice`, exported by the command line's
/// `option` in a process of its own: once the first of them, once all of them.
void benchCommandLineExport(const QString &option, const std::function<QByteArray(int)> &invoice, double hundredMs)
{
    QTemporaryDir dir;
    QStringList hundred;
    for (int i = 0; i < 100; ++i) {
        const QString path = dir.filePath(QStringLiteral("invoice-%1.seikyu").arg(i, 3, 10, QLatin1Char('0')));
        writeBenchFile(path, invoice(5 + i % 20));
        hundred.append(path);
    }
    auto runExport = [&](const QStringList &files) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SEIKYU_BINARY), QStringList{option, dir.filePath(QStringLiteral("out"))} + files);
        process.waitForFinished(60000);
    };
    // The start of a process that only prints its version, measured in the same run: an export of
    // one invoice, its ledger entry included, should cost little more than starting at all.
    measure(QStringLiteral("seikyu --version (whole process)"), 50, 9, nullptr, [&] {
        QProcess process;
        process.start(QStringLiteral(SEIKYU_BINARY), {QStringLiteral("--version")});
        process.waitForFinished(60000);
    });
    const double startMs = results.back().medianMs;
    measure(QStringLiteral("seikyu %1, 1 invoice (whole process)").arg(option), 50, 9, nullptr,
            [&] { runExport({hundred.first()}); });
    results.push_back({QStringLiteral("  its time ÷ --version's (ratio)"), results.back().medianMs / startMs, 1.3});
    measure(QStringLiteral("seikyu %1, 100 invoices (whole process)").arg(option), hundredMs, 5, nullptr,
            [&] { runExport(hundred); });
}

std::unique_ptr<Document> openDocument(const QByteArray &bytes)
{
    auto document = std::make_unique<Document>();
    document->setTeachesLists(false);
    if (const Result<void> read = document->readFromData(bytes); !read)
        qWarning("the benchmark's invoice did not read: %s", qPrintable(read.message()));
    document->windowControllerDidLoadNib();
    return document;
}

void benchStartUp()
{
    const QString binary = QStringLiteral(SEIKYU_BINARY);
    std::vector<double> samples;
    for (int i = 0; i < 7; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SEIKYU_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(binary, {});
        process.waitForFinished(30000);
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    results.push_back({QStringLiteral("start-up to first window (whole process)"), median(samples), 300});
}

void benchDocument()
{
    const QByteArray thirty = invoiceWithRows(30);
    std::unique_ptr<Document> document;
    measure(
        QStringLiteral("open + set up a 30-row invoice"), 20, 21, [&] { document.reset(); },
        [&] { document = openDocument(thirty); });

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.seikyu"));
    measure(QStringLiteral("save a 30-row invoice"), 10, 21, nullptr,
            [&] { writeBenchFile(path, document->dataOfType()); });
    document.reset();
}

void benchTable()
{
    for (int rows : {1000, 10000}) {
        const QByteArray bytes = invoiceWithRows(rows);
        std::unique_ptr<Document> document = openDocument(bytes);
        document->gridCalc(); // warm the formatters
        measure(
            QStringLiteral("totals on %1 rows").arg(rows), rows == 10000 ? 100 : 20, 7,
            [&] { document->model()->removeSumsRows(); },
            [&] {
                // The work of totalling: the sums rows, then every amount as currency.
                document->model()->appendSumsRows();
                document->model()->writeAmountsAsCurrency();
            });
        measure(
            QStringLiteral("yens on %1 rows").arg(rows), rows == 10000 ? 100 : 20, 7,
            [&] { document->model()->writeAmountsAsNumbers(); }, [&] { document->model()->writeAmountsAsCurrency(); });
    }
    std::unique_ptr<Document> mixed = openDocument(invoiceWithRows(10000, true));
    mixed->gridCalc();
    measure(
        QStringLiteral("totals on 10000 rows, mixed rates"), 100, 7, [&] { mixed->model()->removeSumsRows(); },
        [&] {
            mixed->model()->appendSumsRows();
            mixed->model()->writeAmountsAsCurrency();
        });
    mixed.reset();
    std::unique_ptr<Document> document = openDocument(invoiceWithRows(30));
    measure(QStringLiteral("1,000 × Add a Row + Undo"), 200, 5, nullptr, [&] {
        for (int i = 0; i < 1000; ++i) {
            document->tblePlus();
            document->undoStack()->undo();
        }
    });
}

/// Rows as a spreadsheet gives them: date, description, unit price, quantity, and the price left
/// to be worked out on every other row.
QByteArray spreadsheetRows(int rows, char delimiter)
{
    QByteArray text = delimiter == '\t' ? QByteArray() : QByteArray("日付,品名,単価,数量,金額\r\n");
    for (int i = 1; i <= rows; ++i) {
        const QByteArray price = i % 2 ? QByteArray::number((1000 + i) * (i % 5 + 1)) : QByteArray();
        text += "12/" + QByteArray::number(i % 28 + 1) + delimiter + "配送 " + QByteArray::number(i) + delimiter +
                (delimiter == ',' ? "\"1," + QByteArray::number(i % 900 + 100) + "\"" : QByteArray::number(1000 + i)) +
                delimiter + QByteArray::number(i % 5 + 1) + delimiter + price + "\r\n";
    }
    return text;
}

/// Answers the closing message of an import without a window.
class QuietPrompter : public Prompter
{
public:
    void inform(QWidget *, const QString &, const QString &) override {}
    void alert(QWidget *, const QString &, const QString &) override {}
};

void benchRowImport()
{
    Prompter::setInstance(std::make_unique<QuietPrompter>());
    const QString pasted = QString::fromUtf8(spreadsheetRows(5000, '\t'));
    std::unique_ptr<Document> document;
    measure(
        QStringLiteral("paste 5,000 rows (one undo step)"), 1000, 5,
        [&] { document = openDocument(invoiceWithRows(3)); }, [&] { document->pasteRows(pasted); });

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.csv"));
    writeBenchFile(path, spreadsheetRows(10000, ','));
    setImportChooser([](QWidget *, const CsvFile &file, const QString &) {
        return std::optional<ImportChoice>(ImportChoice{file.proposedMapping(), file.header.has_value()});
    });
    measure(
        QStringLiteral("import a 10,000-row CSV file"), 1000, 5, [&] { document = openDocument(invoiceWithRows(3)); },
        [&] { document->importRowsFrom(path); });
    setImportChooser({});
    Prompter::setInstance(nullptr);
    document.reset();
}

void benchExport()
{
    QByteArray bytes = invoiceWithRows(20);
    std::unique_ptr<Document> document = openDocument(bytes);
    QByteArray pdf;
    measure(QStringLiteral("export one page (in process)"), 20, 21, nullptr,
            [&] { pdf = renderPagePdf(*document, QStringLiteral("bench")); });
    results.push_back({QStringLiteral("PDF size of a 20-row invoice (KB)"), pdf.size() / 1024.0, 40});

    // A damaged or hostile file may hold a text of any length: fitting it stops once its box is full.
    for (const char *member : {"head", "name"}) {
        QByteArray hostile = invoiceWithRows(3);
        const QByteArray text = '"' + QByteArray(1'000'000, 'x') + '"';
        hostile.replace(member == QByteArrayLiteral("head") ? QByteArrayLiteral("\"請求書\"")
                                                            : QByteArrayLiteral("\"作業 1\""),
                        text);
        measure(QStringLiteral("open + export, 1,000,000-character %1").arg(QString::fromLatin1(member)), 2000, 3,
                nullptr, [&] { renderPagePdf(*openDocument(hostile), QStringLiteral("bench")); });
    }

    benchCommandLineExport(
        QStringLiteral("--export-pdf"), [](int rows) { return invoiceWithRows(rows); }, 400);
}

/// Invoices of many pages: a wholesaler's month of 1,000 deliveries (about 25 pages) and a
/// 10,000-row table, opened and shown, totalled and exported by the command line.
void benchLongInvoices()
{
    QTemporaryDir dir;
    for (int rows : {1000, 10000}) {
        const QByteArray bytes = invoiceWithRows(rows, true);
        const bool large = rows == 10000;
        std::unique_ptr<Document> document;
        measure(
            QStringLiteral("open + show a %1-row invoice").arg(rows), large ? 3000 : 300, large ? 3 : 7,
            [&] { document.reset(); },
            [&] {
                document = openDocument(bytes);
                document->window()->show();
                QCoreApplication::processEvents();
            });
        results.push_back({QStringLiteral("pages of the %1-row invoice").arg(rows),
                           static_cast<double>(document->pages().size()), large ? 260.0 : 30.0});
        measure(
            QStringLiteral("totals on a shown %1-row invoice").arg(rows), large ? 1000 : 50, large ? 3 : 7,
            [&] { document->model()->removeSumsRows(); },
            [&] {
                document->model()->appendSumsRows();
                document->model()->writeAmountsAsCurrency();
            });
        measure(QStringLiteral("scroll through the %1-row invoice").arg(rows), large ? 2000 : 200, 3, nullptr, [&] {
            // Every page painted once, as scrolling from the first to the last does.
            for (QWidget *page : document->pages())
                page->repaint();
        });
        const QString path = dir.filePath(QStringLiteral("long-%1.seikyu").arg(rows));
        writeBenchFile(path, document->dataOfType());
        document.reset();
        const QString pdf = dir.filePath(QStringLiteral("long-%1.pdf").arg(rows));
        measure(QStringLiteral("seikyu --export-pdf, %1 rows (whole process)").arg(rows), large ? 10000 : 1000,
                large ? 3 : 5, nullptr, [&] {
                    QProcess process;
                    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
                    process.setProcessEnvironment(env);
                    process.start(QStringLiteral(SEIKYU_BINARY), {QStringLiteral("--export-pdf"), pdf, path});
                    process.waitForFinished(120000);
                });
        results.push_back({QStringLiteral("PDF size of the %1-row invoice (KB)").arg(rows),
                           QFileInfo(pdf).size() / 1024.0, large ? 4000.0 : 400.0});
        if (large) {
            // The largest of the processes run so far: the export of the 10,000 rows.
            rusage usage{};
            getrusage(RUSAGE_CHILDREN, &usage);
            results.push_back({QStringLiteral("peak memory of any export (MB)"), usage.ru_maxrss / 1024.0, 400});
        }
    }
}

/// A qualified invoice of `rows` priced items at 10 % and 8 %, totalled, that can be an e-invoice.
QByteArray eInvoiceReady(int rows)
{
    QJsonArray items{QJsonObject{{"date", "日付"}, {"name", "項目"}, {"solo", ""}, {"much", "個数"}, {"sums", "価格"}}};
    SumsInput input;
    input.rate = 10;
    input.qualified = true;
    for (int i = 1; i <= rows; ++i) {
        const qint64 price = (1000 + i) * (i % 5 + 1);
        QJsonObject row{{"date", QStringLiteral("12-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))},
                        {"name", QStringLiteral("品目 %1").arg(i)},
                        {"solo", QString::number(1000 + i)},
                        {"much", QStringLiteral("%1個").arg(i % 5 + 1)},
                        {"sums", QString::number(price)}};
        if (i % 3 == 0)
            row.insert("rate", 8);
        items.append(row);
        input.items.append({price, i % 3 == 0 ? TaxClass::Reduced : TaxClass::Standard});
    }
    const QList<SumsLine> sums = computeSums(input).value();
    for (const SumsLine &line : sums)
        items.append(QJsonObject{{"date", " "},
                                 {"name", " "},
                                 {"solo", ""},
                                 {"much", line.label},
                                 {"sums", QString::number(amountOf(line.value))}});
    const QJsonObject invoice{{"head", "請求書"},
                              {"date", "2026-12-05"},
                              {"whom", "千代田商事"},
                              {"peer", "0221:T1234567890123"},
                              {"numb", "INV-0001"},
                              {"dues", "2026-12-31"},
                              {"from", "100-0001\n東京都千代田区\n山田太郎\n03-1234-5678\nみずほ銀行\nT8010001000003"},
                              {"full", "\b御請求金額\n"},
                              {"jgen", 0},
                              {"tail", 0},
                              {"plus", 1},
                              {"rate", 10},
                              {"item", items}};
    return QJsonDocument(invoice).toJson();
}

void benchEInvoice()
{
    // Each e-invoice is validated against the UBL 2.1 schema, compiled on the first export of a process.
    QElapsedTimer compiling;
    compiling.start();
    if (!ublSchemaCompiles())
        std::fprintf(stderr, "the UBL 2.1 schema did not compile\n");
    results.push_back(
        {QStringLiteral("UBL 2.1 schema compiled (once per process)"), double(compiling.nsecsElapsed()) / 1e6, 150});
    const QByteArray twenty = eInvoiceReady(20);
    QByteArray xml;
    measure(QStringLiteral("e-invoice XML of a 20-row invoice (in process)"), 5, 21, nullptr,
            [&] { xml = eInvoiceXml(eInvoiceOfFile(twenty)); });

    // A PDF/A-3 export against a plain one: the same page, then made PDF/A-3 with the XML inside.
    std::unique_ptr<Document> document = openDocument(twenty);
    std::vector<double> plain;
    std::vector<double> hybrid;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray pdf = renderPagePdf(*document, QStringLiteral("bench"));
        plain.push_back(static_cast<double>(timer.nsecsElapsed()));
        timer.restart();
        const Result<QByteArray> a3 =
            pdfWithEInvoice(renderPagePdf(*document, QStringLiteral("bench")), xml, QStringLiteral("bench.xml"));
        hybrid.push_back(static_cast<double>(timer.nsecsElapsed()));
        if (!a3)
            std::fprintf(stderr, "PDF/A-3 failed: %s\n", qPrintable(a3.message()));
    }
    results.push_back({QStringLiteral("PDF/A-3 export ÷ plain export (ratio)"), median(hybrid) / median(plain), 1.3});

    benchCommandLineExport(QStringLiteral("--export-ubl"), eInvoiceReady, 1000);
}

/// The searches the Issued Invoices window makes, run by the database (a page of 200 rows and the
/// sums over everything found), on the same ledger.
void benchLedgerDatabaseSearch(IssueLedger &ledger, const LedgerFilter &byCustomer, const LedgerFilter &byRanges,
                               const LedgerFilter &unpaidLate)
{
    auto search = [&](const LedgerFilter &filter, LedgerOrder order) {
        const Result<LedgerPage> page =
            searchLedger(ledger.store().value()->database(), filter, LedgerSlice{order, true, 0, 200});
        if (!page || page->rows.isEmpty())
            std::printf("ledger: the database search found nothing\n");
    };
    measure(
        QStringLiteral("ledger db: opened + first search, all"), 300, 5, [&] { ledger.close(); },
        [&] { search({}, LedgerOrder::Date); });
    measure(QStringLiteral("ledger db: all, by date"), 50, 11, nullptr, [&] { search({}, LedgerOrder::Date); });
    measure(QStringLiteral("ledger db: all, by amount"), 50, 11, nullptr, [&] { search({}, LedgerOrder::Amount); });
    measure(QStringLiteral("ledger db: all, by status"), 50, 11, nullptr, [&] { search({}, LedgerOrder::Status); });
    measure(QStringLiteral("ledger db: all, by customer"), 50, 11, nullptr, [&] { search({}, LedgerOrder::Customer); });
    measure(QStringLiteral("ledger db: customer (width-folded)"), 50, 11, nullptr,
            [&] { search(byCustomer, LedgerOrder::Recorded); });
    measure(QStringLiteral("ledger db: date + amount ranges"), 50, 11, nullptr,
            [&] { search(byRanges, LedgerOrder::Recorded); });
    measure(QStringLiteral("ledger db: unpaid, past due, customer"), 50, 11, nullptr,
            [&] { search(unpaidLate, LedgerOrder::Recorded); });
}

/// A ledger of 100,000 issued invoices to 500 customers over four years, a third of them paid.
void benchLedger()
{
    QTemporaryDir dir;
    IssueLedger &ledger = IssueLedger::instance();
    ledger.setFolder(dir.path());
    LedgerStore *store = ledger.store().value_or(nullptr);
    constexpr int Count = 100000;
    QList<LedgerEntry> batch;
    for (int i = 1; i <= Count; ++i) {
        LedgerEntry entry;
        entry.channel = IssueChannel::Batch;
        entry.customer = QStringLiteral("株式会社テスト商事%1").arg(i % 500);
        entry.honorific = QStringLiteral("御中");
        entry.number = QStringLiteral("INV-%1").arg(i, 6, 10, QLatin1Char('0'));
        entry.invoiceDate = QDate(2023, 1, 1).addDays(i % 1460);
        entry.dueDate = entry.invoiceDate.addDays(30);
        entry.amount = 1000 + (i * 7919) % 900000;
        entry.taxes = {TaxLine{10, entry.amount * 10 / 11, entry.amount - entry.amount * 10 / 11, false}};
        entry.title = QStringLiteral("請求書");
        batch.append(entry);
        if (i % 3 == 0) {
            LedgerEntry payment;
            payment.kind = EntryKind::Payment;
            payment.refersTo = i + i / 3 - 1; // the issue just added: ids count the payments too
            payment.amount = entry.amount;
            payment.paymentDate = entry.dueDate;
            batch.append(payment);
        }
        if (batch.size() >= 5000) {
            static_cast<void>(store->recordAll(batch));
            batch.clear();
        }
    }
    static_cast<void>(store->recordAll(batch));

    auto window = std::make_unique<IssuedInvoicesWindow>();
    measure(
        QStringLiteral("ledger: window opens, 100,000 entries"), 300, 5,
        [&] {
            window.reset();
            ledger.close(); // read from the file afresh
        },
        [&] {
            window = std::make_unique<IssuedInvoicesWindow>();
            window->refresh();
            window->show();
            QCoreApplication::processEvents();
        });
    window = std::make_unique<IssuedInvoicesWindow>();
    window->refresh();
    LedgerFilter byCustomer;
    byCustomer.customer = QStringLiteral("ﾃｽﾄ商事12");
    LedgerFilter byRanges;
    byRanges.from = QDate(2024, 3, 1);
    byRanges.to = QDate(2024, 3, 31);
    byRanges.minAmount = 100000;
    byRanges.maxAmount = 500000;
    LedgerFilter unpaidLate;
    unpaidLate.statuses = LedgerFilter::outstanding();
    unpaidLate.pastDueOnly = true;
    unpaidLate.customer = QStringLiteral("テスト");
    measure(QStringLiteral("ledger: search all, newest first, in the table"), 50, 11, nullptr,
            [&] { window->refresh(); });
    measure(QStringLiteral("ledger: all sorted by amount, in the table"), 50, 11, nullptr,
            [&] { window->model()->sort(LedgerTableModel::AmountColumn, Qt::AscendingOrder); });
    std::optional<Result<QByteArray>> csv;
    measure(
        QStringLiteral("ledger: CSV of all 100,000"), 2000, 3, [&] { window->refresh(); },
        [&] { csv = window->csv(); });

    // Recording an export: the page's facts, the PDF hashed and archived, the entry added.
    std::unique_ptr<Document> document = openDocument(invoiceWithRows(20));
    const QString pdf = dir.filePath(QStringLiteral("issued.pdf"));
    writeBenchFile(pdf, renderPagePdf(*document, QStringLiteral("bench")));
    const Invoice page = document->pageState();
    measure(QStringLiteral("ledger: record an issued PDF"), 10, 21, nullptr,
            [&] { ledger.recordIssue(page, dir.filePath(QStringLiteral("a.seikyu")), IssueChannel::Pdf, pdf); });
    // The entry alone, on disk (synchronous=FULL) before it is reported.
    const LedgerEntry entry = issueEntryOf(page);
    measure(QStringLiteral("ledger: record an entry, fully synced"), 10, 21, nullptr,
            [&] { static_cast<void>(ledger.store().value()->record(entry)); });
    window.reset();
    benchLedgerDatabaseSearch(ledger, byCustomer, byRanges, unpaidLate);
    ledger.close();
}

/// The table of every result; non-zero when a target was missed.
int reportResults()
{
    std::printf("%-46s %12s %10s  %s\n", "operation", "median ms", "target", "");
    bool allMet = true;
    for (const Measurement &r : results) {
        const bool met = r.medianMs <= r.targetMs;
        allMet = allMet && met;
        std::printf("%-46s %12.2f %10.1f  %s\n", r.name.toUtf8().constData(), r.medianMs, r.targetMs,
                    met ? "ok" : "SLOW");
    }
    return allMet ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    // Exports record themselves in the ledger: the benchmark's go to a ledger of its own.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    configureApplication(app);

    // `seikyu_bench ledger` measures the ledger alone, SEIKYU_BENCH_SHARED_ONLY=1 the shared ledger alone.
    const bool ledgerOnly = QCoreApplication::arguments().contains(QStringLiteral("ledger"));
    // `seikyu_bench einvoice` measures the e-invoice alone.
    if (QCoreApplication::arguments().contains(QStringLiteral("einvoice"))) {
        benchEInvoice();
        return reportResults();
    }
    // `seikyu_bench commandline`: the command line's export of one and of a hundred invoices, and
    // `--version` in the same run, alone.
    if (QCoreApplication::arguments().contains(QStringLiteral("commandline"))) {
        benchCommandLineExport(
            QStringLiteral("--export-pdf"), [](int rows) { return invoiceWithRows(rows); }, 400);
        return reportResults();
    }
    const bool sharedOnly = qEnvironmentVariableIsSet("SEIKYU_BENCH_SHARED_ONLY");
    if (!ledgerOnly && !sharedOnly) {
        benchStartUp();
        benchDocument();
        benchTable();
        benchRowImport();
        benchExport();
        benchLongInvoices();
        benchEInvoice();
    }
    if (!sharedOnly)
        benchLedger();
    if (!ledgerOnly)
        benchOffice([](const QString &name, double ms, double target) { results.push_back({name, ms, target}); });

    return reportResults();
}
