#include "sections/FreelancePreferences.h"

#include <QSettings>

namespace seikyu::FreelancePreferences {

namespace {

const QString patternKey = QStringLiteral("invoiceNumberPattern");
const QString counterGroup = QStringLiteral("invoiceNumbers/");
const QString dueTermKey = QStringLiteral("dueTerm");
const QString dueDayKey = QStringLiteral("dueDay");
const QString keepSumsKey = QStringLiteral("duplicateKeepsSums");
const QString moveRowDatesKey = QStringLiteral("duplicateMovesRowDates");

/// A whole number stored under the key, within [low, high]; nothing when it is absent or damaged.
std::optional<qint64> storedNumber(const QString &key, qint64 low, qint64 high)
{
    const QVariant value = QSettings().value(key);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const qint64 number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < low || number > high)
        return std::nullopt;
    return number;
}

qint64 lastUsed(const QString &counter)
{
    return storedNumber(counterGroup + counter, 0, MaximumSequence).value_or(0);
}

} // namespace

QString numberPattern()
{
    const QVariant value = QSettings().value(patternKey);
    const QString pattern = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (pattern.trimmed().isEmpty() || pattern.size() > MaximumPatternLength)
        return DefaultNumberPattern;
    return pattern;
}

void setNumberPattern(const QString &pattern)
{
    QSettings().setValue(patternKey, pattern.left(MaximumPatternLength));
}

QString numberPatternOf(const NumberSequenceName &sequence)
{
    if (sequence.key.isEmpty())
        return numberPattern();
    const QVariant value = QSettings().value(patternKey + QLatin1Char('/') + sequence.key);
    const QString pattern = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (pattern.trimmed().isEmpty() || pattern.size() > MaximumPatternLength)
        return sequence.defaultPattern;
    return pattern;
}

void setNumberPatternOf(const NumberSequenceName &sequence, const QString &pattern)
{
    if (sequence.key.isEmpty())
        setNumberPattern(pattern);
    else
        QSettings().setValue(patternKey + QLatin1Char('/') + sequence.key, pattern.left(MaximumPatternLength));
}

NumberProposal nextNumber(const QDate &invoiceDate, const NumberSequenceName &sequence)
{
    const QString pattern = numberPatternOf(sequence);
    // A named sequence counts apart from the invoices, even where its pattern counts by the year too.
    const QString prefix = sequence.key.isEmpty() ? QString() : sequence.key + QLatin1Char('-');
    NumberProposal proposal =
        proposeNumber(pattern, invoiceDate, lastUsed(prefix + numberCounter(pattern, invoiceDate)));
    proposal.counter.prepend(prefix);
    return proposal;
}

void useNumber(const NumberProposal &proposal)
{
    if (proposal.counter.isEmpty() || proposal.sequence <= lastUsed(proposal.counter))
        return;
    QSettings().setValue(counterGroup + proposal.counter, std::min(proposal.sequence, MaximumSequence));
}

bool giveBackNumber(const NumberProposal &proposal)
{
    if (proposal.counter.isEmpty() || proposal.sequence != lastUsed(proposal.counter))
        return false;
    QSettings().setValue(counterGroup + proposal.counter, proposal.sequence - 1);
    return true;
}

void setNextSequence(const QDate &invoiceDate, qint64 next)
{
    const QString counter = numberCounter(numberPattern(), invoiceDate);
    QSettings().setValue(counterGroup + counter, std::clamp<qint64>(next - 1, 0, MaximumSequence));
}

DueRule dueRule()
{
    DueRule rule;
    rule.term = static_cast<DueTerm>(storedNumber(dueTermKey, 0, 2).value_or(0));
    rule.day = static_cast<int>(storedNumber(dueDayKey, 1, 31).value_or(rule.day));
    return rule;
}

void setDueRule(const DueRule &rule)
{
    QSettings settings;
    settings.setValue(dueTermKey, static_cast<int>(rule.term));
    settings.setValue(dueDayKey, rule.day);
}

bool receiptsInBusiness()
{
    return storedNumber(QStringLiteral("receiptsOutsideBusiness"), 0, 1).value_or(0) == 0;
}

void setReceiptsInBusiness(bool inBusiness)
{
    QSettings().setValue(QStringLiteral("receiptsOutsideBusiness"), inBusiness ? 0 : 1);
}

bool duplicateKeepsSums()
{
    return storedNumber(keepSumsKey, 0, 1).value_or(0) == 1;
}

void setDuplicateKeepsSums(bool keep)
{
    QSettings().setValue(keepSumsKey, keep ? 1 : 0);
}

bool duplicateMovesRowDates()
{
    return storedNumber(moveRowDatesKey, 0, 1).value_or(1) == 1;
}

void setDuplicateMovesRowDates(bool move)
{
    QSettings().setValue(moveRowDatesKey, move ? 1 : 0);
}

} // namespace seikyu::FreelancePreferences
