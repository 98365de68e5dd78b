#include "customers/AddressBlock.h"

#include <QRegularExpression>

namespace seikyu {

namespace {

void appendLine(QStringList &lines, const QString &text)
{
    const QString line = text.trimmed();
    if (!line.isEmpty())
        lines.append(line);
}

} // namespace

QString withoutHonorific(const QString &text)
{
    static const QRegularExpression honorific(QStringLiteral("[\\s\u3000]*(御中|様|殿|各位)$"));
    QString bare = text.trimmed();
    bare.remove(honorific);
    return bare.trimmed();
}

QStringList addressBlockLines(const Addressee &addressee)
{
    QStringList lines;
    if (!addressee.postalCode.trimmed().isEmpty())
        lines.append(QStringLiteral("〒") + addressee.postalCode.trimmed());
    for (const QString &line : addressee.address)
        appendLine(lines, line);
    const QString company = withoutHonorific(addressee.company);
    const QString department = withoutHonorific(addressee.department);
    const QString person = withoutHonorific(addressee.attention);
    if (!person.isEmpty()) {
        appendLine(lines, company);
        appendLine(lines, department);
        lines.append(person + QStringLiteral(" 様"));
    } else if (!department.isEmpty()) {
        appendLine(lines, company);
        lines.append(department + QStringLiteral(" 御中"));
    } else if (!company.isEmpty()) {
        lines.append(company + (addressee.personal ? QStringLiteral(" 様") : QStringLiteral(" 御中")));
    }
    return lines;
}

std::optional<QString> normalizedPostalCode(const QString &typed)
{
    QString code = typed.normalized(QString::NormalizationForm_KC);
    // The dashes a Japanese input method gives: hyphen, minus, the long vowel mark, the dash.
    static const QRegularExpression decoration(QStringLiteral("[\\s〒\\-‐‑–—―−ーｰ]"));
    code.remove(decoration);
    if (code.isEmpty())
        return QString();
    static const QRegularExpression sevenDigits(QStringLiteral("^[0-9]{7}$"));
    if (!sevenDigits.match(code).hasMatch())
        return std::nullopt;
    return code.left(3) + QLatin1Char('-') + code.mid(3);
}

} // namespace seikyu
