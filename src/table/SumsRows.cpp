#include "table/SumsRows.h"

#include "table/Amounts.h"

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

std::optional<QList<SumsLine>> computeSums(const SumsInput &input)
{
    qint64 subtotal = 0;
    for (const qint64 price : input.prices) {
        const std::optional<qint64> sum = checkedAdd(subtotal, price);
        if (!sum)
            return std::nullopt;
        subtotal = *sum;
    }
    CellValue taxCell = SumsLabel::TaxIncluded;
    qint64 total = subtotal;
    if (input.addTax) {
        const std::optional<qint64> tax = consumptionTax(subtotal);
        const std::optional<qint64> withTax = tax ? checkedAdd(subtotal, *tax) : std::nullopt;
        if (!withTax)
            return std::nullopt;
        taxCell = QString::number(*tax);
        total = *withTax;
    }
    return QList<SumsLine>{
        {Blank, Blank},
        {SumsLabel::Subtotal, CellValue(subtotal)},
        {SumsLabel::Tax, taxCell},
        {SumsLabel::Total, CellValue(total)},
    };
}

bool isSumsRow(const RowCells &cells)
{
    if (!holdsText(cellOf(cells, Column::Date), Blank) || !holdsText(cellOf(cells, Column::Name), Blank))
        return false;
    // Files keep a unit price as its number only, so a saved sums row comes back with an empty one.
    const CellValue &unitPrice = cellOf(cells, Column::Solo);
    if (!holdsText(unitPrice, Blank) && !holdsText(unitPrice, QString()))
        return false;
    const QString label = quantityLabel(cells);
    return label == Blank || label == SumsLabel::Subtotal || label == SumsLabel::Tax || label == SumsLabel::Total;
}

bool isPayableRow(const RowCells &cells)
{
    return isSumsRow(cells) && quantityLabel(cells) == SumsLabel::Total;
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
