// Seikyu's benchmark: prints the median time of each measured operation against its target.
// Run it with `make bench` (see bench/README.md).
#include "app/Application.h"
#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "output/PdfExport.h"
#include "table/ItemTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace seikyu;

namespace {

struct Result
{
    QString name;
    double medianMs;
    double targetMs;
};

std::vector<Result> results;

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

std::unique_ptr<Document> openDocument(const QByteArray &bytes)
{
    auto document = std::make_unique<Document>();
    document->setTeachesLists(false);
    document->readFromData(bytes);
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
    measure(QStringLiteral("save a 30-row invoice"), 10, 21, nullptr, [&] {
        QString error;
        writeFileAtomically(path, document->dataOfType(), &error);
    });
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
            [&] { document->removeSumsRows(); },
            [&] {
                // The work of totalling: the sums rows, then every amount as currency.
                document->appendSumsRows();
                document->yens();
            });
        measure(
            QStringLiteral("yens on %1 rows").arg(rows), rows == 10000 ? 100 : 20, 7, [&] { document->wipeDone(); },
            [&] { document->yens(); });
    }
    std::unique_ptr<Document> mixed = openDocument(invoiceWithRows(10000, true));
    mixed->gridCalc();
    measure(
        QStringLiteral("totals on 10000 rows, mixed rates"), 100, 7, [&] { mixed->removeSumsRows(); },
        [&] {
            mixed->appendSumsRows();
            mixed->yens();
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

    QTemporaryDir dir;
    QStringList hundred;
    for (int i = 0; i < 100; ++i) {
        const QString path = dir.filePath(QStringLiteral("invoice-%1.seikyu").arg(i, 3, 10, QLatin1Char('0')));
        QString error;
        writeFileAtomically(path, invoiceWithRows(5 + i % 20), &error);
        hundred.append(path);
    }
    auto runExport = [&](const QStringList &files) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SEIKYU_BINARY),
                      QStringList{QStringLiteral("--export-pdf"), dir.filePath(QStringLiteral("out"))} + files);
        process.waitForFinished(60000);
    };
    measure(QStringLiteral("seikyu --export-pdf, 1 invoice (whole process)"), 50, 9, nullptr,
            [&] { runExport({hundred.first()}); });
    measure(QStringLiteral("seikyu --export-pdf, 100 invoices (whole process)"), 800, 5, nullptr,
            [&] { runExport(hundred); });
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    configureApplication(app);

    benchStartUp();
    benchDocument();
    benchTable();
    benchExport();

    std::printf("%-46s %12s %10s  %s\n", "operation", "median ms", "target", "");
    bool allMet = true;
    for (const Result &r : results) {
        const bool met = r.medianMs <= r.targetMs;
        allMet = allMet && met;
        std::printf("%-46s %12.2f %10.0f  %s\n", r.name.toUtf8().constData(), r.medianMs, r.targetMs,
                    met ? "ok" : "SLOW");
    }
    return allMet ? 0 : 1;
}
