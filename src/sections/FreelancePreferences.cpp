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

NumberProposal nextNumber(const QDate &invoiceDate)
{
    const QString pattern = numberPattern();
    return proposeNumber(pattern, invoiceDate, lastUsed(numberCounter(pattern, invoiceDate)));
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
