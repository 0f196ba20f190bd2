#include "mainmenuwindow.h"
#include "ui_mainmenuwindow.h"

#include "formsetup.h"
#include "windowregistry.h"

#include "messageservice.h"
#include "pictures.h"
#include "sidebar.h"

#include <QPixmap>

#include <span>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace pv {
namespace {

std::function<void()>& helpAction() {
    static std::function<void()> action;
    return action;
}

void showHelp() {
    if (helpAction()) {
        helpAction()();
    }
}

// One item of the side bar: its key, text and icon, and what a click on it runs.
struct MenuItem {
    const char* key;
    const char* text;
    int icon;
    void (*command)();
};

constexpr MenuItem kSelections[] = {
    {"Setup", "Prg setup", 0, [] { windows().show(WindowId::Setup); }},
    {"Ingredients", "Ingredients", 1, [] { windows().show(WindowId::RecipeEntry); }},
    {"Recipes", "Display recipes", 2, [] { windows().show(WindowId::RecipeBrowser); }},
    {"Shopping List", "Create a shopping list", 3, [] { windows().show(WindowId::ShoppingList); }},
    {"Exit", "Exit this program", 4, confirmExit},
};

constexpr MenuItem kOthers[] = {
    {"Help", "View the help file", 5, showHelp},
    {"About", "About screen", 6, [] { windows().show(WindowId::About); }},
    {"Credits", "Credits", 7, [] { windows().show(WindowId::Credits); }},
};

}  // namespace

MainMenuWindow::MainMenuWindow() : ui_(std::make_unique<Ui::MainMenuWindow>()) {
    ui_->setupUi(this);
    finishForm(this, {});
    setWindowIcon(pictures::appIcon());

    icons_ = new ImageList(this);
    icons_->setObjectName(QStringLiteral("ilsIcons"));
    for (int i = 0; i < pictures::kMenuIconCount; ++i) {
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(pictures::menuImage(i, 16)));
        icon.addPixmap(QPixmap::fromImage(pictures::menuImage(i, 32)));
        icons_->add(icon);
    }

    connect(ui_->vbalExplorerBarCtl1, &SideBar::itemClicked, this, &MainMenuWindow::dispatch);
}

MainMenuWindow::~MainMenuWindow() {
#ifdef Q_OS_WIN
    // Once nothing is loaded any more, no fault dialog for the process.
    if (windows().loadedCount() == 0) {
        SetErrorMode(SEM_NOGPFAULTERRORBOX);
    }
#endif
}

SideBar* MainMenuWindow::sideBar() const {
    return ui_->vbalExplorerBarCtl1;
}

void MainMenuWindow::onLoad() {
    SideBar* sideBar = ui_->vbalExplorerBarCtl1;
    sideBar->setRedraw(false);
    sideBar->setImageList(icons_);

    SideBarGroup* selections =
        sideBar->addGroup(QStringLiteral("SPECIAL"), QStringLiteral("Prg. Selections"));
    selections->setSpecial(true);
    for (const MenuItem& item : kSelections) {
        selections->addItem(QString::fromLatin1(item.key), QString::fromLatin1(item.text),
                            item.icon);
    }
    SideBarGroup* others = sideBar->addGroup(QStringLiteral("Others"), QStringLiteral("Misc"));
    for (const MenuItem& item : kOthers) {
        others->addItem(QString::fromLatin1(item.key), QString::fromLatin1(item.text), item.icon);
    }

    sideBar->setRedraw(true);
}

void MainMenuWindow::dispatch(const QString& key) {
    for (std::span<const MenuItem> group :
         {std::span<const MenuItem>(kSelections), std::span<const MenuItem>(kOthers)}) {
        for (const MenuItem& item : group) {
            if (key == QLatin1String(item.key)) {
                item.command();
                return;
            }
        }
    }
}

void MainMenuWindow::setHelpAction(std::function<void()> action) {
    helpAction() = std::move(action);
}

void MainMenuWindow::onCloseRequested() {
    confirmExit();
}

QString exitQuestionText() {
    return QStringLiteral("You have indicated you wish to exit\rthis program. Is this correct?");
}

void confirmExit() {
    windows().hide(WindowId::Main);
    const int answer =
        showMessage(exitQuestionText(), msg::kYesNo | msg::kQuestion | msg::kSystemModal,
                    QStringLiteral("Quit?"));
    if (answer == msg::kResultYes) {
        windows().closeAll();
    } else {
        windows().show(WindowId::Main);
    }
}

}  // namespace pv
