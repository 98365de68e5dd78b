#pragma once

#include "page/TableCellPainting.h"
#include "pagination/Pagination.h"

#include <QList>
#include <QString>
#include <vector>

namespace seikyu {

/// What laying the page's item table out needs to know of the invoice.
struct TablePlanRequest
{
    /// Each row's description as drawn (on one line, without control characters), in table order.
    QList<QString> descriptions;
    /// Which rows are header rows, whose description never takes a second line.
    QList<bool> headers;
    /// How many rows at the top are the header, repeated on every further page.
    int headerRows = 0;
    /// The first of the sums rows that end the table; -1 when the table is not totalled.
    int sumsFirst = -1;
    bool legend = false;     ///< the line that explains the ※ follows the rows
    qreal remarksHeight = 0; ///< the remarks' box under the table; 0 when there are none
};

class ItemTableModel;

/// What laying out the table of `table` needs: its rows, with the legend or remarks under them or not.
TablePlanRequest tablePlanRequestOf(const ItemTableModel &table, bool legend, qreal remarksHeight);

/// How the table is laid out: its type and each row's height, on the first page alone or cut
/// into pages.
struct TablePlan
{
    PageTableRows type;            ///< the type size and the height of a row of one line
    std::vector<qreal> rowHeights; ///< every row's, in table order
    /// Whether the table goes on over further pages: too long to read on its one page, it is set at
    /// the size of a short table and cut into pages.
    bool continues = false;
    std::vector<PageSlice> slices; ///< the pages' shares of the rows, when it continues
};

/// Lays the page's item table out in page pixels: up to the rows the first page holds at full
/// size, the rows shrink to stay on it while their type stays legible; a longer table keeps the
/// full size and goes on over further pages. A description too long for one line gets a taller row.
TablePlan planPageTable(const TablePlanRequest &request);

} // namespace seikyu
