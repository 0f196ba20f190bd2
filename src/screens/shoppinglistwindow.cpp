#include "shoppinglistwindow.h"
#include "ui_shoppinglistwindow.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "errorstate.h"
#include "folderwatcher.h"
#include "formsetup.h"
#include "notice.h"
#include "printerservice.h"
#include "screenparts.h"
#include "shopprint.h"
#include "store.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace pv {

QList<MenuEntry> ShoppingListWindow::menuTable() {
    const QString edit = QStringLiteral("keyEdit");
    const QString tools = QStringLiteral("keyTool");
    return {
        topMenu(kFileMenu, QStringLiteral("&File")),
        buttonItem(kFileMenu, QStringLiteral("New"), ui_->cmdHNew, [this] { newList(); }),
        buttonItem(kFileMenu, QStringLiteral("Save"), ui_->cmdHSave, [this] { saveList(); }),
        buttonItem(kFileMenu, QStringLiteral("Print"), ui_->cmdHPrint, [this] { printList(); }),
        menuItem(kFileMenu, QStringLiteral("keyMealPlan"), QStringLiteral("Meal plan..."),
                 QString(), [] { windows().show(WindowId::MealPlan); }),
        buttonItem(kFileMenu, QStringLiteral("Main"), ui_->cmdHMain, [this] { mainMenu(); }),
        topMenu(edit, QStringLiteral("&Edit")),
        menuItem(edit, QStringLiteral("keyDelete"), QStringLiteral("Del"), QStringLiteral("Exit"),
                 [this] { deleteList(); })
            .withButton(ui_->cmdHDel),
        topMenu(tools, QStringLiteral("&Tools")),
        menuItem(tools, QStringLiteral("keyCalendar"), QStringLiteral("Calendar"),
                 QStringLiteral("Calendar"), [this] { showCalendar(); }),
    };
}

ShoppingListWindow::ShoppingListWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::ShoppingListWindow>()) {
    ui_->setupUi(this);
    menuBar_ = addScreenMenuBar(this, QStringLiteral("SMXPH"));

    const QList<QLabel*> hintLabels = {ui_->lblHMsg, ui_->lblHMsg1, ui_->lblHMsg2, ui_->lblHMsg3};
    FormSetup setup;
    setup.growToText = {ui_->lblHFile, ui_->lblHData, ui_->lblHName};
    // The hints stay inside their panel.
    setup.hintPanel.panel = ui_->shaHMenu;
    setup.hintPanel.hints = hintLabels;
    setup.hints = {{ui_->lswHOpen, ui_->lblHMsg},
                   {ui_->txtHList, ui_->lblHMsg1},
                   {ui_->txtHName, ui_->lblHMsg2},
                   {ui_->lblHName, ui_->lblHMsg2},
                   {ui_->imgHCal, ui_->lblHMsg3}};
    setup.resets = {{ui_->clientArea, hintLabels}, {this, hintLabels}};
    finishForm(this, setup);
    bindButtons(menuTable());

    connect(ui_->imgHCal, &CalendarIcon::clicked, this, &ShoppingListWindow::showCalendar);

    // A click on the list opens the selected item, as does Enter or Space.
    ui_->lswHOpen->viewport()->installEventFilter(this);
    ui_->lswHOpen->installEventFilter(this);
    // Any character typed into the list opens the name box.
    ui_->txtHList->installEventFilter(this);

    auto* watcher = new FolderWatcher(this, [] {
        return QStringList{FolderWatcher::dataPath(),
                           FolderWatcher::dataPath(QStringLiteral("Shopping List"))};
    });
    connect(watcher, &FolderWatcher::changed, this, &ShoppingListWindow::followDisk);
}

ShoppingListWindow::~ShoppingListWindow() = default;

void ShoppingListWindow::onLoad() {
    // A missing icon or list folder is the category notice; anything else
    // ends in the error report.
    const auto failed = [this](const Problem& problem) {
        if (problem.isFileNotFound()) {
            noCategoryNotice();
        } else {
            reportFailure(this, ErrorLocation::ShoppingListLoad, problem);
        }
    };
    const auto built = buildMenuBar(menuBar_, menuTable());
    if (!built) {
        failed(built.problem());
        return;
    }
    setNameBoxLocked(true);
    const store::Store store(dataFolder());
    const auto names = store.listShoppingLists();
    if (!names) {
        failed(Problem::fromStore(names.failure()));
        return;
    }
    ui_->lswHOpen->clear();
    ui_->lswHOpen->addItems(names.value());
    tidyStaleSaves(QStringLiteral("Shopping List"));
}

void ShoppingListWindow::followDisk() {
    const store::Store store(dataFolder());
    const auto names = store.listShoppingLists();
    if (!names) {
        return;  // the folder's own trouble is told when it is used
    }
    QStringList shown;
    for (int row = 0; row < ui_->lswHOpen->count(); ++row) {
        shown.append(ui_->lswHOpen->item(row)->text());
    }
    if (shown == names.value()) {
        return;
    }
    const QListWidgetItem* current = ui_->lswHOpen->currentItem();
    const QString currentName = current ? current->text() : QString();
    const QListWidgetItem* picked = selectedItem();
    const QString pickedName = picked ? picked->text() : QString();
    ui_->lswHOpen->clear();
    ui_->lswHOpen->addItems(names.value());
    for (int row = 0; row < ui_->lswHOpen->count(); ++row) {
        QListWidgetItem* item = ui_->lswHOpen->item(row);
        if (current && item->text() == currentName) {
            ui_->lswHOpen->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
        if (picked && item->text() == pickedName) {
            item->setSelected(true);
        }
    }
}

void ShoppingListWindow::newList() {
    clearScreenFields(this);
    setNameBoxLocked(true);
    // A new list belongs to no file: nothing stays picked for Delete or Print.
    ui_->lswHOpen->setCurrentItem(nullptr);
    ui_->lswHOpen->clearSelection();
    openedFile_.clear();
    ui_->txtHList->setFocus();
}

void ShoppingListWindow::saveList() {
    // No checks of its own: an empty name, an empty list or an existing file
    // are all written. The file list is not refreshed.
    store::Store store(dataFolder());
    const auto saved = store.saveShoppingList(ui_->txtHName->text(), ui_->txtHList->text());
    if (!saved) {
        handleStoreFailure(this, ErrorLocation::ShoppingListSave, saved.failure());
    }
}

void ShoppingListWindow::openList() {
    setNameBoxLocked(true);
    QListWidgetItem* item = selectedItem();
    if (!item) {
        // Nothing picked opens nothing; it must not end the program and lose
        // the list being typed.
        return;
    }
    const store::Store store(dataFolder());
    const auto text = store.openShoppingList(item->text());
    if (!text) {
        handleStoreFailure(this, ErrorLocation::ShoppingListOpen, text.failure());
        return;
    }
    // The name box keeps what it held.
    ui_->txtHList->setText(text.value());
    openedFile_ = item->text();
}

void ShoppingListWindow::deleteList() {
    if (ui_->txtHList->text().isEmpty()) {
        return;
    }
    QListWidgetItem* item = selectedItem();
    if (!item || openedFile_.isEmpty() || item->text() != openedFile_) {
        // Only the list on screen goes, and only while its item is the one picked:
        // a list typed after New, or an item the arrow keys moved to, is not it.
        // The typed list stays.
        showUserError(
            QStringLiteral("Please click the shopping list you want to delete in the "
                           "'Shopping list files' box first."));
        return;
    }
    store::Store store(dataFolder());
    const auto deleted = store.deleteShoppingList(openedFile_);
    if (!deleted) {
        handleStoreFailure(this, ErrorLocation::ShoppingListDelete, deleted.failure());
        return;
    }
    // Its item goes too: clicked again it could only fail to open.
    delete item;
    newList();
}

void ShoppingListWindow::printList() {
    // Every failure here ends quietly, a cancelled dialog included.
    if (!printerService().setupDialog(this)) {
        return;
    }
    QListWidgetItem* item = selectedItem();
    if (!item) {
        return;
    }
    const store::Store store(dataFolder());
    printShoppingList(store, item->text());
}

void ShoppingListWindow::mainMenu() {
    windows().hide(WindowId::Calendar);
    hide();
    windows().show(WindowId::Main);
}

void ShoppingListWindow::showCalendar() {
    windows().show(WindowId::Calendar);
}

bool ShoppingListWindow::nameBoxLocked() const {
    return !ui_->txtHName->isEnabled();
}

void ShoppingListWindow::setNameBoxLocked(bool locked) {
    ui_->lblHName->setEnabled(!locked);
    ui_->txtHName->setEnabled(!locked);
    QPalette palette = ui_->txtHName->palette();
    const QColor background = locked ? palette.color(QPalette::Active, QPalette::Button)
                                     : QWidget::palette().color(QPalette::Active, QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
    }
    ui_->txtHName->setPalette(palette);
}

QListWidgetItem* ShoppingListWindow::selectedItem() const {
    const QList<QListWidgetItem*> selected = ui_->lswHOpen->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

bool ShoppingListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->lswHOpen->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Only a click on a name opens it: beside the names the item picked
        // before is still selected, and opening it would replace the typed list.
        if (mouse->button() == Qt::LeftButton &&
            ui_->lswHOpen->indexAt(mouse->position().toPoint()).isValid()) {
            openList();
        }
    } else if (watched == ui_->lswHOpen && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Space) {
            // Space picks the name under the focus frame, as a click on it does:
            // reached by Tab it is not selected yet, and a lone name cannot be
            // reached by the arrows. Enter opens only what is picked.
            QListWidgetItem* current = ui_->lswHOpen->currentItem();
            if (key->key() == Qt::Key_Space && current) {
                current->setSelected(true);
            }
            openList();
            return true;
        }
    } else if (watched == ui_->txtHList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Tab moves on to the next control and types nothing.
        if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            setNameBoxLocked(false);
        }
    }
    return PvWindow::eventFilter(watched, event);
}

void ShoppingListWindow::appendLines(const QStringList& lines) {
    // Through the cursor, so that one undo takes them back out.
    QTextCursor cursor(ui_->txtHList->document());
    cursor.movePosition(QTextCursor::End);
    QString added;
    if (!ui_->txtHList->document()->isEmpty() && !cursor.block().text().isEmpty()) {
        added += QLatin1Char('\n');
    }
    for (const QString& line : lines) {
        added += line + QLatin1Char('\n');
    }
    cursor.insertText(added);
    ui_->txtHList->setTextCursor(cursor);
    ui_->txtHList->ensureCursorVisible();
    setNameBoxLocked(false);
    ui_->txtHList->setFocus();
}

}  // namespace pv
