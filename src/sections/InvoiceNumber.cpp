#include "sections/InvoiceNumber.h"

#include <QRegularExpression>

namespace seikyu {

namespace {

const QRegularExpression &fieldExpression()
{
    static const QRegularExpression field(QStringLiteral("\\{(yyyy|yy|0+)\\}"));
    return field;
}

QString effectivePattern(const QString &pattern)
{
    if (pattern.trimmed().isEmpty())
        return DefaultNumberPattern;
    const bool counts = pattern.contains(QRegularExpression(QStringLiteral("\\{0+\\}")));
    return counts ? pattern : pattern + QStringLiteral("{0000}");
}

bool holdsYear(const QString &pattern)
{
    return pattern.contains(QStringLiteral("{yyyy}")) || pattern.contains(QStringLiteral("{yy}"));
}

} // namespace

QString numberCounter(const QString &pattern, const QDate &date)
{
    if (!holdsYear(effectivePattern(pattern)))
        return QStringLiteral("all");
    return QString::number(date.isValid() ? date.year() : QDate::currentDate().year());
}

NumberProposal proposeNumber(const QString &pattern, const QDate &date, qint64 lastUsed)
{
    const QString used = effectivePattern(pattern);
    const int year = date.isValid() ? date.year() : QDate::currentDate().year();
    NumberProposal proposal;
    proposal.counter = numberCounter(used, date);
    proposal.sequence = std::max<qint64>(lastUsed, 0) + 1;

    qsizetype at = 0;
    for (const QRegularExpressionMatch &match : fieldExpression().globalMatch(used)) {
        proposal.text += used.mid(at, match.capturedStart() - at);
        const QString field = match.captured(1);
        if (field == QLatin1String("yyyy"))
            proposal.text += QString::number(year).rightJustified(4, u'0');
        else if (field == QLatin1String("yy"))
            proposal.text += QString::number(std::abs(year) % 100).rightJustified(2, u'0');
        else
            proposal.text += QString::number(proposal.sequence).rightJustified(field.size(), u'0');
        at = match.capturedEnd();
    }
    proposal.text += used.mid(at);
    return proposal;
}

} // namespace seikyu
