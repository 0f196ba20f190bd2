#include "about.h"
#include "twips.h"

#include "dropshadow.h"
#include "hoverhints.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace pv {

QPixmap recipeBookPicture(int size) {
    QPixmap picture(size, size);
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

AboutScreen::AboutScreen(QWidget* parent)
    : ClickAwayWindow(QStringLiteral("frmAbout"), QStringLiteral("About"),
                      QSize(px(6570), px(2790)), "Shape1", parent) {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(recipeBookPicture(48));
    image->setGeometry(px(300), px(300), 48, 48);
    image->setAccessibleName(QStringLiteral("Picture of a recipe book"));
    // No action belongs to the picture, so its clicks stop here.
    image->setAttribute(Qt::WA_NoMousePropagation);

    QLabel* title = addLabel("lblATitle", QStringLiteral("Pantrova"),
                             QRect(px(1260), px(180), px(3300), px(600)));
    title->setWordWrap(false);
    title->setFont(QFont(QStringLiteral("Tahoma"), 24));
    HoverHints::setColour(title, HoverHints::unlitColour());

    addLabel("lblAVer", QStringLiteral("V1.0"), QRect(px(4800), px(480), px(900), px(240)));
    addLabel("lblAMsg",
             QStringLiteral("Pantrova keeps your recipes and shopping lists. It is a rewrite of "
                            "my earlier recipe program, made for my own household. The help file "
                            "tells more about each screen."),
             QRect(px(1260), px(840), px(5040), px(780)));
    addLabel("lblAMsg1", QStringLiteral("Questions or ideas? Please write to Marten Holloway at:"),
             QRect(px(1260), px(1680), px(5040), px(240)));
    addLabel("lblAEMail", QStringLiteral("marten.holloway@example.org"),
             QRect(px(1260), px(1920), px(5040), px(240)));
    addLabel("lblAMsg2", QStringLiteral("As always,. thanks for trying my program :)"),
             QRect(px(1260), px(2280), px(5040), px(240)));
}

void AboutScreen::onLoad() {
    setDropShadowStyle(this);
}

}  // namespace pv
