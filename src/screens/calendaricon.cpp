#include "calendaricon.h"

#include "pictures.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pv {

CalendarIcon::CalendarIcon(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QPixmap CalendarIcon::picture() {
    // The same calendar as the menu's Calendar item and the shipped Calendar.ico.
    return QPixmap::fromImage(pictures::screenIconImage(QStringLiteral("Calendar"), 32));
}

void CalendarIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CalendarIcon::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CalendarIcon::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

void CalendarIcon::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace pv
