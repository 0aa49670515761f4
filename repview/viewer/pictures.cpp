#include "repview/viewer/pictures.h"

#include <QPainter>
#include <QPolygonF>

namespace zlt::repview {

namespace {

QPixmap printerPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 2, 14, 12));  // the page going in
    p.setBrush(QColor(0x70, 0x70, 0x78));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);  // the body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 20, 16, 10));  // the page coming out
    p.setPen(QPen(Qt::darkGray, 1));
    for (double y : {23.0, 25.5, 28.0})
        p.drawLine(QPointF(10, y), QPointF(22, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xc0, 0x30));
    p.drawEllipse(QPointF(25, 16), 1.3, 1.3);
    return pixmap;
}

}  // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(printerPicture(size));
    return icon;
}

QPixmap loadingPicture()
{
    // An hourglass, 13 by 13.
    QPixmap pixmap(13, 13);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(1.5, 0.5), QPointF(11.5, 0.5));
    p.drawLine(QPointF(1.5, 12.5), QPointF(11.5, 12.5));
    p.setBrush(QColor(0xf0, 0xe0, 0xa0));
    p.drawPolygon(QPolygonF({{2.5, 1}, {10.5, 1}, {6.5, 6.5}, {10.5, 12}, {2.5, 12}, {6.5, 6.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb0, 0x80, 0x20));
    p.drawPolygon(QPolygonF({{4, 12}, {9, 12}, {6.5, 9}}));
    return pixmap;
}

}  // namespace zlt::repview
