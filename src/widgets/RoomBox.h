#pragma once

#include <QColor>
#include <QWidget>

namespace seikyu {

/// The box around one region of the page. Its border is the region's guide border: blue until the
/// region is confirmed, then clear. It is drawn on screen only, never in a PDF or a printout.
class RoomBox : public QWidget
{
    Q_OBJECT

public:
    explicit RoomBox(QWidget *parent = nullptr);

    /// The guide colour: a clear blue that still reads as blue when printed.
    static QColor guideColor();

    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color);
    bool hasGuideBorder() const { return m_borderColor.alpha() > 0; }

    /// Where the region sits on the sheet in page pixels (points), whatever the zoom.
    QRect pageGeometry() const { return m_pageGeometry; }
    void setPageGeometry(const QRect &geometry) { m_pageGeometry = geometry; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_borderColor;
    QRect m_pageGeometry;
};

} // namespace seikyu
