#pragma once

#include "import/TaxClassText.h"
#include "table/ItemRow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// For each column of the rows that come in, the table column it fills; nothing leaves it out.
using ColumnMapping = QList<std::optional<Column>>;

/// The table column a heading names, in Japanese or English, whatever its case, width and spaces,
/// and with a unit in brackets after it: 日付 / date; 項目, 品名, 品目, 商品名, 摘要 / description,
/// item; 単価 / unit price; 数量, 個数 / quantity, qty; 金額, 価格 / amount, price ("金額（円）"
/// too). Nothing for any other heading.
std::optional<Column> columnOfHeading(const QString &heading);

/// Whether a heading names the column that gives each row's tax class, as the headings and
/// tolerances of columnOfHeading go: 税率, 消費税率, 軽減, 軽減税率, 軽減対象, 税区分, 課税区分, ※ /
/// tax rate, tax class. Not 消費税 or tax alone: such a column holds each row's tax amount.
bool namesTaxClass(const QString &heading);

/// The mapping a first line gives when it names the columns: it must name two different table
/// columns, or name one and hold nothing else (a tax class heading aside). A heading that names a
/// column named before it, or no column, is left out. Nothing when the line is not a header line.
std::optional<ColumnMapping> mappingFromHeader(const QStringList &cells);

/// How a tax class heading's column states the classes: 軽減, 軽減対象 and ※ mark the reduced rows.
TaxColumnKind taxColumnKind(const QString &heading);

/// The first column a header line names as the tax class's.
std::optional<int> taxColumnOfHeader(const QStringList &cells);

/// The columns in the table's own order: date, description, unit price, quantity, price; any
/// further column left out.
ColumnMapping tableOrderMapping(int columnCount);

/// The mapping with each table column filled from one column at most: a later column that names
/// a table column already filled is left out.
ColumnMapping withoutRepeats(ColumnMapping mapping);

/// Whether the mapping fills any table column.
bool fillsAnyColumn(const ColumnMapping &mapping);

} // namespace seikyu
