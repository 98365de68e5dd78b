// Texts of any length: a damaged or hostile file (or a paste) may hold a title, customer, issuer
// line, remarks or cell of a million characters. It opens, shows and exports in time that grows
// with its length, not its square; the page shows what fits, ending in "…", and the file keeps
// every character. The bounds are generous: they catch the square, not a slow machine.
#include "document/PageView.h"
#include "output/PdfExport.h"
#include "page/PageFonts.h"
#include "page/TextFit.h"
#include "support/PdfTools.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextLayout>

using namespace seikyu;
using namespace seikyu::test;

namespace {

constexpr qsizetype Long = 1'000'000;

/// What a paste of a long text holds in the worst case: no break opportunity at all.
QString unbreakable(qsizetype length)
{
    return QString(length, QLatin1Char('x'));
}

QByteArray invoiceWith(const QString &member, const QString &text)
{
    QJsonObject invoice{{"head", "請求書"},
                        {"date", "2025-05-01"},
                        {"whom", "丸の内物産"},
                        {"tail", 0},
                        {"from", "〒100-0005\n東京都千代田区丸の内\n株式会社サンプル\n03-1234-5678\nみずほ銀行"}};
    QJsonArray items{
        QJsonObject{{"date", "日付"}, {"name", "項目"}, {"solo", ""}, {"much", "個数"}, {"sums", "価格"}},
        QJsonObject{{"date", "05/01"}, {"name", "デザイン料"}, {"solo", "5000"}, {"much", 2}, {"sums", "10000"}}};
    if (member == u"name" || member == u"date") {
        QJsonObject row = items.at(1).toObject();
        row.insert(member, text);
        items.replace(1, row);
    } else {
        invoice.insert(member, text);
    }
    invoice.insert("item", items);
    return QJsonDocument(invoice).toJson();
}

} // namespace

class TestLongTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initApplication(); }
    void init() { clearSettings(); }

    void fittingStopsOnceTheBoxIsFull_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("elide");
        const QString words = QStringLiteral("word ").repeated(Long / 5);
        const QString kanji = QStringLiteral("請求書").repeated(Long / 3);
        const QString lines = QStringLiteral("行\n").repeated(Long / 2);
        for (const bool elide : {false, true}) {
            const char *mode = elide ? "elide" : "shrink";
            QTest::addRow("no break opportunity, %s", mode) << unbreakable(Long) << true << elide;
            QTest::addRow("words, %s", mode) << words << true << elide;
            QTest::addRow("kanji, %s", mode) << kanji << true << elide;
            QTest::addRow("line feeds, %s", mode) << lines << true << elide;
            QTest::addRow("one line that must not wrap, %s", mode) << unbreakable(Long) << false << elide;
        }
    }
    void fittingStopsOnceTheBoxIsFull()
    {
        QFETCH(QString, text);
        QFETCH(bool, wrap);
        QFETCH(bool, elide);
        TextFitRequest request;
        request.box = QSizeF(300, 46);
        request.pixelSize = 18;
        request.wrap = wrap;
        request.maximumLines = elide ? 2 : 0;
        if (elide)
            request.overflow = TextFitRequest::Overflow::Elide;
        const QFont face = pageFont(18);
        QElapsedTimer clock;
        clock.start();
        const FittedText fitted = fitText(text, face, request);
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        // What fits, legible, ending in "…".
        QVERIFY(fitted.elided && fitted.legible);
        QVERIFY(!fitted.lines.isEmpty() && fitted.lines.constLast().endsWith(QChar(0x2026)));
        QFont setIn = face;
        setIn.setPixelSize(fitted.pixelSize);
        const QFontMetricsF metrics(setIn);
        QVERIFY(fitted.lines.size() * metrics.height() <= request.box.height() + 0.01);
        for (const QString &line : fitted.lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= request.box.width() + 0.01, qPrintable(line));
        // Every line but the last is the text as it stands, in order.
        QString shown = fitted.lines.join(QString());
        shown.remove(QLatin1Char(' ')).chop(1);
        QString original = text;
        original.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
        QVERIFY(original.startsWith(shown));
    }

    void measurementsKeptFollowTheFace()
    {
        // A text is measured once per face and size: the same text in another face, size or
        // weight is measured anew, also after the thread has forgotten what it kept.
        const QString text = QStringLiteral("御請求金額 ¥1,234,567 (税込) Wide Words");
        const QList<QFont> faces{pageFont(12), pageGothicFont(12), pageFont(12, true), pageFont(11)};
        const auto fittedIn = [](const QString &measured, const QFont &face, qreal width) {
            TextFitRequest request;
            request.box = QSizeF(width, 1000);
            request.pixelSize = face.pixelSize();
            request.minimumPixelSize = face.pixelSize();
            request.wrap = true;
            return fitText(measured, face, request).lines;
        };
        for (int pass = 0; pass < 2; ++pass) {
            for (const QFont &face : faces) {
                // Just wide enough for the whole text in this face: one line; a little less: two.
                const qreal width = QFontMetricsF(face).horizontalAdvance(text);
                QCOMPARE(fittedIn(text, face, width), QStringList{text});
                QCOMPARE(fittedIn(text, face, width - 1).size(), 2);
            }
            // More texts than a thread keeps, so that the second pass measures everything again.
            for (int i = 0; i < 5000; ++i)
                static_cast<void>(fittedIn(QString::number(i), faces.first(), 100));
        }
    }

    void aLongLineBreaksWhereItAlwaysDid()
    {
        // Broken window by window, a long line gets the very lines that laying it out whole gives.
        const QString text = QStringLiteral("御請求書 2025年5月分 デザイン料、") + unbreakable(3000) +
                             QStringLiteral(" and some words, 振込手数料は貴社負担で、").repeated(60) +
                             QStringLiteral("   spaces   ").repeated(40);
        const QFont face = pageFont(10);
        const qreal width = 200;
        QStringList whole;
        QTextLayout layout(text, face);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = text.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' ')))
                piece.chop(1);
            whole.append(piece);
        }
        layout.endLayout();

        TextFitRequest request;
        request.box = QSizeF(width, 1e6);
        request.pixelSize = 10;
        request.minimumPixelSize = 10;
        const FittedText fitted = fitText(text, face, request);
        QCOMPARE(fitted.pixelSize, 10);
        QVERIFY(!fitted.elided);
        QCOMPARE(fitted.lines, whole);
    }

    void aMillionCharactersOpenShowAndExport_data()
    {
        QTest::addColumn<QString>("member");
        for (const char *member : {"head", "whom", "from", "note", "name", "date"})
            QTest::newRow(member) << QString::fromLatin1(member);
    }
    void aMillionCharactersOpenShowAndExport()
    {
        QFETCH(QString, member);
        const QString text = unbreakable(Long);
        const QByteArray bytes = invoiceWith(member, text);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("long.seikyu")), bytes);
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));

        QElapsedTimer clock;
        clock.start();
        DocumentController controller;
        Document *document = controller.openFile(path);
        QVERIFY(document);
        document->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(document->window()));
        child<PageView>(*document, "page")->grab(); // the page drawn on the screen
        const Result<void> written = writePdfFile(renderPagePdf(*document, QStringLiteral("long")), pdf);
        QVERIFY2(written, qPrintable(written.message()));
        const qint64 took = clock.elapsed();
        qInfo("%s: %lld ms", qPrintable(member), took);
        QVERIFY2(took < 30000, qPrintable(QStringLiteral("%1 ms").arg(took)));

        // The page shows a part, ending in "…"; the file keeps the whole.
        const QString shown = pdfText(pdf);
        QVERIFY2(shown.contains(QStringLiteral("x…")), qPrintable(shown.left(400)));
        QVERIFY(shown.size() < 20000);
        QVERIFY(document->dataOfType().contains(text.toUtf8()));
        QVERIFY(controller.closeAll());
    }
};

QTEST_MAIN(TestLongTexts)
#include "tst_longtexts.moc"
