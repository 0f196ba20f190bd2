#pragma once

#include "pvwindow.h"

namespace pv {

// "Calendar": a month calendar as a look-up aid, in a tool window. A click on
// the window's margin hides it; clicks inside the calendar stay there.
class CalendarWindow : public PvWindow {
    Q_OBJECT
public:
    explicit CalendarWindow(QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pv
