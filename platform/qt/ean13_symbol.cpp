#include "platform/qt/ean13_symbol.h"

#include <QFont>
#include <QPainter>

namespace zlt::qt {

double drawBarcode(QPainter& painter, const PlacedBarcode& symbol, double x, double top, const QColor& colour)
{
    for (const auto& bar : symbol.bars)
        painter.fillRect(QRectF(x + bar.x, top + bar.y, bar.width, bar.height), colour);
    if (!symbol.digits.empty()) {
        QFont font("Liberation Mono");
        font.setStyleHint(QFont::Monospace);
        font.setPointSizeF(symbol.digitPoints);
        painter.save();
        painter.setFont(font);
        painter.setPen(colour);
        for (const auto& d : symbol.digits)
            painter.drawText(QPointF(x + d.x, top + d.baseline), QString(QChar(d.digit)));
        painter.restore();
    }
    return symbol.width;
}

}  // namespace zlt::qt
