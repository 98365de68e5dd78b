#include "table/Amounts.h"

#include "table/UserLocale.h"

#include <QChar>
#include <QLocale>
#include <limits>
#include <map>
#include <memory>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

namespace seikyu {

namespace {

constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();

// The one wide type the tax needs; __extension__ keeps -Wpedantic quiet about it.
__extension__ typedef __int128 Wide;

void appendDigitOf(QString &out, char32_t codePoint)
{
    if (codePoint >= U'0' && codePoint <= U'9') {
        out.append(QChar(static_cast<char16_t>(codePoint)));
        return;
    }
    if (codePoint < 0x80 || !QChar::isDigit(codePoint))
        return;
    const int value = QChar::digitValue(codePoint);
    if (value >= 0 && value <= 9)
        out.append(QChar(static_cast<char16_t>(u'0' + value)));
}

// Formatting a 10,000-row table asks for 20,000 currency texts; building an ICU formatter costs
// far more than using one, so each thread keeps one per locale name.
struct CurrencyFormats
{
    QString lastName;
    icu::NumberFormat *last = nullptr;
    std::map<QString, std::unique_ptr<icu::NumberFormat>> byName;
};

std::unique_ptr<icu::NumberFormat> makeCurrencyFormat(const QString &localeName)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(localeName.toLatin1().constData());
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createCurrencyInstance(locale, status));
    if (U_FAILURE(status) || !format)
        return nullptr;
    // The invoice is always billed in yen, whatever the locale's own currency is.
    format->setCurrency(u"JPY", status);
    if (U_FAILURE(status))
        return nullptr;
    format->setGroupingUsed(true);
    format->setMinimumFractionDigits(0);
    format->setMaximumFractionDigits(0);
    return format;
}

// A null pointer when ICU cannot give one for this locale; that answer is cached as well.
icu::NumberFormat *currencyFormat(const QString &localeName)
{
    thread_local CurrencyFormats formats;
    if (formats.last && formats.lastName == localeName)
        return formats.last;
    auto found = formats.byName.find(localeName);
    if (found == formats.byName.end())
        found = formats.byName.emplace(localeName, makeCurrencyFormat(localeName)).first;
    formats.lastName = localeName;
    formats.last = found->second.get();
    return formats.last;
}

// Only reached when ICU fails: the amount must still read as money rather than vanish.
QString plainYen(qint64 amount)
{
    const bool negative = amount < 0;
    // Through the unsigned magnitude so that the smallest value has a positive counterpart.
    quint64 magnitude = negative ? 0 - static_cast<quint64>(amount) : static_cast<quint64>(amount);
    QString digits = QString::number(magnitude);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return (negative ? QStringLiteral("-¥") : QStringLiteral("¥")) + digits;
}

} // namespace

QString spot(const CellValue &value)
{
    const QString text = cellDisplay(value);
    QString digits;
    digits.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar unit = text.at(i);
        // Digits outside the BMP (mathematical, Osmanya, …) arrive as surrogate pairs.
        if (unit.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            appendDigitOf(digits, QChar::surrogateToUcs4(unit, text.at(i + 1)));
            ++i;
        } else {
            appendDigitOf(digits, unit.unicode());
        }
    }
    return digits;
}

qint64 digitsValue(const QString &digits)
{
    qint64 value = 0;
    for (const QChar c : digits) {
        const char16_t unit = c.unicode();
        if (unit < u'0' || unit > u'9')
            continue;
        const int digit = unit - u'0';
        if (value > (Largest - digit) / 10)
            return Largest;
        value = value * 10 + digit;
    }
    return value;
}

qint64 amountOf(const CellValue &value)
{
    return digitsValue(spot(value));
}

QString mark(qint64 amount, const QString &localeName)
{
    const QString name = localeName.isEmpty() ? userLocaleName() : localeName;
    icu::NumberFormat *format = currencyFormat(name);
    if (!format)
        return plainYen(amount);
    icu::UnicodeString text;
    icu::FieldPosition position;
    UErrorCode status = U_ZERO_ERROR;
    format->format(static_cast<int64_t>(amount), text, position, status);
    if (U_FAILURE(status) || text.isEmpty())
        return plainYen(amount);
    return QString::fromUtf16(text.getBuffer(), text.length());
}

qint64 leadingInteger(const CellValue &value)
{
    if (cellIsInteger(value))
        return value.toLongLong();
    if (!cellIsText(value))
        return 0;
    const QString text = value.toString();
    const qsizetype size = text.size();
    qsizetype i = 0;
    // Full-width spaces from a Japanese input method count as white space too.
    while (i < size && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < size && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // Built on the side of the sign so that the smallest value is reached exactly.
    qint64 result = 0;
    for (; i < size; ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < u'0' || unit > u'9')
            break;
        const int digit = unit - u'0';
        if (negative) {
            if (result < (Smallest + digit) / 10)
                return Smallest;
            result = result * 10 - digit;
        } else {
            if (result > (Largest - digit) / 10)
                return Largest;
            result = result * 10 + digit;
        }
    }
    return result;
}

std::optional<qint64> checkedAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return std::nullopt;
    return sum;
}

std::optional<qint64> checkedMultiply(qint64 a, qint64 b)
{
    qint64 product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return std::nullopt;
    return product;
}

std::optional<qint64> consumptionTax(qint64 subtotal)
{
    // 8 % in integers: a double loses the last yen of large subtotals and misplaces the halves.
    const Wide scaled = static_cast<Wide>(subtotal) * 8;
    Wide tax = scaled / 100;
    const Wide rest = scaled % 100; // carries the sign of the subtotal
    if (rest >= 50)
        ++tax;
    else if (rest <= -50)
        --tax;
    if (tax > Largest || tax < Smallest)
        return std::nullopt;
    return static_cast<qint64>(tax);
}

} // namespace seikyu
