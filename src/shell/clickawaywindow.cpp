#include "clickawaywindow.h"

#include "screenparts.h"
#include "twips.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace pv {

ClickAwayWindow::ClickAwayWindow(WindowId id, const QString& title, const QSize& size,
                                 const char* frameName, QWidget* parent)
    : PvWindow(parent) {
    setObjectName(objectNameOf(id));
    setWindowTitle(title);
    setAccessibleName(title);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(size);
    setFocusPolicy(Qt::StrongFocus);

    auto* frame = new QFrame(this);
    frame->setObjectName(QLatin1String(frameName));
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(rect().adjusted(px(120), px(120), -px(120), -px(120)));
    frame->setAccessibleName(QStringLiteral("Frame"));
}

QLabel* ClickAwayWindow::addLabel(const char* name, const QString& text, const QRect& geometry) {
    return makeTextLabel(this, name, text, geometry);
}

void ClickAwayWindow::mouseReleaseEvent(QMouseEvent* event) {
    // Clicks on the texts and pictures arrive here too: they pass them on.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        hide();
        return;
    }
    PvWindow::mouseReleaseEvent(event);
}

void ClickAwayWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            hide();
            return;
        default:
            PvWindow::keyPressEvent(event);
    }
}

}  // namespace pv
