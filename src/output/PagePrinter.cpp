#include "output/PagePrinter.h"

#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "document/PageView.h"
#include "ledger/IssueRecording.h"
#include "output/OutputChecks.h"
#include "output/OutputRendering.h"
#include "output/PdfExport.h"
#include "output/PdfTextRepair.h"
#include "page/PageGeometry.h"
#include "page/PagePainting.h"
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
        setUpSheetPrinter(printer);
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
    if (const Result<void> written = writeFileAtomically(printer.outputFileName(), repaired); !written)
        qCInfo(lcOutput) << "could not repair the text of" << printer.outputFileName() << ":" << written.detail();
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

/// Rendering a widget straight onto a printer rasterises the whole page into one image. Recorded
/// into a picture first, it replays as the same vector drawing the PDF export makes.
QPicture recordedForPrint(QWidget &widget)
{
    QPicture picture;
    {
        QPainter recorder(&picture);
        const OutputRenderingScope output;
        widget.render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    return picture;
}

/// Draws a recorded page onto the printer's paper, scaled to it keeping its proportions and
/// centred on it.
void drawOnPaper(QPainter &painter, const QPicture &picture, const QSizeF &source, QPrinter &printer)
{
    painter.save();
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    const double scale = std::min(area.width() / source.width(), area.height() / source.height());
    painter.translate((area.width() - source.width() * scale) / 2, (area.height() - source.height() * scale) / 2);
    // Replaying a picture already scales it from its own resolution to the device's; undo that, so
    // the only scaling is ours.
    painter.scale(scale * picture.logicalDpiX() / printer.logicalDpiX(),
                  scale * picture.logicalDpiY() / printer.logicalDpiY());
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

} // namespace

bool printWidget(QWidget *widget, QPrinter &printer)
{
    if (!widget)
        return false;
    const QPicture picture = recordedForPrint(*widget);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    drawOnPaper(painter, picture, widget->size(), printer);
    const bool ended = painter.end();
    if (ended)
        repairPrintedPdf(printer);
    return ended;
}

/// Drawing straight onto a printer rasterises parts of a page; recorded into a picture first, the
/// sheet replays as the same vector drawing the PDF export makes.
QPicture recordedForPrint(const LaidOutPage &page)
{
    QPicture picture;
    QPainter recorder(&picture);
    paintPage(recorder, page);
    recorder.end();
    return picture;
}

bool printPages(Document &document, QPrinter &printer)
{
    if (!document.hasPage())
        return false;
    const PageLayout pages = layoutPagesForPdf(document);
    int first = 1;
    int last = int(pages.size());
    if (pages.size() > 1 && printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    if (first > last)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int number = first; number <= last; ++number) {
        if (number > first && !printer.newPage()) {
            painter.end();
            return false;
        }
        drawOnPaper(painter, recordedForPrint(pages[size_t(number - 1)]), QSizeF(page::SheetWidth, page::SheetHeight),
                    printer);
    }
    const bool ended = painter.end();
    if (ended)
        repairPrintedPdf(printer);
    return ended;
}

void setUpSheetPrinter(QPrinter &printer)
{
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
    // The sheet carries its own margins; printing it edge to edge keeps A4 at its true size.
    printer.setFullPage(true);
}

bool printSheet(QPrinter &printer, const std::function<void(QPainter &)> &paint)
{
    QPicture picture;
    {
        QPainter recorder(&picture);
        paint(recorder);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    drawOnPaper(painter, picture, QSizeF(page::SheetWidth, page::SheetHeight), printer);
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
    if (!document.hasPage() || !confirmOutput(document, parent) || !settleInvoiceNumber(document, parent))
        return;
    QPrinter &printer = documentPrinter(document);
    const qsizetype pageCount = document.pages().size();
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
    dialog.setMinMax(1, int(pageCount));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A print job cannot be looked at once sent: its entry is kept before it goes, and a run
    // killed while printing has it recorded next time (one entry too many can be voided; a
    // missing one would go unnoticed).
    if (!issueOutput(
            document, IssueChannel::Print, QString(), QByteArray(), [&] { return printPages(document, printer); },
            parent))
        Prompter::instance().alert(parent, Text::tr("Failed"), Text::tr("The invoice could not be printed."));
}

void previewDocument(Document &document, QWidget *parent)
{
    if (!document.hasPage() || !confirmOutput(document, parent))
        return;
    // The preview shows every page, whatever range the last printout had; its own Print asks again.
    documentPrinter(document).setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog preview(&documentPrinter(document), parent);
    showPageWhole(preview);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&document](QPrinter *printer) {
        if (!document.hasPage())
            return;
        printPages(document, *printer);
    });
    preview.exec();
}

} // namespace seikyu

#include "PagePrinter.moc"
