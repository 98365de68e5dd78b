#pragma once

#include "page/RegionPainting.h"

#include <QPointF>
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
    Legend,  ///< the line under the table's rows that explains the ※
    Address, ///< the customer's address block, in place of the customer line, for a window envelope
    /// A paper receipt's revenue stamp: the box to put it on, or why none is due; at the right,
    /// between the number and the issuer, clear of the customer line
    StampDuty,
};

/// The room a region of the first page sits in, in page pixels: the box its guide border draws on
/// screen; the region's text keeps `page::RoomInset` inside it. The remarks' room is where it starts,
/// under an empty table; the legend has none of its own (it follows the table's rows).
QRect sheetRoom(SheetRegion region);

/// How a region sets its text (its look, face, size, alignment and rules), without any text.
PageRegion sheetRegionStyle(SheetRegion region);

/// The address block's room for a window envelope (長形3号: the A4 sheet folded in three, its window at
/// least 45 × 80 mm): inside x 20–105 mm and y 15–55 mm of the sheet, moved by `offsetMm` (the user's
/// adjustment to their envelopes, in millimetres right and down).
QRect addressBlockRoom(const QPointF &offsetMm);

/// The title's room when the address block takes the top left: at the right, under the date and number.
QRect titleRoomBesideAddress();

/// Millimetres of paper in page pixels (points).
constexpr qreal pagePixelsOfMillimetres(qreal millimetres)
{
    return millimetres * 72.0 / 25.4;
}

/// The box a region's text takes in its room, in page pixels.
QRect sheetRegionBox(const QRect &room);

namespace page {
/// The remarks under the table are as tall as their text needs, up to this.
constexpr int RemarksMaximumHeight = 120;
} // namespace page

} // namespace seikyu
