#include "einvoice/PdfA3.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <qpdf/QUtil.hh>
#include <stdexcept>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "PdfA3", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(PdfA3)
};

std::string utf8(const QString &text)
{
    return text.toStdString();
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

/// A text of the document information dictionary, decoded; empty when it has none.
QString infoText(QPDFObjectHandle info, const char *key)
{
    if (!info.isDictionary() || !info.hasKey(key) || !info.getKey(key).isString())
        return {};
    return QString::fromStdString(info.getKey(key).getUTF8Value());
}

/// A PDF date ("D:20261207130106Z", "D:20261207220106+09'00'") as XMP writes it; empty when it is none.
QString xmpDate(const QString &pdfDate)
{
    static const QRegularExpression pattern(
        QStringLiteral("^D:(\\d{4})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(Z|[+-]\\d{2}'?\\d{2}'?)?"));
    const QRegularExpressionMatch m = pattern.match(pdfDate);
    if (!m.hasMatch())
        return {};
    QString zone = m.captured(7);
    zone.remove(u'\'');
    if (zone.size() == 5)
        zone.insert(3, u':');
    return QStringLiteral("%1-%2-%3T%4:%5:%6%7")
        .arg(m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5), m.captured(6), zone);
}

/// The XMP packet of a PDF/A-3B file, repeating what the document information says.
QByteArray xmpPacket(QPDFObjectHandle info)
{
    const QString title = infoText(info, "/Title");
    const QString creator = infoText(info, "/Creator");
    const QString producer = infoText(info, "/Producer");
    const QString created = xmpDate(infoText(info, "/CreationDate"));
    const QString modified = xmpDate(infoText(info, "/ModDate"));
    QString xmp = QStringLiteral("<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                                 "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                                 " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n");
    if (info.isDictionary() && info.hasKey("/Title"))
        xmp += QStringLiteral("  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                              "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
                              "  </rdf:Description>\n")
                   .arg(xmlEscaped(title));
    xmp += QStringLiteral("  <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n");
    if (info.isDictionary() && info.hasKey("/Creator"))
        xmp += QStringLiteral("   <xmp:CreatorTool>%1</xmp:CreatorTool>\n").arg(xmlEscaped(creator));
    if (!created.isEmpty())
        xmp += QStringLiteral("   <xmp:CreateDate>%1</xmp:CreateDate>\n").arg(created);
    if (!modified.isEmpty())
        xmp += QStringLiteral("   <xmp:ModifyDate>%1</xmp:ModifyDate>\n").arg(modified);
    xmp += QStringLiteral("  </rdf:Description>\n");
    if (info.isDictionary() && info.hasKey("/Producer"))
        xmp += QStringLiteral("  <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                              "   <pdf:Producer>%1</pdf:Producer>\n"
                              "  </rdf:Description>\n")
                   .arg(xmlEscaped(producer));
    xmp += QStringLiteral("  <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                          "   <pdfaid:part>3</pdfaid:part>\n"
                          "   <pdfaid:conformance>B</pdfaid:conformance>\n"
                          "  </rdf:Description>\n"
                          " </rdf:RDF>\n"
                          "</x:xmpmeta>\n"
                          "<?xpacket end=\"w\"?>");
    return xmp.toUtf8();
}

QPDFObjectHandle outputIntent(QPDF &pdf, const QByteArray &iccProfile)
{
    QPDFObjectHandle profile = QPDFObjectHandle::newStream(&pdf, iccProfile.toStdString());
    profile.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(3));
    QPDFObjectHandle intent = QPDFObjectHandle::newDictionary();
    intent.replaceKey("/Type", QPDFObjectHandle::newName("/OutputIntent"));
    intent.replaceKey("/S", QPDFObjectHandle::newName("/GTS_PDFA1"));
    intent.replaceKey("/OutputConditionIdentifier", QPDFObjectHandle::newString("sRGB IEC61966-2.1"));
    intent.replaceKey("/Info", QPDFObjectHandle::newString("sRGB IEC61966-2.1"));
    intent.replaceKey("/RegistryName", QPDFObjectHandle::newString("http://www.color.org"));
    intent.replaceKey("/DestOutputProfile", profile);
    return pdf.makeIndirectObject(intent);
}

/// "D:20261207130106Z" for a moment.
std::string pdfDate(const QDateTime &moment)
{
    return utf8(moment.toUTC().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'")));
}

} // namespace

QString srgbProfilePath()
{
    const QByteArray overridden = qgetenv("SEIKYU_SRGB_PROFILE");
    return overridden.isEmpty() ? QStringLiteral("/usr/share/color/icc/sRGB.icc") : QString::fromLocal8Bit(overridden);
}

Result<QByteArray> makePdfA3(const QByteArray &bytes, const PdfAttachment &attachment, const QByteArray &iccProfile)
{
    if (iccProfile.size() < 128 || iccProfile.mid(36, 4) != "acsp")
        return Fault{FaultKind::NotFound,
                     Text::tr("The colour profile %1 is missing or damaged (Debian package icc-profiles-free).")
                         .arg(srgbProfilePath())};
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("page", bytes.constData(), static_cast<size_t>(bytes.size()));
        if (pdf.isEncrypted())
            throw std::runtime_error("encrypted");
        QPDFObjectHandle root = pdf.getRoot();
        QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");

        root.replaceKey("/OutputIntents", QPDFObjectHandle::newArray({outputIntent(pdf, iccProfile)}));
        QPDFObjectHandle metadata = QPDFObjectHandle::newStream(&pdf, xmpPacket(info).toStdString());
        metadata.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
        metadata.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
        root.replaceKey("/Metadata", metadata);

        QPDFEFStreamObjectHelper stream = QPDFEFStreamObjectHelper::createEFStream(pdf, attachment.bytes.toStdString());
        stream.setSubtype(utf8(attachment.mimeType));
        stream.setModDate(pdfDate(attachment.modified));
        QPDFFileSpecObjectHelper fileSpec =
            QPDFFileSpecObjectHelper::createFileSpec(pdf, utf8(attachment.name), stream);
        if (!attachment.description.isEmpty())
            fileSpec.setDescription(utf8(attachment.description));
        fileSpec.getObjectHandle().replaceKey("/AFRelationship", QPDFObjectHandle::newName("/Alternative"));
        QPDFEmbeddedFileDocumentHelper files(pdf);
        files.replaceEmbeddedFile(utf8(attachment.name), fileSpec);
        root.replaceKey("/AF", QPDFObjectHandle::newArray({fileSpec.getObjectHandle()}));

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setCompressStreams(true);
        writer.setObjectStreamMode(qpdf_o_disable);
        writer.setNewlineBeforeEndstream(true);
        writer.write();
        std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(out->getBuffer()), static_cast<qsizetype>(out->getSize()));
    } catch (const std::exception &e) {
        const QString said = QString::fromLocal8Bit(e.what());
        return Fault{FaultKind::BadInput, Text::tr("The PDF could not be made a PDF/A-3 (%1).").arg(said), said};
    }
}

} // namespace seikyu
