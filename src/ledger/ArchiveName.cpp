#include "ledger/ArchiveName.h"

#include "document/FileNameText.h"

namespace seikyu {

namespace {

constexpr int LongestPart = 40;

QString safePart(const QString &text)
{
    QString safe;
    for (const QChar c : withoutFormatControls(text).trimmed()) {
        if (c.isSpace())
            continue;
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c))
            safe += QLatin1Char('_');
        else
            safe += c;
    }
    safe = cutAtWholeCharacters(safe, LongestPart);
    // A name of dots alone would mean the folder itself or its parent.
    if (!safe.isEmpty() && safe.count(QLatin1Char('.')) == safe.size())
        safe.fill(QLatin1Char('_'));
    return safe;
}

} // namespace

QString archiveFileName(const QDate &invoiceDate, const QString &customer, qint64 amount, const QString &number)
{
    QString name =
        invoiceDate.isValid() ? invoiceDate.toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("00000000");
    name += QLatin1Char('_') + safePart(customer) + QLatin1Char('_') + QString::number(amount);
    const QString safeNumber = safePart(number);
    if (!safeNumber.isEmpty())
        name += QLatin1Char('_') + safeNumber;
    return name + QStringLiteral(".pdf");
}

QString uniqueArchiveName(const QString &name, const std::function<bool(const QString &)> &taken)
{
    if (!taken(name))
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString suffix = dot > 0 ? name.mid(dot) : QStringLiteral(".pdf");
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1_%2%3").arg(stem).arg(n).arg(suffix);
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace seikyu
