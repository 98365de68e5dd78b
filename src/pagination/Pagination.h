#pragma once

#include <vector>

namespace seikyu {

/// What an invoice's pages are cut from, every length in page pixels.
struct PaginationInput
{
    /// Each table row's height in table order, the header row (if any) first.
    std::vector<double> rowHeights;
    /// How many rows at the top are the header, repeated at the top of every further page.
    int headerRows = 1;
    /// The first row of the sums rows that end the table, which stay together on one page with at
    /// least one item row above them; -1 when the table is not totalled.
    int sumsFirst = -1;
    /// The height the table, the legend and the remarks may take on the first page.
    double firstPageRoom = 0;
    /// The same on each further page, under its heading.
    double nextPageRoom = 0;
    /// The line that explains the ※ of reduced-rate rows, directly under the table; 0 when none.
    double legendHeight = 0;
    /// The remarks box under the table (and legend); 0 when there are none.
    double remarksHeight = 0;
    /// The space above the remarks box.
    double remarksGap = 0;
};

/// What one page shows of the invoice's table and what follows it.
struct PageSlice
{
    int firstRow = 0; ///< the first table row the page shows (besides a repeated header)
    int endRow = 0;   ///< one past the last; equal to firstRow when the page shows no rows
    bool repeatsHeader = false;
    double rowsHeight = 0; ///< the height of the page's rows, a repeated header included
    bool legend = false;   ///< the legend follows the rows on this page
    bool remarks = false;  ///< the remarks follow the rows (and legend) on this page
    friend bool operator==(const PageSlice &, const PageSlice &) = default;
};

/// Cuts the table into pages. Rows are never split; each row is on exactly one page, in order, and
/// a page shows at least one row of its own while rows remain (a row taller than a page is on a
/// page by itself). The sums rows stay together after the last item row, and take the last item
/// row with them to the next page when they do not fit under it. The legend and then the remarks
/// follow the last row, each moving on to a further page where they would not fit. There is always
/// at least one page.
std::vector<PageSlice> paginate(const PaginationInput &input);

} // namespace seikyu
