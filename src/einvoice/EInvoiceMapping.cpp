#include "einvoice/EInvoiceMapping.h"

#include "einvoice/BankAccount.h"
#include "einvoice/InvoicePeriod.h"
#include "einvoice/PeppolId.h"
#include "einvoice/TaxExclusiveLines.h"
#include "einvoice/UblValidation.h"
#include "einvoice/UnitCodes.h"
#include "einvoice/XmlCarriable.h"
#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QCoreApplication>
#include <algorithm>
#include <memory>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "EInvoiceMapping", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(EInvoiceMapping)
};

__extension__ typedef __int128 Wide;

const QString InvoiceNamespace = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:Invoice-2");
const QString CacNamespace = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2");
const QString CbcNamespace = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2");
const QString Yen = QStringLiteral("JPY");
const QString Vat = QStringLiteral("VAT");
/// The amount box's heading, as invoices store it (a box that took the table's total follows it with the amount).
const QString AmountBoxHeading = QStringLiteral("\u0008御請求金額\n");
/// The issuer block's lines: postal code, address, name, telephone, bank account.
enum IssuerLine { PostalCode = 0, Address, Name, Telephone, Bank };

const CellValue &cellOf(const ItemRow &row, Column column)
{
    return row.value(column);
}

QString cellText(const CellValue &value)
{
    if (cellIsInteger(value))
        return QString::number(value.toLongLong());
    return cellIsText(value) ? value.toString().trimmed() : QString();
}

/// A row's price as the totals count it: its price cell, or unit price × quantity when only those were typed.
qint64 itemPrice(const ItemRow &row)
{
    const qint64 price = amountOf(cellOf(row, Column::Sums));
    if (price != 0)
        return price;
    const std::optional<RowCells> priced = pricedRow(row.cells());
    return priced ? amountOf((*priced)[static_cast<std::size_t>(Column::Sums)]) : 0;
}

QString categoryOf(int rate)
{
    if (rate == 0)
        return QStringLiteral("E");
    return rate == StandardRate ? QStringLiteral("S") : QStringLiteral("AA");
}

QString yen(qint64 amount)
{
    return QString::number(amount);
}

/// A positive decimal as UBL writes it: digits, and a fraction only when it is not zero.
QString decimalText(const CellNumber &number)
{
    QString fraction = number.fraction;
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return QString::number(number.whole) + (fraction.isEmpty() ? QString() : u'.' + fraction);
}

/// The number as an integer count of 10^-scale; nothing beyond the wide range.
std::optional<Wide> scaled(const CellNumber &number, int *scale)
{
    const QString fraction = number.fraction.left(9);
    *scale = static_cast<int>(fraction.size());
    Wide value = number.whole;
    for (const QChar c : fraction)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

Wide powerOfTen(int exponent)
{
    Wide power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

/// Whether unit price × quantity is the amount exactly, with no rounding to the yen.
bool multipliesExactly(const CellNumber &unitPrice, const CellNumber &quantity, qint64 amount)
{
    int unitScale = 0;
    int quantityScale = 0;
    const std::optional<Wide> unit = scaled(unitPrice, &unitScale);
    const std::optional<Wide> much = scaled(quantity, &quantityScale);
    Wide product = 0;
    if (!unit || !much || __builtin_mul_overflow(*unit, *much, &product))
        return false;
    Wide target = 0;
    const Wide magnitude = amount < 0 ? -static_cast<Wide>(amount) : static_cast<Wide>(amount);
    if (__builtin_mul_overflow(magnitude, powerOfTen(unitScale + quantityScale), &target))
        return false;
    return product == target;
}

bool isOne(const CellNumber &number)
{
    return number.whole == 1 && number.isWhole();
}

/// An item row on its way to an invoice line.
struct LineSource
{
    int row = 0; ///< the row's number in the table, counting the first item row as 1
    QString name;
    int rate = 0;
    qint64 price = 0;    ///< as the page shows it
    CellNumber quantity; ///< magnitude; 1 when the row gives none
    QString unit;
    CellNumber unitPrice; ///< magnitude; no digits when the row gives none
};

/// The page's money, read off the sums rows that the totals wrote.
struct PageSums
{
    qint64 baseAt[3] = {0, 0, 0}; ///< by RateSlot
    qint64 taxAt[3] = {0, 0, 0};
    bool present[3] = {false, false, false};
    qint64 total = 0;
    qint64 withheld = 0; ///< positive: what is withheld
    qint64 payable = 0;
};
enum RateSlot { StandardSlot = 0, ReducedSlot, ExemptSlot };
constexpr int SlotRates[] = {StandardRate, ReducedRate, 0};

int slotOf(int rate)
{
    return rate == StandardRate ? StandardSlot : rate == ReducedRate ? ReducedSlot : ExemptSlot;
}

QString quantityLabel(const ItemRow &row)
{
    const CellValue &much = cellOf(row, Column::Much);
    return cellIsText(much) ? much.toString() : QString();
}

/// The sums the totals make of the items, in the rounding that gives exactly the rows the table
/// ends with; nothing when no rounding does (the items changed after their sums were added).
std::optional<QList<SumsLine>> sumsAsShown(SumsInput input, const QList<RowPtr> &rows, const RowRange &shown)
{
    for (const TaxRounding rounding : {TaxRounding::HalfAwayFromZero, TaxRounding::Down, TaxRounding::Up}) {
        input.rounding = rounding;
        const std::optional<QList<SumsLine>> lines = computeSums(input);
        if (!lines || lines->size() != shown.size())
            continue;
        bool same = true;
        for (int i = 0; i < shown.size() && same; ++i) {
            const ItemRow &row = *rows.at(shown.first + i);
            same = quantityLabel(row) == lines->at(i).label &&
                   amountOf(cellOf(row, Column::Sums)) == amountOf(lines->at(i).value);
        }
        if (same)
            return lines;
    }
    return std::nullopt;
}

PageSums readSums(const QList<SumsLine> &lines)
{
    PageSums sums;
    for (const SumsLine &line : lines) {
        const qint64 value = amountOf(line.value);
        for (int slot : {StandardSlot, ReducedSlot}) {
            if (line.label == SumsLabel::baseAt(SlotRates[slot])) {
                sums.baseAt[slot] = value;
                sums.present[slot] = true;
            } else if (line.label == SumsLabel::taxAt(SlotRates[slot]) ||
                       line.label == SumsLabel::taxWithinAt(SlotRates[slot])) {
                sums.taxAt[slot] = value;
            }
        }
        if (line.label == SumsLabel::Exempt) {
            sums.baseAt[ExemptSlot] = value;
            sums.present[ExemptSlot] = true;
        } else if (line.label == SumsLabel::Total) {
            sums.total = value;
        } else if (line.label == SumsLabel::Withholding) {
            sums.withheld = -value;
        } else if (line.label == SumsLabel::Payable) {
            sums.payable = value;
        }
    }
    if (lines.isEmpty() || lines.last().label != SumsLabel::Payable)
        sums.payable = sums.total;
    return sums;
}

void addTaxCategory(XmlElement &parent, const QString &elementName, int rate)
{
    XmlElement &category = parent.add(elementName);
    category.add(QStringLiteral("cbc:ID"), categoryOf(rate));
    category.add(QStringLiteral("cbc:Percent"), QString::number(rate));
    if (rate == 0 && elementName == QStringLiteral("cac:TaxCategory"))
        category.add(QStringLiteral("cbc:TaxExemptionReason"), SumsLabel::Exempt);
    category.add(QStringLiteral("cac:TaxScheme")).add(QStringLiteral("cbc:ID"), Vat);
}

XmlElement &addAmount(XmlElement &parent, const QString &elementName, qint64 amount)
{
    return parent.add(elementName, yen(amount)).attribute(QStringLiteral("currencyID"), Yen);
}

QString postalCodeOf(const QString &line)
{
    QString code = line.normalized(QString::NormalizationForm_KC).trimmed();
    code.remove(u'〒');
    return code.trimmed();
}

/// Where a party is and whom to ask there; everything may be empty but the country.
struct PartyPlace
{
    QString postalCode;
    QStringList addressLines; ///< the first is the street, the second what follows it (the building)
    QString telephone;
    QString contactName; ///< the department and the person the invoice goes to
};

void addParty(XmlElement &role, const PeppolId &endpoint, const PartyPlace &place, const QString &taxNumber,
              const QString &name)
{
    XmlElement &party = role.add(QStringLiteral("cac:Party"));
    party.add(QStringLiteral("cbc:EndpointID"), endpoint.identifier)
        .attribute(QStringLiteral("schemeID"), endpoint.scheme);
    XmlElement &postal = party.add(QStringLiteral("cac:PostalAddress"));
    if (!place.addressLines.value(0).isEmpty())
        postal.add(QStringLiteral("cbc:StreetName"), place.addressLines.value(0));
    if (!place.addressLines.value(1).isEmpty())
        postal.add(QStringLiteral("cbc:AdditionalStreetName"), place.addressLines.value(1));
    if (!place.postalCode.isEmpty())
        postal.add(QStringLiteral("cbc:PostalZone"), place.postalCode);
    postal.add(QStringLiteral("cac:Country")).add(QStringLiteral("cbc:IdentificationCode"), QStringLiteral("JP"));
    if (!taxNumber.isEmpty()) {
        XmlElement &taxScheme = party.add(QStringLiteral("cac:PartyTaxScheme"));
        taxScheme.add(QStringLiteral("cbc:CompanyID"), taxNumber);
        taxScheme.add(QStringLiteral("cac:TaxScheme")).add(QStringLiteral("cbc:ID"), Vat);
    }
    party.add(QStringLiteral("cac:PartyLegalEntity")).add(QStringLiteral("cbc:RegistrationName"), name);
    if (!place.contactName.isEmpty() || !place.telephone.isEmpty()) {
        XmlElement &contact = party.add(QStringLiteral("cac:Contact"));
        if (!place.contactName.isEmpty())
            contact.add(QStringLiteral("cbc:Name"), place.contactName);
        if (!place.telephone.isEmpty())
            contact.add(QStringLiteral("cbc:Telephone"), place.telephone);
    }
}

/// The customer's place as the invoice file keeps it: address lines joined beyond the second.
PartyPlace customerPlace(const CustomerPostalAddress &address)
{
    PartyPlace place;
    place.postalCode = postalCodeOf(address.postalCode);
    QStringList lines;
    for (const QString &line : address.address.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    }
    if (lines.size() > 2)
        lines = {lines.front(), lines.mid(1).join(QLatin1Char(' '))};
    place.addressLines = lines;
    QStringList contact;
    for (const QString &part : {address.department.trimmed(), address.attention.trimmed()}) {
        if (!part.isEmpty())
            contact.append(part);
    }
    place.contactName = contact.join(QLatin1Char(' '));
    return place;
}

} // namespace

EInvoice mapEInvoice(const Invoice &invoice, const QDate &shownDate)
{
    EInvoice mapped;
    QStringList &refusals = mapped.refusals;
    // What XML cannot carry is refused rather than written malformed or altered.
    refusals.append(uncarriableInXml(invoice));

    // ---- the particulars that must be there ----
    const QString number = invoice.number.trimmed();
    if (number.isEmpty())
        refusals.append(Text::tr("The invoice has no invoice number. Give it one (click where the number goes)."));
    const QStringList issuer = invoice.issuer.value_or(QString()).split(QLatin1Char('\n'));
    const QString registration = registrationNumberOf(invoice.issuer.value_or(QString()));
    const QString sellerName = issuer.value(Name).trimmed();
    if (sellerName.isEmpty())
        refusals.append(Text::tr("Your details have no name."));
    if (registration.isEmpty())
        refusals.append(Text::tr("Your details have no registration number (登録番号): a JP PINT invoice is a "
                                 "qualified invoice. Add it to your details."));
    const QString buyerName = invoice.customer.value_or(QString()).trimmed();
    if (buyerName.isEmpty())
        refusals.append(Text::tr("The invoice has no customer."));
    const PeppolIdCheck peer = checkPeppolId(invoice.customerElectronicAddress);
    if (peer.state == PeppolIdCheck::State::Empty)
        refusals.append(Text::tr("The customer has no electronic address (Peppol ID): add it to the customer, "
                                 "0188 and the corporate number or 0221 and the registration number."));
    else if (peer.state != PeppolIdCheck::State::Valid)
        refusals.append(Text::tr("The customer's electronic address “%1” is not valid: %2")
                            .arg(invoice.customerElectronicAddress, peer.reason));

    // ---- the table and its sums, as the page shows them ----
    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const ItemRow &row : invoice.rows)
        rows.append(std::make_shared<ItemRow>(row));
    const std::optional<RowRange> shownSums = trailingSums(rows);
    std::optional<PageSums> sums;
    QList<LineSource> sources;
    QStringList headings; // rows that only name what follows (【2026年3月分】): said in the note
    if (!shownSums) {
        refusals.append(Text::tr("The item table does not end with a total. Add the sums to the table first (Add "
                                 "Sum)."));
    } else {
        const QList<bool> items = itemRowMask(rows);
        SumsInput input;
        input.rate = invoice.taxRate;
        input.addTax = invoice.taxOnTop;
        input.qualified = true;
        input.withholding = invoice.withholding;
        int itemNumber = 0;
        for (qsizetype i = 1; i < rows.size(); ++i) {
            if (!items.at(i))
                continue;
            ++itemNumber;
            const ItemRow &row = *rows.at(i);
            const qint64 price = itemPrice(row);
            input.items.append({price, row.taxClass()});
            LineSource source;
            source.row = itemNumber;
            source.name = cellText(cellOf(row, Column::Name));
            source.rate = taxRateOf(row.taxClass(), invoice.taxRate);
            source.price = price;
            const CellValue &much = cellOf(row, Column::Much);
            const CellNumber quantity = readNumber(much);
            if (quantity.hasDigits && !quantity.isZero()) {
                source.quantity = quantity;
                source.quantity.negative = false;
            } else {
                source.quantity.whole = 1;
                source.quantity.hasDigits = true;
            }
            source.unit = cellIsText(much) ? splitQuantity(much.toString()).unit : QString();
            source.unitPrice = readNumber(cellOf(row, Column::Solo));
            source.unitPrice.negative = false;
            if (source.name.isEmpty() && price == 0)
                continue; // a blank row between items
            if (price == 0 && !quantity.hasDigits && !source.unitPrice.hasDigits) {
                headings.append(source.name); // not a line of ¥0: nothing was supplied
                continue;
            }
            if (source.name.isEmpty()) {
                refusals.append(Text::tr("Item row %1 has a price but no name.").arg(itemNumber));
                continue;
            }
            if (row.taxClass() == TaxClass::Reduced && invoice.taxRate == StandardRate)
                source.name += QStringLiteral(" ※");
            sources.append(source);
        }
        if (const std::optional<QList<SumsLine>> lines = sumsAsShown(input, rows, *shownSums))
            sums = readSums(*lines);
        else
            refusals.append(Text::tr("The table's sums are not what its items add up to now, or do not state each "
                                     "rate's tax. Remove the sums and add them again (Add Sum)."));
        if (sources.isEmpty())
            refusals.append(Text::tr("The item table has no items."));
        const bool formerStandardRate = invoice.taxRate != StandardRate &&
                                        std::any_of(input.items.begin(), input.items.end(), [](const SumsItem &item) {
                                            return item.taxClass == TaxClass::Standard && item.price != 0;
                                        });
        if (formerStandardRate)
            refusals.append(Text::tr("The invoice is at the former standard rate of 8 %. JP PINT states 8 % only as "
                                     "the reduced rate (food and newspapers), so its rows would be stated as what "
                                     "they are not: set the rate to 10 % in the item table's panel, or mark the rows "
                                     "that are at the reduced rate (※)."));
        const QString box = invoice.amountBox.value_or(QString());
        if (sums && box.startsWith(AmountBoxHeading) && box.size() > AmountBoxHeading.size()) {
            // A statement's box bills the balance it carries too; the e-invoice bills the period's
            // total, as the carried balance is owed on the invoices that billed it.
            const qint64 shown = amountOf(box.mid(AmountBoxHeading.size()));
            if (checkedAdd(sums->payable, carriedBalanceOf(invoice)) != shown)
                refusals.append(
                    Text::tr("御請求金額 shows %1, but the table's total is %2. Update the invoice amount "
                             "first.")
                        .arg(mark(shown, QStringLiteral("ja_JP")), mark(sums->payable, QStringLiteral("ja_JP"))));
        }
    }
    const QString bank = issuer.value(Bank).trimmed();
    if (sums && sums->total > 0 && !invoice.dueDate.isValid() && bank.isEmpty())
        refusals.append(Text::tr("The invoice says neither when nor where to pay: give it a payment due date or "
                                 "a bank account in your details."));
    if (!refusals.isEmpty())
        return mapped;

    // ---- the lines, stated without tax ----
    QList<TaxedAmount> amounts;
    for (const LineSource &source : std::as_const(sources))
        amounts.append({source.price, source.rate});
    QList<qint64> contained;
    for (int slot : {StandardSlot, ReducedSlot, ExemptSlot})
        contained.append(invoice.taxOnTop ? 0 : sums->taxAt[slot]);
    const std::optional<QList<qint64>> nets = taxExclusiveAmounts(
        amounts, {{StandardRate, contained.at(StandardSlot)}, {ReducedRate, contained.at(ReducedSlot)}});
    if (!nets) {
        refusals.append(Text::tr("The amounts are too large to be stated without their tax."));
        return mapped;
    }

    qint64 lineTotal = 0;
    qint64 taxTotal = 0;
    qint64 taxableAt[3] = {0, 0, 0};
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const std::optional<qint64> sum = checkedAdd(lineTotal, nets->at(i));
        if (!sum) {
            refusals.append(Text::tr("The amounts are too large to be stated without their tax."));
            return mapped;
        }
        lineTotal = *sum;
        taxableAt[slotOf(sources.at(i).rate)] += nets->at(i);
    }
    for (int slot : {StandardSlot, ReducedSlot}) {
        taxTotal += sums->taxAt[slot];
        if (!sums->present[slot])
            continue;
        // JP PINT takes a rate's tax as its taxable amount × rate rounded either way. Prices that
        // include the tax, with 切り捨て or 切り上げ, can contain a tax a yen further off.
        const Wide off =
            static_cast<Wide>(sums->taxAt[slot]) * 100 - static_cast<Wide>(taxableAt[slot]) * SlotRates[slot];
        if (off >= 100 || off <= -100) {
            refusals.append(Text::tr("The %1 of %2 cannot be stated as JP PINT requires: the tax on %3, the "
                                     "price without it, does not round to it. Total the table again with the tax "
                                     "rounded half up (四捨五入, Preferences).")
                                .arg(SumsLabel::taxWithinAt(SlotRates[slot]) + QLatin1Char(' ') +
                                         mark(sums->taxAt[slot], QStringLiteral("ja_JP")),
                                     mark(sums->baseAt[slot], QStringLiteral("ja_JP")),
                                     mark(taxableAt[slot], QStringLiteral("ja_JP"))));
        }
    }
    if (!refusals.isEmpty())
        return mapped;
    const std::optional<qint64> inclusive = checkedAdd(lineTotal, taxTotal);
    if (!inclusive || *inclusive != sums->total) {
        // The page's own figures do not add up: nothing a buyer could book.
        refusals.append(Text::tr("The table's total %1 is not its items and their tax. Remove the sums and add "
                                 "them again (Add Sum).")
                            .arg(mark(sums->total, QStringLiteral("ja_JP"))));
        return mapped;
    }

    // ---- the document ----
    XmlElement &root = mapped.document;
    root.name = QStringLiteral("Invoice");
    root.attribute(QStringLiteral("xmlns"), InvoiceNamespace)
        .attribute(QStringLiteral("xmlns:cac"), CacNamespace)
        .attribute(QStringLiteral("xmlns:cbc"), CbcNamespace);
    root.add(QStringLiteral("cbc:CustomizationID"), JpPintCustomization);
    root.add(QStringLiteral("cbc:ProfileID"), JpPintProfile);
    root.add(QStringLiteral("cbc:ID"), number);
    const QDate issued = invoice.date.isValid() ? invoice.date : shownDate;
    root.add(QStringLiteral("cbc:IssueDate"), issued.toString(Qt::ISODate));
    if (invoice.dueDate.isValid())
        root.add(QStringLiteral("cbc:DueDate"), invoice.dueDate.toString(Qt::ISODate));
    root.add(QStringLiteral("cbc:InvoiceTypeCode"), QStringLiteral("380"));

    QStringList notes;
    if (!invoice.remarks.trimmed().isEmpty())
        notes.append(invoice.remarks.trimmed());
    notes.append(headings);
    const bool marksReduced = std::any_of(sources.begin(), sources.end(),
                                          [](const LineSource &s) { return s.name.endsWith(QStringLiteral(" ※")); });
    if (marksReduced)
        notes.append(QStringLiteral("※は軽減税率対象")); // the legend under the page's table
    if (invoice.withholding) {
        notes.append(QStringLiteral("%1 %2、%3 %4")
                         .arg(SumsLabel::Withholding, mark(-sums->withheld, QStringLiteral("ja_JP")),
                              SumsLabel::Payable, mark(sums->payable, QStringLiteral("ja_JP"))));
        mapped.warnings.append(
            Text::tr("JP PINT has no place for withheld income tax: the e-invoice asks for the total %1 and states "
                     "the withheld %2 and the %3 to be paid in its note.")
                .arg(mark(sums->total), mark(sums->withheld), mark(sums->payable)));
    }
    if (!notes.isEmpty())
        root.add(QStringLiteral("cbc:Note"), notes.join(QLatin1Char('\n')));
    root.add(QStringLiteral("cbc:DocumentCurrencyCode"), Yen);

    QList<QString> rowDates;
    for (const ItemRow &row : invoice.rows)
        rowDates.append(cellText(cellOf(row, Column::Date)));
    const DatePeriod period = invoicePeriod(rowDates, issued);
    XmlElement &periodElement = root.add(QStringLiteral("cac:InvoicePeriod"));
    periodElement.add(QStringLiteral("cbc:StartDate"), period.start.toString(Qt::ISODate));
    periodElement.add(QStringLiteral("cbc:EndDate"), period.end.toString(Qt::ISODate));

    PartyPlace seller;
    seller.postalCode = postalCodeOf(issuer.value(PostalCode));
    seller.addressLines = {issuer.value(Address).trimmed()};
    seller.telephone = issuer.value(Telephone).trimmed();
    addParty(root.add(QStringLiteral("cac:AccountingSupplierParty")),
             {QString::fromUtf16(RegistrationNumberScheme), registration}, seller, registration, sellerName);
    addParty(root.add(QStringLiteral("cac:AccountingCustomerParty")), peer.id, customerPlace(invoice.customerAddress),
             QString(), buyerName);

    // A bank line a program can read becomes a credit transfer to that account; the line itself
    // stays in the terms, as the page prints it.
    if (const std::optional<BankAccount> account = parseBankAccount(bank)) {
        XmlElement &means = root.add(QStringLiteral("cac:PaymentMeans"));
        means.add(QStringLiteral("cbc:PaymentMeansCode"), QStringLiteral("30"));
        XmlElement &payee = means.add(QStringLiteral("cac:PayeeFinancialAccount"));
        payee.add(QStringLiteral("cbc:ID"), account->number);
        if (!account->holder.isEmpty())
            payee.add(QStringLiteral("cbc:Name"), account->holder);
        if (!account->bankCode.isEmpty() && !account->branchCode.isEmpty())
            payee.add(QStringLiteral("cac:FinancialInstitutionBranch"))
                .add(QStringLiteral("cbc:ID"), account->bankCode + account->branchCode);
    }
    if (!bank.isEmpty())
        root.add(QStringLiteral("cac:PaymentTerms")).add(QStringLiteral("cbc:Note"), bank);

    XmlElement &taxes = root.add(QStringLiteral("cac:TaxTotal"));
    addAmount(taxes, QStringLiteral("cbc:TaxAmount"), taxTotal);
    for (int slot : {StandardSlot, ReducedSlot, ExemptSlot}) {
        if (!sums->present[slot])
            continue;
        XmlElement &subtotal = taxes.add(QStringLiteral("cac:TaxSubtotal"));
        addAmount(subtotal, QStringLiteral("cbc:TaxableAmount"), taxableAt[slot]);
        addAmount(subtotal, QStringLiteral("cbc:TaxAmount"), slot == ExemptSlot ? 0 : sums->taxAt[slot]);
        addTaxCategory(subtotal, QStringLiteral("cac:TaxCategory"), SlotRates[slot]);
    }

    XmlElement &totals = root.add(QStringLiteral("cac:LegalMonetaryTotal"));
    addAmount(totals, QStringLiteral("cbc:LineExtensionAmount"), lineTotal);
    addAmount(totals, QStringLiteral("cbc:TaxExclusiveAmount"), lineTotal);
    addAmount(totals, QStringLiteral("cbc:TaxInclusiveAmount"), sums->total);
    // The whole total: JP PINT knows no withholding, so what is withheld stays in the note.
    addAmount(totals, QStringLiteral("cbc:PayableAmount"), sums->total);

    for (qsizetype i = 0; i < sources.size(); ++i) {
        const LineSource &source = sources.at(i);
        const qint64 net = nets->at(i);
        const QString unitCode = unitCodeOf(source.unit);
        XmlElement &line = root.add(QStringLiteral("cac:InvoiceLine"));
        line.add(QStringLiteral("cbc:ID"), QString::number(i + 1));
        // A line that takes money off (a discount) is a negative quantity at a positive price.
        const QString quantity = (net < 0 ? QStringLiteral("-") : QString()) + decimalText(source.quantity);
        line.add(QStringLiteral("cbc:InvoicedQuantity"), quantity).attribute(QStringLiteral("unitCode"), unitCode);
        addAmount(line, QStringLiteral("cbc:LineExtensionAmount"), net);
        XmlElement &item = line.add(QStringLiteral("cac:Item"));
        item.add(QStringLiteral("cbc:Name"), source.name);
        addTaxCategory(item, QStringLiteral("cac:ClassifiedTaxCategory"), source.rate);
        XmlElement &price = line.add(QStringLiteral("cac:Price"));
        const bool unitPriceHolds = net == source.price && source.unitPrice.hasDigits && !source.unitPrice.isZero() &&
                                    multipliesExactly(source.unitPrice, source.quantity, net);
        if (unitPriceHolds) {
            price.add(QStringLiteral("cbc:PriceAmount"), decimalText(source.unitPrice))
                .attribute(QStringLiteral("currencyID"), Yen);
        } else {
            // The line's own amount for its whole quantity: quantity × price ÷ base quantity is the amount.
            price.add(QStringLiteral("cbc:PriceAmount"), yen(net < 0 ? -net : net))
                .attribute(QStringLiteral("currencyID"), Yen);
            if (!isOne(source.quantity))
                price.add(QStringLiteral("cbc:BaseQuantity"), decimalText(source.quantity))
                    .attribute(QStringLiteral("unitCode"), unitCode);
        }
    }
    // The last word is the schema's: nothing is written that a receiver's validator would refuse.
    if (const QStringList invalid = ublViolations(serializeXml(root)); !invalid.isEmpty())
        refusals.append(
            Text::tr("The e-invoice would not be valid UBL 2.1, so it is not written (%1).").arg(invalid.first()));
    return mapped;
}

QByteArray eInvoiceXml(const EInvoice &invoice)
{
    return invoice.ok() ? serializeXml(invoice.document) : QByteArray();
}

} // namespace seikyu
