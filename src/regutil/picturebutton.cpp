#include "picturebutton.h"

#include <QKeyEvent>

namespace ostrel {

PictureButton::PictureButton(QWidget* parent) : QToolButton(parent) {
    setIconSize(QSize(28, 28));
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

}  // namespace ostrel
