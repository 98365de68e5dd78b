#include "output/OutputChecks.h"

#include "document/Document.h"
#include "table/Amounts.h"
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
    return warnings;
}

bool confirmOutput(Document &document, QWidget *parent)
{
    if (!settleAmountBox(document, parent))
        return false;
    QStringList warnings = outputWarnings(document);
    warnings.removeAll(amountBoxWarning(document)); // already settled: kept as it is on purpose
    if (warnings.isEmpty())
        return true;
    return Prompter::instance().askToProceed(parent, Text::tr("This invoice may not read as you expect."),
                                             warnings.join(QStringLiteral("\n\n")), Text::tr("Continue"));
}

} // namespace seikyu
