#pragma once

#include <QPointF>

class QPainter;
class QWidget;

namespace seikyu {

/// A sheet to hold against the user's window envelopes, in page pixels: a sample address block
/// where invoices put it (moved by `offsetMm`), the window's part of the sheet as a dashed frame,
/// the marks to fold the sheet in three at, and how to use it.
void paintAddressCalibration(QPainter &painter, const QPointF &offsetMm);

/// Asks for a printer and prints the calibration sheet at the saved offset.
void printAddressCalibration(QWidget *parent);

} // namespace seikyu
