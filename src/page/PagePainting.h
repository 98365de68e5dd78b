#pragma once

#include "page/PageLayout.h"

class QPainter;

namespace seikyu {

/// Draws a laid-out sheet onto the painter in page pixels (one page pixel a point), as the paper
/// shows it; the painter's transformation places and scales the sheet. Each region and the table
/// are clipped to their boxes, but for the ends of their strokes (two page pixels at most).
void paintPage(QPainter &painter, const LaidOutPage &page, PaintTarget target = PaintTarget::Paper);

/// Draws the table's rows within its box.
void paintPlacedTable(QPainter &painter, const PlacedTable &table);

} // namespace seikyu
