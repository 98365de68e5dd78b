#include "EInvoiceChecks.h"

#include "einvoice/UblValidation.h"

#include <QMap>
#include <QRegularExpression>

namespace seikyu::test {

namespace {

/// The children of Invoice that the mapping may write, in the order UBL 2.1 fixes.
const QStringList InvoiceOrder = {"cbc:CustomizationID",
                                  "cbc:ProfileID",
                                  "cbc:ID",
                                  "cbc:IssueDate",
                                  "cbc:DueDate",
                                  "cbc:InvoiceTypeCode",
                                  "cbc:Note",
                                  "cbc:DocumentCurrencyCode",
                                  "cac:InvoicePeriod",
                                  "cac:AccountingSupplierParty",
                                  "cac:AccountingCustomerParty",
                                  "cac:PaymentMeans",
                                  "cac:PaymentTerms",
                                  "cac:TaxTotal",
                                  "cac:LegalMonetaryTotal",
                                  "cac:InvoiceLine"};

/// value × 10^scale as an integer, for decimals such as quantities and prices.
__extension__ typedef __int128 Wide;
bool decimalOf(const QString &text, Wide *value, int *scale)
{
    static const QRegularExpression pattern(QStringLiteral("^(-?)(\\d+)(?:\\.(\\d+))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return false;
    Wide v = 0;
    for (const QChar c : m.captured(2) + m.captured(3))
        v = v * 10 + (c.unicode() - u'0');
    *value = m.captured(1).isEmpty() ? v : -v;
    *scale = static_cast<int>(m.captured(3).size());
    return true;
}

Wide tenTo(int n)
{
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

} // namespace

bool UblSchema::isLoaded() const
{
    return ublSchemaCompiles();
}

QStringList UblSchema::violations(const QByteArray &xml) const
{
    return ublViolations(xml);
}

qint64 yenOf(const XmlElement *element, bool *ok)
{
    bool parsed = false;
    const qint64 value = element ? element->text.toLongLong(&parsed) : -1;
    const bool good = parsed && element->attributeValue(QStringLiteral("currencyID")) == QStringLiteral("JPY");
    if (ok)
        *ok = good;
    return good ? value : -1;
}

QStringList jpRuleViolations(const XmlElement &invoice)
{
    QStringList faults;
    auto need = [&](const QString &path) {
        const XmlElement *found = invoice.find(path);
        if (!found || (found->children.isEmpty() && found->text.trimmed().isEmpty()))
            faults.append(QStringLiteral("missing %1").arg(path));
        return found;
    };
    // Mandatory elements.
    if (const XmlElement *c = need("cbc:CustomizationID"); c && c->text != "urn:peppol:pint:billing-1@jp-1")
        faults.append("wrong CustomizationID " + c->text);
    if (const XmlElement *p = need("cbc:ProfileID"); p && p->text != "urn:peppol:bis:billing")
        faults.append("wrong ProfileID " + p->text);
    need("cbc:ID");
    need("cbc:IssueDate");
    if (const XmlElement *t = need("cbc:InvoiceTypeCode"); t && t->text != "380")
        faults.append("type " + t->text);
    if (const XmlElement *c = need("cbc:DocumentCurrencyCode"); c && c->text != "JPY")
        faults.append("currency " + c->text);
    const XmlElement *start = need("cac:InvoicePeriod/cbc:StartDate");
    const XmlElement *end = need("cac:InvoicePeriod/cbc:EndDate");
    if (start && end && start->text > end->text)
        faults.append("period ends before it starts");
    for (const char *role : {"cac:AccountingSupplierParty", "cac:AccountingCustomerParty"}) {
        const QString party = QString::fromLatin1(role) + "/cac:Party/";
        if (const XmlElement *e = need(party + "cbc:EndpointID"); e && e->attributeValue("schemeID").isEmpty())
            faults.append(QStringLiteral("%1 endpoint without scheme").arg(role));
        if (const XmlElement *c = need(party + "cac:PostalAddress/cac:Country/cbc:IdentificationCode");
            c && c->text != "JP")
            faults.append(QStringLiteral("%1 country %2").arg(role, c->text));
        need(party + "cac:PartyLegalEntity/cbc:RegistrationName");
    }
    static const QRegularExpression tNumber(QStringLiteral("^T[0-9]{13}$"));
    if (const XmlElement *id = need("cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cbc:CompanyID");
        id && !tNumber.match(id->text).hasMatch())
        faults.append("registration number " + id->text);
    if (const XmlElement *s = need("cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:ID");
        s && s->text != "VAT")
        faults.append("tax scheme " + s->text);

    // Element order.
    qsizetype at = 0;
    for (const XmlElement &child : invoice.children) {
        const qsizetype position = InvoiceOrder.indexOf(child.name);
        if (position < 0)
            faults.append("unexpected " + child.name);
        else if (position < at)
            faults.append(child.name + " out of order");
        else
            at = position;
    }
    if (invoice.childrenNamed("cbc:Note").size() > 1)
        faults.append("more than one note");

    // Every amount whole yen.
    std::function<void(const XmlElement &)> wholeYen = [&](const XmlElement &e) {
        if (!e.attributeValue("currencyID").isEmpty() && e.name != "cbc:PriceAmount") {
            bool ok = false;
            yenOf(&e, &ok);
            if (!ok)
                faults.append(QStringLiteral("%1 %2 is not whole yen").arg(e.name, e.text));
        }
        for (const XmlElement &c : e.children)
            wholeYen(c);
    };
    wholeYen(invoice);

    // The lines.
    qint64 lines = 0;
    QMap<QString, qint64> linesByCategory;
    for (const XmlElement *line : invoice.childrenNamed("cac:InvoiceLine")) {
        const qint64 amount = yenOf(line->child("cbc:LineExtensionAmount"));
        lines += amount;
        const XmlElement *category = line->find("cac:Item/cac:ClassifiedTaxCategory");
        const QString key =
            category ? category->child("cbc:ID")->text + "/" + category->child("cbc:Percent")->text : QString();
        linesByCategory[key] += amount;
        if (!line->find("cac:Item/cbc:Name") || line->find("cac:Item/cbc:Name")->text.isEmpty())
            faults.append("line without name");
        const XmlElement *quantity = line->child("cbc:InvoicedQuantity");
        const XmlElement *price = line->find("cac:Price/cbc:PriceAmount");
        const XmlElement *base = line->find("cac:Price/cbc:BaseQuantity");
        Wide q = 0, p = 0, b = 1;
        int qs = 0, ps = 0, bs = 0;
        if (!quantity || quantity->attributeValue("unitCode").isEmpty() || !decimalOf(quantity->text, &q, &qs) ||
            !price || !decimalOf(price->text, &p, &ps) || (base && !decimalOf(base->text, &b, &bs))) {
            faults.append("line quantity or price unreadable");
            continue;
        }
        if (p < 0)
            faults.append("negative price " + price->text);
        // quantity × price ÷ base quantity = line amount, exactly
        const Wide lhs = q * p * tenTo(bs);
        const Wide rhs = static_cast<Wide>(amount) * b * tenTo(qs + ps);
        if (lhs != rhs)
            faults.append(QStringLiteral("line %1: %2 × %3 / %4 ≠ %5")
                              .arg(line->child("cbc:ID")->text, quantity->text, price->text,
                                   base ? base->text : QStringLiteral("1"), QString::number(amount)));
    }

    // The tax.
    const XmlElement *taxTotal = invoice.child("cac:TaxTotal");
    qint64 taxes = 0;
    QStringList seen;
    if (!taxTotal) {
        faults.append("no TaxTotal");
    } else {
        for (const XmlElement *subtotal : taxTotal->childrenNamed("cac:TaxSubtotal")) {
            const qint64 taxable = yenOf(subtotal->child("cbc:TaxableAmount"));
            const qint64 tax = yenOf(subtotal->child("cbc:TaxAmount"));
            const XmlElement *category = subtotal->child("cac:TaxCategory");
            const QString id = category ? category->child("cbc:ID")->text : QString();
            const int rate =
                category && category->child("cbc:Percent") ? category->child("cbc:Percent")->text.toInt() : -1;
            const QString key = id + "/" + QString::number(rate);
            if (seen.contains(key))
                faults.append("two subtotals for " + key);
            seen.append(key);
            if ((id == "S" && rate != 10) || (id == "AA" && rate != 8) || (id == "E" && rate != 0) ||
                !QStringList{"S", "AA", "E"}.contains(id))
                faults.append("category " + key);
            const Wide exact = static_cast<Wide>(taxable) * rate; // tax × 100 must lie within one yen of it
            const Wide off = static_cast<Wide>(tax) * 100 - exact;
            if (off >= 100 || off <= -100)
                faults.append(
                    QStringLiteral("%1: tax %2 is not %3 × %4 % rounded").arg(key).arg(tax).arg(taxable).arg(rate));
            if (linesByCategory.value(key) != taxable)
                faults.append(QStringLiteral("%1: lines add up to %2, taxable %3")
                                  .arg(key)
                                  .arg(linesByCategory.value(key))
                                  .arg(taxable));
            linesByCategory.remove(key);
            taxes += tax;
        }
        if (yenOf(taxTotal->child("cbc:TaxAmount")) != taxes)
            faults.append("TaxAmount is not the sum of the subtotals");
    }
    if (!linesByCategory.isEmpty())
        faults.append("lines of a category without subtotal");

    // The totals.
    const qint64 lineExtension = yenOf(invoice.find("cac:LegalMonetaryTotal/cbc:LineExtensionAmount"));
    const qint64 exclusive = yenOf(invoice.find("cac:LegalMonetaryTotal/cbc:TaxExclusiveAmount"));
    const qint64 inclusive = yenOf(invoice.find("cac:LegalMonetaryTotal/cbc:TaxInclusiveAmount"));
    const qint64 payable = yenOf(invoice.find("cac:LegalMonetaryTotal/cbc:PayableAmount"));
    if (lineExtension != lines)
        faults.append(QStringLiteral("LineExtensionAmount %1, lines %2").arg(lineExtension).arg(lines));
    if (exclusive != lineExtension)
        faults.append("TaxExclusiveAmount is not the lines' sum");
    if (inclusive != exclusive + taxes)
        faults.append("TaxInclusiveAmount is not TaxExclusive + tax");
    if (payable != inclusive)
        faults.append("PayableAmount is not TaxInclusive");
    return faults;
}

} // namespace seikyu::test
