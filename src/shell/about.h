#pragma once

#include "clickaway.h"

class QLabel;

namespace pv {

// "About": the program's name, version and author. A click on the window or
// on any of its texts hides it; the picture does not react.
class AboutScreen : public ClickAwayWindow {
    Q_OBJECT
public:
    explicit AboutScreen(QWidget* parent = nullptr);
    void onLoad() override;
};

}  // namespace pv
