#include "einvoice/EInvoiceExport.h"

#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "einvoice/PdfA3.h"
#include "invoice/InvoiceFile.h"
#include "ledger/IssueRecording.h"
#include "output/PdfExport.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "EInvoiceExport", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(EInvoiceExport)
};

const QString AttachKey = QStringLiteral("export/attachEInvoice");

EInvoiceObserver &observer()
{
    static EInvoiceObserver current;
    return current;
}

EInvoiceIssuer &issuer()
{
    static EInvoiceIssuer the;
    return the;
}

/// Refused in plain words, or warned and asked; true to go on.
bool settled(const EInvoice &invoice, QWidget *parent)
{
    if (!invoice.ok()) {
        Prompter::instance().alert(parent, Text::tr("This invoice cannot be a JP PINT e-invoice yet."),
                                   invoice.refusals.join(QLatin1Char('\n')));
        return false;
    }
    if (invoice.warnings.isEmpty())
        return true;
    return Prompter::instance().askToProceed(parent, Text::tr("The e-invoice differs from the page."),
                                             invoice.warnings.join(QLatin1Char('\n')), Text::tr("Export"));
}

QString xmlNameFor(const QString &pdfPath)
{
    return QFileInfo(pdfPath).completeBaseName() + QStringLiteral(".xml");
}

} // namespace

void setEInvoiceObserver(EInvoiceObserver newObserver)
{
    observer() = std::move(newObserver);
}

void announceEInvoice(const WrittenEInvoice &written)
{
    if (observer())
        observer()(written);
}

void setEInvoiceIssuer(EInvoiceIssuer newIssuer)
{
    issuer() = std::move(newIssuer);
}

Result<IssuedEInvoice> issueEInvoiceFile(const WrittenEInvoice &written)
{
    const auto write = [&] { return writeEInvoiceFile(written.xml, written.path); };
    Result<IssuedEInvoice> issued = IssuedEInvoice{};
    if (issuer()) {
        issued = issuer()(written, write);
    } else if (const Result<void> done = write(); !done) {
        issued = done.fault();
    }
    if (issued)
        announceEInvoice(written);
    return issued;
}

EInvoice eInvoiceOfFile(const QByteArray &bytes)
{
    const Result<Invoice> read = readInvoiceBytes(bytes);
    if (!read) {
        EInvoice refused;
        refused.refusals.append(read.message());
        return refused;
    }
    return mapEInvoice(*read, QDate::currentDate());
}

EInvoice eInvoiceOf(const Document &document)
{
    // Through the file's own bytes, so that the e-invoice says what the saved file would say.
    return eInvoiceOfFile(document.dataOfType());
}

QString withXmlExtension(const QString &path)
{
    if (path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
        return path;
    return path + QStringLiteral(".xml");
}

Result<void> writeEInvoiceFile(const QByteArray &xml, const QString &path)
{
    if (xml.isEmpty())
        return Fault{FaultKind::Unwritable, Text::tr("There is no e-invoice to write.")};
    return writeFileAtomically(path, xml);
}

Result<QByteArray> pdfWithEInvoice(const QByteArray &pdf, const QByteArray &xml, const QString &xmlName)
{
    QFile profile(srgbProfilePath());
    const QByteArray icc = profile.open(QIODevice::ReadOnly) ? profile.readAll() : QByteArray();
    PdfAttachment attachment;
    attachment.name = xmlName;
    attachment.bytes = xml;
    attachment.mimeType = QStringLiteral("text/xml");
    attachment.description = QStringLiteral("JP PINT e-invoice (UBL 2.1)");
    attachment.modified = QDateTime::currentDateTimeUtc();
    return makePdfA3(pdf, attachment, icc);
}

bool attachesEInvoice()
{
    return QSettings().value(AttachKey, false).toBool();
}

void setAttachesEInvoice(bool attach)
{
    QSettings().setValue(AttachKey, attach);
}

void exportEInvoice(Document &document, QWidget *parent)
{
    if (!settled(eInvoiceOf(document), parent) || !settleInvoiceNumber(document, parent))
        return;
    // Made after the number is settled: a new number is the e-invoice's too.
    const EInvoice invoice = eInvoiceOf(document);
    const QString name = pdfSuggestedName(document) + QStringLiteral(".xml");
    const QString folder =
        document.filePath().isEmpty() ? QDir::homePath() : QFileInfo(document.filePath()).absolutePath();
    const QString chosen =
        Prompter::instance().saveFileName(parent, Text::tr("Export e-Invoice (JP PINT)"), QDir(folder).filePath(name),
                                          Text::tr("e-Invoice XML (*.xml)"), QStringLiteral("xml"));
    if (chosen.isEmpty())
        return;
    const QString path = withXmlExtension(chosen);
    if (path != chosen && QFileInfo::exists(path) &&
        !Prompter::instance().askToProceed(
            parent, Text::tr("“%1” already exists. Do you want to replace it?").arg(QFileInfo(path).fileName()),
            Text::tr("The e-invoice is written to this name, as it has to end in .xml."), Text::tr("Replace")))
        return;
    const Result<IssuedEInvoice> issued = issueEInvoiceFile(
        {path, QFileInfo(path).fileName(), eInvoiceXml(invoice), false, document.dataOfType(), document.filePath()});
    if (!issued)
        Prompter::instance().alert(parent, Text::tr("The e-invoice could not be written."), issued.message());
}

void exportPdfMaybeWithEInvoice(Document &document, QWidget *parent)
{
    if (!attachesEInvoice()) {
        exportPdf(document, parent);
        return;
    }
    // Refused before the dialogs, and asked again from the page as it is when the PDF is made.
    if (!settled(eInvoiceOf(document), parent))
        return;
    auto attached = std::make_shared<WrittenEInvoice>();
    exportPdf(
        document, parent,
        [&document, attached](const QByteArray &pdf, const QString &path) -> Result<QByteArray> {
            const EInvoice invoice = eInvoiceOf(document);
            if (!invoice.ok())
                return Fault{FaultKind::Refused, invoice.refusals.join(QLatin1Char('\n'))};
            *attached = {path, xmlNameFor(path),      eInvoiceXml(invoice),
                         true, document.dataOfType(), document.filePath()};
            return pdfWithEInvoice(pdf, attached->xml, attached->xmlName);
        },
        [attached](const QString &) { announceEInvoice(*attached); });
}

} // namespace seikyu
