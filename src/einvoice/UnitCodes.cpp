#include "einvoice/UnitCodes.h"

#include <QStringList>

namespace seikyu {

QString unitCodeOf(const QString &unit)
{
    const QString u = unit.normalized(QString::NormalizationForm_KC).trimmed();
    if (u.isEmpty())
        return QStringLiteral("H87");
    // Exact units first, then a unit that merely contains one ("人日" is days, "一式" a set).
    if (u == QStringLiteral("時間") || u == QStringLiteral("h") || u == QStringLiteral("H"))
        return QStringLiteral("HUR");
    if (u.contains(QStringLiteral("時間")))
        return QStringLiteral("HUR");
    if (u.endsWith(u'日'))
        return QStringLiteral("DAY");
    // ヶ月 in every spelling an input method or a hand gives it; 人月 (person-months) too.
    for (const char16_t *months : {u"ヶ月", u"か月", u"カ月", u"ケ月", u"箇月", u"ヵ月", u"人月"}) {
        if (u.endsWith(QStringView(months)))
            return QStringLiteral("MON");
    }
    // NFKC has made ㎏ "kg" already.
    if (u.compare(QLatin1String("kg"), Qt::CaseInsensitive) == 0 || u == QStringLiteral("キロ") ||
        u == QStringLiteral("キログラム"))
        return QStringLiteral("KGM");
    if (u.endsWith(u'式'))
        return QStringLiteral("LS"); // 一式: a lump sum
    for (const QChar one : {u'件', u'回'}) {
        if (u.endsWith(one))
            return QStringLiteral("C62");
    }
    return QStringLiteral("H87");
}

QuantityText splitQuantity(const QString &text)
{
    const QString folded = text.normalized(QString::NormalizationForm_KC).trimmed();
    QuantityText split;
    qsizetype at = 0;
    if (at < folded.size() && (folded.at(at) == u'+' || folded.at(at) == u'-' || folded.at(at) == u'−'))
        ++at;
    const qsizetype digitsFrom = at;
    bool point = false;
    while (at < folded.size()) {
        const QChar c = folded.at(at);
        if (c.isDigit() || c == u',') {
            ++at;
        } else if (c == u'.' && !point) {
            point = true;
            ++at;
        } else {
            break;
        }
    }
    if (at == digitsFrom || (at == digitsFrom + 1 && point)) {
        split.unit = folded;
        return split;
    }
    split.number = folded.left(at);
    split.unit = folded.mid(at).trimmed();
    return split;
}

} // namespace seikyu
