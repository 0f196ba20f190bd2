#pragma once

#include "clickawaywindow.h"

#include <memory>

namespace pv {

namespace Ui {
class CalendarWindow;
}

// "Calendar": a month calendar as a look-up aid, in a tool window. A click on
// the window's margin hides it; clicks inside the calendar stay there.
class CalendarWindow : public ClickAwayWindow {
    Q_OBJECT
public:
    explicit CalendarWindow(QWidget* parent = nullptr);
    ~CalendarWindow() override;

protected:
    // Enter and Space belong to the calendar; only Esc hides the window.
    bool hidesOnKey(int key) const override { return key == Qt::Key_Escape; }

private:
    std::unique_ptr<Ui::CalendarWindow> ui_;
};

}  // namespace pv
