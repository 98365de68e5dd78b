#include "invoice/InvoiceSums.h"

#include "table/SumsRows.h"

#include <memory>

namespace seikyu {

std::optional<InvoiceSums> sumsOf(const Invoice &invoice, TaxRounding rounding)
{
    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const ItemRow &row : invoice.rows)
        rows.append(std::make_shared<ItemRow>(row));
    const QList<bool> items = itemRowMask(rows);
    SumsInput input;
    input.rate = invoice.taxRate;
    input.addTax = invoice.taxOnTop;
    input.rounding = rounding;
    input.qualified = true;
    input.withholding = invoice.withholding;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!items.at(i))
            continue;
        const RowCells counted = countedItem(rows.at(i)->cells());
        input.items.append({amountOf(counted[static_cast<std::size_t>(Column::Sums)]), rows.at(i)->taxClass()});
    }
    const std::optional<QList<SumsLine>> lines = computeSums(input);
    if (!lines)
        return std::nullopt;

    // The sums rows of a qualified invoice state each figure once, each rate's tax right after its base.
    InvoiceSums sums;
    sums.taxIncluded = !invoice.taxOnTop;
    for (const SumsLine &line : *lines) {
        const qint64 value = line.value.toLongLong();
        if (line.label == SumsLabel::Exempt) {
            sums.rates.append({0, value, 0});
        } else if (line.label == SumsLabel::Total) {
            sums.total = value;
            sums.payable = value;
        } else if (line.label == SumsLabel::Withholding) {
            sums.withheld = -value;
        } else if (line.label == SumsLabel::Payable) {
            sums.payable = value;
        } else {
            for (const int rate : {StandardRate, ReducedRate}) {
                if (line.label == SumsLabel::baseAt(rate))
                    sums.rates.append({rate, value, 0});
                else if (line.label == SumsLabel::taxAt(rate) || line.label == SumsLabel::taxWithinAt(rate))
                    sums.rates.last().tax = value;
            }
        }
    }
    return sums;
}

} // namespace seikyu
