#pragma once

#include "base/Result.h"
#include "einvoice/EInvoiceMapping.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace seikyu {

class Document;

/// An e-invoice that has been written: where, and its exact bytes.
struct WrittenEInvoice
{
    QString path;           ///< the XML file, or the PDF/A-3 that carries it
    QString xmlName;        ///< the XML's own file name ("INV-001.xml")
    QByteArray xml;         ///< the XML, byte for byte as written or attached
    bool inPdf = false;     ///< true when the XML went into a PDF/A-3 rather than a file of its own
    QByteArray invoiceFile; ///< the invoice it was made from, as its file's bytes
    QString sourcePath;     ///< that invoice's file, when it has one
};

/// Hears every e-invoice written, by the menus and the command line alike (a ledger records them).
/// One observer; an empty function removes it.
using EInvoiceObserver = std::function<void(const WrittenEInvoice &)>;
void setEInvoiceObserver(EInvoiceObserver observer);
/// Tells the observer, if there is one.
void announceEInvoice(const WrittenEInvoice &written);

/// An e-invoice file written and issued.
struct IssuedEInvoice
{
    bool unrecorded = false; ///< written, but neither recorded nor kept to be recorded
};

/// Issues every e-invoice written as an XML file of its own (a ledger records it, keeping what it
/// needs before the file is written): `write` writes the file. What became of it once written, or
/// why it was not: the write's fault, or Refused when the issuer would not write it. One issuer;
/// an empty function removes it.
using EInvoiceIssuer =
    std::function<Result<IssuedEInvoice>(const WrittenEInvoice &written, const std::function<Result<void>()> &write)>;
void setEInvoiceIssuer(EInvoiceIssuer issuer);
/// Writes `written.xml` to `written.path` atomically, through the issuer when there is one, then
/// tells the observer. A fault when it was not written, a file already there untouched.
Result<IssuedEInvoice> issueEInvoiceFile(const WrittenEInvoice &written);

/// The e-invoice of the page as it is now (its file contents, the date it shows).
EInvoice eInvoiceOf(const Document &document);
/// The e-invoice of an invoice file's bytes, as the page would show it; refused when they are no invoice.
EInvoice eInvoiceOfFile(const QByteArray &bytes);

/// The path with ".xml" appended unless it already ends in it (in any case).
QString withXmlExtension(const QString &path);

/// Writes the XML atomically; a fault (Unwritable) when it was not written, a file already there
/// untouched.
Result<void> writeEInvoiceFile(const QByteArray &xml, const QString &path);

/// The PDF made a PDF/A-3b carrying the XML (named `xmlName`) as its alternative representation,
/// or why it cannot be (see makePdfA3).
Result<QByteArray> pdfWithEInvoice(const QByteArray &pdf, const QByteArray &xml, const QString &xmlName);

/// Whether Export as PDF attaches the e-invoice (PDF/A-3); remembered in the user's settings.
bool attachesEInvoice();
void setAttachesEInvoice(bool attach);

/// File ▸ Export e-Invoice (JP PINT)…: refuses in plain words what cannot be one, before asking
/// anything; warns of withholding; asks where to and writes NAME.xml.
void exportEInvoice(Document &document, QWidget *parent);

/// File ▸ Export as PDF…: the plain export, or with "Attach the e-invoice" on, the PDF/A-3 with
/// the XML inside, refused before anything is written when the invoice cannot be an e-invoice.
void exportPdfMaybeWithEInvoice(Document &document, QWidget *parent);

} // namespace seikyu
