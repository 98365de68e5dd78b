#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace seikyu {

/// An XML element as the e-invoice is built: a qualified name ("cbc:ID"), its attributes in
/// order, its text and its children in order. Elements with children carry no text.
struct XmlElement
{
    QString name;
    QList<QPair<QString, QString>> attributes;
    QString text;
    QList<XmlElement> children;

    /// Appends a child and returns it, for building nested elements in place.
    XmlElement &add(const QString &childName, const QString &childText = QString());
    XmlElement &attribute(const QString &attributeName, const QString &value);

    /// The first child of that name, or null.
    const XmlElement *child(const QString &childName) const;
    /// Every child of that name.
    QList<const XmlElement *> childrenNamed(const QString &childName) const;
    /// The first element along a path of child names ("cac:LegalMonetaryTotal/cbc:PayableAmount"), or null.
    const XmlElement *find(const QString &path) const;
    QString attributeValue(const QString &attributeName) const;
};

/// The tree as a UTF-8 XML document with its declaration, indented.
QByteArray serializeXml(const XmlElement &root);

} // namespace seikyu
