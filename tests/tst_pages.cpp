// Invoices of more than one page, checked as a customer reads them: the pages of the PDF through poppler's pdfinfo,
// pdftotext and pdffonts, the window's pages on screen, printing and the batch. One-page invoices are compared pixel
// for pixel with reference images made from the fixtures in tests/data/pages before invoices could continue.
#include "customers/CustomerBook.h"
#include "document/AddressOffset.h"
#include "document/ContinuationPage.h"
#include "document/PageView.h"
#include "invoice/InvoiceFile.h"
#include "invoice/OpenedInvoice.h"
#include "output/AddressCalibration.h"
#include "output/BatchExport.h"
#include "output/OutputChecks.h"
#include "output/OutputRendering.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"
#include "output/SavedPageDefaults.h"
#include "page/InvoiceSheets.h"
#include "page/PagePainting.h"
#include "sections/SavedLists.h"
#include "support/PdfTools.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QString sourcePath(const QString &relative)
{
    return QDir(qEnvironmentVariable("SEIKYU_SOURCE_DIR")).filePath(relative);
}

/// How an image differs from its reference: empty when every pixel is the same, or no channel of
/// any pixel differs by more than `tolerance`.
QString difference(const QImage &image, const QImage &reference, int tolerance = 0)
{
    if (reference.isNull())
        return QStringLiteral("no reference image");
    if (image.size() != reference.size())
        return QStringLiteral("size %1×%2, reference %3×%4")
            .arg(image.width())
            .arg(image.height())
            .arg(reference.width())
            .arg(reference.height());
    int differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            differing += std::abs(qRed(a) - qRed(b)) > tolerance || std::abs(qGreen(a) - qGreen(b)) > tolerance ||
                         std::abs(qBlue(a) - qBlue(b)) > tolerance;
        }
    }
    return differing == 0 ? QString() : QStringLiteral("%1 pixels differ").arg(differing);
}

/// A wholesaler's month: `items` deliveries (every fourth at the reduced rate, every thirteenth with
/// a description of two lines), totalled, with a number, a due date and remarks. Each delivery's
/// description holds its own word 品目0001, 品目0002, … to find it by.
QByteArray monthlyInvoice(int items, bool totalled = true,
                          const QString &remarks = QStringLiteral("振込手数料は貴社にてご負担ください。"))
{
    QString rows = QStringLiteral(R"({"date": "日付", "name": "品名", "solo": "", "much": "数量", "sums": "金額"})");
    for (int item = 1; item <= items; ++item) {
        rows += QStringLiteral(
                    R"(, {"date": "12/%1", "name": "品目%2 冷凍食品%3", "solo": "1200", "much": 2, "sums": "2400"%4})")
                    .arg(item % 28 + 1, 2, 10, QLatin1Char('0'))
                    .arg(item, 4, 10, QLatin1Char('0'))
                    .arg(item % 13 == 0 ? QStringLiteral(" 特大・業務用 大口ご注文分 追加配送料込み 冷凍便 時間指定")
                                        : QString())
                    .arg(item % 4 == 0 ? QStringLiteral(R"(, "rate": 8)") : QString());
    }
    if (totalled)
        rows += QStringLiteral(R"(, {"date": " ", "name": " ", "solo": "", "much": " ", "sums": " "},
            {"date": " ", "name": " ", "solo": "", "much": "小計", "sums": "￥1"},
            {"date": " ", "name": " ", "solo": "", "much": "消費税", "sums": "￥2"},
            {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "￥3"})");
    return QStringLiteral(
               R"({"head": "請求書", "date": "2026-12-05", "whom": "株式会社サンプル食堂", "tail": 1, "jgen": 0,
        "plus": 1, "rate": 10, "from": "100-0005\n東京都千代田区丸の内1-2-3\n株式会社サンプル商事",
        "full": "\b御請求金額\n￥3", "numb": "2026-0012", "dues": "2027-01-31", "note": "%1", "item": [%2]})")
        .arg(remarks, rows)
        .toUtf8();
}

/// The short one-page invoice sent to a person at a company with its address, for a window envelope.
QByteArray addressedInvoice()
{
    QByteArray file = readAll(sourcePath(QStringLiteral("tests/data/pages/one-page-short.seikyu")));
    file.chop(file.size() - file.lastIndexOf('}'));
    return file + QStringLiteral(R"(, "post": "100-0005", "addr": "東京都千代田区丸の内1-2-3\n丸の内サンプルビル12階",
        "dept": "経理部", "attn": "部長 佐藤花子"})")
                      .toUtf8();
}

/// "2 / 3" as pdftotext may extract it, with or without the spaces.
QRegularExpression pageNumber(int page, int count)
{
    return QRegularExpression(QStringLiteral("(^|\\s)%1 ?/ ?%2\\s").arg(page).arg(count));
}

/// The text without the spaces and line breaks that the way it was laid out decides.
QStringList withoutSpacing(QStringList texts)
{
    for (QString &text : texts)
        text.remove(QRegularExpression(QStringLiteral("\\s")));
    return texts;
}

/// Each page's text as pdftotext gives it, page by page.
QStringList pageTexts(const QString &pdf)
{
    QStringList texts;
    const int pages = pdfPageCount(pdf);
    for (int page = 1; page <= pages; ++page)
        texts.append(pdfText(pdf, page));
    return texts;
}

/// Reads the pages as the customer does: the count and number on every page, the heading and the
/// header row on every further page, each delivery on exactly one page in order, the sums and
/// the remarks on the last page under at least one delivery.
void checkReadsAsOneInvoice(const QStringList &pages, int items)
{
    const int count = int(pages.size());
    QVERIFY2(count > 1, "more than one page");
    int previous = 0;
    for (int index = 0; index < count; ++index) {
        const QString &text = pages.at(index);
        QVERIFY2(text.contains(pageNumber(index + 1, count)),
                 qPrintable(QStringLiteral("page %1: ").arg(index + 1) + text.right(120)));
        for (const char *heading : {"請求書", "株式会社サンプル食堂 様", "2026年12月05日", "2026-0012"})
            QVERIFY2(text.contains(QString::fromUtf8(heading)), heading);
        for (const char *header : {"日付", "項目", "単価", "個数", "価格"})
            QVERIFY2(text.contains(QString::fromUtf8(header)), header);
        const bool last = index == count - 1;
        QCOMPARE(text.contains(QStringLiteral("合計")), last);
        QCOMPARE(text.contains(QStringLiteral("振込手数料")), last);
        // Each delivery once, on this page or a later one.
        const QRegularExpression word(QStringLiteral("品目(\\d{4})"));
        for (const QRegularExpressionMatch &m : word.globalMatch(text)) {
            const int item = m.captured(1).toInt();
            QCOMPARE(item, previous + 1);
            previous = item;
        }
        if (last)
            QVERIFY2(text.indexOf(QStringLiteral("品目")) >= 0, "a delivery above the sums");
    }
    QCOMPARE(previous, items);
}

/// The names of the fonts pdffonts lists, each as often as the PDF embeds it.
QStringList embeddedFonts(const QString &pdf)
{
    QStringList names;
    for (const QString &line : runProgram("pdffonts", {pdf}).split(u'\n').mid(2)) {
        if (!line.trimmed().isEmpty())
            names.append(line.section(u' ', 0, 0));
    }
    return names;
}

} // namespace

class PagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initApplication();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("poppler-utils are not installed");
    }
    void init() { clearSettings(); }

    void aOnePageInvoiceLooksAsItAlwaysDid_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("regrown"); // grown past one page by 30 rows, then undone back to it
        for (const char *name : {"one-page-short", "one-page-full", "one-page-edge"})
            QTest::newRow(name) << QString::fromLatin1(name) << false;
        QTest::newRow("one-page-full, grown and shrunk back") << QStringLiteral("one-page-full") << true;
    }

    void aOnePageInvoiceLooksAsItAlwaysDid()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, regrown);
        const QString base = sourcePath(QStringLiteral("tests/data/pages/") + fixture);
        auto document = makeDocument(readAll(base + QStringLiteral(".seikyu")));
        if (regrown) {
            child<QTableView>(*document, "grid")->selectRow(3);
            for (int row = 0; row < 30; ++row)
                document->tblePlus();
            QVERIFY(document->pages().size() > 1);
            while (document->undoStack()->canUndo())
                document->undoStack()->undo();
        }
        QCOMPARE(document->pages().size(), 1);
        const QImage screen =
            child<PageView>(*document, "page")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString exported = m_dir.filePath(fixture + QStringLiteral("-exported.pdf"));
        QVERIFY(writePdfFile(renderPagePdf(*document, fixture), exported));
        QPrinter &printer = documentPrinter(*document);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(fixture + QStringLiteral("-printed.pdf")));
        QVERIFY(printPages(*document, printer));
        const QList<std::pair<QString, QImage>> renders{
            {QStringLiteral("screen"), screen},
            {QStringLiteral("pdf"), pdfFirstPage(exported).convertToFormat(QImage::Format_RGB32)},
            {QStringLiteral("print"), pdfFirstPage(printer.outputFileName()).convertToFormat(QImage::Format_RGB32)}};
        const QString writeTo = qEnvironmentVariable("SEIKYU_WRITE_REFERENCES");
        for (const auto &[kind, image] : renders) {
            const QString reference = base + QLatin1Char('-') + kind + QStringLiteral(".png");
            if (!writeTo.isEmpty()) {
                QVERIFY(regrown || image.save(QDir(writeTo).filePath(QFileInfo(reference).fileName())));
                continue;
            }
            const QString differs = difference(image, QImage(reference).convertToFormat(QImage::Format_RGB32));
            QVERIFY2(differs.isEmpty(), qPrintable(kind + QStringLiteral(": ") + differs));
        }
    }

    void theRendererDrawsWhatTheWindowShows_data()
    {
        QTest::addColumn<QByteArray>("file");
        for (const char *name : {"one-page-short", "one-page-full", "one-page-edge"})
            QTest::newRow(name) << readAll(sourcePath(QStringLiteral("tests/data/pages/%1.seikyu").arg(name)));
        QTest::newRow("pages of a month") << monthlyInvoice(150);
        QTest::newRow("remarks past the last row") << monthlyInvoice(60, true, QString(2000, QChar(0x6f22)));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("addressed") << addressedInvoice();
    }

    // Every output draws from the renderer: each sheet it draws is the window's sheet, drawn for
    // paper. The window clips the rules at the table's box, where paper lets their ends show.
    void theRendererDrawsWhatTheWindowShows()
    {
        QFETCH(QByteArray, file);
        auto document = makeDocument(file);
        const PageLayout layout = layoutPagesForPdf(*document);
        const QList<PageView *> sheets = document->pages();
        QCOMPARE(qsizetype(layout.size()), sheets.size());
        const OutputRenderingScope output;
        for (qsizetype index = 0; index < sheets.size(); ++index) {
            const LaidOutPage &page = layout[size_t(index)];
            QImage widgets(sheets.at(index)->size(), QImage::Format_RGB32);
            widgets.fill(Qt::white);
            {
                QPainter painter(&widgets);
                sheets.at(index)->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
            }
            QImage drawn(widgets.size(), QImage::Format_RGB32);
            drawn.fill(Qt::white);
            {
                QPainter painter(&drawn);
                paintPage(painter, page);
            }
            // The window clips each box at its edge, where paper lets the ends of strokes show.
            QList<QRectF> boxes;
            for (const auto *regions : {&page.regions, &page.overlays}) {
                for (const PlacedRegion &placed : *regions)
                    boxes.append(placed.rect);
            }
            if (page.table)
                boxes.append(page.table->rect);
            for (QImage *image : {&widgets, &drawn}) {
                QPainter blank(image);
                blank.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
                for (const QRectF &box : std::as_const(boxes))
                    blank.drawRect(box.adjusted(-1, -1, 1, 1));
            }
            // Drawn through a widget's painter, an edge's shading may round a level differently.
            const QString differs = difference(drawn, widgets, 2);
            QVERIFY2(differs.isEmpty(), qPrintable(QStringLiteral("page %1: ").arg(index + 1) + differs));
        }
    }

    // The command line lays an invoice out from its file alone, without a window: from the values
    // the window holds once it opens the file, where the user's saved lists and stamp fill in what
    // the file leaves out.
    void aFileOpensToTheValuesItsWindowHolds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("savedLists");
        const QByteArray full = readAll(sourcePath(QStringLiteral("tests/data/pages/one-page-full.seikyu")));
        QTest::newRow("full, no saved lists") << full << false;
        QTest::newRow("full, saved lists") << full << true;
        QTest::newRow("a month") << monthlyInvoice(40) << false;
        const QByteArray bare =
            R"({"tail": 1, "rate": 10, "item": [{"date": "日付", "name": "項目", "solo": "単価", "much": "数量", "sums": "金額"}, {"date": "12/01", "name": "作業", "solo": "5000", "much": 2, "sums": "10,000"}]})";
        QTest::newRow("bare, no saved lists") << bare << false;
        QTest::newRow("bare, saved lists") << bare << true;
    }
    void aFileOpensToTheValuesItsWindowHolds()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, savedLists);
        if (savedLists) {
            SavedLists::instance().save({QStringLiteral("御見積書"), QStringLiteral("請求書")}, QStringLiteral("head"));
            storeCustomers({QStringLiteral("株式会社いろは")});
            SavedLists::instance().save({QStringLiteral("100-0001\n東京都千代田区\n山田商店")}, QStringLiteral("from"));
            QImage seal(40, 40, QImage::Format_ARGB32);
            seal.fill(Qt::red);
            QBuffer png;
            png.open(QIODevice::WriteOnly);
            seal.save(&png, "PNG");
            SavedLists::instance().setStamp(png.data());
        }
        auto document = std::make_unique<Document>();
        document->setTeachesLists(false);
        QVERIFY(document->readFromData(file).ok());
        document->windowControllerDidLoadNib();
        const Result<Invoice> read = readInvoiceBytes(file);
        QVERIFY(read.ok());
        const Invoice opened = openedInvoice(*read, savedPageDefaults());
        QVERIFY(opened == document->pageState());
        QCOMPARE(savedStamp(), child<PageButton>(*document, "push")->image());
        QCOMPARE(*opened.title,
                 savedLists && !read->title ? QStringLiteral("御見積書") : read->title.value_or("請求書"));
    }

    // With the customer's address, the block sits in the window of a 長形3号 envelope: each of its
    // words inside x 20–105 mm and y 15–55 mm of the sheet, moved as the user moved it, and the title
    // moved out of its way.
    void theAddressShowsInTheEnvelopeWindow()
    {
        const QString file = writeFile(m_dir.filePath(QStringLiteral("in/addressed.seikyu")), addressedInvoice());
        const QStringList block = {QStringLiteral("〒100-0005"),
                                   QStringLiteral("東京都千代田区丸の内1-2-3"),
                                   QStringLiteral("丸の内サンプルビル12階"),
                                   QStringLiteral("千代田商事"),
                                   QStringLiteral("経理部"),
                                   QStringLiteral("部長"),
                                   QStringLiteral("佐藤花子"),
                                   QStringLiteral("様")};
        const auto mm = [](qreal millimetres) { return millimetres * 72 / 25.4; };
        for (const QPointF offset : {QPointF(0, 0), QPointF(4, -3.5)}) {
            saveAddressOffset(offset);
            const QString pdf = m_dir.filePath(QStringLiteral("addressed-%1.pdf").arg(offset.x()));
            QStringList messages;
            QCOMPARE(exportInvoicesAsPdf(pdf, {file}, &messages), 0);
            const QRectF window(QPointF(mm(20 + offset.x()), mm(15 + offset.y())),
                                QPointF(mm(105 + offset.x()), mm(55 + offset.y())));
            QStringList found;
            for (const PdfWord &word : pdfWords(pdf)) {
                if (block.contains(word.text)) {
                    QVERIFY2(window.contains(word.box), qPrintable(word.text));
                    found.append(word.text);
                } else if (word.text == QStringLiteral("請求書")) {
                    QVERIFY(word.box.left() > mm(105 + offset.x()));
                }
            }
            found.removeDuplicates();
            QCOMPARE(found.size(), block.size());
        }
        // The calibration sheet prints its sample where invoices put the block.
        QPrinter printer(QPrinter::HighResolution);
        setUpSheetPrinter(printer);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("calibration.pdf")));
        QVERIFY(printSheet(printer, [](QPainter &painter) { paintAddressCalibration(painter, {4, -3.5}); }));
        const QRectF moved(QPointF(mm(24), mm(11.5)), QPointF(mm(109), mm(51.5)));
        const QList<PdfWord> sample = pdfWords(printer.outputFileName());
        const auto postal = std::find_if(sample.begin(), sample.end(),
                                         [](const PdfWord &word) { return word.text == QStringLiteral("〒100-0005"); });
        QVERIFY(postal != sample.end());
        QVERIFY2(moved.contains(postal->box) && postal->box.left() < mm(24) + 8,
                 qPrintable(QStringLiteral("%1,%2").arg(postal->box.left()).arg(postal->box.top())));

        // Without an address the customer line is where it always was.
        saveAddressOffset({});
        const QString plain = m_dir.filePath(QStringLiteral("plain.pdf"));
        QCOMPARE(
            exportInvoicesAsPdf(plain, {sourcePath(QStringLiteral("tests/data/pages/one-page-short.seikyu"))}, nullptr),
            0);
        const QList<PdfWord> words = pdfWords(plain);
        QVERIFY(std::any_of(words.begin(), words.end(), [](const PdfWord &word) {
            return word.text == QStringLiteral("千代田商事") && word.box.left() < 60 && word.box.top() > 104;
        }));
    }

    // The block's place is read back as saved, each way on its own, within ±10 mm; a setting that is
    // no number (hand-edited, damaged) puts the block back where the envelope expects it.
    void theAddressOffsetIsReadBackWithinItsLimits()
    {
        saveAddressOffset({-3.5, 7});
        QCOMPARE(savedAddressOffset(), QPointF(-3.5, 7));
        saveAddressOffset({-25, 40});
        QCOMPARE(savedAddressOffset(), QPointF(-10, 10));
        for (const char *bad : {"nan", "inf", "-inf", "abc", ""}) {
            QSettings().setValue(QStringLiteral("page/addressOffsetX"), QString::fromLatin1(bad));
            QSettings().setValue(QStringLiteral("page/addressOffsetY"), QStringLiteral("2"));
            QCOMPARE(savedAddressOffset(), QPointF(0, 2));
        }
    }

    // Before output: a customer or issuer of nothing but spaces is not filled in either.
    void blankRegionsAreWarnedOfBeforeOutput()
    {
        Invoice shown = openedInvoice({}, savedPageDefaults());
        for (const QString &blank : {QString(), QStringLiteral("  "), QStringLiteral("\u3000\n ")}) {
            shown.customer = blank;
            shown.issuer = blank;
            const QStringList warnings = outputWarnings(shown);
            QVERIFY(warnings.contains(QCoreApplication::translate(
                "OutputChecks", "The customer is not filled in: the invoice is addressed to no one.")));
            QVERIFY(warnings.contains(QCoreApplication::translate(
                "OutputChecks", "Your details are not filled in: the invoice does not say who issues it.")));
        }
        shown.customer = QStringLiteral("千代田商事");
        shown.issuer = QStringLiteral("山田商店");
        QVERIFY(outputWarnings(shown).isEmpty());
    }

    // A new invoice shows the customer book's first customer, and goes to it as if it had been chosen:
    // with its address in the envelope's window.
    void aNewInvoiceTakesItsCustomersAddress()
    {
        storeCustomers({QStringLiteral("株式会社いろは")});
        Customer customer = bookCustomer(QStringLiteral("株式会社いろは"));
        customer.postalCode = QStringLiteral("530-0001");
        customer.address1 = QStringLiteral("大阪府大阪市北区梅田1-1-1");
        const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath());
        QVERIFY(book.ok());
        QVERIFY((*book)->update(customer).ok());
        auto document = makeDocument();
        const Invoice shown = document->pageState();
        QCOMPARE(shown.customer.value_or(QString()), QStringLiteral("株式会社いろは"));
        QCOMPARE(shown.customerAddress.postalCode, QStringLiteral("530-0001"));
        QVERIFY(child<PageButton>(*document, "whom")
                    ->shownText()
                    .startsWith(QStringLiteral("〒530-0001\n大阪府大阪市北区梅田1-1-1\n")));
        QVERIFY(!document->isEdited());
    }

    void aLongInvoiceReadsPageByPageInEveryOutput()
    {
        const QString file = writeFile(m_dir.filePath(QStringLiteral("in/monthly.seikyu")), monthlyInvoice(150));
        auto document = makeDocument(readAll(file));
        QVERIFY(document->pages().size() > 2);
        const QString pdf = m_dir.filePath(QStringLiteral("monthly.pdf"));
        QVERIFY(writePdfFile(renderPagePdf(*document, QStringLiteral("monthly")), pdf));
        const QStringList pages = pageTexts(pdf);
        QCOMPARE(pages.size(), document->pages().size());
        checkReadsAsOneInvoice(pages, 150);
        // The first page is the first page of a one-page invoice: the amount box, the issuer, the due date.
        for (const char *first : {"御請求金額", "株式会社サンプル商事", "お支払期限"}) {
            QVERIFY(pages.first().contains(QString::fromUtf8(first)));
            QVERIFY(!pages.at(1).contains(QString::fromUtf8(first)));
        }
        QVERIFY(pages.last().contains(QStringLiteral("※は軽減税率対象")));
        // On the window's last page the remarks box sits under the sums and the legend, inside the page.
        auto *last = qobject_cast<ContinuationPage *>(document->pages().last());
        QVERIFY(last);
        QCOMPARE(child<RoomBox>(*document, "noteRoom")->parentWidget(), last);
        QVERIFY(child<RoomBox>(*document, "noteRoom")->y() >= last->contentBottom());
        QVERIFY(child<RoomBox>(*document, "noteRoom")->geometry().bottom() < PageView::Height - PageView::Margin + 2);
        const QStringList fonts = embeddedFonts(pdf);
        QVERIFY(!fonts.isEmpty());
        QCOMPARE(QSet<QString>(fonts.begin(), fonts.end()).size(), fonts.size());
        QVERIFY(runProgram("pdfinfo", {pdf}).contains(QStringLiteral("595 x 842 pts (A4)")));

        // Printed, all pages or a range of them, the same pages.
        QPrinter &printer = documentPrinter(*document);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(printPages(*document, printer));
        QCOMPARE(withoutSpacing(pageTexts(printer.outputFileName())), withoutSpacing(pages));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("range.pdf")));
        QVERIFY(printPages(*document, printer));
        QCOMPARE(withoutSpacing(pageTexts(printer.outputFileName())), withoutSpacing(pages.mid(1, 2)));
        // The preview shows every page, whatever range the last printout left.
        int previewed = -1;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            auto *view = dialog ? dialog->findChild<QPrintPreviewWidget *>() : nullptr;
            if (view && view->pageCount() > 0) {
                previewed = view->pageCount();
                dialog->close();
            }
        });
        closer.start(100);
        previewDocument(*document, nullptr);
        QCOMPARE(previewed, int(document->pages().size()));
        printer.setPrintRange(QPrinter::AllPages);

        // The batch, one window for every file.
        const QString shortFile =
            writeFile(m_dir.filePath(QStringLiteral("in/short.seikyu")),
                      readAll(sourcePath(QStringLiteral("tests/data/pages/one-page-short.seikyu"))));
        const QString out = m_dir.filePath(QStringLiteral("batch"));
        QStringList messages;
        QCOMPARE(exportInvoicesAsPdf(out, {file, shortFile}, &messages), 0);
        QCOMPARE(pageTexts(QDir(out).filePath(QStringLiteral("monthly.pdf"))), pages);
        QCOMPARE(pdfPageCount(QDir(out).filePath(QStringLiteral("short.pdf"))), 1);

        // A long customer wraps on the first page rather than shrink onto one line below the heading's size.
        child<PageButton>(*document, "whom")
            ->setTitle(QStringLiteral("株式会社サンプル食品流通ホールディングス 東日本営業本部 首都圏第二営業部 御中"));
        QCOMPARE(child<PageButton>(*document, "whom")->pageLines().size(), 2);
    }

    void remarksThatDoNotFitMoveToAPageOfTheirOwn()
    {
        // Rows and sums that fill the second page leave the remarks for a third.
        const QString long8 =
            QStringLiteral("振込手数料は貴社にてご負担ください。\\n") + QStringLiteral("備考の行\\n").repeated(7);
        for (int items = 60; items < 110; ++items) {
            auto document = makeDocument(monthlyInvoice(items, true, long8));
            const QString pdf = m_dir.filePath(QStringLiteral("remarks.pdf"));
            QVERIFY(writePdfFile(renderPagePdf(*document, QStringLiteral("remarks")), pdf));
            const QStringList pages = pageTexts(pdf);
            if (pages.last().contains(QStringLiteral("合計")))
                continue;
            QVERIFY(pages.last().contains(QStringLiteral("振込手数料")));
            QVERIFY(!pages.last().contains(QStringLiteral("品目")));
            QVERIFY(pages.at(pages.size() - 2).contains(QStringLiteral("合計")));
            QVERIFY(pages.last().contains(pageNumber(int(pages.size()), int(pages.size()))));
            // At the top of their page, not under a legend that stayed with the rows before.
            const PageLayout layout = layoutPagesForPdf(*document);
            const PlacedRegion &remarks = layout.back().overlays.back();
            QCOMPARE(remarks.rect.top(), qreal(child<RoomBox>(*document, "noteRoom")->geometry().top() + 2));
            return;
        }
        QFAIL("no table left the remarks for a page of their own");
    }

    void theWindowShowsEveryPageAndEachOpensTheTable()
    {
        auto document = makeDocument(monthlyInvoice(120));
        const QList<PageView *> pages = document->pages();
        QVERIFY(pages.size() > 2);
        document->setZoom(1.5);
        document->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(document->window()));
        const QSize sheet(qRound(PageView::Width * 1.5), qRound(PageView::Height * 1.5));
        int bottom = -1;
        for (PageView *page : pages) {
            QCOMPARE(page->size(), sheet);
            QVERIFY(page->y() > bottom); // one below the other
            bottom = page->geometry().bottom();
        }
        QCOMPARE(child<QFrame>(*document, "main")->height(), bottom + 1);
        // A click on the table of the last page opens the table panel, as on the first.
        auto *table = pages.last()->findChild<QTableView *>();
        QVERIFY(table);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(40, 20));
        QTRY_VERIFY(child<QDialog>(*document, "gridCtrl")->isVisible());
        child<QDialog>(*document, "gridCtrl")->reject();
        QTRY_VERIFY(!child<QDialog>(*document, "gridCtrl")->isVisible());
        // And from the keyboard.
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Space);
        QTRY_VERIFY(child<QDialog>(*document, "gridCtrl")->isVisible());
        child<QDialog>(*document, "gridCtrl")->reject();
        QTRY_VERIFY(!child<QDialog>(*document, "gridCtrl")->isVisible());
        document->window()->close();
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
