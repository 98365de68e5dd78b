#include "app/PageZoom.h"

#include "document/Document.h"

#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace seikyu {

namespace {
const QString zoomKey = QStringLiteral("pageZoom");
}

double actualSizeZoom(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : nullptr;
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return std::clamp(dpi / 72.0, 1.0, Document::MaximumZoom);
}

double preferredZoom(const QWidget *window)
{
    bool ok = false;
    const double saved = QSettings().value(zoomKey).toDouble(&ok);
    if (ok && saved >= Document::MinimumZoom && saved <= Document::MaximumZoom)
        return saved;
    return actualSizeZoom(window);
}

void rememberZoom(double zoom)
{
    QSettings().setValue(zoomKey, zoom);
}

} // namespace seikyu
