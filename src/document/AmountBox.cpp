// The invoice amount box: the table's total under the heading 御請求金額.
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "document/NoticePanel.h"
#include "invoice/ItemTableModel.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "widgets/PageButton.h"

namespace seikyu {

std::optional<AmountBoxCheck> Document::amountBoxCheck() const
{
    const QString title = m_model->amountBox();
    const QString heading = emptyAmountBox();
    // Only a box that took its amount from the table is compared with it; a box the user never
    // filled, or one an older invoice filled otherwise, is left alone.
    if (!title.startsWith(heading) || title.size() == heading.size())
        return std::nullopt;
    AmountBoxCheck check;
    check.shown = amountOf(title.mid(heading.size()));
    const int payable = m_model->table() ? payableRowIndex(m_model->table()->rows()) : -1;
    if (payable >= 0)
        check.table = amountOf(m_model->table()->row(payable)->value(Column::Sums));
    // A month's statement bills the balance it carries with the period's total.
    if (const std::optional<StatementFacts> statement = m_model->statement())
        check.table = checkedAdd(check.table, statement->carried()).value_or(check.table);
    return check;
}

bool Document::amountBoxDisagrees() const
{
    const std::optional<AmountBoxCheck> check = amountBoxCheck();
    return check && check->shown != check->table;
}

void Document::followAmountBox()
{
    if (!m_page)
        return;
    const bool stale = amountBoxDisagrees();
    // A stale amount brings the guide border back; once the amount and the table agree again the
    // border goes as it came.
    if (stale != m_amountStale)
        m_page->setGuide(SheetRegion::Amount, stale);
    m_amountStale = stale;
}

void Document::sumsShow(QObject *)
{
    show(sumsCtrl.get());
}

bool Document::takeTableTotal()
{
    const int payable = m_model->table() ? payableRowIndex(m_model->table()->rows()) : -1;
    if (payable < 0 || amountOf(m_model->table()->row(payable)->value(Column::Sums)) == 0)
        return false;
    const std::optional<StatementFacts> statement = m_model->statement();
    const CellValue &total = m_model->table()->row(payable)->value(Column::Sums);
    const std::optional<qint64> billed = checkedAdd(amountOf(total), statement ? statement->carried() : 0);
    if (!billed)
        return false;
    m_model->setAmountBox(emptyAmountBox() + (statement ? mark(*billed) : cellDisplay(total)));
    m_amountStale = false;
    m_page->setGuide(SheetRegion::Amount, false);
    updateChangeCount(ChangeDone);
    return true;
}

void Document::sumsCopy(QObject *)
{
    if (takeTableTotal()) {
        hide();
        return;
    }
    if (sumsFail) {
        sumsFail->setText(isTotalled() ? tr("The table's total is 0: there is no amount to ask for.\nAdd the "
                                            "items' prices, then the sums again.")
                                       : tr("The item table does not end with a total.\nAdd the sums to the "
                                            "table first (Add Sum)."));
    }
    hide();
    show(sumsFail.get());
}

void Document::sumsFailClose(QObject *)
{
    hide();
}

} // namespace seikyu
