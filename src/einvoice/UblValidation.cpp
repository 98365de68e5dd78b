#include "einvoice/UblValidation.h"

#include <QFile>
#include <QMutex>
#include <cstring>
#include <libxml/parser.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlschemas.h>

static void initUblResources()
{
    // The schema lives in the static core library, which the linker does not register by itself.
    Q_INIT_RESOURCE(ubl21);
}

namespace seikyu {

namespace {

/// The schema's files are read from the resources under this prefix, the includes between them
/// resolved by libxml2 against it like paths.
constexpr char Prefix[] = "qrc:/ubl21/";

int matchesResource(const char *uri)
{
    return uri && std::strncmp(uri, Prefix, sizeof Prefix - 1) == 0;
}

struct OpenResource
{
    QByteArray bytes;
    qsizetype at = 0;
};

void *openResource(const char *uri)
{
    QFile file(QStringLiteral(":/ubl21/") + QString::fromUtf8(uri + sizeof Prefix - 1));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return new OpenResource{file.readAll(), 0};
}

int readResource(void *context, char *buffer, int length)
{
    auto *resource = static_cast<OpenResource *>(context);
    const int n = int(std::min<qsizetype>(length, resource->bytes.size() - resource->at));
    std::memcpy(buffer, resource->bytes.constData() + resource->at, size_t(n));
    resource->at += n;
    return n;
}

int closeResource(void *context)
{
    delete static_cast<OpenResource *>(context);
    return 0;
}

void collect(void *sink, const xmlError *error)
{
    if (error && error->message)
        static_cast<QStringList *>(sink)->append(QString::fromUtf8(error->message).trimmed());
}

void ignore(void *, const xmlError *) {}

xmlSchemaPtr compiledSchema()
{
    static const xmlSchemaPtr schema = [] {
        initUblResources();
        xmlInitParser();
        xmlRegisterInputCallbacks(matchesResource, openResource, readResource, closeResource);
        xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt("qrc:/ubl21/driver.xsd");
        if (!parser)
            return xmlSchemaPtr(nullptr);
        xmlSchemaSetParserStructuredErrors(parser, reinterpret_cast<xmlStructuredErrorFunc>(&ignore), nullptr);
        const xmlSchemaPtr compiled = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
        return compiled;
    }();
    return schema;
}

} // namespace

bool ublSchemaCompiles()
{
    return compiledSchema() != nullptr;
}

QStringList ublViolations(const QByteArray &xml)
{
    const xmlSchemaPtr schema = compiledSchema();
    if (!schema)
        return {QStringLiteral("the UBL 2.1 schema could not be compiled")};
    QStringList found;
    xmlParserCtxtPtr reader = xmlNewParserCtxt();
    if (!reader)
        return {QStringLiteral("out of memory")};
    xmlDocPtr doc = xmlCtxtReadMemory(reader, xml.constData(), int(xml.size()), "invoice.xml", nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        const xmlError *error = xmlCtxtGetLastError(reader);
        found.append(error && error->message ? QString::fromUtf8(error->message).trimmed()
                                             : QStringLiteral("not well-formed XML"));
        xmlFreeParserCtxt(reader);
        return found;
    }
    xmlFreeParserCtxt(reader);
    xmlSchemaValidCtxtPtr validation = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(validation, reinterpret_cast<xmlStructuredErrorFunc>(&collect), &found);
    const int result = xmlSchemaValidateDoc(validation, doc);
    xmlSchemaFreeValidCtxt(validation);
    xmlFreeDoc(doc);
    if (result != 0 && found.isEmpty())
        found.append(QStringLiteral("invalid (code %1)").arg(result));
    return found;
}

} // namespace seikyu
