#include "screenmenubar.h"

#include <QAbstractButton>

#include "appfolder.h"
#include "store.h"

#include <QAction>
#include <QFileInfo>
#include <QImageReader>
#include <QLayout>
#include <QMenu>

namespace pv {

ScreenMenuBar::ScreenMenuBar(QWidget* parent) : QMenuBar(parent) {
    // Keep the bar inside the window on every desktop, so tests and screen
    // readers find it where the window is.
    setNativeMenuBar(false);
}

int ScreenMenuBar::addItem(const QString& parentKey, const QString& key, Kind kind,
                           const QString& caption, const QIcon& picture,
                           std::function<void()> command) {
    QAction* action = nullptr;
    if (parentKey.isEmpty()) {
        QMenu* menu = addMenu(caption);
        menus_.insert(key, menu);
        action = menu->menuAction();
    } else if (QMenu* menu = menus_.value(parentKey)) {
        if (kind == Kind::Separator) {
            action = menu->addSeparator();
        } else {
            action = menu->addAction(picture, caption);
        }
    } else {
        return -1;
    }
    const int id = int(items_.size()) + 1;
    const bool clickable = !parentKey.isEmpty() && kind != Kind::Separator;
    items_.append({kind == Kind::Separator ? QString() : key, action,
                   clickable ? std::move(command) : std::function<void()>()});
    if (clickable) {
        connect(action, &QAction::triggered, this, [this, id] { click(id); });
    }
    return id;
}

void ScreenMenuBar::click(int id) {
    emit itemClicked(id);
    // The entry the click belongs to, found by its identifier; its own command runs.
    if (id >= 1 && id <= items_.size() && items_.at(id - 1).command) {
        const std::function<void()> command = items_.at(id - 1).command;
        command();
    }
}

QString ScreenMenuBar::keyOf(int id) const {
    if (id < 1 || id > items_.size()) {
        return {};
    }
    return items_.at(id - 1).key;
}

QAction* ScreenMenuBar::actionFor(const QString& key) const {
    for (const Item& item : items_) {
        if (!key.isEmpty() && item.key == key) {
            return item.action;
        }
    }
    return nullptr;
}

void ScreenMenuBar::setMenuFont(const QString& family, int points) {
    QFont menuFont(family);
    menuFont.setPointSize(points);  // a missing family falls back to the desktop's font
    setFont(menuFont);
    for (QMenu* menu : std::as_const(menus_)) {
        menu->setFont(menuFont);
    }
}

ScreenMenuBar* addScreenMenuBar(QWidget* window, const QString& name) {
    auto* bar = new ScreenMenuBar(window);
    bar->setObjectName(name);
    bar->setAccessibleName(QStringLiteral("Menu"));
    window->layout()->setMenuBar(bar);
    bar->lower();
    return bar;
}

MenuEntry MenuEntry::withShortcut(const QKeySequence& keys) const {
    MenuEntry entry = *this;
    entry.shortcut = keys;
    return entry;
}

MenuEntry MenuEntry::withButton(QAbstractButton* sameCommand) const {
    MenuEntry entry = *this;
    entry.button = sameCommand;
    return entry;
}

MenuEntry topMenu(const QString& key, const QString& caption) {
    return {QString(), key, ScreenMenuBar::Kind::Item, caption, QString(), {}};
}

MenuEntry menuItem(const QString& parentKey, const QString& key, const QString& caption,
                   const QString& iconName, std::function<void()> command) {
    return {parentKey, key, ScreenMenuBar::Kind::Item, caption, iconName, std::move(command)};
}

MenuEntry buttonItem(const QString& parentKey, const QString& name, QAbstractButton* button,
                     std::function<void()> command) {
    return menuItem(parentKey, QStringLiteral("key") + name, name, name, std::move(command))
        .withButton(button);
}

MenuEntry separatorIn(const QString& parentKey) {
    return {parentKey, QString(), ScreenMenuBar::Kind::Separator, QString(), QString(), {}};
}

void bindButtons(const QList<MenuEntry>& table) {
    for (const MenuEntry& entry : table) {
        if (entry.button && entry.command) {
            QObject::connect(entry.button, &QAbstractButton::clicked, entry.button,
                             [command = entry.command] { command(); });
        }
    }
}

Result<void> buildMenuBar(ScreenMenuBar* bar, const QList<MenuEntry>& table) {
    for (const MenuEntry& entry : table) {
        QIcon picture;
        if (entry.kind == ScreenMenuBar::Kind::Item && !entry.iconName.isEmpty()) {
            auto icon = loadScreenIcon(entry.iconName);
            if (!icon) {
                return icon.problem();
            }
            picture = icon.value();
        }
        bar->addItem(entry.parentKey, entry.key, entry.kind,
                     entry.kind == ScreenMenuBar::Kind::Separator ? QString() : entry.caption,
                     picture, entry.command);
        if (!entry.shortcut.isEmpty()) {
            if (QAction* action = bar->actionFor(entry.key)) {
                action->setShortcut(entry.shortcut);
            }
        }
    }
    bar->setMenuFont(QStringLiteral("Tahoma"), 8);
    return {};
}

Result<QIcon> loadScreenIcon(const QString& name) {
    const store::Store store(applicationFolder());
    const QString path = store.resolve(QStringLiteral("images/") + name + QStringLiteral(".ico"));
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        return Problem::fileNotFound();
    }
    return QIcon(path);
}

}  // namespace pv
