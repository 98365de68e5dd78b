#include "table/Amounts.h"

#include "table/UserLocale.h"

#include <QChar>
#include <QLocale>
#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <unicode/decimfmt.h>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

namespace seikyu {

namespace {

constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();
// Fraction digits beyond these change no yen of any price a person types.
constexpr int FractionDigitsUsed = 9;

// The one wide type the amounts need; __extension__ keeps -Wpedantic quiet about it.
__extension__ typedef __int128 Wide;

/// The value 0–9 of a decimal digit of any script (full-width １ from an input method, Arabic-Indic
/// ٣, mathematical 𝟘…), or -1 for anything else.
int digitOf(char32_t codePoint)
{
    if (codePoint >= U'0' && codePoint <= U'9')
        return static_cast<int>(codePoint - U'0');
    if (codePoint < 0x80 || !QChar::isDigit(codePoint))
        return -1;
    const int value = QChar::digitValue(codePoint);
    return (value >= 0 && value <= 9) ? value : -1;
}

/// A minus before an amount: ASCII, full-width and typographic minus, and the bookkeeping
/// triangles △ ▲ that Japanese accounts write before a discount.
bool isMinus(char32_t codePoint)
{
    return codePoint == U'-' || codePoint == U'\uFF0D' || codePoint == U'\u2212' || codePoint == U'\u25B3' ||
           codePoint == U'\u25B2';
}

/// Walks a text by code point: digits outside the BMP arrive as surrogate pairs.
template <typename Visit> void forEachCodePoint(const QString &text, Visit visit)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar unit = text.at(i);
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, text.at(i + 1));
            ++i;
        }
        if (!visit(codePoint))
            return;
    }
}

qint64 appendDigit(qint64 whole, int digit)
{
    if (whole > (Largest - digit) / 10)
        return Largest;
    return whole * 10 + digit;
}

Wide powerOfTen(int exponent)
{
    Wide power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

/// numerator / denominator (denominator > 0) rounded to a whole number by the rule.
Wide divideRounded(Wide numerator, Wide denominator, TaxRounding rounding)
{
    Wide quotient = numerator / denominator;   // towards zero
    const Wide rest = numerator % denominator; // carries the sign of the numerator
    if (rest == 0)
        return quotient;
    const int away = numerator < 0 ? -1 : 1;
    switch (rounding) {
    case TaxRounding::Down:
        return quotient;
    case TaxRounding::Up:
        return quotient + away;
    case TaxRounding::HalfAwayFromZero:
        break;
    }
    return (rest < 0 ? -rest : rest) * 2 >= denominator ? quotient + away : quotient;
}

std::optional<qint64> fitting(Wide value)
{
    if (value > Largest || value < Smallest)
        return std::nullopt;
    return static_cast<qint64>(value);
}

/// The number as an integer count of 10^-scale units, the fraction cut to the digits that count.
Wide scaledValue(const CellNumber &number, int *scale)
{
    const QString fraction = number.fraction.left(FractionDigitsUsed);
    *scale = static_cast<int>(fraction.size());
    Wide fractionValue = 0;
    for (const QChar c : fraction)
        fractionValue = fractionValue * 10 + (c.unicode() - u'0');
    const Wide value = static_cast<Wide>(number.whole) * powerOfTen(*scale) + fractionValue;
    return number.negative ? -value : value;
}

// Formatting a 10,000-row table asks for 20,000 currency texts; building an ICU formatter costs
// far more than using one, so each thread keeps one per locale name.
struct LocaleAmounts
{
    std::unique_ptr<icu::DecimalFormat> format; ///< null when ICU cannot give one for the locale
    QChar decimalPoint = u'.';
};

struct AmountsByLocale
{
    QString lastName;
    LocaleAmounts *last = nullptr;
    std::map<QString, std::unique_ptr<LocaleAmounts>> byName;
};

std::unique_ptr<LocaleAmounts> makeLocaleAmounts(const QString &localeName)
{
    auto amounts = std::make_unique<LocaleAmounts>();
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(localeName.toLatin1().constData());
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createCurrencyInstance(locale, status));
    auto *decimal = dynamic_cast<icu::DecimalFormat *>(format.get());
    if (U_FAILURE(status) || !decimal)
        return amounts;
    // The invoice is always billed in yen, whatever the locale's own currency is.
    decimal->setCurrency(u"JPY", status);
    if (U_FAILURE(status))
        return amounts;
    decimal->setGroupingUsed(true);
    decimal->setMinimumFractionDigits(0);
    decimal->setMaximumFractionDigits(0);
    const icu::UnicodeString separator =
        decimal->getDecimalFormatSymbols()->getConstSymbol(icu::DecimalFormatSymbols::kMonetarySeparatorSymbol);
    if (separator.length() == 1)
        amounts->decimalPoint = QChar(separator.charAt(0));
    format.release();
    amounts->format.reset(decimal);
    return amounts;
}

LocaleAmounts &localeAmounts(const QString &localeName)
{
    QString name = localeName.isEmpty() ? userLocaleName() : localeName;
    thread_local AmountsByLocale cache;
    if (cache.last && cache.lastName == name)
        return *cache.last;
    auto found = cache.byName.find(name);
    if (found == cache.byName.end()) {
        // A machine without a locale ("C", "POSIX") writes the invoice's own Japanese.
        const QString effective = QLocale(name).language() == QLocale::C ? QStringLiteral("ja_JP") : name;
        found = cache.byName.emplace(name, makeLocaleAmounts(effective)).first;
    }
    cache.lastName = name;
    cache.last = found->second.get();
    return *cache.last;
}

bool isDecimalPoint(char32_t codePoint, QChar localePoint)
{
    if (codePoint == localePoint.unicode())
        return true;
    // The full-width form an input method gives for the same mark.
    return (localePoint == u'.' && codePoint == U'\uFF0E') || (localePoint == u',' && codePoint == U'\uFF0C');
}

// Only reached when ICU fails: the amount must still read as money rather than vanish.
QString plainYen(const CellNumber &number)
{
    QString digits = QString::number(number.whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    if (!number.fraction.isEmpty())
        digits += u'.' + number.fraction;
    return (number.negative ? QStringLiteral("-¥") : QStringLiteral("¥")) + digits;
}

CellNumber numberOfAmount(qint64 amount)
{
    CellNumber number;
    number.hasDigits = true;
    number.negative = amount < 0;
    // Through the unsigned magnitude so that the smallest value has a positive counterpart;
    // the one value that does not fit saturates.
    const quint64 magnitude = number.negative ? 0 - static_cast<quint64>(amount) : static_cast<quint64>(amount);
    number.whole = magnitude > static_cast<quint64>(Largest) ? Largest : static_cast<qint64>(magnitude);
    return number;
}

} // namespace

bool CellNumber::isZero() const
{
    return whole == 0 && std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c == u'0'; });
}

bool CellNumber::isWhole() const
{
    return std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c == u'0'; });
}

CellNumber readNumber(const CellValue &value, const QString &localeName)
{
    CellNumber number;
    if (cellIsInteger(value))
        return numberOfAmount(value.toLongLong());
    if (!cellIsText(value))
        return number;
    const QChar point = localeAmounts(localeName).decimalPoint;
    bool inFraction = false;
    bool minusSeen = false;
    forEachCodePoint(value.toString(), [&](char32_t codePoint) {
        const int digit = digitOf(codePoint);
        if (inFraction) {
            if (digit < 0)
                return false; // the fraction is the run of digits right after the point
            number.fraction.append(QChar(static_cast<char16_t>(u'0' + digit)));
            number.hasDigits = true;
            return true;
        }
        if (digit >= 0) {
            number.whole = appendDigit(number.whole, digit);
            if (!number.hasDigits)
                number.negative = minusSeen;
            number.hasDigits = true;
        } else if (isDecimalPoint(codePoint, point)) {
            inFraction = true;
            if (!number.hasDigits)
                number.negative = minusSeen;
        } else if (isMinus(codePoint) && !number.hasDigits) {
            minusSeen = true;
        }
        return true;
    });
    if (number.isZero())
        number.negative = false;
    return number;
}

CellNumber leadingNumber(const CellValue &value)
{
    if (cellIsInteger(value))
        return numberOfAmount(value.toLongLong());
    CellNumber number;
    if (!cellIsText(value))
        return number;
    enum { Space, Sign, Whole, Fraction } state = Space;
    forEachCodePoint(value.toString(), [&](char32_t codePoint) {
        const int digit = digitOf(codePoint);
        if (state == Space && QChar::isSpace(codePoint))
            return true;
        if (state == Space && (codePoint == U'+' || isMinus(codePoint))) {
            number.negative = codePoint != U'+';
            state = Sign;
            return true;
        }
        if (digit >= 0) {
            if (state == Fraction)
                number.fraction.append(QChar(static_cast<char16_t>(u'0' + digit)));
            else
                number.whole = appendDigit(number.whole, digit);
            number.hasDigits = true;
            if (state != Fraction)
                state = Whole;
            return true;
        }
        if (state == Whole && (codePoint == U'.' || codePoint == U'\uFF0E')) {
            state = Fraction;
            return true;
        }
        return false;
    });
    if (number.isZero())
        number.negative = false;
    return number;
}

qint64 leadingInteger(const CellValue &value)
{
    const CellNumber number = leadingNumber(value);
    if (number.negative)
        return number.whole == Largest ? Smallest : -number.whole;
    return number.whole;
}

qint64 amountOf(const CellValue &value)
{
    const CellNumber number = readNumber(value);
    if (!number.hasDigits)
        return 0;
    int scale = 0;
    const Wide scaled = scaledValue(number, &scale);
    const Wide rounded = divideRounded(scaled, powerOfTen(scale), TaxRounding::HalfAwayFromZero);
    if (rounded > Largest)
        return Largest;
    if (rounded < -static_cast<Wide>(Largest))
        return Smallest;
    return static_cast<qint64>(rounded);
}

QString spot(const CellValue &value)
{
    if (cellIsInteger(value))
        return QString::number(value.toLongLong());
    const CellNumber number = readNumber(value);
    if (!number.hasDigits)
        return {};
    // The whole digits exactly as typed ("00" stays "00"), so files written before keep their bytes.
    QString digits;
    forEachCodePoint(value.toString(), [&](char32_t codePoint) {
        const int digit = digitOf(codePoint);
        if (digit >= 0)
            digits.append(QChar(static_cast<char16_t>(u'0' + digit)));
        else if (isDecimalPoint(codePoint, localeAmounts({}).decimalPoint))
            return false;
        return true;
    });
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    if (number.negative)
        digits.prepend(u'-');
    if (!number.fraction.isEmpty())
        digits += u'.' + number.fraction;
    return digits;
}

QString mark(qint64 amount, const QString &localeName)
{
    return markNumber(numberOfAmount(amount), localeName);
}

QString markNumber(const CellNumber &number, const QString &localeName)
{
    icu::DecimalFormat *format = localeAmounts(localeName).format.get();
    if (!format)
        return plainYen(number);
    const QByteArray decimal = (number.negative ? QByteArrayLiteral("-") : QByteArray()) +
                               QByteArray::number(number.whole) +
                               (number.fraction.isEmpty() ? QByteArray() : "." + number.fraction.toLatin1());
    UErrorCode status = U_ZERO_ERROR;
    const icu::Formattable formattable(icu::StringPiece(decimal.constData(), static_cast<int32_t>(decimal.size())),
                                       status);
    const auto digits = static_cast<int32_t>(number.fraction.size());
    format->setMinimumFractionDigits(digits);
    format->setMaximumFractionDigits(digits);
    icu::UnicodeString text;
    icu::FieldPosition position;
    if (U_SUCCESS(status))
        format->format(formattable, text, position, status);
    format->setMinimumFractionDigits(0);
    format->setMaximumFractionDigits(0);
    if (U_FAILURE(status) || text.isEmpty())
        return plainYen(number);
    return QString::fromUtf16(text.getBuffer(), text.length());
}

std::optional<qint64> priceOf(const CellNumber &unitPrice, const CellNumber &quantity)
{
    int unitScale = 0;
    int quantityScale = 0;
    const Wide unit = scaledValue(unitPrice, &unitScale);
    const Wide much = scaledValue(quantity, &quantityScale);
    Wide product = 0;
    if (__builtin_mul_overflow(unit, much, &product))
        return std::nullopt;
    const Wide price = divideRounded(product, powerOfTen(unitScale + quantityScale), TaxRounding::HalfAwayFromZero);
    if (price > Largest || price < Smallest)
        return std::nullopt;
    return static_cast<qint64>(price);
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

std::optional<qint64> taxOn(qint64 base, int ratePercent, TaxRounding rounding)
{
    // In integers: a double loses the last yen of large bases and misplaces the halves.
    return fitting(divideRounded(static_cast<Wide>(base) * ratePercent, 100, rounding));
}

std::optional<qint64> taxWithin(qint64 price, int ratePercent, TaxRounding rounding)
{
    return fitting(divideRounded(static_cast<Wide>(price) * ratePercent, 100 + ratePercent, rounding));
}

qint64 withholdingTax(qint64 base)
{
    constexpr qint64 Threshold = 1000000;
    if (base <= 0)
        return 0;
    if (base <= Threshold)
        return static_cast<qint64>(static_cast<Wide>(base) * 1021 / 10000);
    return static_cast<qint64>((static_cast<Wide>(base) - Threshold) * 2042 / 10000) + 102100;
}

} // namespace seikyu
