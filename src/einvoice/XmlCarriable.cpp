#include "einvoice/XmlCarriable.h"

#include "invoice/InvoiceFile.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "EInvoiceMapping" with the mapping's refusals.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(EInvoiceMapping)
};

bool carriable(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
}

} // namespace

std::optional<qsizetype> firstUncarriableInXml(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!carriable(c.unicode()))
            return i;
    }
    return std::nullopt;
}

QStringList uncarriableInXml(const Invoice &invoice)
{
    QStringList refusals;
    auto check = [&refusals](const QString &member, QStringView text) {
        if (const auto at = firstUncarriableInXml(text)) {
            const QString code =
                QStringLiteral("U+%1").arg(uint(text[*at].unicode()), 4, 16, QLatin1Char('0')).toUpper();
            refusals.append(
                Text::tr("“%1” holds a character an e-invoice cannot carry (%2): remove it first.").arg(member, code));
        }
    };
    // The members the e-invoice states; the title and the amount box (whose first line is a
    // marker, U+0008) are not written into it.
    for (const auto &[member, text] : {std::pair{InvoiceFileKey::Customer, invoice.customer.value_or(QString())},
                                       {InvoiceFileKey::Issuer, invoice.issuer.value_or(QString())},
                                       {InvoiceFileKey::Number, invoice.number},
                                       {InvoiceFileKey::Remarks, invoice.remarks},
                                       {InvoiceFileKey::CustomerElectronicAddress, invoice.customerElectronicAddress}})
        check(member, text);
    for (qsizetype row = 0; row < invoice.rows.size(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            const CellValue &cell = invoice.rows[row].value(static_cast<Column>(column));
            if (cellIsText(cell))
                check(QStringLiteral("%1 %2 %3")
                          .arg(InvoiceFileKey::Rows)
                          .arg(row + 1)
                          .arg(columnKey(static_cast<Column>(column))),
                      cell.toString());
        }
    }
    for (const auto &[member, date] :
         {std::pair{InvoiceFileKey::Date, invoice.date}, {InvoiceFileKey::DueDate, invoice.dueDate}}) {
        if (date.isValid() && (date.year() < 1 || date.year() > 9999))
            refusals.append(Text::tr("“%1” is a date in the year %2: an e-invoice states years 0001 to 9999 only.")
                                .arg(member)
                                .arg(date.year()));
    }
    return refusals;
}

} // namespace seikyu
