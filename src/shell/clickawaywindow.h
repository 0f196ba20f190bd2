#pragma once

#include "pvwindow.h"
#include "windowid.h"

#include <QSize>

class QLabel;

namespace pv {

// An informational window that a click on it hides. Controls that should not
// hide it keep their clicks (Qt::WA_NoMousePropagation); the keyboard's Esc,
// Enter and Space hide it too.
class ClickAwayWindow : public PvWindow {
    Q_OBJECT
public:
    // A fixed-size window in Tahoma 8, with a frame shape around its contents.
    ClickAwayWindow(WindowId id, const QString& title, const QSize& size, const char* frameName,
                    QWidget* parent = nullptr);

protected:
    // A word-wrapped text placed at its designed rectangle.
    QLabel* addLabel(const char* name, const QString& text, const QRect& geometry);

    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pv
