#pragma once

#include <QPainter>
#include <QSize>
#include <QTransform>
#include <functional>
#include <vector>

class QPaintDevice;
class QWidget;

namespace seikyu {

/// A widget's drawing as vector commands: recorded from the widgets on the GUI thread, replayed onto
/// a paint device on any thread. Unlike QPicture it draws each text at the very baseline it was laid
/// out at, so a replay looks exactly like rendering the widget there. Fonts and paths are copies of
/// their own, so a worker thread replaying it shares nothing with the widgets.
class PageRecording
{
public:
    /// Records `widget` with its children as they would draw on `like`: the recording takes on that
    /// device's size and resolutions, so fonts and layouts come out as if drawn there. The painter
    /// starts with `hints`.
    static PageRecording record(QWidget &widget, const QPaintDevice &like, QPainter::RenderHints hints);

    /// Draws the recording on `painter`, within the transformation the painter has. One recording
    /// is replayed by one thread at a time.
    void replay(QPainter &painter) const;

    /// The recorded widget's size, in the device's units.
    QSize size() const { return m_size; }
    bool isEmpty() const { return m_steps.empty(); }

    using Step = std::function<void(QPainter &painter, const QTransform &base)>;

private:
    QSize m_size;
    std::vector<Step> m_steps;
};

} // namespace seikyu
