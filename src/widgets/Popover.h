#pragma once

#include <QFrame>
#include <QPointer>

namespace seikyu {

/// A small frame that pops up next to the control that asked for it, above the control's top edge,
/// or below it when there is no room above on the screen. A click elsewhere closes it.
class Popover : public QFrame
{
    Q_OBJECT

public:
    explicit Popover(QWidget *parent = nullptr);

    /// Shows the popover anchored at the given control.
    void showRelativeTo(QWidget *anchor);
    QWidget *anchor() const { return m_anchor; }

private:
    void placeAt(QWidget *anchor);

    QPointer<QWidget> m_anchor;
};

} // namespace seikyu
