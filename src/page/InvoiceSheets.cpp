#include "page/InvoiceSheets.h"

#include "customers/AddressBlock.h"
#include "invoice/ItemTableModel.h"
#include "kinds/KindWords.h"
#include "page/PageCells.h"
#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/SheetRegions.h"
#include "page/TablePlan.h"
#include "sections/DateText.h"
#include "sections/RegistrationNumber.h"
#include "table/SumsRows.h"

#include <cmath>
#include <memory>

namespace seikyu {

namespace {

using namespace page;

/// The texts of the first page's regions, as the page shows them.
struct RegionTexts
{
    QString title, date, customer, amount, issuer, number, due, remarks;
    QString address; ///< the address block; empty without an address
};

RegionTexts regionTextsOf(const Invoice &invoice)
{
    RegionTexts texts;
    texts.title = invoice.title.value_or(QString());
    texts.date = pageDateText(invoice.date, invoice.japaneseEra);
    texts.customer = customerPageLine(invoice.customer.value_or(QString()), invoice.honorificShown);
    texts.amount = amountBoxOfKind(invoice.amountBox.value_or(QString()), invoice.kind);
    texts.issuer = issuerPageText(invoice.issuer.value_or(QString()));
    texts.number = numberOfKind(invoice.kind, invoice.number);
    texts.due = underAmountText(invoice.kind, invoice.dueDate, invoice.japaneseEra);
    texts.remarks = invoice.remarks;
    texts.address =
        addressBlockText(invoice.customer.value_or(QString()), invoice.honorificShown, invoice.customerAddress);
    return texts;
}

PlacedRegion placedRegion(SheetRegion which, const QRect &room, const QString &text)
{
    PlacedRegion placed;
    placed.rect = QRectF(sheetRegionBox(room));
    placed.region = sheetRegionStyle(which);
    placed.region.text = text;
    return placed;
}

PlacedRegion placedRegion(SheetRegion which, const QString &text)
{
    return placedRegion(which, sheetRoom(which), text);
}

/// The legend under rows ending `rowsEnd` page pixels below the top of a table box at `tableTop`.
PlacedRegion placedLegend(qreal tableTop, qreal rowsEnd)
{
    PlacedRegion legend;
    legend.region = sheetRegionStyle(SheetRegion::Legend);
    legend.rect = QRectF(Left + RoomInset, qRound(tableTop + rowsEnd), Right - Left - 2 * RoomInset, LegendHeight);
    return legend;
}

/// The table box at `top` with the model's rows `rows` (in order), `heights` theirs as laid out. Rows
/// are rounded where each ends, so a long table keeps its exact height; returns where the last ends.
qreal placeRows(PlacedTable &placed, const ItemTableModel &table, const std::vector<int> &rows,
                const std::vector<qreal> &heights)
{
    const std::array<int, ColumnCount> widths = columnWidths();
    placed.columnWidths.assign(widths.begin(), widths.end());
    const qreal unitPriceWidth = widths[size_t(Column::Solo)];
    qreal end = 0;
    for (size_t shown = 0; shown < rows.size(); ++shown) {
        PlacedRow row;
        row.height = qRound(end + heights[shown]) - qRound(end);
        end += heights[shown];
        for (int column = 0; column < ColumnCount; ++column)
            row.cells.push_back(pageCellOf(table.index(rows[shown], column), unitPriceWidth));
        placed.rows.push_back(std::move(row));
    }
    return end;
}

PlacedTable tableBox(qreal top, int pixelSize)
{
    PlacedTable placed;
    placed.rect = QRectF(Left + RoomInset, top + RoomInset, Right - Left - 2 * RoomInset, Bottom - top - 2 * RoomInset);
    placed.pixelSize = pixelSize;
    placed.minimumPixelSize = std::min(LegiblePixelSize, pixelSize);
    return placed;
}

/// The remarks' region under content that ends at `contentBottom`, `height` page pixels tall.
PlacedRegion placedRemarks(const QString &remarks, DocumentKind kind, qreal contentBottom, qreal height)
{
    // A hair's rounding of the rows' heights must not move the region a whole pixel down.
    const int top = static_cast<int>(std::ceil(contentBottom - 0.01)) + RemarksGap;
    PlacedRegion placed =
        placedRegion(SheetRegion::Remarks, QRect(Left, top, Right - Left, static_cast<int>(height)), remarks);
    placed.region.heading = kindWords(kind).remarksHeading;
    return placed;
}

/// A paper receipt's revenue stamp: the box headed 収入印紙 with its duty, or why none is due.
std::optional<PlacedRegion> placedStampDuty(const Invoice &invoice, bool issuerInBusiness)
{
    const StampDutyNote note = stampDutyNoteOf(invoice, issuerInBusiness);
    if (note.text.isEmpty())
        return std::nullopt;
    PlacedRegion placed = placedRegion(SheetRegion::StampDuty, note.text);
    if (note.box)
        placed.region.heading = QStringLiteral("収入印紙");
    else
        placed.region.alignment = Qt::AlignLeft | Qt::AlignTop;
    return placed;
}

qreal remarksHeight(const QString &remarks)
{
    if (remarks.isEmpty())
        return 0;
    const PageRegion style = sheetRegionStyle(SheetRegion::Remarks);
    // Whole pixels, so that the region placed at them never runs past the page's margin.
    return std::ceil(
               regionHeightFor(style, remarks, Right - Left - 2 * RoomInset, RemarksMaximumHeight - 2 * RoomInset)) +
           2 * RoomInset;
}

QString onOneLine(const QString &text)
{
    return printableText(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

std::vector<int> rowRange(int first, int end)
{
    std::vector<int> rows;
    for (int row = first; row < end; ++row)
        rows.push_back(row);
    return rows;
}

} // namespace

QString customerPageLine(const QString &customer, const QString &honorific)
{
    // With no honorific the name stands alone: a trailing space would be taken for part of the name
    // when the file is written and read back.
    return honorific.isEmpty() ? customer : QStringLiteral("%1 %2").arg(customer, honorific);
}

QString addressBlockText(const QString &customer, const QString &honorific, const CustomerPostalAddress &address)
{
    if (address.isEmpty())
        return {};
    Addressee addressee;
    addressee.postalCode = address.postalCode;
    addressee.address = address.address.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    addressee.company = customer;
    addressee.personal = honorific == QStringLiteral("様");
    addressee.department = address.department;
    addressee.attention = address.attention;
    return addressBlockLines(addressee).join(QLatin1Char('\n'));
}

QString invoiceNumberPageText(const QString &number)
{
    return number.isEmpty() ? QString() : QStringLiteral("No. ") + number;
}

PageLayout layOutInvoice(const Invoice &document, const SheetLook &look)
{
    // A slip that leaves its amounts out is laid out as its paper shows it; anything else as it is.
    std::optional<Invoice> withoutAmounts;
    if (leavesAmountsOut(document))
        withoutAmounts = paperShownOf(document);
    const Invoice &invoice = withoutAmounts ? *withoutAmounts : document;
    ItemTableModel table;
    table.setMarksReducedRows(invoice.taxRate == StandardRate);
    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const ItemRow &row : invoice.rows)
        rows.append(std::make_shared<ItemRow>(row));
    table.setRows(rows);

    const bool legend = table.showsReducedRows();
    const qreal remarks = remarksHeight(invoice.remarks);
    const TablePlan plan = planPageTable(tablePlanRequestOf(table, legend, remarks));
    // After the table's plan: a one-invoice export makes the era dates' formatter on the main
    // thread meanwhile (prepareEraDates), which the dates would otherwise wait for.
    const RegionTexts texts = regionTextsOf(invoice);

    std::vector<PageSlice> slices = plan.slices;
    if (!plan.continues) {
        PageSlice whole;
        whole.endRow = table.count();
        whole.legend = legend;
        whole.remarks = true;
        slices = {whole};
    }
    const int headerRows = table.count() > 0 && table.row(0)->isHeader() ? 1 : 0;

    PageLayout layout;
    for (size_t index = 0; index < slices.size(); ++index) {
        const PageSlice &slice = slices[index];
        LaidOutPage page;
        std::vector<int> shown;
        qreal top = GridTop;
        if (index == 0) {
            // The customer line gives way to the address block for a window envelope, the title
            // moving to the right; without an address the page is as it always was.
            const bool addressed = !texts.address.isEmpty();
            PlacedRegion title = addressed ? placedRegion(SheetRegion::Title, titleRoomBesideAddress(), texts.title)
                                           : placedRegion(SheetRegion::Title, texts.title);
            if (addressed)
                title.region.alignment = Qt::AlignRight | Qt::AlignVCenter;
            PlacedRegion stamp = placedRegion(SheetRegion::Stamp, QString());
            stamp.region.image = look.stamp;
            page.regions = {
                std::move(title),
                placedRegion(SheetRegion::Date, texts.date),
                addressed ? placedRegion(SheetRegion::Address, addressBlockRoom(look.addressOffset), texts.address)
                          : placedRegion(SheetRegion::Customer, texts.customer),
                placedRegion(SheetRegion::Amount, texts.amount),
                placedRegion(SheetRegion::Issuer, texts.issuer),
                std::move(stamp)};
            shown = rowRange(0, slice.endRow);
        } else {
            page.heading = ContinuationHeading{onOneLine(texts.title), onOneLine(texts.customer), onOneLine(texts.date),
                                               onOneLine(texts.number)};
            top = ContinuedGridTop;
            shown = rowRange(0, slice.repeatsHeader ? headerRows : 0);
            const std::vector<int> own = rowRange(slice.firstRow, slice.endRow);
            shown.insert(shown.end(), own.begin(), own.end());
        }
        std::vector<qreal> heights;
        for (int row : shown)
            heights.push_back(plan.rowHeights[size_t(row)]);
        PlacedTable placed = tableBox(top, plan.type.pixelSize);
        const qreal end = placeRows(placed, table, shown, heights);
        page.table = std::move(placed);
        if (slice.legend)
            page.overlays.push_back(placedLegend(top + RoomInset, end));
        if (index == 0) {
            page.overlays.push_back(placedRegion(SheetRegion::Number, texts.number));
            page.overlays.push_back(placedRegion(SheetRegion::DueDate, texts.due));
            if (std::optional<PlacedRegion> duty = placedStampDuty(invoice, look.issuerInBusiness))
                page.overlays.push_back(std::move(*duty));
        }
        if (slice.remarks && remarks > 0)
            page.overlays.push_back(placedRemarks(
                texts.remarks, invoice.kind, top + 2 * RoomInset + end + (slice.legend ? LegendHeight : 0), remarks));
        if (slices.size() > 1)
            page.foot = QStringLiteral("%1 / %2").arg(index + 1).arg(slices.size());
        layout.push_back(std::move(page));
    }
    return layout;
}

} // namespace seikyu
