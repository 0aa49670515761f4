#include "platform/qt/ean13_symbol.h"

#include <QFont>
#include <QPainter>

namespace zlt::qt {

double drawBarcode(QPainter& painter, const BarcodeLayout& layout, const BarcodeMetrics& m, double x, double top,
                   const QColor& colour, double deviceUnitsPerPoint)
{
    for (const auto& bar : layout.bars) {
        double height = bar.guard ? m.guardHeight : m.barHeight;
        painter.fillRect(QRectF(x + bar.module * m.module, top, bar.width * m.module, height), colour);
    }
    if (!layout.digits.empty()) {
        QFont font("Liberation Mono");
        font.setStyleHint(QFont::Monospace);
        font.setPointSizeF(m.digitSize);
        painter.save();
        painter.setFont(font);
        painter.setPen(colour);
        double digitWidth = m.digitSize * deviceUnitsPerPoint * 0.6;
        double baseline = top + m.digitBaseline;
        for (const auto& d : layout.digits)
            painter.drawText(QPointF(x + d.centre * m.module - digitWidth / 2, baseline), QString(QChar(d.digit)));
        painter.restore();
    }
    return layout.modules * m.module;
}

}  // namespace zlt::qt
