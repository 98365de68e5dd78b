#include "ledger/IssueFacts.h"

#include "ledger/StatementPlan.h"
#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QRegularExpression>
#include <QtNumeric>

namespace seikyu {

namespace {

QString labelOf(const ItemRow &row)
{
    return row.value(Column::Much).toString();
}

TaxLine &lineAt(QList<TaxLine> &lines, int rate)
{
    for (TaxLine &line : lines) {
        if (line.rate == rate)
            return line;
    }
    lines.append(TaxLine{rate, 0, 0, false});
    return lines.last();
}

/// Reads the sums rows that end the table into the entry; false when the table has none.
bool readSums(const Invoice &invoice, LedgerEntry &entry)
{
    qsizetype first = invoice.rows.size();
    while (first > 0 && isSumsRow(invoice.rows.at(first - 1).cells()))
        --first;
    bool payableFound = false;
    std::optional<qint64> subtotal;
    static const QRegularExpression baseLabel(QStringLiteral("^(\\d{1,2})%対象$"));
    static const QRegularExpression taxLabel(QStringLiteral("^(内)?消費税\\((\\d{1,2})%\\)$"));
    for (qsizetype i = first; i < invoice.rows.size(); ++i) {
        const ItemRow &row = invoice.rows.at(i);
        const QString label = labelOf(row);
        const CellValue &value = row.value(Column::Sums);
        if (label == SumsLabel::Total) {
            entry.amount = amountOf(value);
            payableFound = true;
        } else if (label == SumsLabel::Payable) {
            entry.amount = amountOf(value);
            payableFound = true;
        } else if (label == SumsLabel::Withholding) {
            entry.withholding = -amountOf(value);
        } else if (label == SumsLabel::Subtotal) {
            subtotal = amountOf(value);
        } else if (label == SumsLabel::Tax && subtotal) {
            TaxLine &line = lineAt(entry.taxes, invoice.taxRate);
            line.base = *subtotal;
            line.included = value.toString() == SumsLabel::TaxIncluded;
            line.tax = line.included ? 0 : amountOf(value);
        } else if (label == SumsLabel::Exempt) {
            lineAt(entry.taxes, 0).base = amountOf(value);
        } else if (const QRegularExpressionMatch base = baseLabel.match(label); base.hasMatch()) {
            lineAt(entry.taxes, base.captured(1).toInt()).base = amountOf(value);
        } else if (const QRegularExpressionMatch tax = taxLabel.match(label); tax.hasMatch()) {
            TaxLine &line = lineAt(entry.taxes, tax.captured(2).toInt());
            line.tax = amountOf(value);
            line.included = !tax.captured(1).isEmpty();
        }
    }
    // With withholding, 合計 comes before 差引請求額: the payable amount is the last one read.
    return payableFound;
}

/// What the items' prices add up to as the page shows them. An invoice sent without sums and with
/// an empty amount box still bills its items: recorded at ¥0 it would be listed as paid.
qint64 shownPrices(const Invoice &invoice)
{
    qint64 total = 0;
    for (const ItemRow &row : invoice.rows) {
        if (isSumsRow(row.cells()))
            continue;
        // A damaged file's amounts past what 64 bits hold end the sum rather than wrap it round.
        qint64 next = 0;
        if (qAddOverflow(total, amountOf(row.value(Column::Sums)), &next))
            break;
        total = next;
    }
    return total;
}

} // namespace

LedgerEntry issueEntryOf(const Invoice &invoice)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Issue;
    entry.document = invoice.kind;
    entry.title = invoice.title.value_or(QString()).trimmed();
    entry.number = invoice.number.trimmed();
    entry.invoiceDate = invoice.date;
    entry.customer = invoice.customer.value_or(QString()).trimmed();
    entry.honorific = invoice.honorificShown.trimmed();
    entry.registrationNumber = registrationNumberOf(invoice.issuer.value_or(QString()));
    entry.dueDate = invoice.dueDate;
    if (invoice.statement)
        entry.note = statementNote(*invoice.statement);
    else if (!invoice.madeFrom.isEmpty())
        entry.note = madeFromNote(invoice.madeFrom);
    const bool summed = readSums(invoice, entry);
    if (!summed) {
        entry.taxes.clear();
        entry.withholding = 0;
    }
    // The amount is what the page bills: the amount box as printed, whatever the table's sums say
    // (差引請求額 when it was filled in from a table that withholds). A box Seikyu filled starts
    // with its heading (marked by U+0008) and has the amount on the line below; the table's payable
    // amount counts only when the box holds none, or a text of an older invoice's own.
    const QString box = invoice.amountBox.value_or(QString());
    const bool boxFilled = box.startsWith(QChar(0x0008)) && box.contains(QLatin1Char('\n'));
    const QString boxAmount = boxFilled ? box.section(QLatin1Char('\n'), 1) : QString();
    if (readNumber(boxAmount).hasDigits)
        // A month's statement owes the period's total: the balance it carries is owed on the
        // invoices that billed it.
        entry.amount = checkedAdd(amountOf(boxAmount), -carriedBalanceOf(invoice)).value_or(amountOf(boxAmount));
    else if (!summed && readNumber(box).hasDigits)
        entry.amount = amountOf(box);
    else if (!summed)
        entry.amount = shownPrices(invoice);
    return entry;
}

} // namespace seikyu
