#pragma once

#include <QStringList>

class QWidget;

namespace seikyu {

class Document;
struct Invoice;

/// What the user should know before the page leaves the application, one sentence each (an amount
/// box that disagrees with the table, …); empty when nothing is amiss. Every check of the page as it
/// will be sent belongs here, so the export, printing, the preview and the command line all see it.
QStringList outputWarnings(const Document &document);
/// The same of an invoice as its window shows it (see openedInvoice), without a window.
QStringList outputWarnings(const Invoice &shown);

/// Asked before a PDF is written or the page is printed or previewed: when there is something to
/// warn about, the user chooses to go on or to cancel. True to go on.
bool confirmOutput(Document &document, QWidget *parent);

} // namespace seikyu
