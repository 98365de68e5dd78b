#include "document/PageView.h"

#include <QPainter>

namespace seikyu {

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(Width, Height);
    setAutoFillBackground(false);
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

} // namespace seikyu
