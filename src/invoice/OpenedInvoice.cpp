#include "invoice/OpenedInvoice.h"

#include "table/Amounts.h"
#include "table/SumsRows.h"

namespace seikyu {

QString emptyAmountBoxText()
{
    return QStringLiteral("\u0008御請求金額\n");
}

bool setUnitPriceBesideCurrency(ItemRow &row)
{
    const CellValue &price = row.value(Column::Sums);
    if (row.isHeader() || !cellIsText(price) || amountOf(price) == 0 || spot(price) == price.toString())
        return false;
    const CellNumber unitPrice = readNumber(row.value(Column::Solo));
    if (unitPrice.isZero())
        return false;
    row.setValue(Column::Solo, markNumber(unitPrice));
    return true;
}

Invoice openedInvoice(Invoice file, const PageDefaults &defaults)
{
    if (!file.title)
        file.title = defaults.title;
    if (!file.customer) {
        file.customer = defaults.customer.value_or(QString());
        if (!defaults.customer)
            file.honorificShown.clear(); // no name, so nothing to address
    }
    if (!file.issuer)
        file.issuer = defaults.issuer;
    if (!file.amountBox)
        file.amountBox = emptyAmountBoxText();
    if (!file.date.isValid())
        file.date = defaults.today;
    file.taxRate = file.taxRate == StandardRate ? StandardRate : ReducedRate;
    for (ItemRow &row : file.rows)
        setUnitPriceBesideCurrency(row);
    return file;
}

} // namespace seikyu
