#pragma once
// Draws an EAN-13 symbol with a Qt painter.
#include "platform/print/ean13_layout.h"

class QPainter;
class QColor;

namespace zlt::qt {

// Draws the symbol with its top left corner at (x, top); returns its width.
double drawBarcode(QPainter& painter, const PlacedBarcode& symbol, double x, double top, const QColor& colour);

}  // namespace zlt::qt
