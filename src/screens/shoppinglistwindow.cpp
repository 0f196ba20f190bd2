#include "shoppinglistwindow.h"
#include "twips.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "calendaricon.h"
#include "errorstate.h"
#include "formsetup.h"
#include "multilinebox.h"
#include "notice.h"
#include "printerservice.h"
#include "screenparts.h"
#include "shopprint.h"
#include "store.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace pv {

namespace {

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twips(left, 5040, 975, 375));
    return button;
}

}  // namespace

QList<MenuEntry> ShoppingListWindow::menuTable() {
    using Kind = ScreenMenuBar::Kind;
    const QString file = QStringLiteral("keyfile");
    const QString edit = QStringLiteral("keyEdit");
    const QString tools = QStringLiteral("keyTool");
    return {
        {{}, file, Kind::Item, QStringLiteral("&File"), {}, {}},
        {file, QStringLiteral("keyNew"), Kind::Item, QStringLiteral("New"), QStringLiteral("New"),
         [this] { newList(); }},
        {file, QStringLiteral("keySave"), Kind::Item, QStringLiteral("Save"),
         QStringLiteral("Save"), [this] { saveList(); }},
        {file, QStringLiteral("keyPrint"), Kind::Item, QStringLiteral("Print"),
         QStringLiteral("Print"), [this] { printList(); }},
        {file, QStringLiteral("keyMain"), Kind::Item, QStringLiteral("Main"),
         QStringLiteral("Main"), [this] { mainMenu(); }},
        {{}, edit, Kind::Item, QStringLiteral("&Edit"), {}, {}},
        {edit, QStringLiteral("keyDelete"), Kind::Item, QStringLiteral("Del"),
         QStringLiteral("Exit"), [this] { deleteList(); }},
        {{}, tools, Kind::Item, QStringLiteral("&Tools"), {}, {}},
        {tools, QStringLiteral("keyCalendar"), Kind::Item, QStringLiteral("Calendar"),
         QStringLiteral("Calendar"), [this] { showCalendar(); }},
    };
}

ShoppingListWindow::ShoppingListWindow(QWidget* parent) : PvWindow(parent) {
    setObjectName(QStringLiteral("frmShop"));
    setWindowTitle(QStringLiteral("Shopping list"));
    setAccessibleName(QStringLiteral("Shopping list"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    menuBar_ = new ScreenMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("SMXPH"));
    client_ = placeMenuBar(this, menuBar_, QSize(px(10110), px(5565)));

    auto* panel = new QFrame(client_);
    panel->setObjectName(QStringLiteral("shaHMenu"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(twips(120, 480, 1815, 4815));

    QLabel* hintFile = makeTextLabel(client_, "lblHMsg", QStringLiteral("Click on the file- name."),
                                     twips(240, 600, 1215, 495));
    QLabel* hintList = makeTextLabel(
        client_, "lblHMsg1", QStringLiteral("(1). enter your list in any manner you wish. "),
        twips(240, 1200, 1455, 615));
    QLabel* hintName = makeTextLabel(
        client_, "lblHMsg2",
        QStringLiteral("(2). enter the filename              (3). click the Save button."),
        twips(240, 1920, 1455, 855));
    QLabel* hintCalendar =
        makeTextLabel(client_, "lblHMsg3", QStringLiteral("Click this icon to display a calendar."),
                      twips(240, 4680, 1455, 495));
    const QList<QLabel*> hintLabels = {hintFile, hintList, hintName, hintCalendar};

    QLabel* fileLabel = makeTextLabel(client_, "lblHFile", QStringLiteral("Shopping list files:"),
                                      twips(2040, 120, 1290, 195));
    fileLabel->setWordWrap(false);
    files_ = new QListWidget(client_);
    files_->setObjectName(QStringLiteral("lswHOpen"));
    files_->setGeometry(twips(2040, 360, 3015, 1455));
    files_->setSelectionMode(QAbstractItemView::SingleSelection);
    fileLabel->setBuddy(files_);
    files_->setAccessibleName(fileLabel->text());

    calendarIcon_ = new CalendarIcon(client_);
    calendarIcon_->setObjectName(QStringLiteral("imgHCal"));
    calendarIcon_->setGeometry(twips(2160, 4680, 480, 480));
    calendarIcon_->setAccessibleName(QStringLiteral("Calendar"));
    calendarIcon_->setToolTip(QStringLiteral("Calendar"));

    QLabel* dataLabel = makeTextLabel(client_, "lblHData", QStringLiteral("Shopping list data:"),
                                      twips(5280, 120, 1335, 195));
    dataLabel->setWordWrap(false);
    listText_ = new MultiLineBox(client_);
    listText_->setObjectName(QStringLiteral("txtHList"));
    listText_->setGeometry(twips(5280, 360, 4695, 3135));
    dataLabel->setBuddy(listText_);
    listText_->setAccessibleName(dataLabel->text());

    nameLabel_ =
        makeTextLabel(client_, "lblHName", QStringLiteral("Save as:"), twips(5280, 3600, 630, 195));
    nameLabel_->setWordWrap(false);
    nameBox_ = new QLineEdit(client_);
    nameBox_->setObjectName(QStringLiteral("txtHName"));
    nameBox_->setGeometry(twips(5280, 3840, 2055, 285));
    nameBox_->setMaxLength(30);
    nameLabel_->setBuddy(nameBox_);
    nameBox_->setAccessibleName(nameLabel_->text());

    QPushButton* newButton = addButton(client_, "cmdHNew", QStringLiteral("New"), 4560);
    QPushButton* deleteButton = addButton(client_, "cmdHDel", QStringLiteral("Delete"), 5640);
    QPushButton* saveButton = addButton(client_, "cmdHSave", QStringLiteral("Save"), 6720);
    QPushButton* printButton = addButton(client_, "cmdHPrint", QStringLiteral("Print"), 7800);
    QPushButton* mainButton = addButton(client_, "cmdHMain", QStringLiteral("Main"), 9000);

    setTabOrder(files_, listText_);
    setTabOrder(listText_, nameBox_);
    setTabOrder(nameBox_, newButton);
    setTabOrder(newButton, deleteButton);
    setTabOrder(deleteButton, saveButton);
    setTabOrder(saveButton, printButton);
    setTabOrder(printButton, mainButton);
    setTabOrder(mainButton, calendarIcon_);

    connect(newButton, &QPushButton::clicked, this, &ShoppingListWindow::newList);
    connect(deleteButton, &QPushButton::clicked, this, &ShoppingListWindow::deleteList);
    connect(saveButton, &QPushButton::clicked, this, &ShoppingListWindow::saveList);
    connect(printButton, &QPushButton::clicked, this, &ShoppingListWindow::printList);
    connect(mainButton, &QPushButton::clicked, this, &ShoppingListWindow::mainMenu);
    connect(calendarIcon_, &CalendarIcon::clicked, this, &ShoppingListWindow::showCalendar);

    // A click on the list opens the selected item, as does Enter or Space.
    files_->viewport()->installEventFilter(this);
    files_->installEventFilter(this);
    // Any character typed into the list opens the name box.
    listText_->installEventFilter(this);

    FormSetup setup;
    setup.growToText = {fileLabel, dataLabel, nameLabel_};
    // The hints stay inside their panel.
    setup.hintPanel.panel = panel;
    setup.hintPanel.hints = hintLabels;
    setup.hints = {{files_, hintFile},
                   {listText_, hintList},
                   {nameBox_, hintName},
                   {nameLabel_, hintName},
                   {calendarIcon_, hintCalendar}};
    setup.resets = {{client_, hintLabels}, {this, hintLabels}};
    finishForm(this, setup);
}

void ShoppingListWindow::onLoad() {
    const auto built = buildMenuBar(menuBar_, menuTable());
    if (!built) {
        if (built.problem().isFileNotFound()) {
            noCategoryNotice();
        } else {
            reportFailure(this, ErrorLocation::ShoppingListLoad, built.problem());
        }
        return;
    }
    setNameBoxLocked(true);
    const store::Store store(dataFolder());
    const auto names = store.listShoppingLists();
    if (!names) {
        if (names.failure().isFileNotFound()) {
            noCategoryNotice();
        } else {
            handleStoreFailure(this, ErrorLocation::ShoppingListLoad, names.failure());
        }
        return;
    }
    files_->clear();
    files_->addItems(names.value());
}

void ShoppingListWindow::newList() {
    clearScreenFields(this);
    setNameBoxLocked(true);
    // A new list belongs to no file: nothing stays picked for Delete or Print.
    files_->setCurrentItem(nullptr);
    files_->clearSelection();
    openedFile_.clear();
    listText_->setFocus();
}

void ShoppingListWindow::saveList() {
    // No checks of its own: an empty name, an empty list or an existing file
    // are all written. The file list is not refreshed.
    store::Store store(dataFolder());
    const auto saved = store.saveShoppingList(nameBox_->text(), listText_->text());
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
    listText_->setText(text.value());
    openedFile_ = item->text();
}

void ShoppingListWindow::deleteList() {
    if (listText_->text().isEmpty()) {
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
    return !nameBox_->isEnabled();
}

void ShoppingListWindow::setNameBoxLocked(bool locked) {
    nameLabel_->setEnabled(!locked);
    nameBox_->setEnabled(!locked);
    QPalette palette = nameBox_->palette();
    const QColor background = locked ? palette.color(QPalette::Active, QPalette::Button)
                                     : QWidget::palette().color(QPalette::Active, QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
    }
    nameBox_->setPalette(palette);
}

QListWidgetItem* ShoppingListWindow::selectedItem() const {
    const QList<QListWidgetItem*> selected = files_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

bool ShoppingListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == files_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Only a click on a name opens it: beside the names the item picked
        // before is still selected, and opening it would replace the typed list.
        if (mouse->button() == Qt::LeftButton &&
            files_->indexAt(mouse->position().toPoint()).isValid()) {
            openList();
        }
    } else if (watched == files_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Space) {
            openList();
            return true;
        }
    } else if (watched == listText_ && event->type() == QEvent::KeyPress) {
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
    QTextCursor cursor(listText_->document());
    cursor.movePosition(QTextCursor::End);
    QString added;
    if (!listText_->document()->isEmpty() && !cursor.block().text().isEmpty()) {
        added += QLatin1Char('\n');
    }
    for (const QString& line : lines) {
        added += line + QLatin1Char('\n');
    }
    cursor.insertText(added);
    listText_->setTextCursor(cursor);
    listText_->ensureCursorVisible();
    setNameBoxLocked(false);
    listText_->setFocus();
}

}  // namespace pv
