#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace pv::pictures {
namespace {

// Every icon is drawn on a 16 x 16 grid and scaled, so it stays sharp at 16
// and keeps its shapes at 32 and above.
QImage onGrid(int size, const std::function<void(QPainter&)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen outline(const QColor& colour, qreal width = 1.0) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void drawFolderWithPlus(QPainter& p) {
    p.setPen(outline(QColor(150, 110, 20)));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(255, 225, 120));
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 40));
    p.drawEllipse(QPointF(11.5, 11.5), 4, 4);
    p.setPen(outline(Qt::white, 1.6));
    p.drawLine(QPointF(11.5, 9.3), QPointF(11.5, 13.7));
    p.drawLine(QPointF(9.3, 11.5), QPointF(13.7, 11.5));
}

void drawCarrot(QPainter& p) {
    p.setPen(outline(QColor(40, 120, 30), 1.4));
    p.drawLine(QPointF(10.5, 5.5), QPointF(12.5, 1.5));
    p.drawLine(QPointF(10.5, 5.5), QPointF(14.5, 3.5));
    p.drawLine(QPointF(10.5, 5.5), QPointF(9.5, 1.5));
    p.setPen(outline(QColor(170, 70, 0)));
    p.setBrush(QColor(245, 130, 20));
    p.drawPolygon(QPolygonF({{1.5, 14.5}, {8, 4.5}, {12, 8.5}}));
    p.drawLine(QPointF(6, 9.5), QPointF(7.5, 10.5));
    p.drawLine(QPointF(4, 12), QPointF(5.5, 13));
}

void drawOpenBook(QPainter& p) {
    p.setPen(outline(QColor(30, 60, 140)));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{8, 4}, {1.5, 2.5}, {1.5, 12.5}, {8, 14}}));
    p.drawPolygon(QPolygonF({{8, 4}, {14.5, 2.5}, {14.5, 12.5}, {8, 14}}));
    p.setPen(outline(QColor(90, 120, 200), 0.8));
    for (qreal y : {5.5, 7.5, 9.5}) {
        p.drawLine(QPointF(3, y - 1), QPointF(6.5, y));
        p.drawLine(QPointF(9.5, y), QPointF(13, y - 1));
    }
}

void drawCart(QPainter& p) {
    p.setPen(outline(QColor(60, 60, 60), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{0.8, 2.5}, {3, 2.5}, {5, 11}, {13, 11}}));
    p.setBrush(QColor(90, 160, 230));
    p.drawPolygon(QPolygonF({{3.6, 4.5}, {14.8, 4.5}, {13, 9.2}, {4.7, 9.2}}));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(6, 13.5), 1.3, 1.3);
    p.drawEllipse(QPointF(12, 13.5), 1.3, 1.3);
}

void drawDoorExit(QPainter& p) {
    p.setPen(outline(QColor(90, 50, 20)));
    p.setBrush(QColor(170, 110, 60));
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    p.setBrush(QColor(250, 220, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(7.6, 8.5), 0.9, 0.9);
    p.setPen(outline(QColor(200, 20, 20), 2.0));
    p.drawLine(QPointF(8.5, 8), QPointF(13.5, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 20, 20));
    p.drawPolygon(QPolygonF({{12, 4.5}, {15.5, 8}, {12, 11.5}}));
}

void drawRoundBadge(QPainter& p, const QColor& colour) {
    QRadialGradient fill(QPointF(6, 5), 9);
    fill.setColorAt(0, colour.lighter(150));
    fill.setColorAt(1, colour);
    p.setPen(outline(colour.darker(150)));
    p.setBrush(fill);
    p.drawEllipse(QPointF(8, 8), 7, 7);
}

void drawHelp(QPainter& p) {
    drawRoundBadge(p, QColor(30, 90, 200));
    QPainterPath hook;
    hook.moveTo(5.6, 6.2);
    hook.cubicTo(5.6, 3, 10.6, 3, 10.6, 6.2);
    hook.cubicTo(10.6, 8, 8, 8, 8, 10);
    p.setPen(outline(Qt::white, 1.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 12.4), 1.1, 1.1);
}

void drawAbout(QPainter& p) {
    drawRoundBadge(p, QColor(20, 130, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.6), 1.2, 1.2);
    p.drawRect(QRectF(7, 6.8, 2, 5.5));
    p.drawRect(QRectF(6, 11.3, 4, 1.2));
}

void drawStar(QPainter& p) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 7.2 : 3.0;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(8 + radius * std::cos(angle), 8.6 + radius * std::sin(angle));
    }
    p.setPen(outline(QColor(170, 110, 0)));
    p.setBrush(QColor(255, 200, 30));
    p.drawPolygon(star);
}

void drawNewPage(QPainter& p) {
    p.setPen(outline(QColor(90, 90, 90)));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3.5, 1.5}, {10, 1.5}, {13.5, 5}, {13.5, 14.5}, {3.5, 14.5}}));
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({{10, 1.5}, {10, 5}, {13.5, 5}}));
    p.setPen(outline(QColor(240, 170, 0), 1.3));
    p.drawLine(QPointF(3, 1), QPointF(3, 6));
    p.drawLine(QPointF(0.5, 3.5), QPointF(5.5, 3.5));
}

void drawFloppy(QPainter& p) {
    p.setPen(outline(QColor(20, 40, 110)));
    p.setBrush(QColor(50, 90, 190));
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {13, 1.5}, {14.5, 3}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(4.5, 1.5, 7, 4.5));
    p.setBrush(QColor(50, 90, 190));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(9, 2.5, 1.5, 2.5));
    p.setPen(outline(QColor(20, 40, 110)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 8.5, 9, 6));
}

void drawPrinter(QPainter& p) {
    p.setPen(outline(QColor(80, 80, 80)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 175, 185));
    p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.2, 1.2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10, 7, 4.5));
    p.setPen(outline(QColor(120, 120, 120), 0.8));
    p.drawLine(QPointF(6, 12), QPointF(10, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 180, 60));
    p.drawEllipse(QPointF(12.5, 8), 0.8, 0.8);
}

void drawHouse(QPainter& p) {
    p.setPen(outline(QColor(110, 80, 40)));
    p.setBrush(QColor(245, 225, 180));
    p.drawRect(QRectF(3, 7, 10, 7.5));
    p.setPen(outline(QColor(130, 20, 20)));
    p.setBrush(QColor(200, 40, 30));
    p.drawPolygon(QPolygonF({{0.8, 8}, {8, 1.2}, {15.2, 8}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 30));
    p.drawRect(QRectF(6.5, 9.5, 3, 5));
}

void drawCalendar(QPainter& p) {
    p.setPen(outline(QColor(90, 90, 90)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    p.setBrush(QColor(210, 40, 40));
    p.drawRect(QRectF(1.5, 2.5, 13, 3.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            p.drawRect(QRectF(3 + col * 2.7, 7.3 + row * 2.3, 1.5, 1.3));
        }
    }
    p.setPen(outline(QColor(60, 60, 60), 1.2));
    p.drawLine(QPointF(5, 1), QPointF(5, 4));
    p.drawLine(QPointF(11, 1), QPointF(11, 4));
}

void drawPot(QPainter& p) {
    // Steam.
    p.setPen(outline(QColor(120, 135, 160), 0.9));
    p.setBrush(Qt::NoBrush);
    for (qreal x : {5.5, 8.0, 10.5}) {
        QPainterPath steam;
        steam.moveTo(x, 5);
        steam.cubicTo(x - 1.2, 4, x + 1.2, 2.5, x, 1);
        p.drawPath(steam);
    }
    // Handles, body and lid.
    p.setPen(outline(QColor(40, 40, 50), 1.2));
    p.drawLine(QPointF(1, 8.5), QPointF(2.5, 8.5));
    p.drawLine(QPointF(13.5, 8.5), QPointF(15, 8.5));
    QLinearGradient metal(QPointF(2, 0), QPointF(14, 0));
    metal.setColorAt(0, QColor(200, 60, 40));
    metal.setColorAt(0.35, QColor(240, 110, 80));
    metal.setColorAt(1, QColor(150, 30, 20));
    p.setPen(outline(QColor(110, 20, 10)));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(2.5, 7, 11, 7.5), 2, 2);
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(2, 5.6, 12, 1.8), 0.9, 0.9);
    p.drawEllipse(QPointF(8, 5.2), 1, 0.7);
}

}  // namespace

QImage appImage(int size) {
    return onGrid(size, drawPot);
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(appImage(size)));
    }
    return icon;
}

QImage menuImage(int index, int size) {
    static const std::function<void(QPainter&)> kDraw[kMenuIconCount] = {
        drawFolderWithPlus, drawCarrot, drawOpenBook, drawCart,
        drawDoorExit,       drawHelp,   drawAbout,    drawStar,
    };
    if (index < 0 || index >= kMenuIconCount) {
        return {};
    }
    return onGrid(size, kDraw[index]);
}

QStringList screenIconNames() {
    return {QStringLiteral("New"),  QStringLiteral("Save"), QStringLiteral("Print"),
            QStringLiteral("Main"), QStringLiteral("Exit"), QStringLiteral("Calendar")};
}

QImage screenIconImage(const QString& name, int size) {
    static const std::function<void(QPainter&)> kDraw[] = {
        drawNewPage, drawFloppy, drawPrinter, drawHouse, drawDoorExit, drawCalendar,
    };
    const qsizetype index = screenIconNames().indexOf(name);
    if (index < 0) {
        return {};
    }
    return onGrid(size, kDraw[index]);
}

QImage recipeBookPicture(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 48.0;
    painter.scale(s, s);
    // Two pages of an open book.
    painter.setPen(QPen(QColor(90, 60, 30), 1.5));
    painter.setBrush(QColor(250, 245, 225));
    QPainterPath left;
    left.moveTo(24, 12);
    left.cubicTo(18, 8, 10, 8, 4, 10);
    left.lineTo(4, 40);
    left.cubicTo(10, 38, 18, 38, 24, 42);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(24, 12);
    right.cubicTo(30, 8, 38, 8, 44, 10);
    right.lineTo(44, 40);
    right.cubicTo(38, 38, 30, 38, 24, 42);
    right.closeSubpath();
    painter.drawPath(left);
    painter.drawPath(right);
    // Lines of a recipe.
    painter.setPen(QPen(QColor(150, 130, 110), 1));
    for (int y = 17; y <= 33; y += 4) {
        painter.drawLine(QPointF(8, y), QPointF(20, y + 0.5));
    }
    // A spoon over the right page.
    painter.setPen(QPen(QColor(120, 120, 130), 2));
    painter.drawLine(QPointF(30, 34), QPointF(38, 20));
    painter.setBrush(QColor(170, 170, 180));
    painter.drawEllipse(QPointF(39, 17), 3, 4);
    return picture;
}

QImage warningPicture(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal m = size / 16.0;
    QPainterPath triangle;
    triangle.moveTo(size / 2.0, m);
    triangle.lineTo(size - m, size - 2 * m);
    triangle.lineTo(m, size - 2 * m);
    triangle.closeSubpath();
    painter.setPen(QPen(Qt::black, m, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 204, 0));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const qreal barWidth = 2.2 * m;
    painter.drawRoundedRect(QRectF(size / 2.0 - barWidth / 2, 5 * m, barWidth, 6 * m), m, m);
    painter.drawEllipse(QPointF(size / 2.0, size - 4 * m), 1.3 * m, 1.3 * m);
    return picture;
}

QImage splashPicture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal unit = std::min(width, height) / 24.0;
    p.scale(unit, unit);

    // A soft plate behind the picture.
    QRadialGradient glow(QPointF(12, 12), 12);
    glow.setColorAt(0, QColor(255, 248, 225));
    glow.setColorAt(1, QColor(255, 248, 225, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(12, 12), 12, 12);

    // An open recipe book, tilted, behind the pot on the left.
    p.save();
    p.translate(7.5, 9);
    p.rotate(-10);
    p.scale(0.8, 0.8);
    p.translate(-8, -8);
    drawOpenBook(p);
    p.restore();

    // A wooden spoon standing in the pot.
    p.setPen(outline(QColor(140, 90, 40), 1.1));
    p.drawLine(QPointF(16.5, 14), QPointF(21, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 130, 70));
    p.drawEllipse(QPointF(21.4, 3.2), 1.1, 1.6);

    // The pot in front, lower right.
    p.save();
    p.translate(7.5, 8);
    p.scale(1.0, 1.0);
    drawPot(p);
    p.restore();
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace pv::pictures
