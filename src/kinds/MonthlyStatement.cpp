#include "kinds/MonthlyStatement.h"

#include "table/SumsRows.h"

#include <QCoreApplication>
#include <limits>
#include <memory>

namespace seikyu {

namespace {

QString statementText(const char *text)
{
    return QCoreApplication::translate("MonthlyStatement", text);
}

} // namespace

Result<StatementSums> statementSums(qint64 previous, qint64 paid, const QList<Invoice> &slips, TaxRounding rounding)
{
    // The period as one invoice of every slip's items: its sums are the statement's.
    Invoice period;
    period.taxRate = StandardRate;
    period.taxOnTop = slips.isEmpty() || slips.constFirst().taxOnTop;
    for (const Invoice &slip : slips) {
        if (slip.taxOnTop != period.taxOnTop)
            return Fault(FaultKind::Refused,
                         statementText(QT_TRANSLATE_NOOP("MonthlyStatement",
                                                         "Some of the period's delivery slips have prices that "
                                                         "include their tax and some do not: they cannot be "
                                                         "billed on one statement.")));
        QList<RowPtr> rows{ItemRow::makeHeader()};
        for (const ItemRow &row : slip.rows)
            rows.append(std::make_shared<ItemRow>(row));
        const QList<bool> items = itemRowMask(rows);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (items.at(i))
                period.rows.append(*rows.at(i));
        }
    }
    const Fault tooLarge(FaultKind::Refused, statementText(QT_TRANSLATE_NOOP(
                                                 "MonthlyStatement", "The statement's amounts are too large.")));
    const std::optional<InvoiceSums> sums = sumsOf(period, rounding);
    if (!sums)
        return tooLarge;

    StatementSums statement;
    statement.previous = previous;
    statement.paid = paid;
    statement.rates = sums->rates;
    qint64 subtotals = 0;
    for (const RateSum &rate : sums->rates) {
        const std::optional<qint64> withSubtotal = checkedAdd(subtotals, rate.subtotal);
        const std::optional<qint64> withTax = checkedAdd(statement.tax, rate.tax);
        if (!withSubtotal || !withTax)
            return tooLarge;
        subtotals = *withSubtotal;
        statement.tax = *withTax;
    }
    // Prices that include their tax count it in their subtotals; the purchases are without it.
    statement.purchases = period.taxOnTop ? subtotals : subtotals - statement.tax;
    if (paid == std::numeric_limits<qint64>::min())
        return tooLarge;
    const std::optional<qint64> carried = checkedAdd(previous, -paid);
    const std::optional<qint64> owed = carried ? checkedAdd(*carried, statement.purchases) : std::nullopt;
    const std::optional<qint64> billed = owed ? checkedAdd(*owed, statement.tax) : std::nullopt;
    if (!billed)
        return tooLarge;
    statement.carried = *carried;
    statement.billed = *billed;
    return statement;
}

} // namespace seikyu
