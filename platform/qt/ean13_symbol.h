#pragma once
// Draws an EAN-13 symbol with a Qt painter.
#include "platform/print/ean13_layout.h"

class QPainter;
class QColor;

namespace zlt::qt {

// Draws the layout with its top left corner at (x, top); returns its width.
double drawBarcode(QPainter& painter, const BarcodeLayout& layout, const BarcodeMetrics& metrics, double x, double top,
                   const QColor& colour, double deviceUnitsPerPoint);

}  // namespace zlt::qt
