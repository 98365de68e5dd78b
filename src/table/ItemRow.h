#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <memory>

namespace seikyu {

/// The five cells of an item row, in column order.
enum class Column { Date = 0, Name, Solo, Much, Sums };
inline constexpr int ColumnCount = 5;

/// The file and record key of each column: "date", "name", "solo", "much", "sums".
QString columnKey(Column column);
/// The column of a key, or -1 when the key names none.
int columnOfKey(const QString &key);

/// A cell value is a text (QString), a 64-bit integer (qint64) or absent (an invalid QVariant).
using CellValue = QVariant;
/// The five cells of a row, in column order.
using RowCells = std::array<CellValue, ColumnCount>;

/// How a row's price is taxed: at the invoice's rate, at the reduced rate of 8 % (marked ※ on the
/// page), or not at all (非課税 / 不課税: outside every tax base).
enum class TaxClass { Standard, Reduced, Exempt };

bool cellIsText(const CellValue &value);
bool cellIsInteger(const CellValue &value);
/// The cell rendered as text the way the invoice has always shown values: texts unchanged,
/// integers in decimal, absent as "(null)" (which holds no digit).
QString cellDisplay(const CellValue &value);

/// One row of the item table. Rows are shared objects: the table model and the undo records
/// hold the same row, so a row keeps its identity while it is removed and put back.
class ItemRow
{
public:
    ItemRow() = default;
    ItemRow(CellValue date, CellValue name, CellValue solo, CellValue much, CellValue sums);

    const CellValue &value(Column column) const { return m_cells[static_cast<int>(column)]; }
    void setValue(Column column, const CellValue &value) { m_cells[static_cast<int>(column)] = value; }
    const RowCells &cells() const { return m_cells; }
    void setCells(const RowCells &cells) { m_cells = cells; }

    TaxClass taxClass() const { return m_taxClass; }
    void setTaxClass(TaxClass taxClass) { m_taxClass = taxClass; }

    /// True for the table's fixed header row, which no operation writes into.
    bool isHeader() const { return m_header; }

    /// The fixed header row: 日付 項目 単価 個数 価格.
    static std::shared_ptr<ItemRow> makeHeader();

    friend bool operator==(const ItemRow &, const ItemRow &) = default;

private:
    RowCells m_cells;
    TaxClass m_taxClass = TaxClass::Standard;
    bool m_header = false;
};

using RowPtr = std::shared_ptr<ItemRow>;

} // namespace seikyu
