#include "kinds/MonthlyStatement.h"

#include "invoice/InvoiceModel.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "kinds/KindWords.h"
#include "sections/DateText.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "table/TaxPreferences.h"

#include <QCoreApplication>
#include <limits>
#include <memory>

namespace seikyu {

namespace {

QString statementText(const char *text)
{
    return QCoreApplication::translate("MonthlyStatement", text);
}

Fault tooLarge()
{
    return Fault(FaultKind::Refused,
                 statementText(QT_TRANSLATE_NOOP("MonthlyStatement", "The statement's amounts are too large.")));
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
    const std::optional<InvoiceSums> sums = sumsOf(period, rounding);
    if (!sums)
        return tooLarge();

    StatementSums statement;
    statement.previous = previous;
    statement.paid = paid;
    statement.rates = sums->rates;
    qint64 subtotals = 0;
    for (const RateSum &rate : sums->rates) {
        const std::optional<qint64> withSubtotal = checkedAdd(subtotals, rate.subtotal);
        const std::optional<qint64> withTax = checkedAdd(statement.tax, rate.tax);
        if (!withSubtotal || !withTax)
            return tooLarge();
        subtotals = *withSubtotal;
        statement.tax = *withTax;
    }
    // Prices that include their tax count it in their subtotals; the purchases are without it.
    statement.purchases = period.taxOnTop ? subtotals : subtotals - statement.tax;
    if (paid == std::numeric_limits<qint64>::min())
        return tooLarge();
    const std::optional<qint64> carried = checkedAdd(previous, -paid);
    const std::optional<qint64> owed = carried ? checkedAdd(*carried, statement.purchases) : std::nullopt;
    const std::optional<qint64> billed = owed ? checkedAdd(*owed, statement.tax) : std::nullopt;
    if (!billed)
        return tooLarge();
    statement.carried = *carried;
    statement.billed = *billed;
    return statement;
}

QString statementRemarks(const StatementSums &sums, const StatementFacts &facts)
{
    const auto yen = [](qint64 amount) { return mark(amount, QStringLiteral("ja_JP")); };
    return QStringLiteral("前回御請求額 %1　御入金額 %2　繰越金額 %3\n今回御買上額 %4　消費税額 %5　今回御請求額 %6\n"
                          "対象期間 %7〜%8")
        .arg(yen(sums.previous), yen(sums.paid), yen(sums.carried), yen(sums.purchases), yen(sums.tax),
             yen(sums.billed), westernDateText(facts.from), westernDateText(facts.to));
}

Result<Invoice> monthlyInvoice(const Invoice &base, const StatementFacts &facts, const QList<StatementSlip> &slips,
                               const QDate &due)
{
    QList<Invoice> period;
    for (const StatementSlip &slip : slips)
        period.append(slip.slip);
    const TaxRounding rounding = TaxPreferences::load().rounding;
    const Result<StatementSums> sums = statementSums(facts.previous, facts.paid, period, rounding);
    if (!sums)
        return sums.fault();

    Invoice statement = base;
    statement.kind = DocumentKind::Invoice;
    statement.title = kindWords(DocumentKind::Invoice).title;
    statement.date = facts.to;
    statement.dueDate = due;
    statement.number.clear();
    statement.paper = false;
    // Nothing of the slip it is set from but its addresses: not its hidden prices, the document it
    // was made from or a payment its receipt would name.
    statement.amountsHidden = false;
    statement.madeFrom.clear();
    statement.payment = 0;
    statement.withholding = false;
    statement.taxRate = StandardRate;
    statement.taxOnTop = period.isEmpty() || period.constFirst().taxOnTop;
    statement.statement = facts;
    statement.remarks = statementRemarks(*sums, facts);

    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const StatementSlip &slip : slips) {
        if (slip.itemised)
            rows.append(std::make_shared<ItemRow>(rowDateText(slip.slip.date),
                                                  QStringLiteral("納品書 No. %1").arg(slip.slip.number), CellValue(),
                                                  CellValue(), CellValue()));
        QList<RowPtr> own{ItemRow::makeHeader()};
        for (const ItemRow &row : slip.slip.rows)
            own.append(std::make_shared<ItemRow>(row));
        const QList<bool> items = itemRowMask(own);
        for (qsizetype i = 0; i < own.size(); ++i) {
            if (items.at(i))
                rows.append(own.at(i));
        }
    }
    // Summed as Add Sum sums a table, so that the statement totals as any invoice the user totals.
    InvoiceModel model;
    model.setIssuer(statement.issuer.value_or(QString()));
    model.setTaxOnTop(statement.taxOnTop);
    model.setTaxRate(statement.taxRate);
    model.table()->setRows(rows);
    if (!model.appendSumsRows())
        return tooLarge();
    statement.rows = model.invoice().rows;
    statement.amountBox = emptyAmountBoxText() + mark(sums->billed);
    return statement;
}

} // namespace seikyu
