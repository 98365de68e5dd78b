#include "import/RowConversion.h"

#include "import/RowChecks.h"
#include "import/TaxClassText.h"
#include "table/SumsRows.h"
#include "table/UserLocale.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <map>

namespace seikyu {

namespace {

/// The amount pattern of a locale, on text folded to its compatibility forms (full-width digits
/// and signs are ASCII by then, ￥ is ¥).
const QRegularExpression &amountPattern(const QString &localeName)
{
    thread_local std::map<QString, QRegularExpression> patterns;
    auto found = patterns.find(localeName);
    if (found != patterns.end())
        return found->second;
    const QLocale locale(localeName);
    const QString point = QRegularExpression::escape(locale.decimalPoint());
    QString group = locale.groupSeparator();
    // A space-like separator (French, Swiss) folds to a plain space.
    group = group.trimmed().isEmpty() ? QStringLiteral(" ") : QRegularExpression::escape(group);
    const QString pattern = QStringLiteral(R"(^[-\x{2212}\x{25B3}\x{25B2}+]?\s*[\x{00A5}$\\]?\s*[-\x{2212}]?\s*)"
                                           R"((?:\d{1,3}(?:%1\d{3})+|\d+)(?:%2\d+)?\s*(?:円|JPY)?-?$)")
                                .arg(group, point);
    return patterns.emplace(localeName, QRegularExpression(pattern)).first->second;
}

QString trimmedCell(const QStringList &fields, qsizetype index)
{
    return index < fields.size() ? fields.at(index).trimmed() : QString();
}

CellValue &cellOf(RowCells &cells, Column column)
{
    return cells[static_cast<std::size_t>(column)];
}

} // namespace

std::optional<CellNumber> amountInText(const QString &text, const QString &localeName)
{
    const QString name = localeName.isEmpty() ? userLocaleName() : localeName;
    const QString folded = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (folded.isEmpty() || !amountPattern(name).match(folded).hasMatch())
        return std::nullopt;
    return readNumber(folded, name);
}

std::optional<RowCells> rowFromFields(const QStringList &fields, const ColumnMapping &mapping)
{
    RowCells cells;
    cells.fill(CellValue(QString()));
    bool filled = false;
    bool priced = false; // the line gives a price other than nothing
    for (qsizetype i = 0; i < mapping.size(); ++i) {
        if (!mapping.at(i))
            continue;
        const QString text = trimmedCell(fields, i);
        if (text.isEmpty())
            continue;
        filled = true;
        const Column column = *mapping.at(i);
        CellValue value = text;
        if (column == Column::Solo || column == Column::Sums || column == Column::Much) {
            if (const std::optional<CellNumber> number = amountInText(text)) {
                if (column == Column::Much && number->isWhole())
                    value = CellValue(number->negative ? -number->whole : number->whole);
                else if (column == Column::Solo && !number->isZero())
                    value = markNumber(*number);
                else if (column == Column::Sums && !number->isZero())
                    value = mark(amountOf(CellValue(text)));
                priced = priced || (column == Column::Sums && !number->isZero());
            } else {
                priced = priced || column == Column::Sums; // a text such as 別途 or 込み is its price
            }
        }
        cellOf(cells, column) = value;
    }
    if (!filled)
        return std::nullopt;
    // No price, or a price of nothing: unit price × quantity, as a click on the row works it out.
    if (!priced) {
        if (const std::optional<RowCells> worked = pricedRow(cells))
            cells = *worked;
    }
    return cells;
}

ImportedRows rowsFromRecords(const QList<TextRecord> &records, const ColumnMapping &mapping, bool firstIsHeader,
                             std::optional<int> taxColumn)
{
    ImportedRows imported;
    imported.namedColumns = firstIsHeader;
    imported.taxClassRead = taxColumn.has_value();
    imported.unplacedColumns = unplacedColumns(records, mapping, taxColumn, firstIsHeader);
    imported.rows.reserve(records.size());
    const TaxColumnKind kind = firstIsHeader && taxColumn && !records.isEmpty()
                                   ? taxColumnKind(records.constFirst().fields.value(*taxColumn))
                                   : TaxColumnKind::Classes;
    for (qsizetype i = firstIsHeader ? 1 : 0; i < records.size(); ++i) {
        const TextRecord &record = records.at(i);
        std::optional<RowCells> cells = rowFromFields(record.fields, mapping);
        if (!cells) {
            imported.skipped.append(
                {record.line, QCoreApplication::translate("RowImport", "nothing in the columns that are imported")});
            continue;
        }
        ImportedRow row{record.line, std::move(*cells), TaxClass::Standard,
                        rowProblems(record.fields, mapping, taxColumn, kind)};
        if (taxColumn)
            row.taxClass = taxClassOfText(record.fields.value(*taxColumn), kind).value_or(TaxClass::Standard);
        imported.rows.append(std::move(row));
    }
    return imported;
}

QList<SkippedLine> ImportedRows::flagged() const
{
    QList<SkippedLine> lines;
    for (const ImportedRow &row : rows) {
        if (!row.problems.isEmpty())
            lines.append({row.line, row.problems.join(QStringLiteral("; "))});
    }
    return lines;
}

ImportedRows ImportedRows::withoutFlagged() const
{
    ImportedRows kept = *this;
    kept.rows.removeIf([](const ImportedRow &row) { return !row.problems.isEmpty(); });
    return kept;
}

int insertionIndex(const QList<RowPtr> &rows, int currentRow)
{
    int end = static_cast<int>(rows.size());
    if (const std::optional<RowRange> sums = trailingSums(rows))
        end = sums->first;
    if (currentRow >= 0 && currentRow < end)
        return currentRow + 1;
    return std::max(end, rows.isEmpty() ? 0 : 1);
}

} // namespace seikyu
