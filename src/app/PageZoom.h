#pragma once

class QWidget;

namespace seikyu {

/// One step of View ▸ Zoom In / Zoom Out.
inline constexpr double ZoomStep = 1.25;

/// The zoom at which the page shows at its real size on this screen (a point is 1/72 inch).
double actualSizeZoom(const QWidget *window);
/// The zoom a new invoice window starts with: the one last chosen, else the real size.
double preferredZoom(const QWidget *window);
/// Keeps the zoom for the next window and the next run.
void rememberZoom(double zoom);

} // namespace seikyu
