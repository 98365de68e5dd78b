#include "import/RowChecks.h"

#include "import/RowConversion.h"
#include "import/TaxClassText.h"
#include "table/Amounts.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

/// A cell's text as a reason quotes it: a runaway cell is cut short.
QString quoted(const QString &text)
{
    constexpr int Longest = 24;
    return text.size() > Longest ? text.left(Longest) + QStringLiteral("…") : text;
}

/// The trimmed text of the field that fills a table column; empty when no field fills it.
QString fieldOf(const QStringList &fields, const ColumnMapping &mapping, Column column)
{
    const qsizetype at = mapping.indexOf(std::optional<Column>(column));
    return at >= 0 && at < fields.size() ? fields.at(at).trimmed() : QString();
}

} // namespace

QStringList rowProblems(const QStringList &fields, const ColumnMapping &mapping, std::optional<int> taxColumn,
                        TaxColumnKind kind)
{
    QStringList problems;
    const QString quantityText = fieldOf(fields, mapping, Column::Much);
    const QString unitText = fieldOf(fields, mapping, Column::Solo);
    const QString priceText = fieldOf(fields, mapping, Column::Sums);
    const std::optional<CellNumber> quantity = amountInText(quantityText);
    const std::optional<CellNumber> unitPrice = amountInText(unitText);
    if (!quantityText.isEmpty() && !quantity)
        problems.append(
            QCoreApplication::translate("RowImport", "the quantity “%1” is not a number").arg(quoted(quantityText)));
    if (!unitText.isEmpty() && !unitPrice)
        problems.append(
            QCoreApplication::translate("RowImport", "the unit price “%1” is not a number").arg(quoted(unitText)));
    const std::optional<CellNumber> price = amountInText(priceText);
    if (quantity && unitPrice && price && !price->isZero()) {
        const std::optional<qint64> worked = priceOf(*unitPrice, *quantity);
        const qint64 given = amountOf(CellValue(priceText));
        if (worked != given)
            problems.append(
                QCoreApplication::translate("RowImport", "the price %1 is not unit price × quantity (%2)")
                    .arg(mark(given), worked ? mark(*worked) : QCoreApplication::translate("RowImport", "too large")));
    }
    if (taxColumn && *taxColumn < fields.size() && !taxClassOfText(fields.at(*taxColumn), kind))
        problems.append(
            QCoreApplication::translate(
                "RowImport", "the tax class “%1” is not one Seikyu reads (8 %, 10 %, 軽減, ※, 非課税, 対象外)")
                .arg(quoted(fields.at(*taxColumn).trimmed())));
    return problems;
}

QStringList unplacedColumns(const QList<TextRecord> &records, const ColumnMapping &mapping,
                            std::optional<int> taxColumn, bool firstIsHeader)
{
    const qsizetype first = firstIsHeader ? 1 : 0;
    QList<bool> holds;
    for (qsizetype r = first; r < records.size(); ++r) {
        const QStringList &fields = records.at(r).fields;
        if (holds.size() < fields.size())
            holds.resize(fields.size());
        for (qsizetype c = 0; c < fields.size(); ++c)
            holds[c] = holds.at(c) || !fields.at(c).trimmed().isEmpty();
    }
    const QStringList names = firstIsHeader && !records.isEmpty() ? records.constFirst().fields : QStringList();
    QStringList unplaced;
    for (int c = 0; c < holds.size(); ++c) {
        if (!holds.at(c) || (c < mapping.size() && mapping.at(c)) || c == taxColumn)
            continue;
        const QString name = names.value(c).trimmed();
        unplaced.append(name.isEmpty() ? QCoreApplication::translate("RowImport", "column %1").arg(c + 1)
                                       : quoted(name));
    }
    return unplaced;
}

QStringList readingNotes(const ImportedRows &rows)
{
    QStringList notes;
    if (!rows.unplacedColumns.isEmpty())
        notes.append(QCoreApplication::translate("RowImport", "Columns not imported: %1.")
                         .arg(rows.unplacedColumns.join(QCoreApplication::translate("RowImport", ", "))));
    if (!rows.taxClassRead)
        notes.append(QCoreApplication::translate(
            "RowImport", "No column gives a tax class, so every row is at the invoice's rate. To mark rows at the "
                         "reduced rate (8 %, ※), select them in the Items panel and press Ctrl+R."));
    return notes;
}

} // namespace seikyu
