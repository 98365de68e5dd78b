#include "einvoice/PeppolId.h"

#include "sections/RegistrationNumber.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "PeppolId", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(PeppolId)
};

constexpr int DigitCount = 13;

QString compacted(const QString &typed)
{
    const QString folded = typed.normalized(QString::NormalizationForm_KC);
    QString compact;
    for (const QChar c : folded) {
        if (c.isSpace() || c == u'-' || c == u'‐' || c == u'−' || c == u'ー' || c == u'–' || c == u'—')
            continue;
        compact.append(c == u't' ? QChar(u'T') : c);
    }
    return compact;
}

bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

PeppolIdCheck incomplete(const QString &reason)
{
    return {PeppolIdCheck::State::Incomplete, {}, reason};
}

PeppolIdCheck invalid(const QString &reason)
{
    return {PeppolIdCheck::State::Invalid, {}, reason};
}

PeppolIdCheck checkCorporateNumber(const QString &digits)
{
    if (!allDigits(digits))
        return invalid(Text::tr("A corporate number (0188) has digits only."));
    if (digits.size() < DigitCount)
        return incomplete(Text::tr("A corporate number has 13 digits; %1 so far.").arg(digits.size()));
    if (digits.size() > DigitCount)
        return invalid(Text::tr("A corporate number has 13 digits, not %1.").arg(digits.size()));
    if (!hasCorporateCheckDigit(QLatin1Char('T') + digits))
        return invalid(Text::tr("%1 is not a corporate number: its check digit does not match.").arg(digits));
    return {PeppolIdCheck::State::Valid, {QString::fromUtf16(CorporateNumberScheme), digits}, {}};
}

PeppolIdCheck checkRegistrationNumber(const QString &number)
{
    if (number.isEmpty())
        return incomplete(Text::tr("A registration number (0221) is T and 13 digits."));
    if (number.at(0) != u'T' || !allDigits(number.mid(1)))
        return invalid(Text::tr("A registration number (0221) is the letter T followed by 13 digits."));
    if (number.size() < DigitCount + 1)
        return incomplete(Text::tr("A registration number has T and 13 digits; %1 so far.").arg(number.size() - 1));
    if (number.size() > DigitCount + 1)
        return invalid(Text::tr("A registration number has T and 13 digits, not %1.").arg(number.size() - 1));
    return {PeppolIdCheck::State::Valid, {QString::fromUtf16(RegistrationNumberScheme), number}, {}};
}

} // namespace

PeppolIdCheck checkPeppolId(const QString &typed)
{
    const QString compact = compacted(typed);
    if (compact.isEmpty())
        return {};
    const qsizetype colon = compact.indexOf(u':');
    if (colon < 0) {
        if (compact.at(0) == u'T')
            return checkRegistrationNumber(compact);
        if (compact.size() == DigitCount && allDigits(compact))
            return checkCorporateNumber(compact);
        if (allDigits(compact) && compact.size() <= 4)
            return incomplete(Text::tr("Start with 0188: and the corporate number, or 0221: and the registration "
                                       "number."));
        return invalid(Text::tr("An electronic address is 0188: and a corporate number, or 0221: and a "
                                "registration number."));
    }
    const QString scheme = compact.left(colon);
    const QString rest = compact.mid(colon + 1);
    if (scheme == QStringView(CorporateNumberScheme))
        return rest.isEmpty() ? incomplete(Text::tr("A corporate number has 13 digits.")) : checkCorporateNumber(rest);
    if (scheme == QStringView(RegistrationNumberScheme))
        return checkRegistrationNumber(rest);
    return invalid(Text::tr("Seikyu knows the schemes 0188 (corporate number) and 0221 (registration number), "
                            "not %1.")
                       .arg(scheme));
}

} // namespace seikyu
