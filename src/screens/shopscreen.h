#pragma once

#include "menubar.h"
#include "windowregistry.h"

#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pv {

class HoverHints;
class MultiLineBox;

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

// "Shopping list": free-text shopping lists, saved, opened, printed and
// deleted by name, with the calendar at hand.
class ShopScreen : public PvWindow {
    Q_OBJECT
public:
    explicit ShopScreen(QWidget* parent = nullptr);

    void onLoad() override;

    // The command handlers; buttons and menu items run the same ones.
    void newList();
    void saveList();
    void openList();
    void deleteList();
    void printList();
    void mainMenu();
    void showCalendar();
    // Runs the command of a menu item key; other keys do nothing.
    void dispatchMenuKey(const QString& key);

    bool nameBoxLocked() const;

    static const QList<MenuEntry>& menuTable();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setNameBoxLocked(bool locked);
    QListWidgetItem* selectedItem() const;

    ScreenMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
    QListWidget* files_ = nullptr;
    MultiLineBox* listText_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    CalendarIcon* calendarIcon_ = nullptr;
    HoverHints* hints_ = nullptr;
    // The listed file whose text Open put on screen, the only one Delete
    // deletes; empty after New.
    QString openedFile_;
};

}  // namespace pv
