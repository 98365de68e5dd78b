// PDF export, printing and the command-line export, checked the way a customer receives the result:
// through poppler's pdftotext, pdfinfo, pdffonts and pdfimages.
#include "app/DocumentController.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/PageView.h"
#include "output/BatchExport.h"
#include "output/OutputChecks.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "table/ItemTableModel.h"
#include "widgets/PageButton.h"
#include "widgets/PageFonts.h"
#include "widgets/RoomBox.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace seikyu;
using seikyu::test::readAll;
using seikyu::test::writeFile;

namespace {

/// An invoice file as a user's would read: two items, totalled, tax added.
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

/// An invoice with a long customer name and issuer, `rows` items and the amount box's text.
QByteArray longInvoiceBytes(int rows, const QString &full = QStringLiteral("\b御請求金額\n"))
{
    QJsonArray items{
        QJsonObject{{"date", "日付"}, {"name", "項目"}, {"solo", "単価"}, {"much", "個数"}, {"sums", "価格"}}};
    for (int row = 1; row <= rows; ++row)
        items.append(QJsonObject{{"date", "12/01"},
                                 {"name", QStringLiteral("作業 %1").arg(row)},
                                 {"solo", "1000"},
                                 {"much", 1},
                                 {"sums", "1000"}});
    const QJsonObject invoice{
        {"head", "請求書"}, {"date", "2026-12-05"},          {"whom", LongCustomer}, {"jgen", 0},    {"tail", 0},
        {"plus", 1},        {"from", LongIssuer.join('\n')}, {"full", full},         {"item", items}};
    return QJsonDocument(invoice).toJson();
}

const QByteArray Damaged = "{\"head\": \"請求書\", \"item\": [";

QByteArray stampPng()
{
    QImage stamp(120, 120, QImage::Format_ARGB32);
    stamp.fill(Qt::transparent);
    QPainter painter(&stamp);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 30, 30), 8));
    painter.drawEllipse(8, 8, 104, 104);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    stamp.save(&buffer, "PNG");
    return buffer.data();
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &path)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, "-"});
}

/// The images of `pdfimages -list` (a stamp's transparency is a separate "smask").
QStringList pdfImages(const QString &path)
{
    const QRegularExpression image(QStringLiteral("^\\s*\\d+\\s+\\d+\\s+image\\s"));
    return run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split('\n').filter(image);
}

QString exportToFile(Document &document, const QString &path)
{
    writePdfFile(renderPagePdf(document, pdfSuggestedName(document)), path, nullptr);
    return path;
}

/// The words pdftotext finds on the page, with where each is drawn (in points, as page pixels).
QList<std::pair<QString, QRectF>> pdfWords(const QString &path)
{
    const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<std::pair<QString, QRectF>> words;
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, "-"});
    for (const QRegularExpressionMatch &m : word.globalMatch(html))
        words.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    return words;
}

/// The exported page as a picture at 50 dpi.
QImage rasterize(const QString &pdf)
{
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-singlefile"), pdf, pdf});
    return QImage(pdf + QStringLiteral(".png"));
}

/// How many pixels of the picture are clearly blue (a selection, a focus frame) or clearly red (a note).
int tintedPixels(const QImage &image, bool blue)
{
    int tinted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            tinted += (blue ? c.blue() - c.red() : c.red() - c.blue()) > 40;
        }
    }
    return tinted;
}

void triggerExport(Document &document)
{
    document.window()->findChild<QAction *>(QStringLiteral("exportPdfAction"))->trigger();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        seikyu::test::initApplication();
        QVERIFY(m_dir.isValid());
        if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
            QSKIP("poppler-utils are not installed");
    }
    void init() { seikyu::test::clearSettings(); }
    void cleanup()
    {
        QVERIFY(!isRenderingForOutput());
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void pageExportsAndPrintsAsOneSearchableA4Page()
    {
        auto document = seikyu::test::makeDocument(invoiceBytes());
        const QString exported = exportToFile(*document, m_dir.filePath(QStringLiteral("exported.pdf")));
        QPrinter &printer = documentPrinter(*document);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(printWidget(document->main, printer));

        for (const QString &path : {exported, printer.outputFileName()}) {
            const QString text = pdfText(path);
            for (const char *expected :
                 {"請求書", "千代田商事 御中", "御請求金額", "￥1,333", "922", "12月", "千代田区", "山田太郎",
                  "みずほ銀行 普通 1234567", "ウェブサイト保守 月額", "合計"})
                QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(path + expected));
            QVERIFY2(!text.contains(QChar(0x0008)), "the control character of the amount box was drawn");
            for (const QChar c : text) // a kanji drawn with a radical's glyph must not extract as the radical
                QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF, qPrintable(path + c));
            const QString info = run(QStringLiteral("pdfinfo"), {path});
            QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\n[\\s\\S]*595 x 842 pts \\(A4\\)"))),
                     qPrintable(info));
            const QStringList fonts = run(QStringLiteral("pdffonts"), {path}).split('\n', Qt::SkipEmptyParts).mid(2);
            QVERIFY(!fonts.isEmpty());
            for (const QString &font : fonts) // embedded, and only the page's own faces
                QVERIFY2(font.startsWith(QLatin1String("IPAex")) && font.contains(QLatin1String(" yes ")),
                         qPrintable(font));
            QCOMPARE(pdfImages(path), QStringList()); // vector: no picture of the page
        }

        SavedLists::instance().setStamp(stampPng());
        auto stamped = seikyu::test::makeDocument(invoiceBytes());
        const QStringList images = pdfImages(exportToFile(*stamped, m_dir.filePath(QStringLiteral("stamp.pdf"))));
        QCOMPARE(images.size(), 1);
        QVERIFY2(!images.first().contains(QLatin1String(" jpeg ")), "the stamp must be stored lossless");
    }

    void suggestedNames_data()
    {
        QTest::addColumn<QString>("whom");
        QTest::addColumn<int>("tail");
        QTest::addColumn<QString>("expected");
        QTest::newRow("customer with 様") << "山田" << 1 << "2026-12-05-山田 様";
        QTest::newRow("empty customer") << "" << -1 << "Untitled";
        QTest::newRow("a slash is no folder") << "A/B" << 0 << "2026-12-05-A／B 御中";
    }

    void suggestedNames()
    {
        QFETCH(QString, whom);
        QFETCH(int, tail);
        QFETCH(QString, expected);
        seikyu::test::PrompterGuard prompter;
        DocumentController controller;
        Document *document = controller.newDocument();
        QVERIFY(document->revertToContents(invoiceBytes(whom, tail)));
        triggerExport(*document);
        QCOMPARE(prompter->saveProposals, QStringList{QDir::home().filePath(expected + QStringLiteral(".pdf"))});

        // A saved document is offered its own name, whatever its page shows.
        const QString path = writeFile(m_dir.filePath(QStringLiteral("得意先.v2.seikyu")), invoiceBytes(whom, tail));
        Document *saved = controller.openFile(path);
        QVERIFY(saved);
        triggerExport(*saved);
        QCOMPARE(prompter->saveProposals.last(), m_dir.filePath(QStringLiteral("得意先.v2.pdf")));
        QCOMPARE(prompter->alerts, QStringList());
    }

    void exportWritesOnlyWhatSucceedsAndLeavesTheDocumentAlone()
    {
        seikyu::test::PrompterGuard prompter;
        const QString invoicePath = writeFile(m_dir.filePath(QStringLiteral("kept.seikyu")), invoiceBytes());
        DocumentController controller;
        Document *document = controller.openFile(invoicePath);
        QVERIFY(document);
        const int undoCount = document->undoStack()->count();
        const QByteArray oldPdf = "%PDF-1.4 the invoice sent last month\n";
        const QString target = writeFile(m_dir.filePath(QStringLiteral("kept.pdf")), oldPdf);
        const QStringList homeBefore = entries(QDir::homePath());
        const QStringList dirBefore = entries(m_dir.path());

        // Cancelled, into a missing folder, onto a disk that fills part-way through.
        prompter->saveAnswers = {QString(), m_dir.filePath(QStringLiteral("gone/invoice.pdf")), target};
        triggerExport(*document);
        triggerExport(*document);
        {
            const seikyu::test::FullDisk fullDisk(2048);
            triggerExport(*document);
        }
        const QString failed = QStringLiteral("Failed | Failed writing PDF");
        QCOMPARE(prompter->alerts, (QStringList{failed, failed}));
        QCOMPARE(readAll(target), oldPdf);
        QCOMPARE(entries(QDir::homePath()), homeBefore);
        QCOMPARE(entries(m_dir.path()), dirBefore);

        prompter->saveAnswers = {target};
        triggerExport(*document);
        QCOMPARE(prompter->alerts.size(), 2);
        QVERIFY(pdfText(target).contains(QStringLiteral("御請求金額")));
        QVERIFY(!document->isEdited());
        QCOMPARE(document->filePath(), invoicePath);
        QCOMPARE(document->undoStack()->count(), undoCount);
        QCOMPARE(readAll(invoicePath), invoiceBytes());
    }

    void outputAfterAPanelHoldsNoHighlight_data()
    {
        QTest::addColumn<QString>("close");
        QTest::newRow("Cancel") << QStringLiteral("gridCtrlCancel");
        QTest::newRow("Esc") << QString();
        QTest::newRow("OK") << QStringLiteral("gridCtrlOk");
    }

    void outputAfterAPanelHoldsNoHighlight()
    {
        QFETCH(QString, close);
        seikyu::test::PrompterGuard prompter;
        DocumentController controller;
        Document *document =
            controller.openFile(writeFile(m_dir.filePath(QStringLiteral("row.seikyu")), invoiceBytes()));
        QVERIFY(document);
        document->window()->show();
        document->gridShow();
        QTRY_VERIFY(document->gridCtrl->isVisible());
        QTableView *table = document->gridCore;
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(document->bank->index(1, 1)).center());
        QVERIFY(table->selectionModel()->isRowSelected(1));
        if (close.isEmpty())
            QTest::keyClick(document->gridCtrl.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(document->gridCtrl->findChild<QPushButton *>(close), Qt::LeftButton);
        QTRY_VERIFY(!document->gridCtrl->isVisible());

        // Neither the page on screen nor the PDF shows the row the panel had selected.
        QCOMPARE(tintedPixels(document->page->grab().toImage(), true), 0);
        const QString pdf = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".pdf"));
        prompter->saveAnswers = {pdf};
        triggerExport(*document);
        const QImage exported = rasterize(pdf);
        QVERIFY(!exported.isNull());
        QCOMPARE(tintedPixels(exported, true), 0);
        QVERIFY(pdfText(pdf).contains(QStringLiteral("ウェブサイト保守 月額")));
        QVERIFY(controller.closeAll());
    }

    void longTextsAreDrawnWholeAndClearOfTheSeal()
    {
        SavedLists::instance().setStamp(stampPng());
        auto document = seikyu::test::makeDocument(longInvoiceBytes(3, QStringLiteral("\b御請求金額\n￥1,234,567")));
        const QList<std::pair<QString, QRectF>> words =
            pdfWords(exportToFile(*document, m_dir.filePath(QStringLiteral("long.pdf"))));
        QString drawn;
        for (const auto &[text, box] : words)
            drawn += text;
        for (const QString &whole :
             QStringList{LongCustomer + QStringLiteral("御中"), QStringLiteral("￥1,234,567")} + LongIssuer)
            QVERIFY2(drawn.contains(QString(whole).remove(QLatin1Char(' '))), qPrintable(whole));

        const QRectF customer = document->whomRoom->geometry();
        const QRectF seal = document->pushRoom->geometry();
        for (const auto &[text, box] : words) {
            if (text.contains(QStringLiteral("御中")))
                QVERIFY2(customer.contains(box), "the honorific must be on the customer's line");
            // Only the name line may lie under the seal.
            if (box.intersects(seal))
                QVERIFY2(LongIssuer.at(2).contains(text), qPrintable(text));
        }
    }

    void aFreelancersInvoiceReadsWhereAnAccountantLooks()
    {
        auto plain = seikyu::test::makeDocument(invoiceBytes());
        const QString plainText = pdfText(exportToFile(*plain, m_dir.filePath(QStringLiteral("plain.pdf"))));
        for (const char *absent : {"No.", "お支払期限", "備考", "源泉徴収税"})
            QVERIFY2(!plainText.contains(QString::fromUtf8(absent)), absent);

        auto document = seikyu::test::makeDocument(invoiceBytes());
        document->gridHold->setChecked(true);
        document->tbleBack();
        document->gridCalc();
        QVERIFY(document->takeTableTotal());
        document->setInvoiceNumber(QStringLiteral("2026-0012"));
        document->setDueDate(QDate(2027, 1, 31));
        document->setRemarks(QStringLiteral("振込手数料は貴社にてご負担ください。\n案件名：保守"));
        const QString path = exportToFile(*document, m_dir.filePath(QStringLiteral("freelance.pdf")));
        QHash<QString, QRectF> at;
        for (const auto &[text, box] : pdfWords(path))
            at.insert(text, box);
        for (const char *word : {"No.", "2026-0012", "お支払期限", "2027年01月31日", "備考", "案件名：保守",
                                 "源泉徴収税", "差引請求額", "-￥136", "￥1,197"})
            QVERIFY2(at.contains(QString::fromUtf8(word)), word);
        // The number at the top right under the date, the due date under the amount, the remarks
        // under the table's last line.
        const auto top = [&](const char *word) { return at.value(QString::fromUtf8(word)).top(); };
        QVERIFY(at.value("No.").left() > PageView::Width / 2);
        QVERIFY(top("2026年12月05日") < top("No.") && top("No.") < top("千代田商事"));
        QVERIFY(top("御請求金額") < top("お支払期限") && top("お支払期限") < top("日付"));
        QVERIFY(top("差引請求額") < top("備考") && top("備考") < top("案件名：保守"));
    }

    void aTableTooLongToReadWarnsBeforeOutput()
    {
        seikyu::test::PrompterGuard prompter;
        QVERIFY(seikyu::test::makeDocument(longInvoiceBytes(40))->pageTableWarning().isEmpty());
        auto document = seikyu::test::makeDocument(longInvoiceBytes(80));
        const QString warning = document->pageTableWarning();
        QVERIFY(!warning.isEmpty());
        QVERIFY(tintedPixels(document->page->grab().toImage(), false) > 100); // the red note on screen

        // Cancelled: nothing asked after, nothing written, nothing printed. A dialog the check let
        // through is closed again, and shows as a missing question.
        const auto closeDialogs = [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        };
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, closeDialogs);
        closer.start(200);
        exportPdf(*document, nullptr);
        printDocument(*document, nullptr);
        previewDocument(*document, nullptr);
        QCOMPARE(prompter->questions.size(), 3);
        QVERIFY(prompter->questions.first().contains(warning));
        QCOMPARE(prompter->saveProposals, QStringList());

        // Going on writes the page, without the note.
        const QString pdf = m_dir.filePath(QStringLiteral("long-table.pdf"));
        prompter->proceedAnswers = {true};
        prompter->saveAnswers = {pdf};
        exportPdf(*document, nullptr);
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("作業 80")));
        QVERIFY(!text.contains(warning.left(8)));
        QCOMPARE(tintedPixels(rasterize(pdf), false), 0);
    }

    void aQualifiedInvoiceCarriesEveryParticular()
    {
        // A food wholesaler: reduced-rate food, a standard-rate delivery, a discount, a registration number.
        QByteArray bytes = invoiceBytes();
        bytes.replace("山田太郎\\nみずほ銀行 普通 1234567",
                      "山田太郎\\n03-1234-5678\\nみずほ銀行 普通 1234567\\nT7010705000725");
        auto document = seikyu::test::makeDocument(bytes);
        document->tbleBack();
        document->setTaxRate(10);
        document->gridXtax->setChecked(true);
        for (const auto &[name, price, reduced] : {std::tuple{"米 10kg", "4200", true}, {"配送料", "800", false}}) {
            document->tblePlus();
            const int row = document->bank->count() - 1;
            document->editCell(row, Column::Name, QString::fromUtf8(name));
            document->editCell(row, Column::Sums, QString::fromUtf8(price));
            document->grid->selectRow(row);
            if (reduced)
                document->markRows(TaxClass::Reduced);
        }
        document->gridCalc();
        const QString text = pdfText(exportToFile(*document, m_dir.filePath(QStringLiteral("qualified.pdf"))));
        for (const char *particular :
             {"登録番号 T7010705000725", "山田太郎", "千代田商事 御中", "2026年12月05日", "米 10kg ※",
              "※は軽減税率対象", "10%対象", "消費税(10%)", "8%対象", "消費税(8%)", "￥336", "合計"})
            QVERIFY2(text.contains(QString::fromUtf8(particular)), particular);
    }

    void aFinalizedInvoiceReopensFinalized()
    {
        // Saved after Finalize: prices in currency text, unit prices kept as numbers by the file.
        QByteArray bytes = invoiceBytes();
        bytes.replace(R"("solo": "922", "much": 1, "sums": "922")",
                      R"("solo": "150000", "much": 1, "sums": "￥150,000")");
        const QByteArray saved = seikyu::test::makeDocument(bytes)->dataOfType();
        QVERIFY(saved.contains(R"("solo": "150000")"));
        auto reopened = seikyu::test::makeDocument(saved);
        QCOMPARE(reopened->bank->row(2)->value(Column::Solo).toString(), QStringLiteral("￥150,000"));
        QVERIFY(!reopened->isEdited());
        QCOMPARE(reopened->dataOfType(), saved);
        const QString text = pdfText(exportToFile(*reopened, m_dir.filePath(QStringLiteral("finalized.pdf"))));
        QCOMPARE(text.count(QStringLiteral("￥150,000")), 2);
    }

    void aStaleInvoiceAmountIsSettledBeforeOutput()
    {
        seikyu::test::PrompterGuard prompter;
        auto document = seikyu::test::makeDocument(invoiceBytes());
        document->tbleBack();
        document->editCell(2, Column::Sums, QStringLiteral("1000"));
        document->gridCalc(); // the table now totals ￥1,411; the box still says ￥1,333
        QVERIFY(document->amountBoxDisagrees());
        QVERIFY(outputWarnings(*document).join(u' ').contains(QStringLiteral("￥1,411")));

        exportPdf(*document, nullptr); // cancelled: nothing written, nothing changed
        QCOMPARE(prompter->questions.size(), 1);
        QCOMPARE(prompter->saveProposals, QStringList());
        const QString kept = m_dir.filePath(QStringLiteral("kept.pdf"));
        prompter->choiceAnswers = {1};
        prompter->saveAnswers = {kept};
        exportPdf(*document, nullptr);
        QVERIFY(pdfText(kept).contains(QStringLiteral("￥1,333")));
        QVERIFY(document->amountBoxDisagrees());

        const QString updated = m_dir.filePath(QStringLiteral("updated.pdf"));
        prompter->choiceAnswers = {0};
        prompter->saveAnswers = {updated};
        exportPdf(*document, nullptr);
        QVERIFY(!document->amountBoxDisagrees());
        QCOMPARE(document->sums->title(), QStringLiteral("\u0008御請求金額\n￥1,411"));
        QVERIFY(pdfText(updated).contains(QStringLiteral("￥1,411")));
    }

    void exportNamesEndInPdf_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("replace"); // the answer when the name with .pdf is taken
        QTest::addColumn<QStringList>("files");
        QTest::newRow("no extension") << "invoice" << false << QStringList{"invoice.pdf"};
        QTest::newRow("another extension") << "invoice.txt" << false << QStringList{"invoice.txt.pdf"};
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
        seikyu::test::PrompterGuard prompter;
        prompter->saveAnswers = {dir.filePath(typed)};
        prompter->proceedAnswers = {replace};
        auto document = seikyu::test::makeDocument(invoiceBytes());
        exportPdf(*document, nullptr);
        QCOMPARE(entries(dir.path()), files);
        QCOMPARE(prompter->questions.size(), taken ? 1 : 0);
        QCOMPARE(readAll(dir.filePath(files.first())) == old, taken && !replace);
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
        QVERIFY(in.mkpath(QStringLiteral("in")));
        const QString marunouchi = QStringLiteral("丸の内物産");
        const QStringList inputs{writeFile(in.filePath(QStringLiteral("in/a.seikyu")), invoiceBytes()),
                                 writeFile(in.filePath(QStringLiteral("in/damaged.seikyu")), Damaged),
                                 writeFile(in.filePath(QStringLiteral("in/b.json")), invoiceBytes(marunouchi)),
                                 in.filePath(QStringLiteral("in/missing.seikyu")),
                                 writeFile(in.filePath(QStringLiteral("in/long.seikyu")), longInvoiceBytes(80))};
        const QString out = in.filePath(QStringLiteral("out"));
        QStringList reported;
        if (commandLine) {
            const QString binary = qEnvironmentVariable("SEIKYU_BINARY");
            if (!QFile::exists(binary))
                QSKIP("SEIKYU_BINARY does not name the built program");
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(binary, QStringList{QStringLiteral("--export-pdf"), out} + inputs);
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 1);
            // Its own lines only: none of Qt's chatter about the platform.
            reported = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
            QCOMPARE(reported.filter(QRegularExpression(QStringLiteral("^seikyu: "))), reported);
        } else {
            QCOMPARE(exportInvoicesAsPdf(out, inputs, &reported), 1);
        }
        QCOMPARE(reported.size(), 3); // two failures, and a warning for the table too long to read
        const int reportedInputs[] = {1, 3, 4};
        for (int i = 0; i < 3; ++i)
            QVERIFY2(reported[i].contains(inputs[reportedInputs[i]] + QStringLiteral(": ")), qPrintable(reported[i]));
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name), (QStringList{"a.pdf", "b.pdf", "long.pdf"}));
        QVERIFY(pdfText(QDir(out).filePath(QStringLiteral("a.pdf"))).contains(QStringLiteral("千代田商事 御中")));
        QVERIFY(pdfText(QDir(out).filePath(QStringLiteral("b.pdf"))).contains(marunouchi + QStringLiteral(" 御中")));
        QCOMPARE(readAll(inputs[0]), invoiceBytes());
        QCOMPARE(readAll(inputs[1]), Damaged);
        QCOMPARE(readAll(inputs[2]), invoiceBytes(marunouchi));
        for (const char *key : {"head", "whom", "from"})
            QVERIFY2(!SavedLists::instance().read(QString::fromLatin1(key)), key);
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
        SavedLists::instance().setStamp(stampPng());

        const QDir dir(m_dir.filePath(QStringLiteral("batch")));
        const QStringList inputs{writeFile(dir.filePath("rich.seikyu"), rich),
                                 writeFile(dir.filePath("dateless.seikyu"), dateless),
                                 writeFile(dir.filePath("plain.seikyu"), invoiceBytes())};
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
        QCOMPARE(warnings.size(), 1); // the amount that the table does not total
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
