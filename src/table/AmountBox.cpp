// The invoice amount box: the table's total under the heading 御請求金額.
#include "document/Document.h"
#include "table/Amounts.h"
#include "table/ItemTableModel.h"
#include "widgets/PageButton.h"
#include "widgets/RoomBox.h"

namespace seikyu {

void Document::sumsShow(QObject *)
{
    show(sumsCtrl.get());
}

void Document::sumsCopy(QObject *)
{
    const RowPtr last = bank ? bank->lastRow() : nullptr;
    qint64 amount = 0;
    if (last && isTotalled())
        amount = amountOf(last->value(Column::Sums));
    if (amount == 0) {
        hide();
        show(sumsFail.get());
        return;
    }
    // The heading starts with U+0008, as invoices have always stored it; it is never drawn.
    sums->setTitle(QStringLiteral("\u0008御請求金額\n%1").arg(cellDisplay(last->value(Column::Sums))));
    sumsRoom->setBorderColor(Qt::transparent);
    updateChangeCount(ChangeDone);
    hide();
}

void Document::sumsFailClose(QObject *)
{
    hide();
}

} // namespace seikyu
