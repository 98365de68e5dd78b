#include "output/PdfExport.h"

#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "document/FileNameText.h"
#include "document/PageView.h"
#include "document/WriteFailure.h"
#include "ledger/IssueRecording.h"
#include "output/OutputChecks.h"
#include "output/OutputRendering.h"
#include "output/PdfTextRepair.h"
#include "output/SavedPageDefaults.h"
#include "page/InvoiceSheets.h"
#include "page/PageGeometry.h"
#include "page/PagePainting.h"
#include "sections/FreelancePreferences.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "PdfExport", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(PdfExport)
};

/// One page pixel is one point: the PDF page is the sheet itself, A4, with no margin of its own.
void setUpPdfWriter(QPdfWriter &writer, const QSize &sheet, const QString &title)
{
    writer.setCreator(
        QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));
    writer.setTitle(title);
    writer.setResolution(72);
    const QPageSize size(QSizeF(sheet), QPageSize::Point, QString(), QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
}

// A stamp is a seal: keep its edges and its red exact rather than JPEG-compressed.
constexpr QPainter::RenderHints PdfHints = QPainter::LosslessImageRendering;

} // namespace

PageLayout layoutPagesForPdf(const Document &document)
{
    if (!document.hasPage())
        return {};
    // Laid out from the invoice's values, as the command line lays out a file: the window's zoom,
    // scroll or panels never reach the paper.
    return layOutInvoice(document.pageState(),
                         {document.stampImage(), savedAddressOffset(), FreelancePreferences::receiptsInBusiness()});
}

QByteArray pdfFromLayout(const PageLayout &pages, const QString &title)
{
    if (pages.empty())
        return {};
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        // One writer for every page, so that each font is embedded once.
        QPdfWriter writer(&buffer);
        setUpPdfWriter(writer, QSize(page::SheetWidth, page::SheetHeight), title);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        painter.setRenderHints(PdfHints);
        for (size_t index = 0; index < pages.size(); ++index) {
            if (index > 0 && !writer.newPage())
                return {};
            paintPage(painter, pages[index]);
        }
        painter.end();
    }
    buffer.close();
    return repairPdfText(pdf);
}

QByteArray renderPagePdf(Document &document, const QString &title)
{
    return pdfFromLayout(layoutPagesForPdf(document), title);
}

Result<void> writePdfFile(const QByteArray &pdf, const QString &path)
{
    // Never replace a good file with nothing.
    if (pdf.isEmpty())
        return Fault{FaultKind::Unwritable, Text::tr("the page could not be rendered")};
    return writeFileAtomically(path, pdf);
}

QString pdfSuggestedName(const Document &document)
{
    if (document.filePath().isEmpty())
        return document.filename();
    return pdfNameForFile(document.filePath());
}

QString pdfNameForFile(const QString &path)
{
    const QFileInfo info(path);
    // Like removing the last extension only: "a.b.seikyu" suggests "a.b"; a hidden ".seikyu" keeps
    // its whole name, as it has no extension.
    // A bidi override in the file's name would make the suggestion read otherwise than it is.
    const QString name = withoutFormatControls(info.fileName());
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString withPdfExtension(const QString &path)
{
    if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return path;
    return path + QStringLiteral(".pdf");
}

void exportPdf(Document &document, QWidget *parent, const PdfFinisher &finish,
               const std::function<void(const QString &path)> &written)
{
    if (!confirmOutput(document, parent) || !settleInvoiceNumber(document, parent))
        return;
    const QString name = pdfSuggestedName(document) + QStringLiteral(".pdf");
    const QString folder =
        document.filePath().isEmpty() ? QDir::homePath() : QFileInfo(document.filePath()).absolutePath();
    const QString chosen = Prompter::instance().saveFileName(
        parent, Text::tr("Export as PDF"), QDir(folder).filePath(name), Text::tr("PDF (*.pdf)"), QStringLiteral("pdf"));
    if (chosen.isEmpty())
        return; // cancelled: nothing is written and nothing is said
    // The dialog adds the extension only to a name that has none: "invoice.txt" would stay a text
    // file that holds a PDF. Its question about replacing a file was about the name as typed.
    const QString path = withPdfExtension(chosen);
    if (path != chosen && QFileInfo::exists(path) &&
        !Prompter::instance().askToProceed(
            parent, Text::tr("“%1” already exists. Do you want to replace it?").arg(QFileInfo(path).fileName()),
            Text::tr("The PDF is written to this name, as it has to end in .pdf."), Text::tr("Replace")))
        return;

    // The page is rendered only now, so the PDF shows it as it is after the dialog.
    QByteArray pdf = renderPagePdf(document, pdfSuggestedName(document));
    if (finish && !pdf.isEmpty()) {
        Result<QByteArray> finished = finish(pdf, path);
        if (!finished) {
            Prompter::instance().alert(parent, Text::tr("Failed writing PDF"), finished.message());
            return;
        }
        pdf = std::move(*finished);
    }
    Result<void> wrote;
    const auto write = [&] {
        wrote = writePdfFile(pdf, path);
        return wrote.ok();
    };
    if (!issueOutput(document, IssueChannel::Pdf, path, pdf, write, parent)) {
        qCInfo(lcOutput) << "writing" << path << "failed:" << wrote.message() << wrote.detail();
        // Which file and why: "the disk is full" wants another place, "permission denied" another folder.
        Prompter::instance().alert(parent, Text::tr("Failed"),
                                   Text::tr("Failed writing PDF") + QLatin1Char('\n') +
                                       writeFailureMessage(path, wrote.message()));
        return;
    }
    if (written)
        written(path);
}

} // namespace seikyu
