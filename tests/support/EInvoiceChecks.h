// What the e-invoice tests check every JP PINT document against: the UBL 2.1 schema (libxml2) and
// the Japanese rules that matter for the money.
#pragma once

#include "einvoice/XmlTree.h"

#include <QByteArray>
#include <QStringList>

namespace seikyu::test {

/// The UBL 2.1 Invoice schema, as the program itself validates against it.
class UblSchema
{
public:
    bool isLoaded() const;
    /// What the schema finds wrong with the document; empty when it is valid.
    QStringList violations(const QByteArray &xml) const;
};

/// Every JP PINT rule of the money, the parties and the order that the document breaks; empty when none.
QStringList jpRuleViolations(const XmlElement &invoice);

/// A whole amount element's value; -1 with `ok` false when it is missing or not whole yen.
qint64 yenOf(const XmlElement *element, bool *ok = nullptr);

} // namespace seikyu::test
