#pragma once

#include "pvwindow.h"
#include "screenmenubar.h"

#include <QList>

#include <memory>

class QListWidgetItem;

namespace pv {

namespace Ui {
class ShoppingListWindow;
}

// "Shopping list": free-text shopping lists, saved, opened, printed and
// deleted by name, with the calendar at hand.
class ShoppingListWindow : public PvWindow {
    Q_OBJECT
public:
    explicit ShoppingListWindow(QWidget* parent = nullptr);
    ~ShoppingListWindow() override;

    void onLoad() override;

    // The command handlers; buttons and menu items run the same ones.
    void newList();
    void saveList();
    void openList();
    void deleteList();
    void printList();
    void mainMenu();
    void showCalendar();

    bool nameBoxLocked() const;

    // The menu, each item bound to its command.
    QList<MenuEntry> menuTable();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setNameBoxLocked(bool locked);
    QListWidgetItem* selectedItem() const;
    // The file list again after the folder changed: the item picked stays
    // while its file is there; the boxes are never touched.
    void followDisk();

    std::unique_ptr<Ui::ShoppingListWindow> ui_;
    ScreenMenuBar* menuBar_ = nullptr;
    // The listed file whose text Open put on screen, the only one Delete
    // deletes; empty after New.
    QString openedFile_;

public:
    // Appends lines to the list's text, one a line, as if typed: the name box
    // opens, nothing is saved.
    void appendLines(const QStringList& lines);
};

}  // namespace pv
