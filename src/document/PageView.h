#pragma once

#include "page/PageGeometry.h"

#include <QWidget>

namespace seikyu {

/// One A4 portrait sheet, 595 × 842 page pixels: one pixel is one point of paper. The regions are
/// placed at fixed positions, as on a printed form.
class PageView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Width = page::SheetWidth;
    static constexpr int Height = page::SheetHeight;
    static constexpr int Margin = page::SheetMargin;

    explicit PageView(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {Width, Height}; }

    /// The page's number at its foot ("2 / 3") on an invoice of more than one page; nothing when
    /// empty, as on a one-page invoice. Drawn at the zoom, one page pixel taking `zoom` pixels.
    void setFoot(const QString &foot, double zoom);
    QString foot() const { return m_foot; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_foot;
    double m_zoom = 1.0;
};

} // namespace seikyu
