// Row prices, the sums rows with consumption tax, and the currency formatting of amounts.
#include "document/Document.h"
#include "table/Amounts.h"
#include "table/ItemTableModel.h"
#include "table/TableCommands.h"

#include <QCheckBox>
#include <QTableView>

namespace seikyu {

namespace {
const QString totalLabel = QStringLiteral("合計");
}

bool Document::isTotalled() const
{
    const RowPtr last = bank ? bank->lastRow() : nullptr;
    if (!last)
        return false;
    const CellValue &much = last->value(Column::Much);
    return cellIsText(much) && much.toString() == totalLabel;
}

void Document::gridNeat(int clickedRow)
{
    if (!bank || clickedRow < 1 || clickedRow >= bank->count())
        return;
    const RowPtr row = bank->row(clickedRow);
    if (row->isHeader() || leadingInteger(row->value(Column::Much)) == 0)
        return;
    const QString price = spot(row->value(Column::Solo));
    const QString quantity = spot(row->value(Column::Much));
    if (price.isEmpty() || quantity.isEmpty())
        return;
    const qint64 p = digitsValue(price);
    const qint64 q = digitsValue(quantity);
    if (p == 0 || q == 0)
        return;
    const std::optional<qint64> product = checkedMultiply(p, q);
    if (!product)
        return; // beyond what an amount can hold: leave the row as typed
    bank->setCell(clickedRow, Column::Solo, mark(p));
    bank->setCell(clickedRow, Column::Much, CellValue(q));
    bank->setCell(clickedRow, Column::Sums, mark(*product));
}

void Document::gridSumsShow(QObject *)
{
    hide();
    show(gridSums.get());
}

bool Document::appendSumsRows()
{
    if (!bank || isTotalled())
        return false;
    qint64 subtotal = 0;
    for (const RowPtr &row : bank->rows()) {
        const std::optional<qint64> sum = checkedAdd(subtotal, amountOf(row->value(Column::Sums)));
        if (!sum)
            return false;
        subtotal = *sum;
    }
    CellValue taxCell;
    qint64 total = subtotal;
    if (gridXtax && gridXtax->isChecked()) {
        const std::optional<qint64> tax = consumptionTax(subtotal);
        const std::optional<qint64> withTax = tax ? checkedAdd(subtotal, *tax) : std::nullopt;
        if (!withTax)
            return false;
        taxCell = QString::number(*tax);
        total = *withTax;
    } else {
        taxCell = QStringLiteral("税込済み");
    }
    const QString blank = QStringLiteral(" ");
    bank->addRows({
        std::make_shared<ItemRow>(blank, blank, blank, blank, blank),
        std::make_shared<ItemRow>(blank, blank, blank, QStringLiteral("小計"), CellValue(subtotal)),
        std::make_shared<ItemRow>(blank, blank, blank, QStringLiteral("消費税"), taxCell),
        std::make_shared<ItemRow>(blank, blank, blank, totalLabel, CellValue(total)),
    });
    return true;
}

void Document::gridCalc(QObject *)
{
    if (isTotalled()) {
        hide();
        show(gridFail.get());
        return;
    }
    if (!appendSumsRows())
        return;
    if (grid)
        grid->clearSelection();
    yens();
    hide();
    show(gridCtrl.get());
}

void Document::gridFailClose(QObject *)
{
    hide();
}

bool Document::removeSumsRows()
{
    if (!isTotalled() || bank->count() < 5)
        return false;
    const int n = bank->count();
    bank->removeRowsAt({n - 4, n - 3, n - 2, n - 1});
    return true;
}

void Document::yens()
{
    if (!bank || bank->count() == 0)
        return;
    for (const RowPtr &row : bank->rows()) {
        if (row->isHeader())
            continue;
        for (Column column : {Column::Solo, Column::Sums}) {
            const QString digits = spot(row->value(column));
            const qint64 amount = digitsValue(digits);
            if (!digits.isEmpty() && amount != 0)
                row->setValue(column, mark(amount));
        }
    }
    // One announcement for the whole table: both views repaint and the document counts it as an
    // edit, without a remove and re-insert per row.
    bank->rowsChangedInPlace(0, bank->count() - 1);
}

void Document::done(QObject *)
{
    m_undoStack.push(new FinalizeCommand(this));
}

void Document::wipeDone()
{
    if (!bank || bank->count() < 2)
        return;
    for (int i = 1; i < bank->count(); ++i) {
        const RowPtr &row = bank->rows().at(i);
        for (Column column : {Column::Solo, Column::Sums}) {
            // Texts without an amount ("税込済み", the blank row's " ") stay as they are.
            const QString digits = spot(row->value(column));
            if (!digits.isEmpty())
                row->setValue(column, digits);
        }
    }
    bank->rowsChangedInPlace(1, bank->count() - 1);
}

} // namespace seikyu
