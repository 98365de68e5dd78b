#include "output/PagePrinter.h"

#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "ledger/IssueRecording.h"
#include "output/OutputChecks.h"
#include "output/OutputRendering.h"
#include "output/PdfTextRepair.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "PagePrinter", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(PagePrinter)
};

/// Owns a document's printer settings; a child of the document, so it goes with it.
class PrinterSettings : public QObject
{
    Q_OBJECT

public:
    explicit PrinterSettings(QObject *parent) : QObject(parent), printer(QPrinter::HighResolution)
    {
        setObjectName(QStringLiteral("printerSettings"));
        printer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
        // The sheet carries its own margins; printing it edge to edge keeps A4 at its true size.
        printer.setFullPage(true);
    }

    QPrinter printer;
};

/// Qt's PDF printer writes the same broken ToUnicode maps as the PDF writer: a PDF printed to a
/// file gets the same repair as an exported one, so its text searches too.
void repairPrintedPdf(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    QFile printed(printer.outputFileName());
    if (!printed.open(QIODevice::ReadOnly))
        return;
    const QByteArray pdf = printed.readAll();
    printed.close();
    const QByteArray repaired = repairPdfText(pdf);
    if (repaired == pdf)
        return;
    QString error;
    if (!writeFileAtomically(printer.outputFileName(), repaired, &error))
        qCInfo(lcOutput) << "could not repair the text of" << printer.outputFileName();
}

/// The preview opens large enough to read: most of the screen's height, the page whole in it.
void showPageWhole(QPrintPreviewDialog &preview)
{
    const QScreen *screen = preview.screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int height = available.height() * 9 / 10;
    // An A4 page is 1 : √2, and the toolbar wants some room beside it.
    const int width = std::min(available.width() * 9 / 10, std::max(640, height * 3 / 4));
    preview.resize(width, height);
    if (auto *view = preview.findChild<QPrintPreviewWidget *>())
        view->fitInView();
}

} // namespace

bool printWidget(QWidget *widget, QPrinter &printer)
{
    if (!widget)
        return false;
    // Rendering a widget straight onto a printer rasterises the whole page into one image. Recorded
    // into a picture first, it replays as the same vector drawing the PDF export makes.
    QPicture picture;
    {
        QPainter recorder(&picture);
        const OutputRenderingScope output;
        widget->render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
    }

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    const QSizeF source = widget->size();
    const double scale = std::min(area.width() / source.width(), area.height() / source.height());
    painter.translate((area.width() - source.width() * scale) / 2, (area.height() - source.height() * scale) / 2);
    // Replaying a picture already scales it from its own resolution to the device's; undo that, so
    // the only scaling is ours.
    painter.scale(scale * picture.logicalDpiX() / printer.logicalDpiX(),
                  scale * picture.logicalDpiY() / printer.logicalDpiY());
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawPicture(0, 0, picture);
    const bool ended = painter.end();
    if (ended)
        repairPrintedPdf(printer);
    return ended;
}

QPrinter &documentPrinter(Document &document)
{
    auto *settings =
        document.findChild<PrinterSettings *>(QStringLiteral("printerSettings"), Qt::FindDirectChildrenOnly);
    if (!settings)
        settings = new PrinterSettings(&document);
    return settings->printer;
}

void printDocument(Document &document, QWidget *parent)
{
    if (!document.main || !confirmOutput(document, parent))
        return;
    QPrinter &printer = documentPrinter(document);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PaperSizeScope paperSize(document);
    if (!printWidget(document.main, printer)) {
        Prompter::instance().alert(parent, Text::tr("Failed"), Text::tr("The invoice could not be printed."));
        return;
    }
    recordIssued(document, IssueChannel::Print, QString(), parent);
}

void previewDocument(Document &document, QWidget *parent)
{
    if (!document.main || !confirmOutput(document, parent))
        return;
    QPrintPreviewDialog preview(&documentPrinter(document), parent);
    showPageWhole(preview);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&document](QPrinter *printer) {
        if (!document.main)
            return;
        const PaperSizeScope paperSize(document);
        printWidget(document.main, *printer);
    });
    preview.exec();
}

} // namespace seikyu

#include "PagePrinter.moc"
