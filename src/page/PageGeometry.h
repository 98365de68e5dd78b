#pragma once

#include "table/ItemRow.h"

#include <array>

namespace seikyu::page {

/// One A4 portrait sheet is 595 × 842 page pixels: one pixel is one point of paper.
constexpr int SheetWidth = 595;
constexpr int SheetHeight = 842;
constexpr int SheetMargin = 42;
/// Where the invoice's regions sit on every A4 sheet, in page pixels.
constexpr int Left = SheetMargin;
constexpr int Right = SheetWidth - SheetMargin;
constexpr int Bottom = SheetHeight - SheetMargin;
/// The top of the item table on the first page.
constexpr int GridTop = 262;
/// The top of the item table on a further page, under its slim heading.
constexpr int ContinuedGridTop = 102;
constexpr int RoomInset = 2;
/// The page table's columns in page pixels; the description takes what the others leave.
constexpr int ColumnWidths[ColumnCount] = {58, 0, 84, 58, 96};
/// The line under the table's rows that explains the ※ of reduced-rate rows.
constexpr int LegendHeight = 13;
/// The space between the table (or its legend) and the remarks under it.
constexpr int RemarksGap = 6;
/// On screen, the room an empty remarks region takes to show where it is.
constexpr int RemarksPlaceholderHeight = 18;
/// The customer's size on a further page's heading; on the first page a longer name wraps at it.
constexpr int CustomerPixelSize = 13;
/// The space between two pages on screen.
constexpr int PageGap = 16;

/// The width of the description column: what the other columns leave of the table's width.
constexpr int nameColumnWidth()
{
    int fixed = 0;
    for (int width : ColumnWidths)
        fixed += width;
    return Right - Left - 2 * RoomInset - fixed;
}

/// Every column's width, the description's included.
constexpr std::array<int, ColumnCount> columnWidths()
{
    std::array<int, ColumnCount> widths{};
    for (int column = 0; column < ColumnCount; ++column)
        widths[size_t(column)] = ColumnWidths[column] ? ColumnWidths[column] : nameColumnWidth();
    return widths;
}

} // namespace seikyu::page
