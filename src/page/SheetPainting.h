#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace seikyu {

/// The slim heading of a further page: whose invoice it is, each on one line, as the first page
/// shows them.
struct ContinuationHeading
{
    QString title, customer, date, number;
};

/// The page's number at its foot ("2 / 3"), in page pixels; nothing when empty.
void paintSheetFoot(QPainter &painter, const QString &foot);

/// A further page's heading, in page pixels: the title at the left, the date and number at the
/// right, the customer under the title on an underlined line.
void paintContinuationHeading(QPainter &painter, const ContinuationHeading &heading);

/// A region's guide border on screen, inside `rect` (device pixels).
void paintGuideBorder(QPainter &painter, const QRectF &rect, const QColor &color);

} // namespace seikyu
