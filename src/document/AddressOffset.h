#pragma once

#include <QObject>
#include <QPointF>

namespace seikyu {

/// How far the user moved the address block to fit their envelopes' window, in millimetres right
/// and down; each within ±AddressOffsetLimit, (0, 0) when never set or unreadable.
QPointF savedAddressOffset();
void saveAddressOffset(const QPointF &offsetMm);
inline constexpr double AddressOffsetLimit = 10;

/// Tells every open invoice that the address block moved, so the window shows it where paper will.
class AddressOffsetNotice : public QObject
{
    Q_OBJECT

public:
    static AddressOffsetNotice &instance();

signals:
    void changed();
};

} // namespace seikyu
