// PDF export, printing and the command-line export, checked the way a customer receives the result: through poppler's
// pdftotext, pdfinfo, pdffonts, pdfimages and pdftoppm; the repair of the text layer of Qt's PDFs, by which every
// ideograph the IPAex faces draw with a radical's glyph extracts as the ideograph; and the e-invoice leaving the
// application: File ▸ Export e-Invoice, Export as PDF with the e-invoice attached (PDF/A-3, checked with PDFBox
// Preflight, pdfdetach and rendered against the plain export), the command line, and the customer's electronic address
// in the customer panel and the file.
#include "app/EInvoiceRecording.h"
#include "document/PageView.h"
#include "einvoice/EInvoiceBatch.h"
#include "einvoice/EInvoiceExport.h"
#include "einvoice/PdfA3.h"
#include "ledger/LedgerStore.h"
#include "ledger/NumberSequence.h"
#include "output/BatchExport.h"
#include "output/BatchTargets.h"
#include "output/GlyphLookup.h"
#include "output/OutputChecks.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"
#include "output/PdfMapsInPlace.h"
#include "output/PdfTextRepair.h"
#include "page/PageFonts.h"
#include "sections/SavedLists.h"
#include "support/EInvoiceChecks.h"
#include "support/PdfTools.h"
#include "support/SeikyuRun.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <dlfcn.h>
#include <ft2build.h>
#include FT_FREETYPE_H

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// An invoice file as a user's would read: two items, totalled, tax included.
QByteArray invoiceBytes(const QString &whom = QStringLiteral("千代田商事"), int tail = 0)
{
    return QStringLiteral(R"({"head": "請求書", "date": "2026-12-05", "whom": "%1", "jgen": 0, "tail": %2, "plus": 0,
        "from": "100-0001\n東京都千代田区千代田1-1\n山田太郎\nみずほ銀行 普通 1234567", "full": "\b御請求金額\n￥1,333",
        "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
                 {"date": "12/01", "name": "ウェブサイト保守 月額", "solo": "411", "much": 1, "sums": "411"},
                 {"date": "12/01", "name": "出張費", "solo": "922", "much": 1, "sums": "922"},
                 {"date": " ", "name": " ", "solo": "", "much": " ", "sums": " "},
                 {"date": " ", "name": " ", "solo": "", "much": "小計", "sums": "￥1,333"},
                 {"date": " ", "name": " ", "solo": "", "much": "消費税", "sums": "税込済み"},
                 {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "￥1,333"}]})")
        .arg(whom, QString::number(tail))
        .toUtf8();
}

const QString LongCustomer = QStringLiteral("株式会社サンプルコンサルティング東日本 経理部");
const QStringList LongIssuer{"〒100-0005", "東京都千代田区丸の内一丁目2番3号 丸の内サンプルビルディング12階",
                             "株式会社サンプル商事", "TEL 03-1234-5678",
                             "みずほ銀行 東京営業部 普通 1234567 カ）サンプルコンサルティング"};

/// An invoice with a long customer name and issuer, `rows` items and the amount box's amount.
QByteArray longInvoiceBytes(int rows, const QString &amount = QString())
{
    QString items = QStringLiteral(R"({"date": "日付"})");
    for (int row = 1; row <= rows; ++row)
        items += QStringLiteral(R"(, {"date": "12/01", "name": "作業 %1", "solo": "1000", "much": 1, "sums": "1000"})")
                     .arg(row);
    return QStringLiteral(
               R"({"date": "2026-12-05", "whom": "%1", "from": "%2", "full": "\b御請求金額\n%3", "item": [%4]})")
        .arg(LongCustomer, LongIssuer.join(QStringLiteral("\\n")), amount, items)
        .toUtf8();
}

/// The images of `pdfimages -list` (a stamp's transparency is a separate "smask").
QStringList pdfImages(const QString &path)
{
    return runProgram("pdfimages", {"-list", path})
        .split('\n')
        .filter(QRegularExpression("^\\s*\\d+\\s+\\d+\\s+image\\s"));
}

/// How many pixels of the page are clearly blue (a selection, a focus frame) or clearly red (a note);
/// of a PDF, as pdftoppm draws it at 50 dpi.
int tintedPixels(QImage image, bool blue, const QString &pdf = QString())
{
    if (!pdf.isEmpty())
        image = pdfFirstPage(pdf, 50);
    int tinted = image.isNull() ? -1 : 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            tinted += (blue ? c.blue() - c.red() : c.red() - c.blue()) > 40;
        }
    }
    return tinted;
}

QString exportToFile(Document &document, const QString &path)
{
    if (const Result<void> written = writePdfFile(renderPagePdf(document, pdfSuggestedName(document)), path); !written)
        qWarning("%s", qPrintable(written.message()));
    return path;
}

void triggerExport(Document &document)
{
    child<QAction>(document, "exportPdfAction")->trigger();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

QByteArray stampPng()
{
    QImage stamp(120, 120, QImage::Format_ARGB32);
    stamp.fill(QColor(200, 30, 30, 128));
    return encodedImage(stamp, "PNG");
}

bool isRadical(char32_t c)
{
    return c >= 0x2E80 && c <= 0x2FDF;
}

// The ideographs the font draws with a radical's glyph, read from its own cmap: a radical's NFKC form
// on the radical's glyph, or else the only ideograph on it (Supplement radicals, variant faces).
QString sharedGlyphIdeographs(const QString &path)
{
    const QRawFont font(path, 16.0);
    QHash<quint32, QString> radicalForms; // a radical's glyph → the NFKC forms of the radicals on it
    QHash<quint32, QStringList> drawn;    // a radical's glyph → the ideographs on it
    for (const auto &[first, last] :
         {std::pair<char32_t, char32_t>{0x2E80, 0x2FDF}, {0x3400, 0x9FFF}, {0xF900, 0xFAFF}, {0x20000, 0x2FFFF}}) {
        for (char32_t c = first; c <= last; ++c) {
            const QString text = QString::fromUcs4(&c, 1);
            const quint32 glyph = font.glyphIndexesForString(text).value(0);
            if (glyph != 0 && isRadical(c))
                radicalForms[glyph] += text.normalized(QString::NormalizationForm_KC);
            else if (glyph != 0 && radicalForms.contains(glyph))
                drawn[glyph].append(text);
        }
    }
    QString ideographs;
    for (auto it = drawn.cbegin(); it != drawn.cend(); ++it) {
        for (const QString &ideograph : it.value()) {
            if (it->size() == 1 || radicalForms[it.key()].contains(ideograph))
                ideographs += ideograph;
        }
    }
    return ideographs;
}

// A page the way the export writes it: A4 at 72 dpi, text in IPAex.
QByteArray renderPdf(const QString &text, const QString &family = QStringLiteral("IPAexMincho"))
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    QPainter painter(&writer);
    QFont font(family);
    font.setPixelSize(16);
    painter.setFont(font);
    painter.drawText(QRectF(40, 40, 515, 760), Qt::TextWrapAnywhere, text);
    painter.end();
    return buffer.data();
}

/// The text pdftotext extracts, its complaints about the file included, without white space.
QString extractText(const QByteArray &pdf)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("pdftotext"), {"-enc", "UTF-8", "-", "-"});
    process.write(pdf);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<failed>");
    return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

/// The food wholesaler's qualified invoice: two rates, totalled, with the customer's corporate number.
QByteArray foodInvoice(const QString &peer = QStringLiteral("0188:9234567890123"))
{
    QByteArray bytes =
        R"json({"head": "請求書", "date": "2026-12-05", "whom": "株式会社丸の内商事", "tail": 0, "jgen": 0,
        "plus": 1, "rate": 10, "numb": "INV-2026-0042", "dues": "2026-12-31", "note": "いつもありがとうございます",
        "from": "〒100-0005\n東京都千代田区丸の内1-1\n山田食品株式会社\n03-1234-5678\nみずほ銀行 丸の内支店 普通 1234567\nT8010001000003",
        "full": "\b御請求金額\n￥34,362", "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
        {"date": "12-01", "name": "米 5kg", "solo": "2480", "much": "10袋", "sums": "24800", "rate": 8},
        {"date": "12-02", "name": "配送料", "solo": "1100", "much": "2回", "sums": "2200"},
        {"date": "12-03", "name": "醤油 1L", "solo": "398", "much": "12本", "sums": "4776", "rate": 8},
        {"date": " ", "name": " ", "solo": "", "much": " ", "sums": " "},
        {"date": " ", "name": " ", "solo": "", "much": "10%対象", "sums": "2200"},
        {"date": " ", "name": " ", "solo": "", "much": "消費税(10%)", "sums": "220"},
        {"date": " ", "name": " ", "solo": "", "much": "8%対象", "sums": "29576"},
        {"date": " ", "name": " ", "solo": "", "much": "消費税(8%)", "sums": "2366"},
        {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "34362"}]PEER})json";
    return bytes.replace("PEER", peer.isEmpty() ? QByteArray() : ", \"peer\": \"" + peer.toUtf8() + '"');
}

/// What a program writes, its complaints included.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return QStringLiteral("(did not finish)");
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

/// PDFBox Preflight's findings for a file (it validates PDF/A-1b), by their codes.
QStringList preflightFindings(const QString &pdf)
{
    const QString java = QStringLiteral("/usr/share/java/");
    QStringList classPath;
    for (const char *jar : {"pdfbox2.jar", "preflight.jar", "fontbox2.jar", "xmpbox.jar", "commons-logging.jar",
                            "javax.activation.jar", "jaxb-api.jar"})
        classPath.append(java + QString::fromLatin1(jar));
    const QString output =
        run(QStringLiteral("java"), {"-cp", classPath.join(':'), "org.apache.pdfbox.preflight.Validator_A1b", pdf});
    QStringList codes;
    static const QRegularExpression finding(QStringLiteral("^(\\d+\\.\\d+(?:\\.\\d+)?) : "),
                                            QRegularExpression::MultilineOption);
    for (auto it = finding.globalMatch(output); it.hasNext();)
        codes.append(it.next().captured(1));
    if (codes.isEmpty() && !output.contains(QStringLiteral("is a valid PDF/A-1b")))
        codes.append(QStringLiteral("preflight did not run: ") + output.left(300));
    codes.sort();
    codes.removeDuplicates();
    return codes;
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
            QSKIP("poppler-utils are not installed");
        QVERIFY(m_dir.isValid());
        m_schema = std::make_unique<UblSchema>();
        QVERIFY(m_schema->isLoaded());
    }
    void init()
    {
        clearSettings();
        m_heard.clear();
        setEInvoiceObserver([this](const WrittenEInvoice &written) { m_heard.append(written); });
    }
    void cleanup()
    {
        setEInvoiceObserver({});
        QVERIFY(!isRenderingForOutput());
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void pageExportsAndPrintsAsOneSearchableA4Page()
    {
        auto document = makeDocument(invoiceBytes());
        QPrinter &printer = documentPrinter(*document);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(printWidget(child<QFrame>(*document, "main"), printer));
        for (const QString &path :
             {exportToFile(*document, m_dir.filePath("exported.pdf")), printer.outputFileName()}) {
            const QString text = pdfText(path);
            for (const char *expected :
                 {"請求書", "千代田商事 御中", "御請求金額", "￥1,333", "922", "12月", "千代田区", "山田太郎",
                  "みずほ銀行 普通 1234567", "ウェブサイト保守 月額", "合計"})
                QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(path + expected));
            QVERIFY2(!text.contains(QChar(0x0008)), "the control character of the amount box was drawn");
            for (const QChar c : text) // a kanji drawn with a radical's glyph must not extract as the radical
                QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF, qPrintable(path + c));
            QVERIFY(runProgram("pdfinfo", {path})
                        .contains(QRegularExpression("Pages:\\s+1\n[\\s\\S]*595 x 842 pts \\(A4\\)")));
            const QStringList fonts = runProgram("pdffonts", {path}).split('\n', Qt::SkipEmptyParts).mid(2);
            QVERIFY(!fonts.isEmpty());
            for (const QString &font : fonts) // embedded, and only the page's own faces
                QVERIFY2(font.startsWith(QLatin1String("IPAex")) && font.contains(QLatin1String(" yes ")),
                         qPrintable(font));
            QCOMPARE(pdfImages(path), QStringList()); // vector: no picture of the page
        }
        SavedLists::instance().setStamp(stampPng());
        const QStringList images = pdfImages(exportToFile(*makeDocument(invoiceBytes()), m_dir.filePath("stamp.pdf")));
        QCOMPARE(images.size(), 1);
        QVERIFY2(!images.first().contains(QLatin1String(" jpeg ")), "the stamp must be stored lossless");
    }

    void suggestedNames()
    {
        // The customer's name without the honorific of the page line: a file is not addressed.
        PrompterGuard prompter;
        DocumentController controller;
        Document *document = controller.newDocument();
        for (const auto &[whom, tail, expected] : {std::tuple{"山田", 1, "2026-12-05-山田"},
                                                   {"", -1, "Untitled"},
                                                   {"A/B", 0, "2026-12-05-A／B"},
                                                   {"お客様", -1, "2026-12-05-お客様"}}) {
            QVERIFY(document->revertToContents(invoiceBytes(QString::fromUtf8(whom), tail)));
            prompter->proceedAnswers = {true}; // an invoice to no customer asks first
            triggerExport(*document);
            QCOMPARE(prompter->saveProposals.takeLast(), QDir::home().filePath(QString::fromUtf8(expected) + ".pdf"));
        }
        // A saved document is offered its own name, whatever its page shows.
        Document *saved = controller.openFile(writeFile(m_dir.filePath("得意先.v2.seikyu"), invoiceBytes()));
        triggerExport(*saved);
        QCOMPARE(prompter->saveProposals.last(), m_dir.filePath(QStringLiteral("得意先.v2.pdf")));
        QCOMPARE(prompter->alerts, QStringList());
    }

    void longTextsAreDrawnWholeAndClearOfTheSeal()
    {
        SavedLists::instance().setStamp(stampPng());
        auto document = makeDocument(longInvoiceBytes(3, QStringLiteral("￥1,234,567")));
        const QList<PdfWord> words = pdfWords(exportToFile(*document, m_dir.filePath("long.pdf")));
        QString drawn;
        for (const auto &[text, box] : words) {
            drawn += text;
            if (text.contains(QStringLiteral("御中")))
                QVERIFY2(QRectF(child<RoomBox>(*document, "whomRoom")->geometry()).contains(box),
                         "the honorific is on the customer's line");
            if (box.intersects(
                    child<RoomBox>(*document, "pushRoom")->geometry())) // only the name line may lie under the seal
                QVERIFY2(LongIssuer.at(2).contains(text), qPrintable(text));
        }
        for (const QString &whole : QStringList{LongCustomer + "御中", "￥1,234,567"} + LongIssuer)
            QVERIFY2(drawn.contains(QString(whole).remove(u' ')), qPrintable(whole));
    }

    void aQualifiedFreelancersInvoiceReadsWhereAnAccountantLooks()
    {
        // None of the optional parts on an invoice that has none.
        const QString plain = pdfText(exportToFile(*makeDocument(invoiceBytes()), m_dir.filePath("plain.pdf")));
        for (const char *absent : {"No.", "お支払期限", "備考", "源泉徴収税", "登録番号", "※"})
            QVERIFY2(!plain.contains(QString::fromUtf8(absent)), absent);
        // A registration number, a reduced-rate item beside standard ones, withholding, a number, a
        // due date and remarks.
        auto document = makeDocument(invoiceBytes().replace(
            "山田太郎\\nみずほ銀行 普通 1234567", "山田太郎\\n03\\nみずほ銀行 普通 1234567\\nT7010705000725"));
        document->tbleBack();
        document->setTaxRate(10);
        for (const char *setting : {"gridXtax", "gridHold"}) {
            if (auto *box = child<QCheckBox>(*document, setting); !box->isChecked())
                box->click();
        }
        child<QTableView>(*document, "grid")->selectRow(1);
        document->markRows(TaxClass::Reduced);
        document->gridCalc();
        QVERIFY(document->takeTableTotal());
        document->setInvoiceNumber(QStringLiteral("2026-0012"));
        document->setDueDate(QDate(2027, 1, 31));
        document->setRemarks(QStringLiteral("振込手数料は貴社にてご負担ください。\n案件名：保守"));
        QHash<QString, QRectF> at;
        for (const auto &[text, box] : pdfWords(exportToFile(*document, m_dir.filePath("freelance.pdf"))))
            at.insert(text, box);
        for (const char *word :
             {"登録番号", "T7010705000725", "※", "※は軽減税率対象", "10%対象", "消費税(10%)", "8%対象", "消費税(8%)",
              "No.", "2026-0012", "お支払期限", "2027年01月31日", "備考", "案件名：保守", "源泉徴収税", "差引請求額"})
            QVERIFY2(at.contains(QString::fromUtf8(word)), word);
        // The number at the top right under the date, the due date under the amount, the remarks
        // under the table's last line.
        const auto top = [&](const char *word) { return at.value(QString::fromUtf8(word)).top(); };
        QVERIFY(at.value("No.").left() > PageView::Width / 2);
        QVERIFY(top("2026年12月05日") < top("No.") && top("No.") < top("千代田商事"));
        QVERIFY(top("御請求金額") < top("お支払期限") && top("お支払期限") < top("日付"));
        QVERIFY(top("差引請求額") < top("備考") && top("備考") < top("案件名：保守"));
    }

    void theAmountBoxIsSettledBeforeOutput_data()
    {
        QTest::addColumn<bool>("stale"); // else: totalled, with nothing in the amount box
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("total");
        QTest::newRow("stale") << true << QStringLiteral("￥1,411") << QStringLiteral("￥1,411");
        QTest::newRow("empty") << false << QStringLiteral("holds no amount") << QStringLiteral("￥1,333");
    }
    void theAmountBoxIsSettledBeforeOutput()
    {
        QFETCH(bool, stale);
        QFETCH(QString, warning);
        QFETCH(QString, total);
        PrompterGuard prompter;
        auto document = makeDocument(stale ? invoiceBytes() : invoiceBytes().replace(R"(\n￥1,333")", R"(\n")"));
        if (stale) {
            document->tbleBack();
            document->editCell(2, Column::Sums, QStringLiteral("1000"));
            document->gridCalc(); // the table now totals ￥1,411; the box still says ￥1,333
        }
        QVERIFY(document->isTotalled());
        QVERIFY(outputWarnings(*document).join(u' ').contains(warning));
        exportPdf(*document, nullptr); // cancelled: nothing written, nothing changed
        QCOMPARE(prompter->questions.size(), 1);
        QVERIFY(prompter->questions.first().contains(total));
        QCOMPARE(prompter->saveProposals, QStringList());
        // Kept as it is, then updated: each PDF shows the amount chosen (小計 and 合計, and the box).
        for (const auto &[choice, kept] : {std::pair{1, true}, {0, false}}) {
            const QString pdf = m_dir.filePath(QStringLiteral("amount-%1-%2.pdf").arg(stale).arg(choice));
            prompter->choiceAnswers = {choice};
            prompter->saveAnswers = {pdf};
            exportPdf(*document, nullptr);
            QCOMPARE(pdfText(pdf).count(total), kept ? 2 : 3);
            if (stale)
                QCOMPARE(document->amountBoxDisagrees(), kept);
        }
        QCOMPARE(prompter->questions.size(), 3);
        QCOMPARE(child<PageButton>(*document, "sums")->title(), QStringLiteral("\u0008御請求金額\n") + total);
        QCOMPARE(outputWarnings(*document), QStringList());
    }

    void guideBordersAndSelectionsStayOnTheScreen()
    {
        PrompterGuard prompter;
        {
            // A row the table panel had selected, the panel closed with Esc: neither the page on
            // screen nor the PDF shows it.
            DocumentController controller;
            Document *document = controller.openFile(writeFile(m_dir.filePath("row.seikyu"), invoiceBytes()));
            document->window()->show();
            document->gridShow();
            QTRY_VERIFY(child<QDialog>(*document, "gridCtrl")->isVisible());
            QTableView *table = child<QTableView>(*document, "gridCore");
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualRect(table->model()->index(1, 1)).center());
            QVERIFY(table->selectionModel()->isRowSelected(1));
            QTest::keyClick(child<QDialog>(*document, "gridCtrl"), Qt::Key_Escape);
            QTRY_VERIFY(!child<QDialog>(*document, "gridCtrl")->isVisible());
            QCOMPARE(tintedPixels(child<PageView>(*document, "page")->grab().toImage(), true), 0);
            prompter->saveAnswers = {m_dir.filePath(QStringLiteral("row.pdf"))};
            triggerExport(*document);
            QCOMPARE(tintedPixels({}, true, m_dir.filePath(QStringLiteral("row.pdf"))), 0);
            QVERIFY(controller.closeAll());
        }
        // A new invoice, with no saved customer or issuer to start from: every region still shows
        // its blue guide border on screen.
        clearSettings();
        auto document = makeDocument();
        QVERIFY(child<RoomBox>(*document, "whomRoom")->hasGuideBorder() &&
                child<RoomBox>(*document, "dateRoom")->hasGuideBorder());
        QVERIFY(tintedPixels(child<PageView>(*document, "page")->grab().toImage(), true) > 100);
        // Neither the PDF, nor the printout, nor the PDF the window's own export writes shows one.
        QVERIFY(tintedPixels({}, true, exportToFile(*document, m_dir.filePath("guides.pdf"))) == 0);
        QPrinter &printer = documentPrinter(*document);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("guides-printed.pdf")));
        QVERIFY(printWidget(child<QFrame>(*document, "main"), printer));
        QCOMPARE(tintedPixels({}, true, printer.outputFileName()), 0);
        const QString exported = m_dir.filePath(QStringLiteral("guides-exported.pdf"));
        prompter->proceedAnswers = {true}; // the customer and the issuer were never filled in
        prompter->saveAnswers = {exported};
        exportPdf(*document, nullptr);
        QCOMPARE(tintedPixels({}, true, exported), 0);
        QVERIFY(child<RoomBox>(*document, "whomRoom")->hasGuideBorder()); // the screen keeps its reminders
        QVERIFY(tintedPixels(child<PageView>(*document, "page")->grab().toImage(), true) > 100);
        // Only the customer and the issuer ask: a filled-in invoice whose regions still show their
        // guide borders goes out without a question.
        QCOMPARE(prompter->questions.size(), 1);
        for (const char *unfilled : {"customer is not filled in", "Your details are not filled in"})
            QVERIFY2(prompter->questions.first().contains(QString::fromUtf8(unfilled)), unfilled);
        auto filled = makeDocument(invoiceBytes());
        for (RoomBox *room : filled->window()->findChildren<RoomBox *>())
            room->setBorderColor(RoomBox::guideColor());
        QCOMPARE(outputWarnings(*filled), QStringList());
        prompter->saveAnswers = {m_dir.filePath(QStringLiteral("guides-filled.pdf"))};
        exportPdf(*filled, nullptr);
        QCOMPARE(prompter->questions.size(), 1);
        QCOMPARE(tintedPixels({}, true, m_dir.filePath(QStringLiteral("guides-filled.pdf"))), 0);
    }

    void unfinishedInvoicesAskBeforeOutput()
    {
        PrompterGuard prompter;
        // Items without sums on a registered issuer's invoice: a qualified invoice needs them.
        const QByteArray untotalled = longInvoiceBytes(2).replace("カ）サンプルコンサルティング",
                                                                  "カ）サンプルコンサルティング\\nT7010705000725");
        auto document = makeDocument(untotalled);
        QVERIFY(!document->isTotalled());
        QTimer closer; // a dialog the checks let through is closed again, and shows as a missing question
        connect(&closer, &QTimer::timeout, this, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        closer.start(200);
        exportPdf(*document, nullptr);
        printDocument(*document, nullptr);
        previewDocument(*document, nullptr);
        QCOMPARE(prompter->questions.size(), 3);
        for (const QString &question : std::as_const(prompter->questions)) {
            QVERIFY2(question.contains(QStringLiteral("no sums")), qPrintable(question));
            QVERIFY2(question.contains(QStringLiteral("適格請求書")), qPrintable(question));
        }
        QCOMPARE(prompter->saveProposals, QStringList());
        // Without a registration number the question does not speak of a qualified invoice.
        prompter->questions.clear();
        exportPdf(*makeDocument(longInvoiceBytes(2)), nullptr);
        QCOMPARE(prompter->questions.size(), 1);
        QVERIFY(prompter->questions.first().contains(QStringLiteral("no sums")));
        QVERIFY(!prompter->questions.first().contains(QStringLiteral("適格請求書")));
        // Sums made before the registration number was entered state no total per rate.
        auto registered = makeDocument(invoiceBytes().replace(
            "山田太郎\\nみずほ銀行 普通 1234567", "山田太郎\\n03\\nみずほ銀行 普通 1234567\\nT7010705000725"));
        QVERIFY(registered->isTotalled());
        QVERIFY(outputWarnings(*registered).join(u' ').contains(QStringLiteral("no total for each rate")));
        registered->tbleBack();
        registered->gridCalc();
        QVERIFY(registered->takeTableTotal());
        QCOMPARE(outputWarnings(*registered), QStringList());
        // The same for a duplicate made without its sums.
        auto copy = makeDocument(invoiceBytes());
        copy->startAsNextInvoice(false);
        QVERIFY(outputWarnings(*copy).join(u' ').contains(QStringLiteral("no sums")));
    }

    void anAmountStaysWholeInATallRow()
    {
        // A description long enough for two lines makes its row tall; the unit price beside it is
        // too wide for its column even in the smallest type, and still stays on one line.
        const QString description =
            QStringLiteral("業務用精米 コシヒカリ 新潟県魚沼産 特別栽培米 30kg袋入り 令和六年産 "
                           "産地直送 冷蔵便 午前指定");
        const QString amount = QStringLiteral("￥9,223,372,036,854,775,807");
        auto document =
            makeDocument(QStringLiteral(R"({"date": "2026-12-05", "whom": "千代田商事", "from": "a\nb\n山田\nc\nd",
            "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
                     {"date": "12/01", "name": "%1", "solo": "%2", "much": 1, "sums": "00"}]})")
                             .arg(description, amount)
                             .toUtf8());
        QVERIFY(child<QTableView>(*document, "grid")->rowHeight(1) >
                child<QTableView>(*document, "grid")->rowHeight(0));
        const QList<PdfWord> words = pdfWords(exportToFile(*document, m_dir.filePath("tall.pdf")));
        QStringList parts;
        for (const auto &[text, box] : words) {
            if (text.contains(QStringLiteral(",854,")) || text.contains(QStringLiteral("807")) ||
                text.contains(QStringLiteral("9,223")))
                parts.append(text);
        }
        QCOMPARE(parts, QStringList{amount});
    }

    void exportNamesEndInPdf_data()
    {
        QTest::addColumn<QString>("typed"); // "taken" names one whose PDF is there already
        QTest::addColumn<bool>("replace");  // the answer when the name with .pdf is taken
        QTest::addColumn<QStringList>("files");
        QTest::newRow("cancelled") << "" << false << QStringList{};
        QTest::newRow("no extension") << "invoice" << false << QStringList{"invoice.pdf"};
        QTest::newRow("PDF in capitals") << "invoice.PDF" << false << QStringList{"invoice.PDF"};
        QTest::newRow("taken, kept") << "taken.txt" << false << QStringList{"taken.txt.pdf"};
        QTest::newRow("taken, replaced") << "taken.txt" << true << QStringList{"taken.txt.pdf"};
    }
    void exportNamesEndInPdf()
    {
        QFETCH(QString, typed);
        QFETCH(bool, replace);
        QFETCH(QStringList, files);
        const QTemporaryDir dir;
        const QByteArray old = "%PDF-1.4 last month's\n";
        const bool taken = typed.startsWith(QLatin1String("taken"));
        if (taken)
            writeFile(dir.filePath(files.first()), old);
        PrompterGuard prompter;
        prompter->saveAnswers = {typed.isEmpty() ? QString() : dir.filePath(typed)};
        prompter->proceedAnswers = {replace};
        auto document = makeDocument(invoiceBytes());
        const QStringList homeBefore = entries(QDir::homePath());
        exportPdf(*document, nullptr);
        QCOMPARE(entries(dir.path()), files);
        QCOMPARE(entries(QDir::homePath()), homeBefore);
        QCOMPARE(prompter->questions.size(), taken ? 1 : 0);
        QCOMPARE(readAll(dir.filePath(files.value(0))) == old, taken && !replace);
        QVERIFY(!document->isEdited() && document->undoStack()->count() == 0); // the invoice is as it was
    }

    void batchExportReportsFailuresAndExportsTheRest_data()
    {
        QTest::addColumn<bool>("commandLine");
        QTest::newRow("in process") << false;
        QTest::newRow("command line without a display") << true;
    }
    void batchExportReportsFailuresAndExportsTheRest()
    {
        QFETCH(bool, commandLine);
        const QDir in(m_dir.filePath(QTest::currentDataTag()));
        const QByteArray damaged = "{\"head\": \"請求書\", \"item\": [";
        const QStringList inputs{writeFile(in.filePath("in/a.seikyu"), invoiceBytes()),
                                 writeFile(in.filePath("in/damaged.seikyu"), damaged),
                                 writeFile(in.filePath("in/b.json"), invoiceBytes(QStringLiteral("丸の内物産"))),
                                 in.filePath("in/missing.seikyu"),
                                 writeFile(in.filePath("in/long.seikyu"), longInvoiceBytes(80)),
                                 writeFile(in.filePath("in/a.json"), invoiceBytes(QStringLiteral("別の会社")))};
        const QString out = in.filePath(QStringLiteral("out"));
        QStringList reported;
        if (commandLine) {
            const SeikyuRun run = runSeikyuWithoutDisplay(QStringList{"--export-pdf", out} + inputs);
            QCOMPARE(run.exitCode, 1);
            // Its own lines only: none of Qt's chatter about the platform.
            reported = run.err.split('\n', Qt::SkipEmptyParts);
            QCOMPARE(reported.filter(QRegularExpression(QStringLiteral("^seikyu: "))), reported);
        } else {
            QCOMPARE(exportInvoicesAsPdf(out, inputs, &reported), 1);
        }
        // Three failures (a damaged file, a missing one, one whose PDF an earlier input has taken) and a
        // warning for the long table's missing sums, each naming its file; the long table goes on over
        // further pages.
        QCOMPARE(reported.size(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(reported[i].contains(inputs[QList<int>{1, 3, 4, 5}[i]] + ": "), qPrintable(reported[i]));
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name), (QStringList{"a.pdf", "b.pdf", "long.pdf"}));
        QVERIFY(runProgram("pdfinfo", {QDir(out).filePath("long.pdf")}).contains(QRegularExpression("Pages:\\s+3\n")));
        QVERIFY(pdfText(QDir(out).filePath("b.pdf")).contains(QStringLiteral("丸の内物産 御中")));
        QCOMPARE(readAll(inputs[1]), damaged);
        QCOMPARE(readAll(inputs[2]), invoiceBytes(QStringLiteral("丸の内物産")));
        for (const char *key : {"head", "whom", "from"}) // the user's lists learn nothing
            QVERIFY2(!SavedLists::instance().read(QString::fromLatin1(key)), key);
        if (commandLine)
            return;
        // Several invoices to a name ending in .pdf: a folder of that name holds each one's PDF.
        const QString both = in.filePath(QStringLiteral("both.pdf"));
        QCOMPARE(exportInvoicesAsPdf(both, {inputs[0], inputs[2]}, nullptr), 0);
        QCOMPARE(QDir(both).entryList(QDir::Files, QDir::Name), (QStringList{"a.pdf", "b.pdf"}));
        // An input whose PDF would replace it, however its folder is written, is left alone.
        const QString named = writeFile(in.filePath(QStringLiteral("in/c.pdf")), invoiceBytes());
        QCOMPARE(exportInvoicesAsPdf(in.filePath(QStringLiteral("out/../in")), {named}, nullptr), 1);
        QCOMPARE(readAll(named), invoiceBytes());
    }

    void aBatchExportsWhatSingleExportsDo()
    {
        // Files that differ in every member, each after one that has what it lacks.
        const QByteArray rich = R"({"head": "御請求書", "date": "2025-05-01", "whom": "山田花子", "jgen": 1, "tail": 1,
            "plus": 1, "rate": 10, "hold": 1, "numb": "2026-0012", "dues": "2025-05-31", "note": "振込手数料は貴社負担",
            "from": "〒100-0005\n東京都千代田区丸の内\n株式会社サンプル\n03-1234-5678\nみずほ銀行\nT7010705000725",
            "full": "\b御請求金額\n￥100,000", "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数",
                "sums": "価格"}, {"date": "05/01", "name": "デザイン料", "solo": "50000", "much": 2, "sums": "100000"},
                {"date": "05/02", "name": "お弁当", "solo": "800", "much": 3, "sums": "2400", "rate": 8},
                {"date": "05/03", "name": "切手", "solo": "84", "much": 10, "sums": "840", "rate": 0}]})";
        const QByteArray dateless = R"({"whom": "丸の内物産", "tail": -1, "item": [{"date": "日付", "name": "項目",
            "solo": "", "much": "個数", "sums": "価格"}, {"date": "12/01", "name": "出張費", "solo": "922", "much": 1}]})";
        // Unfinished ones: untotalled on a registered issuer's invoice, an empty amount box, a new invoice.
        const QByteArray untotalled = longInvoiceBytes(2).replace("カ）サンプルコンサルティング",
                                                                  "カ）サンプルコンサルティング\\nT7010705000725");
        const QByteArray emptyBox = invoiceBytes().replace(R"(\n￥1,333")", R"(\n")");
        const QByteArray fresh = makeDocument()->dataOfType(); // no saved customer or issuer to start from
        SavedLists::instance().setStamp(stampPng());

        const QDir dir(m_dir.filePath(QStringLiteral("batch")));
        const QStringList inputs{writeFile(dir.filePath("rich.seikyu"), rich),
                                 writeFile(dir.filePath("dateless.seikyu"), dateless),
                                 writeFile(dir.filePath("plain.seikyu"), invoiceBytes()),
                                 writeFile(dir.filePath("untotalled.seikyu"), untotalled),
                                 writeFile(dir.filePath("empty-box.seikyu"), emptyBox),
                                 writeFile(dir.filePath("new.seikyu"), fresh)};
        QStringList warnings;
        QCOMPARE(exportInvoicesAsPdf(dir.filePath("all"), inputs, &warnings), 0);
        // Only the moment of writing differs, and the file's digest that follows it.
        const QRegularExpression writtenAt(QStringLiteral(R"(/CreationDate \([^)]*\)|/ID \[<\w+> ?<\w+>\])"));
        const auto timeless = [&](const QString &pdf) { return QString::fromLatin1(readAll(pdf)).remove(writtenAt); };
        for (const QString &input : inputs) {
            const QString name = QFileInfo(input).completeBaseName() + QStringLiteral(".pdf");
            QStringList alone;
            QCOMPARE(exportInvoicesAsPdf(dir.filePath(name), {input}, &alone), 0);
            QCOMPARE(alone, warnings.filter(input));
            QVERIFY2(readAll(dir.filePath("all/" + name)).startsWith("%PDF"), qPrintable(name));
            QVERIFY2(timeless(dir.filePath("all/" + name)) == timeless(dir.filePath(name)), qPrintable(name));
        }
        // The amount that the table does not total, the missing sums of the two untotalled ones, and
        // the issuer the dateless one lacks; one line for each thing amiss in the unfinished ones.
        QCOMPARE(warnings.size(), 8);
        const auto linesOf = [&](int input) {
            return warnings.filter(inputs.at(input) + QStringLiteral(": warning: "));
        };
        QCOMPARE(linesOf(3).size(), 1);
        QVERIFY(linesOf(3).first().contains(QStringLiteral("適格請求書")));
        QCOMPARE(linesOf(4).size(), 1);
        QVERIFY(linesOf(4).first().contains(QStringLiteral("holds no amount")));
        QCOMPARE(linesOf(5).size(), 2); // neither customer nor issuer
    }

    void repairsEverySharedGlyph_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("Mincho") << QStringLiteral("Mincho");
        QTest::newRow("Gothic") << QStringLiteral("Gothic");
    }
    void repairsEverySharedGlyph()
    {
        QFETCH(QString, face);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils are not installed");
        const QString ideographs =
            sharedGlyphIdeographs(QStringLiteral("/usr/share/fonts/opentype/ipaexfont-%1/ipaex%2.ttf")
                                      .arg(face.toLower(), face.at(0).toLower()));
        for (const QChar c : QStringLiteral("月日金田目用長西戸")) // else the font set-up is wrong
            QVERIFY2(ideographs.contains(c), qPrintable(face + c));
        const QString text = QStringLiteral("御請求金額12月千代田区") + ideographs;
        const QByteArray pdf = renderPdf(text, QStringLiteral("IPAex") + face);
        const QList<uint> wrong = extractText(pdf).toUcs4(); // before the repair
        QCOMPARE(wrong.size(), text.toUcs4().size());
        QCOMPARE(std::count_if(wrong.cbegin(), wrong.cend(), isRadical), 3 + ideographs.toUcs4().size()); // 金月田
        const QByteArray repaired = repairPdfText(pdf);
        QVERIFY2(!repaired.contains("begincmap"), "the maps are written compressed");
        QCOMPARE(repairPdfText(repaired), repaired);
        QCOMPARE(extractText(repaired), text); // with no complaint about the structure
    }

    void leavesWhatItCannotReadUnchanged_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        const QByteArray qtPdf = renderPdf(QStringLiteral("御請求金額 12月 千代田区"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a PDF") << QByteArray("this is not a PDF at all \x01\x02\xff startxref 12 %%EOF");
        QTest::newRow("truncated before its xref") << qtPdf.left(qtPdf.lastIndexOf("xref"));
        QTest::newRow("no shared glyph") << renderPdf(QStringLiteral("御請求書 No. 42"));
    }
    void leavesWhatItCannotReadUnchanged()
    {
        QFETCH(QByteArray, pdf);
        QCOMPARE(repairPdfText(pdf), pdf);
    }

    void qtsOwnFileIsRepairedInPlace()
    {
        const QString text = QStringLiteral("御請求金額12月千代田区");
        const QByteArray pdf = renderPdf(text);
        const std::optional<QByteArray> repaired = withTextMapsRewritten(pdf, withIdeographDestinations);
        QVERIFY(repaired);
        QCOMPARE(repairPdfText(pdf), *repaired);
        QCOMPARE(extractText(*repaired), text); // with no complaint about the structure
        // Up to the map, the file is as Qt wrote it.
        const qsizetype map = pdf.indexOf(" 0 obj\n<< /Length ", pdf.indexOf("/ToUnicode") - 2000);
        QVERIFY(map > 0);
        QCOMPARE(repaired->first(map), pdf.first(map));
        // Unchanged maps leave the file as it is.
        QCOMPARE(withTextMapsRewritten(pdf, [](const QByteArray &same) { return same; }), pdf);

        // A table that puts an object elsewhere, an update appended, a map of a length given
        // elsewhere: a full reader's work (which leaves a file it cannot read with certainty as it is).
        QByteArray misplaced = pdf;
        misplaced.replace("0000000015 00000 n", "0000000016 00000 n");
        const QByteArray updated = pdf + "trailer\n<< /Prev 42 >>\nstartxref\n" +
                                   QByteArray::number(pdf.lastIndexOf("xref\n0 ")) + "\n%%EOF\n";
        QByteArray indirect = pdf;
        indirect.replace("<< /Length ", "<< /Length 9 0 R %");
        for (const QByteArray &other : {misplaced, updated, indirect})
            QVERIFY(!withTextMapsRewritten(other, withIdeographDestinations));
        QCOMPARE(repairPdfText(misplaced), misplaced);
    }

    void glyphLookupTablesAnswerAsFreeTypeDoes()
    {
        useGlyphLookupTables();
        QVERIFY(glyphLookupTablesInUse());
        using Lookup = FT_UInt (*)(FT_Face, FT_ULong);
        const auto freetype = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "FT_Get_Char_Index"));
        QVERIFY(freetype && freetype != &FT_Get_Char_Index);
        FT_Library library = nullptr;
        QCOMPARE(FT_Init_FreeType(&library), 0);
        // Each face in turn, each opened where the one before was done (FreeType may reuse its memory):
        // every character of the Basic Multilingual Plane, and beyond it. The page faces share one map;
        // DejaVu Sans (fontconfig's own default) between them has another, which a stale table would tell.
        // DejaVu Serif Bold and Bold Italic have as many glyphs as each other but different maps, each
        // opened twice in turn: whichever of the freed faces' places (and maps' places) the allocator
        // gives the next, one of them finds there the other's face, told apart by the faces done alone.
        const char *const bold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
        const char *const italic = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf";
        std::vector<FT_UInt> before;
        const char *previous = nullptr;
        for (const char *path :
             {"/usr/share/fonts/opentype/ipaexfont-mincho/ipaexm.ttf",
              "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
              "/usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf", bold, bold, italic, italic, bold}) {
            FT_Face face = nullptr;
            QCOMPARE(FT_New_Face(library, path, 0, &face), 0);
            QCOMPARE(FT_Select_Charmap(face, FT_ENCODING_UNICODE), 0);
            std::vector<FT_UInt> glyphs;
            for (FT_ULong code = 0; code < 0x20000; ++code) {
                glyphs.push_back(FT_Get_Char_Index(face, code));
                QCOMPARE(glyphs.back(), freetype(face, code));
            }
            QVERIFY2((glyphs != before) == (path != previous), path);
            before = glyphs;
            previous = path;
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library);

        // Qt makes the text map of each font it embeds from these answers: the PDF is the same.
        const QString text = QStringLiteral("御請求金額12月千代田区 ￥1,333 No. 42") +
                             sharedGlyphIdeographs("/usr/share/fonts/opentype/ipaexfont-mincho/ipaexm.ttf");
        const QRegularExpression writtenAt(QStringLiteral(R"(/CreationDate \([^)]*\)|/ID \[ ?<\w+> ?<\w+> ?\])"));
        const auto timeless = [&](const QByteArray &pdf) { return QString::fromLatin1(pdf).remove(writtenAt); };
        useGlyphLookupTables(false);
        const QByteArray without = renderPdf(text);
        useGlyphLookupTables();
        QCOMPARE(timeless(renderPdf(text)), timeless(without));
    }

    void rewritesRadicalDestinations_data()
    {
        QTest::addColumn<QByteArray>("cmap");
        QTest::addColumn<QByteArray>("expected");
        // ⽉ → 月 by NFKC; ⺇ → 𠘨 and ⼾ → 戸 by the glyph the font shares (NFKC gives none, or 戶)
        QTest::newRow("bfchar") << QByteArray("begincmap\n4 beginbfchar\n<0001> <2F49>\n<0002> <2E87>\n<0003> <2F3E>\n"
                                              "<0004> <0041>\nendbfchar\nendcmap")
                                << QByteArray("begincmap\n4 beginbfchar\n<0001> <6708>\n<0002> <D841DE28>\n"
                                              "<0003> <6238>\n<0004> <0041>\nendbfchar\nendcmap");
        // ⽇⽈⽉ no longer count up as 日曰月: that range becomes single entries, the others stay
        QTest::newRow("bfrange split") << QByteArray("3 beginbfrange <0020> <0021> <0041> <0010> <0012> <2F47> "
                                                     "<0030> <0031> [<2F49> <0042>] endbfrange endcmap")
                                       << QByteArray("2 beginbfrange\n<0020> <0021> <0041>\n<0030> <0031> [<6708> "
                                                     "<0042>]\nendbfrange\n3 beginbfchar\n<0010> <65E5>\n"
                                                     "<0011> <66F0>\n<0012> <6708>\nendbfchar endcmap");
        const QByteArray unreadable = "2 beginbfchar <0001> <2F49> <0002> endbfchar";
        QTest::newRow("unreadable") << unreadable << unreadable;
    }
    void rewritesRadicalDestinations()
    {
        QFETCH(QByteArray, cmap);
        QTEST(withIdeographDestinations(cmap), "expected");
    }

    void thePdfA3IsValidCarriesTheXmlAndLooksLikeThePlainPdf_data()
    {
        QTest::addColumn<bool>("seal");
        // Only what PDF/A-1b forbids and PDF/A-3 allows: the embedded file (twice) and part 3; with a
        // transparent seal, its soft mask too.
        QTest::addColumn<QStringList>("findings");
        QTest::newRow("no seal") << false << QStringList{"1.2.9", "1.4.7", "7.11.2"};
        QTest::newRow("a transparent seal") << true << QStringList{"1.2.9", "1.4.7", "2.2.2", "7.11.2"};
    }
    void thePdfA3IsValidCarriesTheXmlAndLooksLikeThePlainPdf()
    {
        QFETCH(bool, seal);
        if (seal)
            SavedLists::instance().setStamp(stampPng());
        const std::unique_ptr<Document> document = makeDocument(foodInvoice());
        const QByteArray plain = renderPagePdf(*document, QStringLiteral("INV-2026-0042"));
        const EInvoice invoice = eInvoiceOf(*document);
        QVERIFY2(invoice.ok(), qPrintable(invoice.refusals.join('\n')));
        const QByteArray xml = eInvoiceXml(invoice);
        const Result<QByteArray> made = pdfWithEInvoice(plain, xml, QStringLiteral("INV-2026-0042.xml"));
        QVERIFY2(made, qPrintable(made.message()));
        const QByteArray a3 = *made;
        const QString folder = m_dir.filePath(QTest::currentDataTag());
        const QString plainPath = writeFile(folder + "/plain.pdf", plain);
        const QString a3Path = writeFile(folder + "/hybrid.pdf", a3);
        QTEST(preflightFindings(a3Path), "findings");
        // The attachment comes out byte for byte.
        QVERIFY(run("pdfdetach", {"-list", a3Path}).contains(QStringLiteral("INV-2026-0042.xml")));
        const QString extracted = folder + "/extracted.xml";
        run("pdfdetach", {"-save", "1", "-o", extracted, a3Path});
        QCOMPARE(readAll(extracted), xml);
        QVERIFY(m_schema->violations(readAll(extracted)).isEmpty());
        // Its associated-file particulars (the dictionaries are not compressed).
        for (const char *particular :
             {"/AFRelationship /Alternative", "/Subtype /text#2fxml", "/AF [", "<pdfaid:part>3</pdfaid:part>"})
            QVERIFY2(a3.contains(particular), particular);
        // The page shows and reads as the plain export's.
        const QImage plainPage = pdfFirstPage(plainPath);
        QVERIFY(!plainPage.isNull());
        QCOMPARE(pdfFirstPage(a3Path), plainPage);
        QCOMPARE(run("pdftotext", {"-enc", "UTF-8", a3Path, "-"}), run("pdftotext", {"-enc", "UTF-8", plainPath, "-"}));
    }

    void theMenusExportTheXmlAloneOrInThePdfOrRefuseInPlainWords()
    {
        PrompterGuard prompts;
        const std::unique_ptr<Document> document = makeDocument(foodInvoice());
        const QString path = m_dir.filePath("menu/INV-2026-0042");
        QDir().mkpath(m_dir.filePath("menu"));
        prompts->saveAnswers = {path, path + ".pdf"};
        exportEInvoice(*document, nullptr);
        const QByteArray xml = readAll(path + ".xml");
        QCOMPARE(xml, eInvoiceXml(eInvoiceOf(*document)));
        QVERIFY(m_schema->violations(xml).isEmpty());
        QCOMPARE(m_heard.size(), 1);
        QCOMPARE(std::pair(m_heard.first().path, m_heard.first().xml), std::pair(path + ".xml", xml));
        QVERIFY(!document->isEdited());
        // Export as PDF attaches it only once asked to, which is remembered.
        QVERIFY(!attachesEInvoice());
        exportPdfMaybeWithEInvoice(*document, nullptr);
        QVERIFY(!run("pdfdetach", {"-list", path + ".pdf"}).contains(".xml"));
        setAttachesEInvoice(true);
        QVERIFY(attachesEInvoice());
        prompts->saveAnswers = {m_dir.filePath("menu/hybrid.pdf")};
        exportPdfMaybeWithEInvoice(*document, nullptr);
        QVERIFY(run("pdfdetach", {"-list", m_dir.filePath("menu/hybrid.pdf")}).contains("hybrid.xml"));
        QCOMPARE(m_heard.size(), 2);
        QVERIFY(m_heard.last().inPdf);
        QVERIFY2(prompts->alerts.isEmpty(), qPrintable(prompts->alerts.join('\n')));

        // Without the customer's address: refused before any dialog, nothing written, no PDF either.
        const std::unique_ptr<Document> lacking = makeDocument(foodInvoice(QString()));
        prompts->saveAnswers = {m_dir.filePath("menu/lacking.xml")};
        exportEInvoice(*lacking, nullptr);
        QCOMPARE(prompts->saveProposals.size(), 3);
        prompts->saveAnswers = {m_dir.filePath("menu/lacking.pdf")};
        exportPdfMaybeWithEInvoice(*lacking, nullptr);
        QCOMPARE(prompts->alerts.size(), 2);
        QVERIFY(prompts->alerts.first().contains(QStringLiteral("electronic address")));
        for (const char *name : {"menu/lacking.xml", "menu/lacking.pdf"})
            QVERIFY2(!QFileInfo::exists(m_dir.filePath(name)), name);
        QCOMPARE(m_heard.size(), 2);
    }

    void anEInvoiceNotWrittenAlwaysSaysWhy()
    {
        // What the ledger made of an e-invoice, as the command line and a window are told it.
        LedgerEntry holder;
        holder.id = 3;
        holder.customer = QStringLiteral("甲");
        holder.amount = 1'000;
        const Fault taken = numberTakenFault(QStringLiteral("7"), holder);
        const Fault overlap{FaultKind::Refused, QStringLiteral("The ledger already holds the monthly invoice No. 6")};
        IssueOutcome written;
        written.written = true;
        IssueOutcome lost = written;
        lost.recording = IssueRecording::Lost;
        IssueOutcome keptAside = written;
        keptAside.recording = IssueRecording::Refused;
        const IssueOutcome notWritten;
        const Fault diskFull{FaultKind::Unwritable, QStringLiteral("the disk is full")};
        struct Case
        {
            const char *name;
            Result<IssueOutcome> outcome;
            std::optional<Result<void>> wrote;
            bool commandLine;
            std::optional<FaultKind> fault; ///< none: issued
            QString message;                ///< the fault's; empty: any text but an empty one
            bool unrecorded = false;
        };
        const Case cases[] = {
            {"refused on the command line", taken, std::nullopt, true, FaultKind::Refused,
             taken.message + QStringLiteral(" Not exported; --reissue issues it as the correction of that invoice.")},
            {"refused in a window", taken, std::nullopt, false, FaultKind::Refused, taken.message},
            {"refused for another reason", overlap, std::nullopt, true, FaultKind::Refused, overlap.message},
            {"its write failed", notWritten, Result<void>(diskFull), false, FaultKind::Unwritable, diskFull.message},
            {"stopped before writing", notWritten, std::nullopt, true, FaultKind::Unwritable, QString()},
            {"written and recorded", written, Result<void>(), true, std::nullopt, QString()},
            {"written, recorded nowhere", lost, Result<void>(), true, std::nullopt, QString(), true},
            {"written, refused by the office's server", keptAside, Result<void>(), false, std::nullopt, QString(),
             true},
        };
        for (const Case &c : cases) {
            const Result<IssuedEInvoice> issued = eInvoiceIssued(c.outcome, c.wrote, c.commandLine);
            QVERIFY2(issued.ok() == !c.fault, c.name);
            if (issued) {
                QVERIFY2(issued->unrecorded == c.unrecorded, c.name);
                continue;
            }
            QVERIFY2(issued.fault().kind == *c.fault, c.name);
            QVERIFY2(c.message.isEmpty() ? !issued.message().isEmpty() : issued.message() == c.message,
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.name), issued.message())));
        }
    }

    void theCommandLineWritesEachAndReportsTheRest()
    {
        const QDir in(m_dir.filePath("cli"));
        const QStringList inputs{writeFile(in.filePath("in/food.seikyu"), foodInvoice()),
                                 writeFile(in.filePath("in/nopeer.seikyu"), foodInvoice(QString())),
                                 in.filePath("in/missing.seikyu"),
                                 writeFile(in.filePath("in/other.xml"), foodInvoice())};
        QStringList messages;
        QCOMPARE(exportInvoicesAsUbl(in.filePath("out"), inputs, &messages), 1);
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages.at(0).startsWith(inputs.at(1) + ": ") && messages.at(0).contains("e-invoice"),
                 qPrintable(messages.at(0)));
        QVERIFY(messages.at(1).startsWith(inputs.at(2) + ": "));
        QCOMPARE(QDir(in.filePath("out")).entryList(QDir::Files, QDir::Name), (QStringList{"food.xml", "other.xml"}));
        QVERIFY(m_schema->violations(readAll(in.filePath("out/food.xml"))).isEmpty());
        QCOMPARE(m_heard.size(), 2);
        // Never over an input: other.xml in its own folder.
        messages.clear();
        QCOMPARE(exportInvoicesAsUbl(in.filePath("in"), {inputs.at(3)}, &messages), 1);
        QCOMPARE(readAll(inputs.at(3)), foodInvoice());
        // Nothing to do.
        QCOMPARE(exportInvoicesAsUbl(in.filePath("out"), {}, &messages), 2);
        QCOMPARE(exportInvoicesAsUbl(inputs.at(0), {inputs.at(0), inputs.at(3)}, &messages), 2);
        // One file to a name ending in .xml.
        QCOMPARE(exportInvoicesAsUbl(in.filePath("single.xml"), {inputs.at(0)}, nullptr), 0);
        QCOMPARE(readAll(in.filePath("single.xml")), readAll(in.filePath("out/food.xml")));
        // Written, but its ledger could neither record it nor keep it waiting (and said which): a failure.
        setEInvoiceIssuer([](const WrittenEInvoice &, const std::function<Result<void>()> &write) {
            const Result<void> done = write();
            return done ? Result<IssuedEInvoice>(IssuedEInvoice{true}) : Result<IssuedEInvoice>(done.fault());
        });
        QCOMPARE(exportInvoicesAsUbl(in.filePath("lost.xml"), {inputs.at(0)}, nullptr), 1);
        setEInvoiceIssuer({});
        QVERIFY(QFileInfo::exists(in.filePath("lost.xml")));
        // What cannot be written is reported with why, and nobody hears of it: an XML whose name a
        // folder takes, PDFs that cannot carry their e-invoice without the colour profile.
        m_heard.clear();
        messages.clear();
        QVERIFY(QDir().mkpath(in.filePath("jammed/food.xml")));
        QCOMPARE(exportInvoicesAsUbl(in.filePath("jammed"), {inputs.at(0)}, &messages), 1);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).startsWith(inputs.at(0) + ": ") &&
                     messages.at(0).endsWith(QStringLiteral("a folder of that name is in the way")),
                 qPrintable(messages.at(0)));
        QVERIFY(m_heard.isEmpty());

        // The process itself, without a display; a due date in the year -1 refused, never written empty.
        const QString bc = writeFile(in.filePath("in/bc.seikyu"),
                                     foodInvoice().replace("\"dues\": \"2026-12-31\"", "\"dues\": \"-0001-12-31\""));
        QHash<QString, QString> environment;
        const auto seikyu = [&environment](const QStringList &arguments) {
            const SeikyuRun run = runSeikyuWithoutDisplay(arguments, environment);
            return std::pair(run.exitCode, run.err);
        };
        for (const QStringList &arguments : {QStringList{"--export-ubl", in.filePath("proc")},
                                             QStringList{"--export-pdf", in.filePath("proc"), "--attach-ubl"}}) {
            const auto [status, said] = seikyu(arguments + inputs.mid(0, 2) + QStringList{bc});
            QCOMPARE(status, 1);
            const QStringList reported = said.split('\n', Qt::SkipEmptyParts);
            QVERIFY2(reported.size() == 2, qPrintable(reported.join(u'\n')));
            QVERIFY2(reported.first().startsWith("seikyu: " + inputs.at(1) + ": "), qPrintable(reported.first()));
            QVERIFY2(reported.last().startsWith("seikyu: " + bc + ": ") && reported.last().contains("dues"),
                     qPrintable(reported.last()));
        }
        // Another customer's invoice under the same number: refused in one line naming the invoice
        // that holds it, nothing written; --reissue issues it as that invoice's correction.
        QTemporaryDir ownLedger;
        environment.insert(QStringLiteral("XDG_DATA_HOME"), ownLedger.path());
        const QString other =
            writeFile(in.filePath("in/taken.seikyu"), foodInvoice().replace("株式会社丸の内商事", "株式会社別会社"));
        for (const auto &[arguments, status] :
             {std::pair(QStringList{inputs.at(0)}, 0), std::pair(QStringList{other}, 1),
              std::pair(QStringList{"--reissue", other}, 0)}) {
            const auto [code, said] = seikyu(QStringList{"--export-ubl", in.filePath("taken")} + arguments);
            QCOMPARE(std::pair(code, said.count(u'\n')), std::pair(status, qsizetype(status)));
            QVERIFY2(status == 0 || said.contains("株式会社丸の内商事"), qPrintable(said));
            QCOMPARE(QFileInfo::exists(in.filePath("taken/taken.xml")), arguments.contains("--reissue"));
        }
        environment.insert(QStringLiteral("SEIKYU_SRGB_PROFILE"), in.filePath("no-profile.icc"));
        const auto [status, said] =
            seikyu({"--export-pdf", in.filePath("pdf"), "--attach-ubl", inputs.at(0), inputs.at(3)});
        QVERIFY2(status == 1 && said.count(QStringLiteral("icc-profiles-free")) == 2, qPrintable(said));
        QVERIFY(QDir(in.filePath("pdf")).isEmpty());
        QVERIFY(m_schema->violations(readAll(in.filePath("proc/food.xml"))).isEmpty());
        for (const char *refused : {"proc/nopeer.xml", "proc/nopeer.pdf", "proc/bc.xml", "proc/bc.pdf"})
            QVERIFY2(!QFileInfo::exists(in.filePath(refused)), refused);
        const QString hybrid = in.filePath("proc/food.pdf");
        run("pdfdetach", {"-save", "1", "-o", in.filePath("proc/attached.xml"), hybrid});
        QCOMPARE(readAll(in.filePath("proc/attached.xml")), readAll(in.filePath("proc/food.xml")));

        // Both runs are in the processes' ledger (in the data folder the environment names): the XML as
        // an e-invoice entry with its hash and archived copy, the PDF/A-3 as the batch's PDF.
        const QDir ledgerFolder(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Seikyu/Seikyu"));
        auto opened = LedgerStore::openSqlite(ledgerFolder.filePath("ledger.sqlite"));
        QVERIFY2(opened, qPrintable(opened.message()));
        const auto ledger = std::move(opened).value();
        QList<LedgerEntry> eInvoices, pdfs;
        for (const LedgerEntry &entry : ledger->entries().value()) {
            if (entry.sourcePath == QFileInfo(inputs.at(0)).absoluteFilePath())
                (entry.channel == IssueChannel::EInvoice ? eInvoices : pdfs).append(entry);
        }
        QCOMPARE(std::pair(eInvoices.size(), pdfs.size()), std::pair(qsizetype(1), qsizetype(1)));
        const QByteArray xml = readAll(in.filePath("proc/food.xml"));
        const LedgerEntry &entry = eInvoices.first();
        QCOMPARE(std::tuple(entry.pdfSha256, entry.number, entry.amount),
                 std::tuple(sha256Hex(xml), QString("INV-2026-0042"), qint64(34362)));
        QVERIFY2(entry.archiveName.endsWith(".xml"), qPrintable(entry.archiveName));
        QCOMPARE(readAll(ledgerFolder.filePath("archive/" + entry.archiveName)), xml);
        QCOMPARE(channelKey(IssueChannel::EInvoice), QStringLiteral("e-invoice"));
    }

    void theCustomersAddressIsTypedOnceAndKept()
    {
        PrompterGuard prompts;
        storeCustomers({QStringLiteral("株式会社丸の内商事"), QStringLiteral("山田花子")},
                       {QStringLiteral("マルノウチショウジ"), QStringLiteral("ヤマダハナコ")});
        const std::unique_ptr<Document> document = makeDocument();
        auto *field = child<QLineEdit>(*document, "whomPeer");
        auto *ok = child<QPushButton>(*document, "whomCtrlOk");
        auto *dial = child<QComboBox>(*document, "whomDial");
        auto *status = child<QLabel>(*document, "whomPeerNote");
        document->whomShow();
        dial->setCurrentIndex(0);
        QTest::keyClicks(field, "0188:9234567890124");
        QVERIFY(!ok->isEnabled() && !status->text().isEmpty()); // the check digit does not match
        field->clear();
        field->insert(QStringLiteral("０１８８：９２３４５６７８９０１２３")); // as an input method gives it
        QVERIFY(ok->isEnabled());
        ok->click();
        QCOMPARE(document->peer(), QStringLiteral("0188:9234567890123"));
        QCOMPARE(bookCustomer(QStringLiteral("株式会社丸の内商事")).peppolId, QStringLiteral("0188:9234567890123"));
        QCOMPARE(QJsonDocument::fromJson(document->dataOfType()).object().value("peer").toString(),
                 QStringLiteral("0188:9234567890123"));

        // The next invoice for the same customer finds the address with the customer.
        const std::unique_ptr<Document> next = makeDocument();
        next->whomShow();
        child<QComboBox>(*next, "whomDial")->setCurrentIndex(1);
        QVERIFY(child<QLineEdit>(*next, "whomPeer")->text().isEmpty());
        child<QComboBox>(*next, "whomDial")->setCurrentIndex(0);
        QCOMPARE(child<QLineEdit>(*next, "whomPeer")->text(), QStringLiteral("0188:9234567890123"));
        child<QPushButton>(*next, "whomCtrlOk")->click();
        QCOMPARE(next->peer(), QStringLiteral("0188:9234567890123"));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<UblSchema> m_schema;
    QList<WrittenEInvoice> m_heard;
};

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
