// Reading a PDF as a customer's tools read it: poppler's pdftotext, pdfinfo and pdftoppm.
#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace seikyu::test {

/// What a program writes on its standard output, once it has ended (or two minutes have passed).
QString runProgram(const QString &program, const QStringList &arguments);

/// The text pdftotext extracts from a PDF file: of one page, or of them all.
QString pdfText(const QString &pdf, int page = 0);

/// How many pages pdfinfo counts in a PDF file; -1 when it cannot read it.
int pdfPageCount(const QString &pdf);

/// A word of a PDF's first page and its box, in points from the top left, as pdftotext finds it.
struct PdfWord
{
    QString text;
    QRectF box;
};
/// The words of a PDF file's first page in reading order.
QList<PdfWord> pdfWords(const QString &pdf);

/// The first page of a PDF file as pdftoppm draws it, at `dpi` (72: one pixel a point).
QImage pdfFirstPage(const QString &pdf, int dpi = 72);

} // namespace seikyu::test
