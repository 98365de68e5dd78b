#include "pagination/Pagination.h"

#include <algorithm>
#include <numeric>

namespace seikyu {

namespace {

/// Sums of heights in page pixels are compared with this slack, so that rows that fit exactly fit.
constexpr double Slack = 1e-6;

} // namespace

std::vector<PageSlice> paginate(const PaginationInput &input)
{
    const std::vector<double> &heights = input.rowHeights;
    const int rows = static_cast<int>(heights.size());
    const int header = std::clamp(input.headerRows, 0, rows);
    const int sumsFirst = input.sumsFirst > header && input.sumsFirst < rows ? input.sumsFirst : -1;
    const double headerHeight = std::accumulate(heights.begin(), heights.begin() + header, 0.0);
    const double sumsHeight = sumsFirst < 0 ? 0 : std::accumulate(heights.begin() + sumsFirst, heights.end(), 0.0);
    const auto isItem = [&](int row) { return row >= header && (sumsFirst < 0 || row < sumsFirst); };

    std::vector<PageSlice> pages;
    std::vector<double> rooms;
    const auto room = [&](size_t page) { return page == 0 ? input.firstPageRoom : input.nextPageRoom; };
    int row = 0;
    do {
        PageSlice page;
        const double limit = room(pages.size()) + Slack;
        page.repeatsHeader = !pages.empty() && header > 0;
        double used = page.repeatsHeader ? headerHeight : 0;
        page.firstRow = row;
        while (row < rows) {
            if (row == sumsFirst) {
                if (used + sumsHeight <= limit) {
                    used += sumsHeight;
                    row = rows;
                    break;
                }
                int items = 0;
                for (int above = page.firstRow; above < row; ++above)
                    items += isItem(above);
                if (items >= 2) {
                    // The last item row goes on with the sums, so that they never stand alone.
                    --row;
                    used -= heights[size_t(row)];
                    break;
                }
                // Too little room even for one item row and the sums: they follow row by row.
            }
            const double height = heights[size_t(row)];
            if (used + height > limit && row > page.firstRow)
                break;
            used += height;
            ++row;
        }
        page.endRow = row;
        page.rowsHeight = used;
        pages.push_back(page);
        rooms.push_back(used);
    } while (row < rows);

    const auto follow = [&](double height, bool PageSlice::*placed) {
        if (height <= 0)
            return;
        if (rooms.back() + height > room(pages.size() - 1) + Slack) {
            PageSlice next;
            next.firstRow = next.endRow = rows;
            pages.push_back(next);
            rooms.push_back(0);
        }
        pages.back().*placed = true;
        rooms.back() += height;
    };
    follow(input.legendHeight, &PageSlice::legend);
    follow(input.remarksHeight > 0 ? input.remarksGap + input.remarksHeight : 0, &PageSlice::remarks);
    return pages;
}

} // namespace seikyu
