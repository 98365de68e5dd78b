// Invoices of more than one page, checked as a customer reads them: the pages of the PDF through poppler's pdfinfo,
// pdftotext and pdffonts, the window's pages on screen, printing and the batch. One-page invoices are compared pixel
// for pixel with reference images made from the fixtures in tests/data/pages before invoices could continue.
#include "document/PageView.h"
#include "output/BatchExport.h"
#include "output/PagePrinter.h"
#include "output/PdfExport.h"
#include "support/TestSupport.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace seikyu;
using namespace seikyu::test;

namespace {

QString sourcePath(const QString &relative)
{
    return QDir(qEnvironmentVariable("SEIKYU_SOURCE_DIR")).filePath(relative);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// The first page of a PDF as pdftoppm draws it at 72 dpi: one pixel a point.
QImage firstPageImage(const QString &pdf)
{
    run("pdftoppm", {"-png", "-r", "72", "-f", "1", "-l", "1", "-singlefile", pdf, pdf});
    return QImage(pdf + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

/// How an image differs from its reference: empty when every pixel is the same.
QString difference(const QImage &image, const QImage &reference)
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
        for (int x = 0; x < image.width(); ++x)
            differing += image.pixel(x, y) != reference.pixel(x, y);
    }
    return differing == 0 ? QString() : QStringLiteral("%1 pixels differ").arg(differing);
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
        for (const char *name : {"one-page-short", "one-page-full", "one-page-edge"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void aOnePageInvoiceLooksAsItAlwaysDid()
    {
        QFETCH(QString, fixture);
        const QString base = sourcePath(QStringLiteral("tests/data/pages/") + fixture);
        auto document = makeDocument(readAll(base + QStringLiteral(".seikyu")));
        QCOMPARE(document->pages().size(), 1);
        const QImage screen = document->page->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString exported = m_dir.filePath(fixture + QStringLiteral("-exported.pdf"));
        writePdfFile(renderPagePdf(*document, fixture), exported, nullptr);
        QPrinter &printer = documentPrinter(*document);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(fixture + QStringLiteral("-printed.pdf")));
        QVERIFY(printWidget(document->main, printer));
        const QList<std::pair<QString, QImage>> renders{
            {QStringLiteral("screen"), screen},
            {QStringLiteral("pdf"), firstPageImage(exported)},
            {QStringLiteral("print"), firstPageImage(printer.outputFileName())}};
        const QString writeTo = qEnvironmentVariable("SEIKYU_WRITE_REFERENCES");
        for (const auto &[kind, image] : renders) {
            const QString reference = base + QLatin1Char('-') + kind + QStringLiteral(".png");
            if (!writeTo.isEmpty()) {
                QVERIFY(image.save(QDir(writeTo).filePath(QFileInfo(reference).fileName())));
                continue;
            }
            const QString differs = difference(image, QImage(reference).convertToFormat(QImage::Format_RGB32));
            QVERIFY2(differs.isEmpty(), qPrintable(kind + QStringLiteral(": ") + differs));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
