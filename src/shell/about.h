#pragma once

#include "windowregistry.h"

class QLabel;

namespace pv {

// "About": the program's name, version and author. A click on the window or
// on any of its texts hides it; the picture does not react.
class AboutScreen : public PvWindow {
    Q_OBJECT
public:
    explicit AboutScreen(QWidget* parent = nullptr);
    void onLoad() override;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The small picture both informational windows show: an open recipe book.
QPixmap recipeBookPicture(int size);

}  // namespace pv
