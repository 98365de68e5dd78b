#include "output/PageRecording.h"

#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>
#include <array>

namespace seikyu {

namespace {

using Step = PageRecording::Step;

/// A font of its own: a copy that shares no data (and so no font-engine cache) with the widgets'.
QFont detachedFont(const QFont &font)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << font;
    }
    QDataStream in(bytes);
    QFont copy;
    in >> copy;
    return copy;
}

/// A path of its own: a path computes its bounds lazily into the data it shares.
QPainterPath ownPath(const QPainterPath &path)
{
    QPainterPath copy;
    copy.addPath(path);
    copy.setFillRule(path.fillRule());
    return copy;
}

/// A brush without a pixmap: pixmaps belong to the GUI thread, so a texture travels as an image.
QBrush ownBrush(const QBrush &brush)
{
    if (brush.style() != Qt::TexturePattern)
        return brush;
    QBrush texture(brush.textureImage());
    texture.setTransform(brush.transform());
    return texture;
}

QPen ownPen(QPen pen)
{
    if (pen.brush().style() == Qt::TexturePattern)
        pen.setBrush(ownBrush(pen.brush()));
    return pen;
}

class RecordingEngine final : public QPaintEngine
{
public:
    explicit RecordingEngine(std::vector<Step> *steps) : QPaintEngine(AllFeatures), m_steps(steps) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &changed) override
    {
        // In the order QPainter applies them, so that a clip follows the transformation it was set in.
        const DirtyFlags flags = changed.state();
        if (flags & DirtyPen)
            add([pen = ownPen(changed.pen())](QPainter &p, const QTransform &) { p.setPen(pen); });
        if (flags & DirtyBrush)
            add([brush = ownBrush(changed.brush())](QPainter &p, const QTransform &) { p.setBrush(brush); });
        if (flags & DirtyBrushOrigin)
            add([origin = changed.brushOrigin()](QPainter &p, const QTransform &) { p.setBrushOrigin(origin); });
        if (flags & DirtyBackground)
            add([brush = ownBrush(changed.backgroundBrush())](QPainter &p, const QTransform &) {
                p.setBackground(brush);
            });
        if (flags & DirtyBackgroundMode)
            add([mode = changed.backgroundMode()](QPainter &p, const QTransform &) { p.setBackgroundMode(mode); });
        if (flags & DirtyFont)
            add([font = ownFont(changed.font(), false)](QPainter &p, const QTransform &) { p.setFont(font); });
        if (flags & DirtyTransform)
            add([matrix = changed.transform()](QPainter &p, const QTransform &base) { p.setTransform(matrix * base); });
        if (flags & DirtyClipEnabled)
            add([on = changed.isClipEnabled()](QPainter &p, const QTransform &) { p.setClipping(on); });
        if (flags & DirtyClipRegion) {
            add([region = changed.clipRegion(), operation = changed.clipOperation()](QPainter &p, const QTransform &) {
                p.setClipRegion(region, operation);
            });
        }
        if (flags & DirtyClipPath) {
            add([path = ownPath(changed.clipPath()), operation = changed.clipOperation()](
                    QPainter &p, const QTransform &) { p.setClipPath(path, operation); });
        }
        if (flags & DirtyHints) {
            add([hints = changed.renderHints()](QPainter &p, const QTransform &) {
                p.setRenderHints(~hints, false);
                p.setRenderHints(hints, true);
            });
        }
        if (flags & DirtyCompositionMode)
            add([mode = changed.compositionMode()](QPainter &p, const QTransform &) { p.setCompositionMode(mode); });
        if (flags & DirtyOpacity)
            add([opacity = changed.opacity()](QPainter &p, const QTransform &) { p.setOpacity(opacity); });
    }

    void drawRects(const QRectF *rects, int count) override
    {
        add([list = std::vector<QRectF>(rects, rects + count)](QPainter &p, const QTransform &) {
            p.drawRects(list.data(), int(list.size()));
        });
    }

    void drawLines(const QLineF *lines, int count) override
    {
        add([list = std::vector<QLineF>(lines, lines + count)](QPainter &p, const QTransform &) {
            p.drawLines(list.data(), int(list.size()));
        });
    }

    void drawEllipse(const QRectF &rect) override
    {
        add([rect](QPainter &p, const QTransform &) { p.drawEllipse(rect); });
    }

    void drawPath(const QPainterPath &path) override
    {
        add([path = ownPath(path)](QPainter &p, const QTransform &) { p.drawPath(path); });
    }

    void drawPoints(const QPointF *points, int count) override
    {
        add([list = std::vector<QPointF>(points, points + count)](QPainter &p, const QTransform &) {
            p.drawPoints(list.data(), int(list.size()));
        });
    }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        add([list = std::vector<QPointF>(points, points + count), mode](QPainter &p, const QTransform &) {
            const int n = int(list.size());
            switch (mode) {
            case OddEvenMode:
                p.drawPolygon(list.data(), n, Qt::OddEvenFill);
                break;
            case WindingMode:
                p.drawPolygon(list.data(), n, Qt::WindingFill);
                break;
            case ConvexMode:
                p.drawConvexPolygon(list.data(), n);
                break;
            case PolylineMode:
                p.drawPolyline(list.data(), n);
                break;
            }
        });
    }

    // Pixmaps belong to the GUI thread; their pixels travel as an image.
    void drawPixmap(const QRectF &rect, const QPixmap &pixmap, const QRectF &source) override
    {
        add([rect, image = pixmap.toImage(), source](QPainter &p, const QTransform &) {
            p.drawPixmap(rect, QPixmap::fromImage(image), source);
        });
    }

    void drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap, const QPointF &offset) override
    {
        add([rect, image = pixmap.toImage(), offset](QPainter &p, const QTransform &) {
            p.drawTiledPixmap(rect, QPixmap::fromImage(image), offset);
        });
    }

    void drawImage(const QRectF &rect, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags conversion) override
    {
        add([rect, image, source, conversion](QPainter &p, const QTransform &) {
            p.drawImage(rect, image, source, conversion);
        });
    }

    void drawTextItem(const QPointF &baseline, const QTextItem &item) override
    {
        if (item.text().isEmpty()) {
            QPaintEngine::drawTextItem(baseline, item); // glyphs without their text: as outlines
            return;
        }
        add([baseline, text = item.text(), font = ownFont(item.font(), true)](QPainter &p, const QTransform &) {
            // An opaque background was filled (and recorded) before the text, too.
            const Qt::BGMode mode = p.backgroundMode();
            const QFont previous = p.font();
            p.setBackgroundMode(Qt::TransparentMode);
            p.setFont(font);
            p.drawText(baseline, text);
            p.setFont(previous);
            p.setBackgroundMode(mode);
        });
    }

private:
    void add(Step step) { m_steps->push_back(std::move(step)); }

    /// The recording's copy of a font, made once: a page draws with a handful of fonts. A font
    /// for a text item goes without underline, overline and strike-out, as QPainter draws those
    /// lines itself and they are recorded as lines already.
    QFont ownFont(const QFont &font, bool forText)
    {
        for (const auto &[original, text, copy] : m_fonts) {
            if (text == forText && original == font)
                return copy;
        }
        QFont copy = detachedFont(font);
        if (forText) {
            copy.setUnderline(false);
            copy.setOverline(false);
            copy.setStrikeOut(false);
        }
        m_fonts.push_back({font, forText, copy});
        return copy;
    }

    struct OwnFont
    {
        QFont original;
        bool forText;
        QFont copy;
    };

    std::vector<Step> *m_steps;
    std::vector<OwnFont> m_fonts;
};

/// Takes on another device's size and resolutions, and records what is drawn on it.
class RecordingDevice final : public QPaintDevice
{
public:
    RecordingDevice(const QPaintDevice &like, std::vector<Step> *steps) : m_engine(steps)
    {
        m_metrics[PdmWidth] = like.width();
        m_metrics[PdmHeight] = like.height();
        m_metrics[PdmWidthMM] = like.widthMM();
        m_metrics[PdmHeightMM] = like.heightMM();
        m_metrics[PdmNumColors] = like.colorCount();
        m_metrics[PdmDepth] = like.depth();
        m_metrics[PdmDpiX] = like.logicalDpiX();
        m_metrics[PdmDpiY] = like.logicalDpiY();
        m_metrics[PdmPhysicalDpiX] = like.physicalDpiX();
        m_metrics[PdmPhysicalDpiY] = like.physicalDpiY();
        m_metrics[PdmDevicePixelRatio] = like.devicePixelRatio();
        m_metrics[PdmDevicePixelRatioScaled] = int(like.devicePixelRatioF() * devicePixelRatioFScale());
    }

    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        return size_t(metric) < m_metrics.size() ? m_metrics[size_t(metric)] : QPaintDevice::metric(metric);
    }

private:
    mutable RecordingEngine m_engine;
    std::array<int, PdmDevicePixelRatioScaled + 1> m_metrics{};
};

} // namespace

PageRecording PageRecording::record(QWidget &widget, const QPaintDevice &like, QPainter::RenderHints hints)
{
    PageRecording recording;
    recording.m_size = widget.size();
    RecordingDevice device(like, &recording.m_steps);
    QPainter painter(&device);
    painter.setRenderHints(hints);
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return recording;
}

void PageRecording::replay(QPainter &painter) const
{
    painter.save();
    const QTransform base = painter.worldTransform();
    for (const Step &step : m_steps)
        step(painter, base);
    painter.restore();
}

} // namespace seikyu
