#include "ostrelicon.h"

#include <QLinearGradient>
#include <QPainter>

QImage ostrelImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 16-unit grid, like the program's own pictures.
    p.scale(size / 16.0, size / 16.0);
    QPen pen(QColor(40, 50, 70), 0.8);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);

    // The pins on both sides of the chip.
    p.setPen(pen);
    for (qreal y : {4.5, 7.0, 9.5, 12.0}) {
        p.drawLine(QPointF(1.0, y), QPointF(3.0, y));
        p.drawLine(QPointF(13.0, y), QPointF(15.0, y));
    }
    QLinearGradient body(0, 2, 0, 14.5);
    body.setColorAt(0, QColor(90, 110, 150));
    body.setColorAt(1, QColor(45, 60, 95));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(3, 2.5, 10, 11.5), 1.2, 1.2);
    p.setBrush(QColor(230, 235, 245));
    p.drawEllipse(QPointF(5, 4.5), 0.7, 0.7);

    // The tick: registered.
    QPen tick(QColor(40, 170, 60), 2.0);
    tick.setCapStyle(Qt::RoundCap);
    tick.setJoinStyle(Qt::RoundJoin);
    p.setPen(tick);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{5.5, 8.5}, {7.5, 10.7}, {11, 6}}));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
