#pragma once

#include <QToolButton>

namespace ostrel {

// A picture that acts on click, reachable by Tab and pressed with Space or Enter.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QIcon& picture, const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ostrel
