#pragma once

#include "clickawaywindow.h"

class QLabel;

namespace pv {

// "About": the program's name, version and author. A click on the window or
// on any of its texts hides it; the picture does not react.
class AboutWindow : public ClickAwayWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace pv
