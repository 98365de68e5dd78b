#include "import/ColumnGuess.h"

#include "import/RowConversion.h"

#include <QRegularExpression>
#include <array>
#include <cmath>

namespace seikyu {

namespace {

enum class Kind { Empty, Date, Number, Text };

/// What one column holds, row by row.
struct ColumnFacts
{
    Kind kind = Kind::Empty;
    bool money = false;                  ///< some cell carries a currency sign or 円
    QList<std::optional<double>> values; ///< each row's number, when it has one
};

bool isDateText(QString folded)
{
    // 12/1, 2026/12/01, 2026-12-01, 2026.12.1, R8.12.1, 12月1日, 令和8年12月1日, each perhaps with
    // its day of the week, 12/1(火); a month and day without a year never take a point, which a
    // decimal number has.
    static const QRegularExpression weekday(QStringLiteral(R"(\s*\([月火水木金土日]\)$)"));
    folded.remove(weekday);
    static const QRegularExpression date(
        QStringLiteral(R"(^(?:(?:\d{4}|[RHSrhs]\d{1,2})([/.\-]))?(\d{1,2})[/\-.](\d{1,2})$)"
                       R"(|^(?:(?:\d{4}|(?:令和|平成|昭和)(?:\d{1,2}|元))年)?(\d{1,2})月(\d{1,2})日?$)"));
    const QRegularExpressionMatch m = date.match(folded);
    if (!m.hasMatch())
        return false;
    const bool numeric = m.capturedLength(2) > 0;
    if (numeric && m.capturedLength(1) == 0 && folded.contains(u'.'))
        return false;
    const int month = m.captured(numeric ? 2 : 4).toInt();
    const int day = m.captured(numeric ? 3 : 5).toInt();
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

double valueOf(const CellNumber &number)
{
    double value = static_cast<double>(number.whole);
    if (!number.fraction.isEmpty())
        value += number.fraction.toDouble() / std::pow(10.0, number.fraction.size());
    return number.negative ? -value : value;
}

QList<ColumnFacts> factsOf(const QList<TextRecord> &records, int columns)
{
    static const QRegularExpression currency(QStringLiteral(R"([\x{00A5}$\\円]|JPY)"));
    QList<ColumnFacts> facts(columns);
    for (ColumnFacts &column : facts)
        column.values.resize(records.size());
    QList<std::array<bool, 3>> seen(columns); // per column: a date, a number, other text
    for (qsizetype r = 0; r < records.size(); ++r) {
        const QStringList &fields = records.at(r).fields;
        for (int c = 0; c < columns && c < fields.size(); ++c) {
            const QString folded = fields.at(c).normalized(QString::NormalizationForm_KC).trimmed();
            if (folded.isEmpty())
                continue;
            if (const std::optional<CellNumber> number = amountInText(folded)) {
                seen[c][1] = true;
                facts[c].values[r] = valueOf(*number);
                facts[c].money = facts[c].money || folded.contains(currency);
            } else {
                seen[c][isDateText(folded) ? 0 : 2] = true;
            }
        }
    }
    for (int c = 0; c < columns; ++c) {
        const auto [date, number, text] = seen.at(c);
        facts[c].kind = text || (date && number) ? Kind::Text : date ? Kind::Date : number ? Kind::Number : Kind::Empty;
    }
    return facts;
}

/// Which of two columns of numbers is the quantity: the one without a currency sign, else the one
/// never larger than the other (and smaller somewhere); nothing when they do not tell.
std::optional<int> quantityOf(const QList<ColumnFacts> &facts, int a, int b)
{
    if (facts.at(a).money != facts.at(b).money)
        return facts.at(a).money ? b : a;
    bool aSmaller = false, bSmaller = false;
    for (qsizetype r = 0; r < facts.at(a).values.size(); ++r) {
        const std::optional<double> x = facts.at(a).values.at(r), y = facts.at(b).values.at(r);
        if (!x || !y)
            continue;
        aSmaller = aSmaller || std::abs(*x) < std::abs(*y);
        bSmaller = bSmaller || std::abs(*y) < std::abs(*x);
    }
    if (aSmaller == bSmaller)
        return std::nullopt;
    return aSmaller ? a : b;
}

/// In how many rows the first two columns multiply up to the third (to the yen it is rounded to).
int productRows(const QList<ColumnFacts> &facts, int a, int b, int price)
{
    int rows = 0;
    for (qsizetype r = 0; r < facts.at(a).values.size(); ++r) {
        const std::optional<double> x = facts.at(a).values.at(r), y = facts.at(b).values.at(r),
                                    p = facts.at(price).values.at(r);
        rows += x && y && p && std::abs(*x * *y - *p) < 1.0 ? 1 : 0;
    }
    return rows;
}

/// Of three columns of numbers, the one that is the price: the one the other two multiply up to in
/// more rows than any other does, and in most rows that have all three. Two candidates that hold
/// the same numbers in every row are as good as each other; the later one is taken.
std::optional<int> priceOf(const QList<ColumnFacts> &facts, const QList<int> &numbers)
{
    int complete = 0;
    for (qsizetype r = 0; r < facts.at(numbers.at(0)).values.size(); ++r) {
        complete +=
            std::all_of(numbers.begin(), numbers.end(), [&](int c) { return facts.at(c).values.at(r).has_value(); })
                ? 1
                : 0;
    }
    std::optional<int> best;
    int bestRows = 0;
    for (int i = 0; i < 3; ++i) {
        const int price = numbers.at(i);
        const int rows = productRows(facts, numbers.at((i + 1) % 3), numbers.at((i + 2) % 3), price);
        if (best && rows == bestRows && facts.at(price).values == facts.at(*best).values) {
            best = price;
        } else if (rows > bestRows) {
            best = price;
            bestRows = rows;
        } else if (rows == bestRows) {
            best.reset();
        }
    }
    if (!best || bestRows * 2 <= complete)
        return std::nullopt;
    return best;
}

/// Whether the columns sit where the table has them, as rows copied from a table like it do.
bool inTableOrder(const QList<ColumnFacts> &facts)
{
    for (int c = 0; c < facts.size(); ++c) {
        const Kind kind = facts.at(c).kind;
        const Kind expected = c == static_cast<int>(Column::Date)   ? Kind::Date
                              : c == static_cast<int>(Column::Name) ? Kind::Text
                              : c < ColumnCount                     ? Kind::Number
                                                                    : Kind::Empty;
        if (kind != Kind::Empty && kind != expected)
            return false;
    }
    const auto number = [&](Column column) {
        return static_cast<int>(column) < facts.size() && facts.at(static_cast<int>(column)).kind == Kind::Number;
    };
    // The numbers must not say that the quantity and the unit price, or the price, are swapped.
    const int solo = static_cast<int>(Column::Solo), much = static_cast<int>(Column::Much),
              sums = static_cast<int>(Column::Sums);
    if (number(Column::Solo) && number(Column::Much) && quantityOf(facts, solo, much) == solo)
        return false;
    if (number(Column::Solo) && number(Column::Much) && number(Column::Sums))
        return priceOf(facts, {solo, much, sums}).value_or(sums) == sums;
    return true;
}

} // namespace

std::optional<ColumnMapping> mappingFromContent(const QList<TextRecord> &records)
{
    const QList<TextRecord> judged = records.mid(0, RowsJudgedForColumns);
    int columns = 0;
    for (const TextRecord &record : judged)
        columns = std::max(columns, static_cast<int>(record.fields.size()));
    const QList<ColumnFacts> facts = factsOf(judged, columns);
    if (inTableOrder(facts))
        return tableOrderMapping(columns);

    ColumnMapping mapping(columns);
    QList<int> byKind[4];
    for (int c = 0; c < columns; ++c)
        byKind[static_cast<int>(facts.at(c).kind)].append(c);
    const QList<int> &dates = byKind[static_cast<int>(Kind::Date)];
    const QList<int> &texts = byKind[static_cast<int>(Kind::Text)];
    const QList<int> &numbers = byKind[static_cast<int>(Kind::Number)];
    if (dates.size() > 1 || texts.size() > 1)
        return std::nullopt;
    if (!dates.isEmpty())
        mapping[dates.constFirst()] = Column::Date;
    if (!texts.isEmpty())
        mapping[texts.constFirst()] = Column::Name;
    if (numbers.size() == 1) {
        mapping[numbers.constFirst()] = Column::Sums;
    } else if (numbers.size() == 3) {
        const std::optional<int> price = priceOf(facts, numbers);
        if (!price)
            return std::nullopt;
        QList<int> factors = numbers;
        factors.removeOne(*price);
        const std::optional<int> quantity = quantityOf(facts, factors.at(0), factors.at(1));
        if (!quantity)
            return std::nullopt;
        mapping[*price] = Column::Sums;
        mapping[*quantity] = Column::Much;
        mapping[*quantity == factors.at(0) ? factors.at(1) : factors.at(0)] = Column::Solo;
    } else if (!numbers.isEmpty()) {
        return std::nullopt;
    }
    if (!fillsAnyColumn(mapping))
        return std::nullopt;
    return mapping;
}

} // namespace seikyu
