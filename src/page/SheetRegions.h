#pragma once

#include "page/RegionPainting.h"

#include <QRect>

namespace seikyu {

/// The regions of an invoice's first page.
enum class SheetRegion {
    Title,
    Date,
    Customer,
    Amount,
    Issuer,
    Stamp,
    Number,
    DueDate,
    Remarks,
    Legend, ///< the line under the table's rows that explains the ※
};

/// The room a region of the first page sits in, in page pixels: the box its guide border draws on
/// screen; the region's text keeps `page::RoomInset` inside it. The remarks' room is where it starts,
/// under an empty table; the legend has none of its own (it follows the table's rows).
QRect sheetRoom(SheetRegion region);

/// How a region sets its text (its look, face, size, alignment and rules), without any text.
PageRegion sheetRegionStyle(SheetRegion region);

/// The box a region's text takes in its room, in page pixels.
QRect sheetRegionBox(const QRect &room);

namespace page {
/// The remarks under the table are as tall as their text needs, up to this.
constexpr int RemarksMaximumHeight = 120;
} // namespace page

} // namespace seikyu
