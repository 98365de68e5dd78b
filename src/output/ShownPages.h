#pragma once

#include "page/PageLayout.h"

namespace seikyu {

class Document;

/// The pages as the document's window lays them out, for drawing on paper: every region, the table
/// with its rows and the legend where the window has them. The page must be at paper size (zoom 1)
/// and laid out (see PaperSizeScope and preparePageForOutput). Its fonts and images are copies of
/// their own, so it may be drawn on another thread while the window goes on.
PageLayout shownPageLayout(Document &document);

} // namespace seikyu
