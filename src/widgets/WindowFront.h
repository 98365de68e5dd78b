#pragma once

class QWidget;

namespace seikyu {

/// Shows a top-level window where the user asked for it: back from minimised (at the size it had)
/// or hidden, in front of the others and with the keyboard. Every "show this window" goes through
/// here, so none of them leaves the window minimised while seeming to do nothing.
void bringToFront(QWidget *window);

} // namespace seikyu
