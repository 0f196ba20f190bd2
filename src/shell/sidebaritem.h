#pragma once

#include <QAbstractButton>
#include <QString>

namespace pv {

class SideBar;

// One clickable line of a group: an icon and a text. Reached by Tab and the
// arrow keys; Enter, Return and Space activate it.
class SideBarItem : public QAbstractButton {
    Q_OBJECT
public:
    SideBarItem(SideBar* bar, const QString& key, const QString& text, int iconIndex,
                QWidget* parent);

    QString key() const { return key_; }
    int iconIndex() const { return iconIndex_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    SideBar* bar_;
    QString key_;
    int iconIndex_;
    bool hovered_ = false;
};

}  // namespace pv
