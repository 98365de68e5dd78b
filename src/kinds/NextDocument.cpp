#include "kinds/NextDocument.h"

#include "invoice/InvoiceModel.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "kinds/KindWords.h"
#include "sections/DateText.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QSet>

namespace seikyu {

Invoice nextDocument(const Invoice &source, DocumentKind target, const QDate &date)
{
    Invoice next = source;
    next.kind = target;
    next.title = kindWords(target).title;
    next.date = date;
    next.number.clear();
    next.dueDate = QDate();
    next.paper = target == DocumentKind::Receipt;
    next.statement.reset(); // what follows a statement bills nothing of the month again
    next.payment = 0;
    next.amountsHidden = false; // the slip's prices are what the next document bills
    const QString sourceTitle = source.title.value_or(kindWords(source.kind).title).simplified();
    next.madeFrom = source.number.isEmpty() ? QStringLiteral("%1 %2").arg(sourceTitle, fileDateText(source.date))
                                            : QStringLiteral("%1 No. %2").arg(sourceTitle, source.number);
    if (target == DocumentKind::Receipt)
        next.remarks = source.number.isEmpty()
                           ? QStringLiteral("%1の代金として").arg(sourceTitle)
                           : QStringLiteral("%1 No. %2 の代金として").arg(sourceTitle, source.number);
    return next;
}

std::optional<Invoice> partPaymentReceipt(const Invoice &invoice, qint64 received, const QDate &paidOn)
{
    if (received <= 0 || invoice.withholding)
        return std::nullopt;
    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const ItemRow &row : invoice.rows)
        rows.append(std::make_shared<ItemRow>(row));
    const QList<bool> items = itemRowMask(rows);
    QSet<int> rates;
    std::optional<TaxClass> taxClass;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!items.at(i) || amountOf(rows.at(i)->value(Column::Sums)) == 0)
            continue;
        rates.insert(taxRateOf(rows.at(i)->taxClass(), invoice.taxRate));
        taxClass = rows.at(i)->taxClass();
    }
    if (rates.size() != 1)
        return std::nullopt;

    Invoice receipt = nextDocument(invoice, DocumentKind::Receipt, paidOn);
    const QString what = receipt.remarks.chopped(QStringLiteral("として").size());
    receipt.remarks = what + QStringLiteral("の一部として");
    auto line =
        std::make_shared<ItemRow>(rowDateText(paidOn), what + QStringLiteral("の一部"), received, qint64(1), received);
    line->setTaxClass(*taxClass);
    // The amount received holds its tax; summed as Add Sum sums any table, so the receipt states it.
    InvoiceModel model;
    model.setIssuer(receipt.issuer.value_or(QString()));
    model.setTaxOnTop(false);
    model.setTaxRate(receipt.taxRate);
    model.table()->setRows({ItemRow::makeHeader(), line});
    if (!model.appendSumsRows())
        return std::nullopt;
    receipt.rows = model.invoice().rows;
    receipt.taxOnTop = false;
    receipt.amountBox = emptyAmountBoxText() + mark(received);
    return receipt;
}

} // namespace seikyu
