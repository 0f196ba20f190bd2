#pragma once

#include <QPixmap>
#include <QWidget>

namespace pv {

// A 32 x 32 calendar picture that opens the calendar on a click, or on Space
// or Enter when it has the keyboard focus.
class CalendarIcon : public QWidget {
    Q_OBJECT
public:
    explicit CalendarIcon(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {32, 32}; }
    static QPixmap picture();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace pv
