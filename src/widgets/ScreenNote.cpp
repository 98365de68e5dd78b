#include "widgets/ScreenNote.h"

#include "page/PageFonts.h"

namespace seikyu {

ScreenNote::ScreenNote(QWidget *parent) : QLabel(parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0x10, 0x10));
    setPalette(red);
    // The page sits on a dark backdrop, whose light text colour a label would inherit.
    setForegroundRole(QPalette::WindowText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ScreenNote::paintEvent(QPaintEvent *event)
{
    if (!isRenderingForOutput())
        QLabel::paintEvent(event);
}

} // namespace seikyu
