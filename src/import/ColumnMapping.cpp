#include "import/ColumnMapping.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace seikyu {

namespace {

/// The heading reduced to what names it: compatibility forms folded (full-width letters, the
/// ideographic space), lower case, without spaces, and without a unit in brackets at its end.
QString headingKey(const QString &heading)
{
    static const QRegularExpression unit(QStringLiteral(R"([(\[【][^)\]】]*[)\]】]$)"));
    static const QRegularExpression spaces(QStringLiteral(R"([\s_]+)"));
    QString key = heading.normalized(QString::NormalizationForm_KC).trimmed().toCaseFolded();
    key.remove(unit);
    key.remove(spaces);
    return key;
}

const QHash<QString, Column> &headings()
{
    static const QHash<QString, Column> names{
        {QStringLiteral("日付"), Column::Date},      {QStringLiteral("date"), Column::Date},
        {QStringLiteral("項目"), Column::Name},      {QStringLiteral("品名"), Column::Name},
        {QStringLiteral("品目"), Column::Name},      {QStringLiteral("商品名"), Column::Name},
        {QStringLiteral("摘要"), Column::Name},      {QStringLiteral("description"), Column::Name},
        {QStringLiteral("item"), Column::Name},      {QStringLiteral("単価"), Column::Solo},
        {QStringLiteral("unitprice"), Column::Solo}, {QStringLiteral("数量"), Column::Much},
        {QStringLiteral("個数"), Column::Much},      {QStringLiteral("quantity"), Column::Much},
        {QStringLiteral("qty"), Column::Much},       {QStringLiteral("金額"), Column::Sums},
        {QStringLiteral("価格"), Column::Sums},      {QStringLiteral("amount"), Column::Sums},
        {QStringLiteral("price"), Column::Sums},
    };
    return names;
}

const QSet<QString> &taxHeadings()
{
    static const QSet<QString> names{
        QStringLiteral("税率"),     QStringLiteral("消費税率"), QStringLiteral("軽減"),     QStringLiteral("軽減税率"),
        QStringLiteral("軽減対象"), QStringLiteral("税区分"),   QStringLiteral("課税区分"), QStringLiteral("※"),
        QStringLiteral("taxrate"),  QStringLiteral("taxclass"),
    };
    return names;
}

} // namespace

std::optional<Column> columnOfHeading(const QString &heading)
{
    const auto found = headings().constFind(headingKey(heading));
    if (found == headings().constEnd())
        return std::nullopt;
    return *found;
}

bool namesTaxClass(const QString &heading)
{
    return taxHeadings().contains(headingKey(heading));
}

TaxColumnKind taxColumnKind(const QString &heading)
{
    const QString key = headingKey(heading);
    return key == u"軽減" || key == u"軽減対象" || key == u"※" ? TaxColumnKind::ReducedMarks : TaxColumnKind::Classes;
}

std::optional<ColumnMapping> mappingFromHeader(const QStringList &cells)
{
    ColumnMapping mapping;
    int named = 0;
    int others = 0;
    for (const QString &cell : cells) {
        const std::optional<Column> column = columnOfHeading(cell);
        if (column)
            ++named;
        else if (!cell.trimmed().isEmpty() && !namesTaxClass(cell))
            ++others;
        mapping.append(column);
    }
    mapping = withoutRepeats(mapping);
    int distinct = 0;
    for (const std::optional<Column> &column : std::as_const(mapping))
        distinct += column ? 1 : 0;
    if (distinct >= 2 || (named == 1 && others == 0))
        return mapping;
    return std::nullopt;
}

std::optional<int> taxColumnOfHeader(const QStringList &cells)
{
    for (int i = 0; i < cells.size(); ++i) {
        if (namesTaxClass(cells.at(i)))
            return i;
    }
    return std::nullopt;
}

ColumnMapping tableOrderMapping(int columnCount)
{
    ColumnMapping mapping;
    for (int i = 0; i < columnCount; ++i)
        mapping.append(i < ColumnCount ? std::optional<Column>(static_cast<Column>(i)) : std::nullopt);
    return mapping;
}

ColumnMapping withoutRepeats(ColumnMapping mapping)
{
    bool filled[ColumnCount] = {};
    for (std::optional<Column> &column : mapping) {
        if (!column)
            continue;
        bool &taken = filled[static_cast<int>(*column)];
        if (taken)
            column.reset();
        taken = true;
    }
    return mapping;
}

bool fillsAnyColumn(const ColumnMapping &mapping)
{
    return std::any_of(mapping.begin(), mapping.end(), [](const std::optional<Column> &c) { return c.has_value(); });
}

} // namespace seikyu
