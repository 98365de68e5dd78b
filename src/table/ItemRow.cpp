#include "table/ItemRow.h"

namespace seikyu {

namespace {
const std::array<QString, ColumnCount> &keys()
{
    static const std::array<QString, ColumnCount> k{QStringLiteral("date"), QStringLiteral("name"),
                                                    QStringLiteral("solo"), QStringLiteral("much"),
                                                    QStringLiteral("sums")};
    return k;
}
} // namespace

QString columnKey(Column column)
{
    return keys()[static_cast<std::size_t>(column)];
}

int columnOfKey(const QString &key)
{
    for (int i = 0; i < ColumnCount; ++i) {
        if (keys()[static_cast<std::size_t>(i)] == key)
            return i;
    }
    return -1;
}

bool cellIsText(const CellValue &value)
{
    return value.typeId() == QMetaType::QString;
}

bool cellIsInteger(const CellValue &value)
{
    return value.typeId() == QMetaType::LongLong;
}

QString cellDisplay(const CellValue &value)
{
    if (cellIsText(value))
        return value.toString();
    if (cellIsInteger(value))
        return QString::number(value.toLongLong());
    return QStringLiteral("(null)");
}

ItemRow::ItemRow(CellValue date, CellValue name, CellValue solo, CellValue much, CellValue sums)
    : m_cells{std::move(date), std::move(name), std::move(solo), std::move(much), std::move(sums)}
{}

std::shared_ptr<ItemRow> ItemRow::makeHeader()
{
    auto row = std::make_shared<ItemRow>(QStringLiteral("日付"), QStringLiteral("項目"), QStringLiteral("単価"),
                                         QStringLiteral("個数"), QStringLiteral("価格"));
    row->m_header = true;
    return row;
}

} // namespace seikyu
