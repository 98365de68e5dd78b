#include "import/TaxClassText.h"

#include <QRegularExpression>
#include <QStringList>

namespace seikyu {

namespace {

/// Takes each of the words out of the text; whether any was there.
bool takeOut(QString &text, const QStringList &words)
{
    bool found = false;
    for (const QString &word : words) {
        if (text.contains(word)) {
            text.remove(word);
            found = true;
        }
    }
    return found;
}

/// The text without what varies from sheet to sheet: width, case, spaces and brackets.
QString folded(const QString &text)
{
    static const QRegularExpression spaces(QStringLiteral(R"([\s_()\[\]（）【】「」]+)"));
    QString key = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    key.remove(spaces);
    return key;
}

} // namespace

std::optional<TaxClass> taxClassOfText(const QString &text, TaxColumnKind kind)
{
    static const QRegularExpression rate(QStringLiteral(R"(^(\d+(?:\.\d+)?)(%?)$)"));
    QString key = folded(text);
    if (key.isEmpty())
        return TaxClass::Standard;
    if (kind == TaxColumnKind::ReducedMarks) {
        static const QStringList marked{QStringLiteral("1"), QStringLiteral("yes"), QStringLiteral("true")};
        static const QStringList unmarked{QStringLiteral("0"), QStringLiteral("no"), QStringLiteral("false"),
                                          QStringLiteral("×"), QStringLiteral("x"),  QStringLiteral("-"),
                                          QStringLiteral("−"), QStringLiteral("ー"), QStringLiteral("―")};
        if (marked.contains(key))
            return TaxClass::Reduced;
        if (unmarked.contains(key))
            return TaxClass::Standard;
    }
    // Longer words first: 非課税 holds 課税, 軽減税率 holds 税率.
    if (takeOut(key, {QStringLiteral("非課税"), QStringLiteral("不課税"), QStringLiteral("課税対象外"),
                      QStringLiteral("対象外"), QStringLiteral("免税"), QStringLiteral("exempt")}))
        return key.isEmpty() ? std::optional<TaxClass>(TaxClass::Exempt) : std::nullopt;
    const bool reduced = takeOut(key, {QStringLiteral("軽減税率"), QStringLiteral("軽減"), QStringLiteral("※"),
                                       QStringLiteral("*"), QStringLiteral("○"), QStringLiteral("◯"),
                                       QStringLiteral("✓"), QStringLiteral("✔"), QStringLiteral("reduced")});
    const bool standard = takeOut(
        key, {QStringLiteral("標準税率"), QStringLiteral("標準"), QStringLiteral("課税"), QStringLiteral("standard")});
    takeOut(key, {QStringLiteral("税率"), QStringLiteral("rate")});
    if (reduced == standard && key.isEmpty())
        return std::nullopt; // neither, or both
    if (key.isEmpty())
        return reduced ? TaxClass::Reduced : TaxClass::Standard;
    const QRegularExpressionMatch number = rate.match(key);
    if (!number.hasMatch())
        return std::nullopt;
    const double value = number.captured(1).toDouble();
    const bool percent = !number.captured(2).isEmpty();
    const auto is = [&](int ratePercent) { return value == ratePercent || (!percent && value == ratePercent / 100.0); };
    if (is(8) && !standard)
        return TaxClass::Reduced;
    if (is(10) && !reduced)
        return TaxClass::Standard;
    if (value == 0 && percent && !reduced && !standard)
        return TaxClass::Exempt;
    return std::nullopt;
}

} // namespace seikyu
