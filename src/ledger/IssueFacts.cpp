#include "ledger/IssueFacts.h"

#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QRegularExpression>

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
bool readSums(const InvoicePage &page, LedgerEntry &entry)
{
    qsizetype first = page.rows.size();
    while (first > 0 && isSumsRow(page.rows.at(first - 1).cells()))
        --first;
    bool payableFound = false;
    std::optional<qint64> subtotal;
    static const QRegularExpression baseLabel(QStringLiteral("^(\\d{1,2})%対象$"));
    static const QRegularExpression taxLabel(QStringLiteral("^(内)?消費税\\((\\d{1,2})%\\)$"));
    for (qsizetype i = first; i < page.rows.size(); ++i) {
        const ItemRow &row = page.rows.at(i);
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
            TaxLine &line = lineAt(entry.taxes, page.rate);
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

} // namespace

LedgerEntry issueEntryOf(const InvoicePage &page)
{
    LedgerEntry entry;
    entry.kind = EntryKind::Issue;
    entry.title = page.head.trimmed();
    entry.number = page.numb.trimmed();
    entry.invoiceDate = page.date;
    entry.customer = customerName(page.whomText, page.whomHonorific).trimmed();
    entry.honorific = page.whomHonorific.trimmed();
    entry.registrationNumber = registrationNumberOf(page.from);
    entry.dueDate = page.dues;
    const bool summed = readSums(page, entry);
    if (!summed) {
        entry.taxes.clear();
        entry.withholding = 0;
    }
    // The amount is what the page bills: the amount box as printed, whatever the table's sums say
    // (差引請求額 when it was filled in from a table that withholds). A box Seikyu filled starts
    // with its heading (marked by U+0008) and has the amount on the line below; the table's payable
    // amount counts only when the box holds none, or a text of an older invoice's own.
    const bool boxFilled = page.full.startsWith(QChar(0x0008)) && page.full.contains(QLatin1Char('\n'));
    const QString boxAmount = boxFilled ? page.full.section(QLatin1Char('\n'), 1) : QString();
    if (readNumber(boxAmount).hasDigits)
        entry.amount = amountOf(boxAmount);
    else if (!summed)
        entry.amount = amountOf(page.full);
    return entry;
}

InvoicePage issuedPageOf(const InvoiceContents &contents, const QDate &today)
{
    static const QString honorifics[HonorificCount] = {QStringLiteral("御中"), QStringLiteral("様")};
    InvoicePage page;
    page.head = contents.head.value_or(QString());
    page.date = contents.date.value_or(today);
    page.whomText = contents.whom.value_or(QString());
    if (contents.tail >= 0 && contents.tail < HonorificCount)
        page.whomHonorific = honorifics[contents.tail];
    page.from = contents.from.value_or(QString());
    page.full = contents.full.value_or(QString());
    page.rows = contents.rows;
    page.rate = contents.rate;
    page.hold = contents.hold;
    page.numb = contents.numb;
    page.dues = contents.dues;
    page.note = contents.note;
    page.peer = contents.peer;
    return page;
}

} // namespace seikyu
