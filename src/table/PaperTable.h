#pragma once

#include "table/ItemRow.h"

#include <QtGlobal>
#include <array>
#include <vector>

class QAbstractItemModel;
class QTableView;

namespace seikyu {

/// Sets a table view up as the page's printed table: the paper delegate, no headers, grid, frame,
/// scroll bars or editing, white paper, and no item view state of its own drawn (selection, current
/// item, hover), so no output path can carry a highlight.
void setUpPaperTable(QTableView *table, QAbstractItemModel *model);

/// Sizes a paper table at the zoom: its type, each row's height and each column's width, all given
/// in page pixels. Rows are rounded where each ends rather than one by one, so a long table keeps
/// its exact height; rows past the heights given keep the default height. Returns the rows' height
/// in page pixels.
qreal sizePaperTable(QTableView *table, const std::vector<qreal> &rowHeights, qreal defaultRowHeight, int pixelSize,
                     const std::array<int, ColumnCount> &columnWidths, double zoom);

} // namespace seikyu
