#include "output/OutputChecks.h"

#include "document/Document.h"
#include "invoice/OpenedInvoice.h"
#include "page/PageFonts.h"
#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "OutputChecks", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(OutputChecks)
};

/// The invoice's table as the page has it: the header row, then the invoice's rows.
QList<RowPtr> tableRowsOf(const Invoice &shown)
{
    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const ItemRow &row : shown.rows)
        rows.append(std::make_shared<ItemRow>(row));
    return rows;
}

bool isTotalled(const QList<RowPtr> &rows)
{
    return trailingSums(rows).has_value();
}

/// The amount the table's sums ask for; 0 when the table is not totalled.
qint64 tableTotal(const QList<RowPtr> &rows)
{
    const int payable = payableRowIndex(rows);
    return payable >= 0 ? amountOf(rows.at(payable)->value(Column::Sums)) : 0;
}

/// What the amount box shows beside what the table totals; empty when they agree.
QString amountBoxWarning(const Invoice &shown)
{
    // Only a box that took its amount from the table is compared with it; a box the user never
    // filled, or one an older invoice filled otherwise, is left alone.
    const QString box = shown.amountBox.value_or(QString());
    const QString heading = emptyAmountBoxText();
    if (!box.startsWith(heading) || box.size() == heading.size())
        return {};
    const QList<RowPtr> rows = tableRowsOf(shown);
    const qint64 amount = amountOf(box.mid(heading.size()));
    const qint64 total = tableTotal(rows);
    const qint64 carried = carriedBalanceOf(shown);
    if (carried != 0 && isTotalled(rows)) {
        // A month's statement bills the balance it carries with the period's total.
        const std::optional<qint64> billed = checkedAdd(total, carried);
        if (billed == amount)
            return {};
        return Text::tr("御請求金額 shows %1, but the balance carried and the table's total come to %2.")
            .arg(mark(amount), billed ? mark(*billed) : QString());
    }
    if (amount == total)
        return {};
    if (isTotalled(rows))
        return Text::tr("御請求金額 shows %1, but the table's total is %2.").arg(mark(amount), mark(total));
    return Text::tr("御請求金額 shows %1, but the table has no total since its items changed.").arg(mark(amount));
}

bool hasItemRows(const QList<RowPtr> &rows)
{
    const QList<bool> items = itemRowMask(rows);
    return std::find(items.begin(), items.end(), true) != items.end();
}

/// Items without the sums under them: the customer would get an invoice that totals nothing.
/// On a registered issuer's invoice, also sums made before the number was entered: they state one
/// subtotal, not each rate's total.
QString missingSumsWarning(const Invoice &shown)
{
    const QList<RowPtr> rows = tableRowsOf(shown);
    if (!hasItemRows(rows))
        return {};
    const bool qualified = !registrationNumberOf(shown.issuer.value_or(QString())).isEmpty();
    QString warning;
    if (!isTotalled(rows)) {
        warning = Text::tr("The item table has no sums: 小計, 消費税 and 合計 are missing under its items.");
    } else if (qualified) {
        const RowRange block = *trailingSums(rows);
        for (int i = block.first; i <= block.last; ++i) {
            const CellValue &label = rows.at(i)->value(Column::Much);
            if (cellIsText(label) && label.toString() == SumsLabel::Subtotal)
                warning = Text::tr("The sums state no total for each rate: remove the sum and add it again.");
        }
    }
    if (warning.isEmpty() || !qualified)
        return warning;
    return warning + QLatin1Char(' ') +
           Text::tr("A qualified invoice (適格請求書) must state the total and the consumption tax of each rate.");
}

/// A totalled table under an amount box that asks for nothing.
QString emptyAmountBoxWarning(const Invoice &shown)
{
    if (!isTotalled(tableRowsOf(shown)) || amountOf(shown.amountBox.value_or(QString())) != 0)
        return {};
    return Text::tr("御請求金額 holds no amount.");
}

/// A customer or issuer that was never filled in, where every invoice names someone.
QStringList unfilledRegionWarnings(const Invoice &shown)
{
    const auto blank = [](const QString &text) { return printableText(text).trimmed().isEmpty(); };
    QStringList warnings;
    if (blank(shown.customer.value_or(QString())))
        warnings.append(Text::tr("The customer is not filled in: the invoice is addressed to no one."));
    if (blank(issuerPageText(shown.issuer.value_or(QString()))))
        warnings.append(Text::tr("Your details are not filled in: the invoice does not say who issues it."));
    return warnings;
}

/// The table's total for an amount box that holds none: the user fills it in, leaves it or stops.
bool settleEmptyAmountBox(Document &document, QWidget *parent)
{
    const Invoice shown = document.pageState();
    const QString warning = emptyAmountBoxWarning(shown);
    const qint64 total = tableTotal(tableRowsOf(shown));
    if (warning.isEmpty() || total == 0)
        return true; // a total of 0 has nothing to fill in: the general question tells of it
    const int chosen = Prompter::instance().askToChoose(
        parent, Text::tr("The invoice amount is empty."),
        warning + QLatin1Char('\n') +
            Text::tr("Fill in the table's total of %1 before the invoice goes out?").arg(mark(total)),
        {Text::tr("Fill In the Amount"), Text::tr("Leave It Empty")});
    if (chosen < 0)
        return false;
    if (chosen == 0)
        document.takeTableTotal();
    return true;
}

/// An invoice amount that disagrees with the table: the user updates it, keeps it or stops.
bool settleAmountBox(Document &document, QWidget *parent)
{
    const QString warning = amountBoxWarning(document.pageState());
    if (warning.isEmpty())
        return true;
    QStringList choices;
    if (document.isTotalled())
        choices.append(Text::tr("Update the Amount"));
    choices.append(Text::tr("Keep It as It Is"));
    const int chosen = Prompter::instance().askToChoose(
        parent, Text::tr("The invoice amount differs from the table's total."),
        warning + QLatin1Char('\n') +
            (document.isTotalled() ? Text::tr("Update the invoice amount before the invoice goes out?")
                                   : Text::tr("Add the sums to the table again to update the invoice amount.")),
        choices);
    if (chosen < 0)
        return false;
    if (choices.at(chosen) == Text::tr("Update the Amount"))
        document.takeTableTotal();
    return true;
}

} // namespace

QStringList outputWarnings(const Invoice &shown)
{
    QStringList warnings;
    if (const QString amount = amountBoxWarning(shown); !amount.isEmpty())
        warnings.append(amount);
    if (const QString empty = emptyAmountBoxWarning(shown); !empty.isEmpty())
        warnings.append(empty);
    if (const QString sums = missingSumsWarning(shown); !sums.isEmpty())
        warnings.append(sums);
    warnings.append(unfilledRegionWarnings(shown));
    return warnings;
}

QStringList outputWarnings(const Document &document)
{
    return outputWarnings(document.pageState());
}

bool confirmOutput(Document &document, QWidget *parent)
{
    if (!settleAmountBox(document, parent) || !settleEmptyAmountBox(document, parent))
        return false;
    const Invoice shown = document.pageState();
    QStringList warnings = outputWarnings(shown);
    // Already settled: kept as it is on purpose.
    warnings.removeAll(amountBoxWarning(shown));
    if (tableTotal(tableRowsOf(shown)) != 0)
        warnings.removeAll(emptyAmountBoxWarning(shown));
    if (warnings.isEmpty())
        return true;
    return Prompter::instance().askToProceed(parent, Text::tr("This invoice may not read as you expect."),
                                             warnings.join(QStringLiteral("\n\n")), Text::tr("Continue"));
}

} // namespace seikyu
