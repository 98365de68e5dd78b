#include "table/SumsRows.h"

#include "table/Amounts.h"

#include <QRegularExpression>

namespace seikyu {

namespace {

const QString Blank = QStringLiteral(" ");

bool holdsText(const CellValue &value, const QString &text)
{
    return cellIsText(value) && value.toString() == text;
}

QString quantityLabel(const RowCells &cells)
{
    const CellValue &much = cells[static_cast<std::size_t>(Column::Much)];
    return cellIsText(much) ? much.toString() : QString();
}

const CellValue &cellOf(const RowCells &cells, Column column)
{
    return cells[static_cast<std::size_t>(column)];
}

CellValue &cellOf(RowCells &cells, Column column)
{
    return cells[static_cast<std::size_t>(column)];
}

} // namespace

QString SumsLabel::baseAt(int ratePercent)
{
    return QStringLiteral("%1%対象").arg(ratePercent);
}

QString SumsLabel::taxAt(int ratePercent)
{
    return QStringLiteral("消費税(%1%)").arg(ratePercent);
}

QString SumsLabel::taxWithinAt(int ratePercent)
{
    return QStringLiteral("内消費税(%1%)").arg(ratePercent);
}

namespace {

/// What one rate contributes: its base and its tax.
struct RateSums
{
    int rate = 0; ///< 0 for the exempt rows
    qint64 base = 0;
    bool present = false;
};

} // namespace

int taxRateOf(TaxClass taxClass, int invoiceRate)
{
    switch (taxClass) {
    case TaxClass::Reduced:
        return ReducedRate;
    case TaxClass::Exempt:
        return 0;
    case TaxClass::Standard:
        break;
    }
    return invoiceRate;
}

std::optional<QList<SumsLine>> computeSums(const SumsInput &input)
{
    // The standard rate first, then the reduced one, then the rows outside every tax base.
    RateSums rates[] = {{StandardRate}, {ReducedRate}, {0}};
    qint64 subtotal = 0;
    for (const SumsItem &item : input.items) {
        const std::optional<qint64> sum = checkedAdd(subtotal, item.price);
        if (!sum)
            return std::nullopt;
        subtotal = *sum;
        const int rate = taxRateOf(item.taxClass, input.rate);
        for (RateSums &r : rates) {
            if (r.rate != rate)
                continue;
            r.base += item.price; // no overflow: |each base| ≤ the sum of all |prices| checked above
            r.present = true;
        }
    }
    int present = 0;
    for (const RateSums &r : rates)
        present += r.present ? 1 : 0;

    QList<SumsLine> lines{{Blank, Blank}};
    qint64 total = subtotal;
    if (!input.qualified && present <= 1) {
        // One rate: the four rows invoices have always had.
        lines.append({SumsLabel::Subtotal, CellValue(subtotal)});
        if (input.addTax) {
            int rate = input.rate;
            for (const RateSums &r : rates)
                rate = r.present ? r.rate : rate;
            const std::optional<qint64> tax = taxOn(subtotal, rate, input.rounding);
            const std::optional<qint64> withTax = tax ? checkedAdd(subtotal, *tax) : std::nullopt;
            if (!withTax)
                return std::nullopt;
            lines.append({SumsLabel::Tax, QString::number(*tax)});
            total = *withTax;
        } else {
            lines.append({SumsLabel::Tax, SumsLabel::TaxIncluded});
        }
    } else {
        for (const RateSums &r : rates) {
            if (!r.present)
                continue;
            if (r.rate == 0) {
                lines.append({SumsLabel::Exempt, CellValue(r.base)});
                continue;
            }
            lines.append({SumsLabel::baseAt(r.rate), CellValue(r.base)});
            const std::optional<qint64> tax =
                input.addTax ? taxOn(r.base, r.rate, input.rounding) : taxWithin(r.base, r.rate, input.rounding);
            if (!tax)
                return std::nullopt;
            lines.append({input.addTax ? SumsLabel::taxAt(r.rate) : SumsLabel::taxWithinAt(r.rate), CellValue(*tax)});
            if (input.addTax) {
                const std::optional<qint64> withTax = checkedAdd(total, *tax);
                if (!withTax)
                    return std::nullopt;
                total = *withTax;
            }
        }
    }
    lines.append({SumsLabel::Total, CellValue(total)});
    if (input.withholding) {
        // Withheld from the fee before consumption tax; with tax-inclusive prices, from the whole.
        const qint64 withheld = withholdingTax(subtotal);
        const std::optional<qint64> payable = checkedAdd(total, -withheld);
        if (!payable)
            return std::nullopt;
        lines.append({SumsLabel::Withholding, CellValue(-withheld)});
        lines.append({SumsLabel::Payable, CellValue(*payable)});
    }
    return lines;
}

bool isSumsRow(const RowCells &cells)
{
    if (!holdsText(cellOf(cells, Column::Date), Blank) || !holdsText(cellOf(cells, Column::Name), Blank))
        return false;
    // Files keep a unit price as its number only, so a saved sums row comes back with an empty one.
    const CellValue &unitPrice = cellOf(cells, Column::Solo);
    if (!holdsText(unitPrice, Blank) && !holdsText(unitPrice, QString()))
        return false;
    static const QRegularExpression rateLabel(QStringLiteral("^(\\d{1,2}%対象|(内)?消費税\\(\\d{1,2}%\\))$"));
    const QString label = quantityLabel(cells);
    return label == Blank || label == SumsLabel::Subtotal || label == SumsLabel::Tax || label == SumsLabel::Total ||
           label == SumsLabel::Exempt || label == SumsLabel::Withholding || label == SumsLabel::Payable ||
           rateLabel.match(label).hasMatch();
}

bool isPayableRow(const RowCells &cells)
{
    const QString label = quantityLabel(cells);
    return (label == SumsLabel::Total || label == SumsLabel::Payable) && isSumsRow(cells);
}

QList<RowRange> sumsBlocks(const QList<RowPtr> &rows)
{
    QList<RowRange> blocks;
    const int count = static_cast<int>(rows.size());
    int i = 1; // the header row is never part of the sums
    while (i < count) {
        if (!isSumsRow(rows.at(i)->cells())) {
            ++i;
            continue;
        }
        RowRange run{i, i};
        bool payable = false;
        while (run.last + 1 < count && isSumsRow(rows.at(run.last + 1)->cells()))
            ++run.last;
        for (int j = run.first; j <= run.last; ++j)
            payable = payable || isPayableRow(rows.at(j)->cells());
        if (payable)
            blocks.append(run);
        i = run.last + 1;
    }
    return blocks;
}

std::optional<RowRange> trailingSums(const QList<RowPtr> &rows)
{
    if (rows.size() < 2 || !isPayableRow(rows.last()->cells()))
        return std::nullopt;
    RowRange run{static_cast<int>(rows.size()) - 1, static_cast<int>(rows.size()) - 1};
    while (run.first > 1 && isSumsRow(rows.at(run.first - 1)->cells()))
        --run.first;
    return run;
}

int payableRowIndex(const QList<RowPtr> &rows)
{
    const std::optional<RowRange> sums = trailingSums(rows);
    if (!sums)
        return -1;
    for (int i = sums->last; i >= sums->first; --i) {
        if (isPayableRow(rows.at(i)->cells()))
            return i;
    }
    return -1;
}

QList<bool> itemRowMask(const QList<RowPtr> &rows)
{
    QList<bool> items(rows.size(), true);
    for (qsizetype i = 0; i < rows.size(); ++i)
        items[i] = !rows.at(i)->isHeader();
    for (const RowRange &block : sumsBlocks(rows)) {
        for (int i = block.first; i <= block.last; ++i)
            items[i] = false;
    }
    return items;
}

std::optional<RowCells> pricedRow(const RowCells &cells)
{
    const CellValue &much = cellOf(cells, Column::Much);
    // The quantity must start with its number: "2個" prices a row, "個2" does not.
    if (leadingNumber(much).isZero())
        return std::nullopt;
    const CellNumber unitPrice = readNumber(cellOf(cells, Column::Solo));
    const CellNumber quantity = readNumber(much);
    if (unitPrice.isZero() || quantity.isZero())
        return std::nullopt;
    const std::optional<qint64> price = priceOf(unitPrice, quantity);
    if (!price)
        return std::nullopt; // beyond what an amount can hold: leave the row as typed
    RowCells priced = cells;
    cellOf(priced, Column::Solo) = markNumber(unitPrice);
    // A quantity of hours or days keeps its fraction as typed; only a whole one becomes a number.
    if (quantity.isWhole())
        cellOf(priced, Column::Much) = CellValue(quantity.negative ? -quantity.whole : quantity.whole);
    cellOf(priced, Column::Sums) = mark(*price);
    return priced;
}

RowCells countedItem(const RowCells &cells)
{
    if (amountOf(cellOf(cells, Column::Sums)) != 0)
        return cells; // a price worked out or typed stays as it is
    return pricedRow(cells).value_or(cells);
}

RowCells formattedAmounts(const RowCells &cells)
{
    RowCells formatted = cells;
    const CellNumber unitPrice = readNumber(cellOf(cells, Column::Solo));
    if (!unitPrice.isZero())
        cellOf(formatted, Column::Solo) = markNumber(unitPrice);
    const qint64 price = amountOf(cellOf(cells, Column::Sums));
    if (price != 0)
        cellOf(formatted, Column::Sums) = mark(price);
    return formatted;
}

RowCells plainAmounts(const RowCells &cells)
{
    RowCells plain = cells;
    for (Column column : {Column::Solo, Column::Sums}) {
        // Texts without an amount ("税込済み", the blank row's " ") stay as they are.
        const QString number = spot(cellOf(cells, column));
        if (!number.isEmpty())
            cellOf(plain, column) = number;
    }
    return plain;
}

} // namespace seikyu
