// PDF export, printing and the command-line export, checked the way a customer receives the result:
// through poppler's pdftotext, pdfinfo, pdffonts and pdfimages.
#include "app/DocumentController.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "output/BatchExport.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"
#include "sections/SavedLists.h"
#include "support/TestSupport.h"
#include "widgets/PageButton.h"
#include "widgets/PageFonts.h"
#include "widgets/RoomBox.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace seikyu;
using seikyu::test::PrompterGuard;
using seikyu::test::readAll;

namespace {

const QString Issuer =
    QStringLiteral("100-0001\n東京都千代田区千代田1-1\n山田太郎\n03-1234-5678\nみずほ銀行 普通 1234567");

QJsonObject itemRow(const QString &date, const QString &name, const QString &solo, const QJsonValue &much,
                    const QString &sums)
{
    return QJsonObject{{"date", date}, {"name", name}, {"solo", solo}, {"much", much}, {"sums", sums}};
}

/// An invoice file as a user's would read: three items, totalled, 8 % tax added.
QJsonObject filledInvoice(const QStringList &names = {QStringLiteral("ウェブサイト保守 月額"),
                                                      QStringLiteral("サーバー費用"), QStringLiteral("出張費")})
{
    QJsonArray items{itemRow("日付", "項目", "", "個数", "価格")};
    for (const QString &name : names)
        items.append(itemRow("12/01", name, "411", 1, "411"));
    items.append(itemRow("", "小計", "", "", "￥1,233"));
    items.append(itemRow("", "消費税", "", "", "￥100"));
    items.append(itemRow("", "合計", "", "", "￥1,333"));
    return QJsonObject{{"head", "請求書"},
                       {"date", "2026-12-05"},
                       {"whom", "千代田商事"},
                       {"from", Issuer},
                       {"full", QStringLiteral("\u0008御請求金額\n￥1,333")},
                       {"item", items},
                       {"jgen", 0},
                       {"tail", 0},
                       {"plus", 1}};
}

QByteArray bytesOf(const QJsonObject &invoice)
{
    return QJsonDocument(invoice).toJson();
}

QByteArray stampPng()
{
    QImage stamp(120, 120, QImage::Format_ARGB32);
    stamp.fill(Qt::transparent);
    QPainter painter(&stamp);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 30, 30), 8));
    painter.drawEllipse(8, 8, 104, 104);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    stamp.save(&buffer, "PNG");
    return png;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &path)
{
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
}

QString pdfInfo(const QString &path)
{
    return run(QStringLiteral("pdfinfo"), {path});
}

/// Lines of `pdfimages -list` that are images (a stamp's transparency is a separate "smask").
QStringList pdfImages(const QString &path)
{
    QStringList images;
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split('\n');
    for (const QString &line : lines) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() > 8 && fields[2] == QLatin1String("image"))
            images.append(line.simplified());
    }
    return images;
}

/// Where pdftotext finds the first word starting with `word`: its box in points.
QRectF wordBox(const QString &path, const QString &word)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpression pattern(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = pattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(5).startsWith(word))
            return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                          QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    return {};
}

/// Pixels of the page, rendered by poppler, that are the blue of a guide border.
int guidePixels(const QString &pdfPath, const QString &scratchDir)
{
    const QString prefix = QDir(scratchDir).filePath(QStringLiteral("guides"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
                                     QStringLiteral("-singlefile"), pdfPath, prefix});
    const QImage image(prefix + QStringLiteral(".png"));
    const QColor guide = RoomBox::guideColor();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && qAbs(c.red() - guide.red()) < 60 && qAbs(c.green() - guide.green()) < 60)
                ++count;
        }
    }
    return count;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QString exportToFile(Document &document, const QString &path)
{
    QString error;
    if (!writePdfFile(renderPagePdf(document, pdfSuggestedName(document)), path, &error))
        qWarning("export failed: %s", qPrintable(error));
    return path;
}

QAction *menuAction(Document &document, const char *name)
{
    return document.window()->findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filledInvoiceIsOneSearchableA4Page();
    void kanjiSharingARadicalGlyphExtractUnchanged();
    void onlyTheStampIsAnImage();
    void suggestedNames_data();
    void suggestedNames();
    void exportActionWritesWithoutTouchingTheDocument();
    void cancelledExportWritesNothing();
    void failedExportAlertsAndKeepsTheOldFile_data();
    void failedExportAlertsAndKeepsTheOldFile();
    void printingIsVectorAndFitsThePaper();
    void batchExportReportsFailuresAndExportsTheRest();
    void batchExportTargets();
    void commandLineWorksWithoutADisplay();

private:
    QTemporaryDir m_dir;
};

void ExportTest::initTestCase()
{
    seikyu::test::initApplication();
    QVERIFY(m_dir.isValid());
    for (const char *tool : {"pdftotext", "pdfinfo", "pdfimages", "pdffonts", "pdftoppm"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("poppler-utils are not installed");
    }
}

void ExportTest::init()
{
    seikyu::test::clearSettings();
}

void ExportTest::cleanup()
{
    QVERIFY(!isRenderingForOutput());
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void ExportTest::filledInvoiceIsOneSearchableA4Page()
{
    auto document = seikyu::test::makeDocument(bytesOf(filledInvoice()));
    const QString path = exportToFile(*document, m_dir.filePath(QStringLiteral("filled.pdf")));

    const QString text = pdfText(path);
    for (const char *expected : {"請求書", "千代田商事 御中", "御請求金額", "￥1,333", "12月", "千代田区", "山田太郎",
                                 "みずほ銀行 普通 1234567", "ウェブサイト保守 月額", "合計"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY2(!text.contains(QChar(0x0008)), "the control character of the amount box was drawn");
    for (const QChar c : text)
        QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF, qPrintable(QStringLiteral("radical %1").arg(c)));

    const QString info = pdfInfo(path);
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Page size:       595 x 842 pts (A4)")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Title:           2026-12-05-千代田商事 御中")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Creator:         Seikyu %1").arg(QStringLiteral(SEIKYU_VERSION))),
             qPrintable(info));

    // Every font embedded, and only the page's own faces (no fallback fonts mixed in).
    const QStringList fonts = run(QStringLiteral("pdffonts"), {path}).split('\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts) {
        QVERIFY2(font.startsWith(QLatin1String("IPAex")), qPrintable(font));
        QVERIFY2(font.contains(QLatin1String(" yes ")), qPrintable(font));
    }
    QVERIFY2(readAll(path).size() < 40 * 1024, "a one-page invoice should stay small");
}

void ExportTest::kanjiSharingARadicalGlyphExtractUnchanged()
{
    // Read from the page font's cmap: every ideograph whose glyph is also a radical's, the ones that
    // Qt's text maps get wrong.
    const QRawFont font = QRawFont::fromFont(pageFont(12));
    QVERIFY(font.isValid());
    QString shared;
    for (char32_t radical = 0x2E80; radical <= 0x2FDF; ++radical) {
        const QString radicalText = QString::fromUcs4(&radical, 1);
        const QString ideograph = radicalText.normalized(QString::NormalizationForm_KC);
        if (ideograph == radicalText || ideograph.size() != 1 || !font.supportsCharacter(radical))
            continue;
        if (font.glyphIndexesForString(radicalText) == font.glyphIndexesForString(ideograph))
            shared += ideograph;
    }
    QVERIFY2(shared.size() > 100, qPrintable(QString::number(shared.size())));

    QStringList names;
    for (qsizetype i = 0; i < shared.size(); i += 16)
        names.append(shared.mid(i, 16));
    auto document = seikyu::test::makeDocument(bytesOf(filledInvoice(names)));
    const QString text = pdfText(exportToFile(*document, m_dir.filePath(QStringLiteral("radicals.pdf"))));
    for (const QString &name : std::as_const(names))
        QVERIFY2(text.contains(name), qPrintable(name));
}

void ExportTest::onlyTheStampIsAnImage()
{
    {
        auto document = seikyu::test::makeDocument(bytesOf(filledInvoice()));
        QCOMPARE(pdfImages(exportToFile(*document, m_dir.filePath(QStringLiteral("nostamp.pdf")))), QStringList());
    }
    SavedLists::instance().setStamp(stampPng());
    auto document = seikyu::test::makeDocument(bytesOf(filledInvoice()));
    QVERIFY(!document->push->image().isNull());
    const QStringList images = pdfImages(exportToFile(*document, m_dir.filePath(QStringLiteral("stamp.pdf"))));
    QCOMPARE(images.size(), 1);
    // A seal with JPEG smudges on its red edge is not one to send: the stamp must be stored lossless.
    QVERIFY2(!images.first().contains(QLatin1String(" jpeg ")), qPrintable(images.first()));
}

void ExportTest::suggestedNames_data()
{
    QTest::addColumn<QString>("whom");
    QTest::addColumn<int>("tail");
    QTest::addColumn<int>("jgen");
    QTest::addColumn<QString>("expected");

    QTest::newRow("customer with 様") << "山田" << 1 << 0 << "2024-05-01-山田 様";
    QTest::newRow("era dates do not change the name") << "山田" << 1 << 1 << "2024-05-01-山田 様";
    QTest::newRow("company") << "千代田商事" << 0 << 0 << "2024-05-01-千代田商事 御中";
    QTest::newRow("empty customer") << "" << -1 << 0 << "Untitled";
    QTest::newRow("a slash is no folder") << "A/B" << 0 << 0 << "2024-05-01-A／B 御中";
}

void ExportTest::suggestedNames()
{
    QFETCH(QString, whom);
    QFETCH(int, tail);
    QFETCH(int, jgen);
    QFETCH(QString, expected);
    PrompterGuard prompter;

    QJsonObject invoice = filledInvoice();
    invoice["whom"] = whom;
    invoice["tail"] = tail;
    invoice["jgen"] = jgen;
    invoice["date"] = "2024-05-01";
    DocumentController controller;
    Document *document = controller.newDocument();
    QVERIFY(document->revertToContents(bytesOf(invoice)));
    if (whom.isEmpty())
        document->whom->setTitle(QString());

    QCOMPARE(pdfSuggestedName(*document), expected);
    menuAction(*document, "exportPdfAction")->trigger();
    QCOMPARE(prompter->saveProposals.size(), 1);
    const QFileInfo proposal(prompter->saveProposals.first());
    QCOMPARE(proposal.fileName(), expected + QStringLiteral(".pdf"));
    QCOMPARE(proposal.absolutePath(), QDir::homePath());

    // A document with a file is offered its own name, whatever its page shows.
    for (const QString &fileName : {QStringLiteral("2024-05-01-得意先.seikyu"), QStringLiteral("a.b.json")}) {
        const QString path = writeFile(m_dir.filePath(fileName), bytesOf(invoice));
        Document *saved = controller.openFile(path);
        QVERIFY(saved);
        menuAction(*saved, "exportPdfAction")->trigger();
        const QFileInfo own(prompter->saveProposals.last());
        QCOMPARE(own.fileName(), QFileInfo(fileName).completeBaseName() + QStringLiteral(".pdf"));
        QCOMPARE(own.absolutePath(), QFileInfo(path).absolutePath());
    }
    QCOMPARE(prompter->alerts, QStringList());
}

void ExportTest::exportActionWritesWithoutTouchingTheDocument()
{
    PrompterGuard prompter;
    const QString invoicePath = writeFile(m_dir.filePath(QStringLiteral("kept.seikyu")), bytesOf(filledInvoice()));
    const QByteArray invoiceBytes = readAll(invoicePath);
    DocumentController controller;
    Document *document = controller.openFile(invoicePath);
    QVERIFY(document);
    const QString filePath = document->filePath();
    const int undoCount = document->undoStack()->count();

    const QString target = m_dir.filePath(QStringLiteral("kept.pdf"));
    prompter->saveAnswers = {target};
    menuAction(*document, "exportPdfAction")->trigger();

    QCOMPARE(prompter->alerts, QStringList());
    QVERIFY(pdfText(target).contains(QStringLiteral("御請求金額")));
    QVERIFY(!document->isEdited());
    QCOMPARE(document->filePath(), filePath);
    QCOMPARE(document->undoStack()->count(), undoCount);
    QCOMPARE(readAll(invoicePath), invoiceBytes);
    QVERIFY(!isRenderingForOutput());

    // The page is taken as it is at the moment of the export: a change made since shows.
    document->whom->setTitle(QStringLiteral("新しい得意先 様"));
    prompter->saveAnswers = {target};
    menuAction(*document, "exportPdfAction")->trigger();
    QVERIFY(pdfText(target).contains(QStringLiteral("新しい得意先 様")));

    for (const char *name : {"exportPdfAction", "printAction", "printPreviewAction"}) {
        QVERIFY2(menuAction(*document, name), name);
        QVERIFY2(menuAction(*document, name)->isEnabled(), name);
    }
}

void ExportTest::cancelledExportWritesNothing()
{
    PrompterGuard prompter;
    DocumentController controller;
    Document *document = controller.newDocument();
    const QStringList homeBefore = QDir::home().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QStringList dirBefore = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    menuAction(*document, "exportPdfAction")->trigger(); // no answer scripted: the dialog is cancelled

    QCOMPARE(prompter->saveProposals.size(), 1);
    QCOMPARE(prompter->alerts, QStringList());
    QCOMPARE(QDir::home().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), homeBefore);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), dirBefore);
    QVERIFY(!document->isEdited());
}

enum class Failure { MissingFolder, FileInPlaceOfFolder, ReadOnlyFolder, DiskFullMidway };

void ExportTest::failedExportAlertsAndKeepsTheOldFile_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::newRow("missing folder") << Failure::MissingFolder;
    QTest::newRow("a file where the folder should be") << Failure::FileInPlaceOfFolder;
    QTest::newRow("read-only folder") << Failure::ReadOnlyFolder;
    QTest::newRow("disk full part-way through") << Failure::DiskFullMidway;
}

void ExportTest::failedExportAlertsAndKeepsTheOldFile()
{
    QFETCH(Failure, failure);
    PrompterGuard prompter;
    DocumentController controller;
    Document *document = controller.newDocument();
    QVERIFY(document->revertToContents(bytesOf(filledInvoice())));

    QTemporaryDir place;
    const QByteArray oldPdf = "%PDF-1.4 the invoice sent last month\n";
    QString target;
    switch (failure) {
    case Failure::MissingFolder:
        target = place.filePath(QStringLiteral("gone/invoice.pdf"));
        break;
    case Failure::FileInPlaceOfFolder:
        target = writeFile(place.filePath(QStringLiteral("plain")), "x") + QStringLiteral("/invoice.pdf");
        break;
    case Failure::ReadOnlyFolder:
        target = writeFile(place.filePath(QStringLiteral("invoice.pdf")), oldPdf);
        QVERIFY(QFile::setPermissions(place.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (::access(qPrintable(place.path()), W_OK) == 0) {
            QFile::setPermissions(place.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user may write into read-only folders (root)");
        }
        break;
    case Failure::DiskFullMidway:
        target = writeFile(place.filePath(QStringLiteral("invoice.pdf")), oldPdf);
        break;
    }
    const QStringList entriesBefore = QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    prompter->saveAnswers = {target};
    if (failure == Failure::DiskFullMidway) {
        // A file-size limit makes the write fail after its first bytes, as a full disk does.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = previous;
        small.rlim_cur = 2048;
        setrlimit(RLIMIT_FSIZE, &small);
        menuAction(*document, "exportPdfAction")->trigger();
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    } else {
        menuAction(*document, "exportPdfAction")->trigger();
    }
    QFile::setPermissions(place.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(prompter->alerts, QStringList{QStringLiteral("Failed | Failed writing PDF")});
    if (failure == Failure::ReadOnlyFolder || failure == Failure::DiskFullMidway)
        QCOMPARE(readAll(target), oldPdf);
    QCOMPARE(QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entriesBefore);
    QVERIFY(!document->isEdited());
}

void ExportTest::printingIsVectorAndFitsThePaper()
{
    auto document = seikyu::test::makeDocument(bytesOf(filledInvoice()));
    const QString exported = exportToFile(*document, m_dir.filePath(QStringLiteral("exported.pdf")));

    // The document's own printer: A4, kept for the document's life.
    QPrinter &printer = documentPrinter(*document);
    QCOMPARE(&documentPrinter(*document), &printer);
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);

    const QString printedA4 = m_dir.filePath(QStringLiteral("printed-a4.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printedA4);
    QVERIFY(printWidget(document->main, printer));

    const QString info = pdfInfo(printedA4);
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    const QString text = pdfText(printedA4);
    QVERIFY2(text.contains(QStringLiteral("御請求金額")) && text.contains(QStringLiteral("千代田区")),
             qPrintable(text));
    QCOMPARE(pdfImages(printedA4), QStringList());
    // On A4 the printout is the exported page, at the same size and place.
    for (const QString &word : {QStringLiteral("御請求金額"), QStringLiteral("合計"), QStringLiteral("100-0001")}) {
        const QRectF printed = wordBox(printedA4, word);
        const QRectF page = wordBox(exported, word);
        QVERIFY2(!page.isEmpty(), qPrintable(word));
        QVERIFY2(qAbs(printed.left() - page.left()) < 1 && qAbs(printed.top() - page.top()) < 1 &&
                     qAbs(printed.width() - page.width()) < 1,
                 qPrintable(word));
    }

    // On Letter paper the page is scaled down to fit, keeping its proportions.
    QPrinter letter(QPrinter::HighResolution);
    letter.setOutputFormat(QPrinter::PdfFormat);
    letter.setOutputFileName(m_dir.filePath(QStringLiteral("printed-letter.pdf")));
    letter.setPageSize(QPageSize(QPageSize::Letter));
    letter.setFullPage(true);
    QVERIFY(printWidget(document->main, letter));
    const QRectF title = wordBox(letter.outputFileName(), QStringLiteral("請求書"));
    const QRectF total = wordBox(letter.outputFileName(), QStringLiteral("合計"));
    const QRectF pageTitle = wordBox(exported, QStringLiteral("請求書"));
    const QRectF pageTotal = wordBox(exported, QStringLiteral("合計"));
    const double scale = 792.0 / 842.0;
    QVERIFY2(qAbs(title.height() - pageTitle.height() * scale) < 1, "the type keeps its proportions");
    QVERIFY2(qAbs((total.top() - title.top()) - (pageTotal.top() - pageTitle.top()) * scale) < 1,
             "the layout keeps its proportions");
    QVERIFY(total.bottom() < 792);
}

void ExportTest::batchExportReportsFailuresAndExportsTheRest()
{
    SavedLists::instance().setStamp(stampPng());
    const QDir in(m_dir.filePath(QStringLiteral("batch-in")));
    QVERIFY(in.mkpath(QStringLiteral(".")));
    QJsonObject twenty = filledInvoice(QStringList(20, QStringLiteral("保守作業")));
    twenty["whom"] = "丸の内物産";
    const QStringList inputs{
        writeFile(in.filePath(QStringLiteral("2026-12-05-千代田商事 御中.seikyu")), bytesOf(filledInvoice())),
        writeFile(in.filePath(QStringLiteral("damaged.seikyu")), "{\"head\": \"請求書\", \"item\": ["),
        writeFile(in.filePath(QStringLiteral("twenty.json")), bytesOf(twenty)),
        in.filePath(QStringLiteral("missing.seikyu")),
    };
    QList<QByteArray> inputBytes;
    for (const QString &input : inputs)
        inputBytes.append(readAll(input));
    const QString out = m_dir.filePath(QStringLiteral("batch-out"));

    QStringList messages;
    QCOMPARE(exportInvoicesAsPdf(out, inputs, &messages), 1);

    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages[0].startsWith(inputs[1] + QStringLiteral(": ")), qPrintable(messages[0]));
    QVERIFY2(messages[1].startsWith(inputs[3] + QStringLiteral(": ")), qPrintable(messages[1]));
    for (const QString &message : std::as_const(messages))
        QVERIFY(!message.contains(QLatin1Char('\n')));
    QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
             (QStringList{QStringLiteral("2026-12-05-千代田商事 御中.pdf"), QStringLiteral("twenty.pdf")}));

    const QString first = QDir(out).filePath(QStringLiteral("2026-12-05-千代田商事 御中.pdf"));
    QVERIFY(pdfText(first).contains(QStringLiteral("千代田商事 御中")));
    QVERIFY(pdfText(QDir(out).filePath(QStringLiteral("twenty.pdf"))).contains(QStringLiteral("丸の内物産 御中")));
    QCOMPARE(pdfImages(first).size(), 1); // the user's stamp
    QCOMPARE(guidePixels(first, m_dir.path()), 0);

    for (qsizetype i = 0; i < inputs.size(); ++i)
        QCOMPARE(readAll(inputs[i]), inputBytes[i]);
    for (const char *key : {"head", "whom", "from"})
        QVERIFY2(!SavedLists::instance().read(QString::fromLatin1(key)), key);

    // For comparison: a new invoice's page still shows its guides, so the check above can see them.
    // Its screen-only hints (the placeholders of empty regions) stay off the paper.
    auto fresh = seikyu::test::makeDocument();
    const QString freshPdf = exportToFile(*fresh, m_dir.filePath(QStringLiteral("fresh.pdf")));
    QVERIFY(guidePixels(freshPdf, m_dir.path()) > 100);
    const QString freshText = pdfText(freshPdf);
    QVERIFY2(freshText.contains(QStringLiteral("御請求金額")), qPrintable(freshText));
    for (const char *hint : {"Customer", "Your details", "Stamp"})
        QVERIFY2(!freshText.contains(QCoreApplication::translate("Document", hint)), hint);
}

void ExportTest::batchExportTargets()
{
    const QString input = writeFile(m_dir.filePath(QStringLiteral("one.seikyu")), bytesOf(filledInvoice()));
    QStringList messages;

    // One file may be exported to a name of its own.
    const QString named = m_dir.filePath(QStringLiteral("named/請求書 12月.pdf"));
    QVERIFY(QDir().mkpath(QFileInfo(named).absolutePath()));
    QCOMPARE(exportInvoicesAsPdf(named, {input}, &messages), 0);
    QCOMPARE(messages, QStringList());
    QVERIFY(pdfText(named).contains(QStringLiteral("御請求金額")));

    // A missing folder is made.
    QCOMPARE(exportInvoicesAsPdf(m_dir.filePath(QStringLiteral("new/folder")), {input}, &messages), 0);
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("new/folder/one.pdf"))));

    // An input that happens to be named .pdf is never overwritten by its own export.
    const QByteArray odd = bytesOf(filledInvoice());
    const QString oddInput = writeFile(m_dir.filePath(QStringLiteral("odd.pdf")), odd);
    QCOMPARE(exportInvoicesAsPdf(m_dir.path(), {oddInput}, &messages), 1);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(readAll(oddInput), odd);

    // Two inputs with the same name: the second would replace the first's PDF, and is refused.
    messages.clear();
    const QString other = m_dir.filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    const QString twin = writeFile(QDir(other).filePath(QStringLiteral("one.seikyu")), bytesOf(filledInvoice()));
    QCOMPARE(exportInvoicesAsPdf(m_dir.filePath(QStringLiteral("twins")), {input, twin}, &messages), 1);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().startsWith(twin));

    // Nothing to do, or nowhere to put it.
    messages.clear();
    QCOMPARE(exportInvoicesAsPdf(m_dir.path(), {}, &messages), 2);
    QCOMPARE(exportInvoicesAsPdf(input, {input, twin}, &messages), 2);
    QCOMPARE(messages.size(), 2);
}

void ExportTest::commandLineWorksWithoutADisplay()
{
    const QString binary = qEnvironmentVariable("SEIKYU_BINARY");
    if (binary.isEmpty() || !QFile::exists(binary))
        QSKIP("SEIKYU_BINARY does not name the built program");
    // The program gets its own configuration folder holding this user's settings, stamp included.
    SavedLists::instance().setStamp(stampPng());
    const QString config = m_dir.filePath(QStringLiteral("cli-config"));
    const QString settingsFile = config + QStringLiteral("/Seikyu/Seikyu.conf");
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile).absolutePath()));
    QVERIFY(QFile::copy(QSettings().fileName(), settingsFile));
    const QByteArray settingsBefore = readAll(settingsFile);

    const QDir in(m_dir.filePath(QStringLiteral("cli-in")));
    QVERIFY(in.mkpath(QStringLiteral(".")));
    const QStringList inputs{writeFile(in.filePath(QStringLiteral("a.seikyu")), bytesOf(filledInvoice())),
                             writeFile(in.filePath(QStringLiteral("broken.seikyu")), "not an invoice"),
                             writeFile(in.filePath(QStringLiteral("b.seikyu")), bytesOf(filledInvoice()))};
    const QString out = m_dir.filePath(QStringLiteral("cli-out"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(binary, QStringList{QStringLiteral("--export-pdf"), out} + inputs);
    QVERIFY(process.waitForFinished(60000));
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QStringList reported;
    for (const QString &line : errors.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("seikyu: ")))
            reported.append(line);
    }
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported.first().contains(inputs[1]), qPrintable(errors));
    for (const char *name : {"a.pdf", "b.pdf"}) {
        const QString pdf = QDir(out).filePath(QString::fromLatin1(name));
        QVERIFY2(pdfText(pdf).contains(QStringLiteral("御請求金額")), name);
        QCOMPARE(pdfImages(pdf).size(), 1);
    }
    QCOMPARE(readAll(settingsFile), settingsBefore);

    // Help and version need no display either.
    process.start(binary, {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(QString::fromUtf8(process.readAllStandardOutput()).contains(QStringLiteral("--export-pdf")));
    process.start(binary, {QStringLiteral("--version")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().contains(SEIKYU_VERSION));
}

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
