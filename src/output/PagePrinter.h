#pragma once

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace seikyu {

class Document;

/// Prints the widget onto the printer as vector drawing, scaled to the printer's paper keeping its
/// proportions and centred on it. False when the printer could not be started. A PDF printed to a
/// file gets the same searchable text as an exported one.
bool printWidget(QWidget *widget, QPrinter &printer);

/// Prints the document's pages as the page's renderer draws them, each on a sheet of the printer's
/// paper as printWidget prints one, within the printer's page range when it has one. A one-page
/// invoice prints as it always has.
bool printPages(Document &document, QPrinter &printer);

/// A4 portrait, edge to edge: the sheet carries its own margins, so it prints at its true size.
void setUpSheetPrinter(QPrinter &printer);

/// Prints one A4 sheet that `paint` draws in page pixels, as the invoice's pages are printed.
bool printSheet(QPrinter &printer, const std::function<void(QPainter &)> &paint);

/// The document's own print settings, kept for as long as the document lives: A4 portrait, the
/// page printed edge to edge as the sheet is laid out with its own margins.
QPrinter &documentPrinter(Document &document);

/// File ▸ Print…: a warning first when the page will not read well, the print dialog with the
/// document's settings (and the range of its pages), then the pages printed.
void printDocument(Document &document, QWidget *parent);

/// File ▸ Print Preview…: the same printout in a preview window that shows each page whole.
void previewDocument(Document &document, QWidget *parent);

} // namespace seikyu
