#include "einvoice/XmlTree.h"

#include <QBuffer>
#include <QXmlStreamWriter>

namespace seikyu {

XmlElement &XmlElement::add(const QString &childName, const QString &childText)
{
    children.append(XmlElement{childName, {}, childText, {}});
    return children.last();
}

XmlElement &XmlElement::attribute(const QString &attributeName, const QString &value)
{
    attributes.append({attributeName, value});
    return *this;
}

const XmlElement *XmlElement::child(const QString &childName) const
{
    for (const XmlElement &c : children) {
        if (c.name == childName)
            return &c;
    }
    return nullptr;
}

QList<const XmlElement *> XmlElement::childrenNamed(const QString &childName) const
{
    QList<const XmlElement *> found;
    for (const XmlElement &c : children) {
        if (c.name == childName)
            found.append(&c);
    }
    return found;
}

const XmlElement *XmlElement::find(const QString &path) const
{
    const XmlElement *at = this;
    for (const QString &step : path.split(QLatin1Char('/'))) {
        at = at->child(step);
        if (!at)
            return nullptr;
    }
    return at;
}

QString XmlElement::attributeValue(const QString &attributeName) const
{
    for (const auto &[key, value] : attributes) {
        if (key == attributeName)
            return value;
    }
    return {};
}

namespace {

void writeElement(QXmlStreamWriter &writer, const XmlElement &element)
{
    writer.writeStartElement(element.name);
    for (const auto &[name, value] : element.attributes)
        writer.writeAttribute(name, value);
    if (element.children.isEmpty())
        writer.writeCharacters(element.text);
    for (const XmlElement &child : element.children)
        writeElement(writer, child);
    writer.writeEndElement();
}

} // namespace

QByteArray serializeXml(const XmlElement &root)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeStartDocument();
    writeElement(writer, root);
    writer.writeEndDocument();
    return bytes;
}

} // namespace seikyu
