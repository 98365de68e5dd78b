#pragma once

#include "base/Result.h"
#include "page/PageLayout.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace seikyu {

class Document;

/// The invoice as a PDF of its pages at the page's own size (one page pixel is one point), with
/// vector text, each font embedded once as a subset and text that searches and copies as the kanji
/// drawn. The title goes into the PDF's metadata.
QByteArray renderPagePdf(Document &document, const QString &title);

/// The first half of renderPagePdf: the pages of the invoice the window holds, laid out from its values.
PageLayout layoutPagesForPdf(const Document &document);
/// The second half, on any thread: the PDF of the laid-out pages, in order. Every PDF of an
/// invoice is made this way, so an export made on a worker thread is the same as one made on the
/// spot.
QByteArray pdfFromLayout(const PageLayout &pages, const QString &title);

/// Writes the PDF bytes atomically: on failure the fault says why (Unwritable) and a file already
/// at the path stays exactly as it was. No bytes (a page that could not be rendered) write nothing.
Result<void> writePdfFile(const QByteArray &pdf, const QString &path);

/// The name the export proposes, without extension: the invoice file's own name when it has one,
/// otherwise the suggestion for an unsaved invoice.
QString pdfSuggestedName(const Document &document);
/// The name a PDF of the invoice file at `path` is given, without its extension: the file's own.
QString pdfNameForFile(const QString &path);

/// The path with ".pdf" appended unless it already ends in it (in any case): a PDF is always a .pdf.
QString withPdfExtension(const QString &path);

/// File ▸ Export as PDF…: asks where to, renders the page as it is at that moment and writes it.
/// Warns first when the page will not read well (the user may go on or stop); the file name
/// always ends in .pdf. Cancelling writes nothing; a failed write is reported. The document itself is left untouched:
/// not saved, not marked edited, its file location unchanged.
///
/// A finisher, when given, makes the file written out of the rendered PDF (the PDF/A-3 carrying the
/// e-invoice); when it fails, nothing is written and its message is reported. `written` hears the
/// path once the file is there.
using PdfFinisher = std::function<Result<QByteArray>(const QByteArray &pdf, const QString &path)>;
void exportPdf(Document &document, QWidget *parent, const PdfFinisher &finish = {},
               const std::function<void(const QString &path)> &written = {});

} // namespace seikyu
