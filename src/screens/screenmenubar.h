#pragma once

#include "problem.h"

#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QMenuBar>
#include <QString>

#include <functional>

class QAbstractButton;
class QAction;
class QMenu;

namespace pv {

// A screen's menu bar: items added with parent key, key, kind, caption, an
// optional picture and the command they run; each gets an identifier, and a
// click delivers it and runs the item's command.
class ScreenMenuBar : public QMenuBar {
    Q_OBJECT
public:
    enum class Kind { Item = 0, Separator = 3 };

    explicit ScreenMenuBar(QWidget* parent = nullptr);

    // An empty parent key adds a top-level menu. Returns the item's identifier.
    int addItem(const QString& parentKey, const QString& key, Kind kind, const QString& caption,
                const QIcon& picture = {}, std::function<void()> command = {});
    // The key of the item with this identifier ("" for separators and unknown ids).
    QString keyOf(int id) const;
    // The action of the item with this key (tests and keyboard users).
    QAction* actionFor(const QString& key) const;
    void setMenuFont(const QString& family, int points);

signals:
    void itemClicked(int id);

private:
    void click(int id);

    struct Item {
        QString key;
        QAction* action = nullptr;
        std::function<void()> command;
    };
    QList<Item> items_;
    QHash<QString, QMenu*> menus_;
};

// A menu bar above the client area that the window's form lays out, as a
// window's menu sits above its client area; first among the window's
// children, where screen readers meet it.
ScreenMenuBar* addScreenMenuBar(QWidget* window, const QString& name);

// The key of every screen's File menu.
inline const QString kFileMenu = QStringLiteral("keyfile");

// One row of a screen's menu table.
struct MenuEntry {
    QString parentKey;  // "" for a top-level menu
    QString key;        // "" for a separator
    ScreenMenuBar::Kind kind = ScreenMenuBar::Kind::Item;
    QString caption;
    QString iconName;  // "" for none
    // What a click runs: a command of the window that owns the table. Empty for
    // menus and separators.
    std::function<void()> command;
    // The key that runs it from anywhere in the window; none for most entries.
    QKeySequence shortcut = {};
    // The window's button that runs the same command, if it has one.
    QAbstractButton* button = nullptr;

    MenuEntry withShortcut(const QKeySequence& keys) const;
    MenuEntry withButton(QAbstractButton* sameCommand) const;
};

// The rows as a table writes them: a top-level menu, an item in a menu, a
// separator line in a menu.
MenuEntry topMenu(const QString& key, const QString& caption);
MenuEntry menuItem(const QString& parentKey, const QString& key, const QString& caption,
                   const QString& iconName, std::function<void()> command);
MenuEntry separatorIn(const QString& parentKey);
// An item named once: key "key" + name, caption and icon the name; the
// window's button runs the same command.
MenuEntry buttonItem(const QString& parentKey, const QString& name, QAbstractButton* button,
                     std::function<void()> command);

// Makes each button of the table run its row's command when clicked; the
// window does this once, when it is built (its menu bar is built at Load).
void bindButtons(const QList<MenuEntry>& table);

// Fills the menu bar from the table, in table order, loading each icon with
// loadScreenIcon, then sets the font to Tahoma 8. A missing icon fails as
// file not found at that row; the rows before it stay.
Result<void> buildMenuBar(ScreenMenuBar* bar, const QList<MenuEntry>& table);

// The picture of application folder / "images" / name ".ico"; file not found
// when the file is missing or unreadable.
Result<QIcon> loadScreenIcon(const QString& name);

}  // namespace pv
