#pragma once

#include <QWidget>

namespace seikyu {

/// One A4 portrait sheet, 595 × 842 page pixels: one pixel is one point of paper. The regions are
/// placed at fixed positions, as on a printed form.
class PageView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Width = 595;
    static constexpr int Height = 842;
    static constexpr int Margin = 42;

    explicit PageView(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {Width, Height}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace seikyu
