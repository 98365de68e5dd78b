#include "sections/RegistrationNumber.h"

#include <QStringList>

namespace seikyu {

namespace {
constexpr int DigitCount = 13;
constexpr int RegistrationLine = 5; // after postal code, address, name, telephone and bank
} // namespace

std::optional<QString> normalizedRegistrationNumber(const QString &typed)
{
    // NFKC folds full-width Ｔ and ０–９ into ASCII; dashes of every width are dropped with the spaces.
    const QString folded = typed.normalized(QString::NormalizationForm_KC);
    QString compact;
    for (const QChar c : folded) {
        if (c.isSpace() || c == u'-' || c == u'‐' || c == u'−' || c == u'ー' || c == u'–' || c == u'—')
            continue;
        compact.append(c);
    }
    if (compact.isEmpty())
        return QString();
    if (compact.size() != DigitCount + 1 || compact.at(0).toUpper() != u'T')
        return std::nullopt;
    for (qsizetype i = 1; i < compact.size(); ++i) {
        if (compact.at(i) < u'0' || compact.at(i) > u'9')
            return std::nullopt;
    }
    compact[0] = u'T';
    return compact;
}

bool hasCorporateCheckDigit(const QString &number)
{
    if (number.size() != DigitCount + 1)
        return false;
    int sum = 0;
    // The twelve digits after the check digit, counted from the right.
    for (int n = 1; n < DigitCount; ++n) {
        const int digit = number.at(number.size() - n).unicode() - u'0';
        sum += digit * (n % 2 == 1 ? 1 : 2);
    }
    return number.at(1).unicode() - u'0' == 9 - sum % 9;
}

QString registrationNumberOf(const QString &issuerEntry)
{
    return normalizedRegistrationNumber(issuerEntry.split(QLatin1Char('\n')).value(RegistrationLine))
        .value_or(QString());
}

QString issuerPageText(const QString &issuerEntry)
{
    QStringList lines = issuerEntry.split(QLatin1Char('\n'));
    const QString number = registrationNumberOf(issuerEntry);
    if (lines.size() > RegistrationLine && !number.isEmpty())
        lines[RegistrationLine] = QStringLiteral("登録番号 ") + number;
    return lines.join(QLatin1Char('\n'));
}

} // namespace seikyu
