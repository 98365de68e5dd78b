#include "page/SheetRegions.h"

#include "page/PageFonts.h"
#include "page/PageGeometry.h"

#include <cmath>

namespace seikyu {

namespace {

using namespace page;

/// The issuer block and the seal pressed on it: the seal sits at the block's right, level with the
/// name line, and every other line of the block keeps clear of it.
constexpr QRect IssuerRoom(Right - 258, 146, 258, 110);
constexpr int SealSize = 64;
constexpr QRect SealRoom(Right - SealSize, 168, SealSize, SealSize);
constexpr int SealGap = 4;
constexpr int IssuerNameLine = 2;

PageRegion styled(PageRegion::Look look, int pixelSize, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    PageRegion region;
    region.look = look;
    region.face = pageFont(pixelSize);
    region.pixelSize = pixelSize;
    region.alignment = alignment;
    return region;
}

} // namespace

QRect sheetRoom(SheetRegion region)
{
    switch (region) {
    case SheetRegion::Title:
        return {Left, Left, 300, 46};
    case SheetRegion::Date:
        return {Right - 190, Left, 190, 26};
    case SheetRegion::Customer:
        return {Left, 104, 330, 38};
    case SheetRegion::Amount:
        return {Left, 160, 250, 74};
    case SheetRegion::Issuer:
        return IssuerRoom;
    case SheetRegion::Stamp:
        return SealRoom;
    // The optional parts of a freelancer's invoice: the number under the date, at the right; the due
    // date under the invoice amount; the remarks under the table.
    case SheetRegion::Number:
        return {Right - 190, Left + 26, 190, 20};
    case SheetRegion::DueDate:
        return {Left, 236, 250, 22};
    case SheetRegion::Remarks:
        return {Left, GridTop, Right - Left, RemarksPlaceholderHeight};
    case SheetRegion::Address:
        return addressBlockRoom({});
    case SheetRegion::StampDuty:
        return {Right - 170, Left + 48, 66, 56};
    case SheetRegion::Legend:
        break;
    }
    return {};
}

QRect addressBlockRoom(const QPointF &offsetMm)
{
    // Whole pixels inside the window's part of the sheet, so no line reaches its edge.
    const QPointF topLeft(pagePixelsOfMillimetres(20 + offsetMm.x()), pagePixelsOfMillimetres(15 + offsetMm.y()));
    const QPointF bottomRight(pagePixelsOfMillimetres(105 + offsetMm.x()), pagePixelsOfMillimetres(55 + offsetMm.y()));
    const QPoint first(int(std::ceil(topLeft.x())), int(std::ceil(topLeft.y())));
    const QPoint end(int(std::floor(bottomRight.x())), int(std::floor(bottomRight.y())));
    return {first, QSize(end.x() - first.x(), end.y() - first.y())};
}

QRect titleRoomBesideAddress()
{
    return {Right - 250, 92, 250, 46};
}

PageRegion sheetRegionStyle(SheetRegion region)
{
    using Look = PageRegion::Look;
    switch (region) {
    case SheetRegion::Title:
        return styled(Look::Plain, 26);
    case SheetRegion::Date:
        return styled(Look::Plain, 11, Qt::AlignRight | Qt::AlignVCenter);
    case SheetRegion::Customer: {
        PageRegion customer = styled(Look::Plain, 18);
        // A long name wraps at the size later pages set it in, rather than shrink to the smallest
        // type on one line.
        customer.wrapPixelSize = CustomerPixelSize;
        customer.underlined = true;
        return customer;
    }
    case SheetRegion::Amount:
        return styled(Look::Amount, 12);
    case SheetRegion::Issuer: {
        PageRegion issuer = styled(Look::Plain, 10, Qt::AlignLeft | Qt::AlignTop);
        issuer.sealClearance = SealSize + SealGap - RoomInset;
        issuer.sealExemptLine = IssuerNameLine;
        return issuer;
    }
    case SheetRegion::Stamp: {
        PageRegion stamp = styled(Look::Image, 9);
        stamp.face = pageGothicFont(9);
        return stamp;
    }
    case SheetRegion::Number:
        return styled(Look::Plain, 10, Qt::AlignRight | Qt::AlignVCenter);
    case SheetRegion::DueDate:
        return styled(Look::Plain, 11);
    case SheetRegion::Remarks: {
        PageRegion remarks = styled(Look::Plain, 9, Qt::AlignLeft | Qt::AlignTop);
        remarks.heading = QStringLiteral("備考");
        return remarks;
    }
    case SheetRegion::Address:
        return styled(Look::Plain, 11, Qt::AlignLeft | Qt::AlignTop);
    case SheetRegion::StampDuty:
        return styled(Look::Plain, 8, Qt::AlignRight | Qt::AlignBottom);
    case SheetRegion::Legend: {
        PageRegion legend = styled(Look::Plain, 8);
        legend.text = QStringLiteral("※は軽減税率対象");
        return legend;
    }
    }
    return {};
}

QRect sheetRegionBox(const QRect &room)
{
    return room.adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset);
}

} // namespace seikyu
