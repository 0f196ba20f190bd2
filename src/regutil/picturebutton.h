#pragma once

#include <QToolButton>

namespace ostrel {

// A picture that acts on click, reachable by Tab and pressed with Space or Enter. Its
// picture, caption (tip and accessible name) and place come from the form.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ostrel
