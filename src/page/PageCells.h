#pragma once

#include "page/TableCellPainting.h"

#include <QModelIndex>

namespace seikyu {

/// A cell's text as drawn: without control characters, on one line before fitting.
QString pageCellText(const QModelIndex &index);

/// The cell of the item table's model at `index` as the page draws it (not selected); a sums row's
/// label reads across `unitPriceWidth` page pixels to its left.
PageCell pageCellOf(const QModelIndex &index, qreal unitPriceWidth);

} // namespace seikyu
