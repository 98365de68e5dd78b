#include "output/OutputChecks.h"

#include "document/Document.h"
#include "invoice/ItemTableModel.h"
#include "page/PageFonts.h"
#include "sections/RegistrationNumber.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "OutputChecks", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(OutputChecks)
};

/// What the amount box shows beside what the table totals; empty when they agree.
QString amountBoxWarning(const Document &document)
{
    const std::optional<AmountBoxCheck> check = document.amountBoxCheck();
    if (!check || check->shown == check->table)
        return {};
    if (document.isTotalled())
        return Text::tr("御請求金額 shows %1, but the table's total is %2.")
            .arg(mark(check->shown), mark(check->table));
    return Text::tr("御請求金額 shows %1, but the table has no total since its items changed.").arg(mark(check->shown));
}

/// The amount the table's sums ask for; 0 when the table is not totalled.
qint64 tableTotal(const Document &document)
{
    const int payable = document.bank ? payableRowIndex(document.bank->rows()) : -1;
    return payable >= 0 ? amountOf(document.bank->row(payable)->value(Column::Sums)) : 0;
}

bool hasItemRows(const Document &document)
{
    if (!document.bank)
        return false;
    const QList<bool> items = itemRowMask(document.bank->rows());
    return std::find(items.begin(), items.end(), true) != items.end();
}

/// Items without the sums under them: the customer would get an invoice that totals nothing.
/// On a registered issuer's invoice, also sums made before the number was entered: they state one
/// subtotal, not each rate's total.
QString missingSumsWarning(const Document &document)
{
    if (!hasItemRows(document))
        return {};
    const bool qualified = document.home && !registrationNumberOf(document.home->title()).isEmpty();
    QString warning;
    if (!document.isTotalled()) {
        warning = Text::tr("The item table has no sums: 小計, 消費税 and 合計 are missing under its items.");
    } else if (qualified) {
        const RowRange block = *trailingSums(document.bank->rows());
        for (int i = block.first; i <= block.last; ++i) {
            const CellValue &label = document.bank->row(i)->value(Column::Much);
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
QString emptyAmountBoxWarning(const Document &document)
{
    if (!document.isTotalled() || !document.sums || amountOf(document.sums->title()) != 0)
        return {};
    return Text::tr("御請求金額 holds no amount.");
}

/// A customer or issuer that was never filled in, where every invoice names someone: on screen the
/// region still shows the window's own placeholder (or the customer line an honorific alone).
QStringList unfilledRegionWarnings(const Document &document)
{
    const auto blank = [](const QString &text) { return printableText(text).trimmed().isEmpty(); };
    QStringList warnings;
    if (document.whom && blank(document.pageState().customer.value_or(QString())))
        warnings.append(Text::tr("The customer is not filled in: the invoice is addressed to no one."));
    if (document.home && blank(document.home->shownText()))
        warnings.append(Text::tr("Your details are not filled in: the invoice does not say who issues it."));
    return warnings;
}

/// The table's total for an amount box that holds none: the user fills it in, leaves it or stops.
bool settleEmptyAmountBox(Document &document, QWidget *parent)
{
    const QString warning = emptyAmountBoxWarning(document);
    const qint64 total = tableTotal(document);
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
    const QString warning = amountBoxWarning(document);
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

QStringList outputWarnings(const Document &document)
{
    QStringList warnings;
    if (const QString amount = amountBoxWarning(document); !amount.isEmpty())
        warnings.append(amount);
    if (const QString empty = emptyAmountBoxWarning(document); !empty.isEmpty())
        warnings.append(empty);
    if (const QString sums = missingSumsWarning(document); !sums.isEmpty())
        warnings.append(sums);
    warnings.append(unfilledRegionWarnings(document));
    return warnings;
}

bool confirmOutput(Document &document, QWidget *parent)
{
    if (!settleAmountBox(document, parent) || !settleEmptyAmountBox(document, parent))
        return false;
    QStringList warnings = outputWarnings(document);
    // Already settled: kept as it is on purpose.
    warnings.removeAll(amountBoxWarning(document));
    if (tableTotal(document) != 0)
        warnings.removeAll(emptyAmountBoxWarning(document));
    if (warnings.isEmpty())
        return true;
    return Prompter::instance().askToProceed(parent, Text::tr("This invoice may not read as you expect."),
                                             warnings.join(QStringLiteral("\n\n")), Text::tr("Continue"));
}

} // namespace seikyu
