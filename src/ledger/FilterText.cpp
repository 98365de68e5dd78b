#include "ledger/FilterText.h"

#include "ledger/SearchFolding.h"
#include "table/Amounts.h"

#include <QRegularExpression>

namespace seikyu {

std::optional<QDate> readFilterDate(const QString &text, bool *ok)
{
    *ok = true;
    // Full-width digits and separators fold to their ASCII forms.
    const QString folded = foldForSearch(text.trimmed());
    if (folded.isEmpty())
        return std::nullopt;
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})[-/.]([0-9]{1,2})[-/.]([0-9]{1,2})$"));
    const QRegularExpressionMatch match = form.match(folded);
    const QDate date = match.hasMatch()
                           ? QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt())
                           : QDate();
    *ok = date.isValid();
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<qint64> readFilterAmount(const QString &text, bool *ok)
{
    *ok = true;
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const CellNumber number = readNumber(text);
    *ok = number.hasDigits;
    return number.hasDigits ? std::optional(amountOf(text)) : std::nullopt;
}

} // namespace seikyu
