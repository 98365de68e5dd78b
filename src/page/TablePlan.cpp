#include "page/TablePlan.h"

#include "invoice/ItemTableModel.h"
#include "page/PageCells.h"
#include "page/PageGeometry.h"
#include "table/SumsRows.h"

#include <limits>

namespace seikyu {

using namespace page;

TablePlanRequest tablePlanRequestOf(const ItemTableModel &table, bool legend, qreal remarksHeight)
{
    TablePlanRequest request;
    const int rows = table.count();
    for (int row = 0; row < rows; ++row) {
        request.descriptions.append(pageCellText(table.index(row, static_cast<int>(Column::Name))));
        request.headers.append(table.row(row)->isHeader());
    }
    request.headerRows = rows > 0 && table.row(0)->isHeader() ? 1 : 0;
    if (const std::optional<RowRange> sums = trailingSums(table.rows()))
        request.sumsFirst = sums->first;
    request.legend = legend;
    request.remarksHeight = remarksHeight;
    return request;
}

TablePlan planPageTable(const TablePlanRequest &request)
{
    // The remarks take what they need under the table; the rows share what is left.
    const qreal available = Bottom - GridTop - 2 * RoomInset - (request.legend ? LegendHeight : 0) -
                            (request.remarksHeight > 0 ? request.remarksHeight + RemarksGap : 0);
    const int rows = static_cast<int>(request.descriptions.size());
    const auto tallRows = [&](int pixelSize) {
        QList<bool> tall(rows, false);
        for (int row = 0; row < rows; ++row)
            tall[row] = !request.headers.value(row) &&
                        descriptionNeedsTwoLines(request.descriptions.at(row), nameColumnWidth(), pixelSize);
        return tall;
    };
    const auto heightsOf = [&](const PageTableRows &type, const QList<bool> &tall) {
        std::vector<qreal> heights(static_cast<size_t>(rows));
        for (int row = 0; row < rows; ++row)
            heights[size_t(row)] = tall.at(row) ? type.tallRowHeight : type.rowHeight;
        return heights;
    };

    TablePlan plan;
    const QList<bool> tall = tallRows(layoutPageTableRows(rows, 0, available).pixelSize);
    plan.type = layoutPageTableRows(rows, static_cast<int>(tall.count(true)), available);
    if (plan.type.legible) {
        plan.rowHeights = heightsOf(plan.type, tall);
        return plan;
    }

    plan.continues = true;
    plan.type = layoutPageTableRows(0, 0, std::numeric_limits<qreal>::max());
    plan.rowHeights = heightsOf(plan.type, tallRows(plan.type.pixelSize));
    PaginationInput input;
    input.rowHeights.assign(plan.rowHeights.begin(), plan.rowHeights.end());
    input.headerRows = request.headerRows;
    input.sumsFirst = request.sumsFirst;
    input.firstPageRoom = Bottom - GridTop - 2 * RoomInset;
    input.nextPageRoom = Bottom - ContinuedGridTop - 2 * RoomInset;
    input.legendHeight = request.legend ? LegendHeight : 0;
    input.remarksHeight = request.remarksHeight;
    input.remarksGap = RemarksGap;
    plan.slices = paginate(input);
    return plan;
}

} // namespace seikyu
