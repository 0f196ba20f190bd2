#include "picturebutton.h"

#include <QKeyEvent>

namespace ostrel {

PictureButton::PictureButton(const QIcon& picture, const QString& caption, QWidget* parent)
    : QToolButton(parent) {
    setIcon(picture);
    setIconSize(QSize(28, 28));
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(caption);
    setToolTip(caption);
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
