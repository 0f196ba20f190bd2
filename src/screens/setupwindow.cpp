#include "setupwindow.h"
#include "ui_setupwindow.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "busypointer.h"
#include "errorstate.h"
#include "folderwatcher.h"
#include "formsetup.h"
#include "messageservice.h"
#include "store.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>

#include <algorithm>

namespace pv {
namespace {

// Once sorted, the list orders names as a person reads them, ignoring case.
class CategoryItem : public QListWidgetItem {
public:
    explicit CategoryItem(const QString& name) : QListWidgetItem(name) {}
    bool operator<(const QListWidgetItem& other) const override {
        const int byLetters = text().compare(other.text(), Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : text() < other.text();
    }
};

}  // namespace

SetupWindow::SetupWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::SetupWindow>()) {
    ui_->setupUi(this);

    FormSetup setup;
    setup.growToText = {ui_->lblSCreate, ui_->lblSCurrent, ui_->lblSDel};
    // Hints that need more lines widen within the panel and then lengthen it,
    // the frame and the window below them.
    setup.hintPanel = {
        ui_->shaSPanel, {ui_->lblSMsg1, ui_->lblSMsg2}, 7, 8, {ui_->fraSCategory, this},
        {ui_->cmdSMain}};
    setup.hints = {{ui_->cmdSCreate, ui_->lblSMsg1},
                   {ui_->txtSCreate, ui_->lblSMsg1},
                   {ui_->cmdSDel, ui_->lblSMsg2},
                   {ui_->txtSDel, ui_->lblSMsg2}};
    setup.resets = {{ui_->fraSCategory, {ui_->lblSMsg1, ui_->lblSMsg2}}};
    finishForm(this, setup);

    connect(ui_->lswSetup, &QListWidget::itemClicked, this, &SetupWindow::itemPicked);
    // Enter on an item picks it, for keyboard users.
    connect(ui_->lswSetup, &QListWidget::itemActivated, this, &SetupWindow::itemPicked);
    connect(ui_->cmdSCreate, &QPushButton::clicked, this, &SetupWindow::createCategory);
    connect(ui_->txtSCreate, &QLineEdit::returnPressed, this, &SetupWindow::createCategory);
    connect(ui_->cmdSCCancel, &QPushButton::clicked, this, &SetupWindow::cancelCreate);
    connect(ui_->cmdSDel, &QPushButton::clicked, this, &SetupWindow::deleteCategory);
    connect(ui_->txtSDel, &QLineEdit::returnPressed, this, &SetupWindow::deleteCategory);
    connect(ui_->cmdSDelCancel, &QPushButton::clicked, this, &SetupWindow::cancelDelete);
    connect(ui_->cmdSMain, &QPushButton::clicked, this, &SetupWindow::backToMain);

    auto* watcher = new FolderWatcher(this, [] {
        return QStringList{FolderWatcher::dataPath(),
                           FolderWatcher::dataPath(QStringLiteral("Category")),
                           FolderWatcher::dataPath(QStringLiteral("Category/category.txt"))};
    });
    connect(watcher, &FolderWatcher::changed, this, &SetupWindow::followDisk);
}

SetupWindow::~SetupWindow() = default;

void SetupWindow::onLoad() {
    setCreateMode(true);
    fillList(ErrorLocation::SetupLoad);
    tidyStaleSaves(QStringLiteral("Category"));
}

bool SetupWindow::inCreateMode() const {
    return ui_->txtSCreate->isEnabled();
}

void SetupWindow::setCreateMode(bool create) {
    for (QWidget* control :
         {static_cast<QWidget*>(ui_->lblSCreate), static_cast<QWidget*>(ui_->txtSCreate),
          static_cast<QWidget*>(ui_->cmdSCreate), static_cast<QWidget*>(ui_->cmdSCCancel)}) {
        control->setEnabled(create);
    }
    for (QWidget* control :
         {static_cast<QWidget*>(ui_->lblSDel), static_cast<QWidget*>(ui_->txtSDel),
          static_cast<QWidget*>(ui_->cmdSDel), static_cast<QWidget*>(ui_->cmdSDelCancel)}) {
        control->setEnabled(!create);
    }
}

bool SetupWindow::fillList(ErrorLocation where) {
    const store::Store store(dataFolder());
    const auto names = store.listCategoriesByLine();
    if (!names) {
        // No list (any more) simply means no categories.
        if (names.failure().isFileNotFound()) {
            return true;
        }
        handleStoreFailure(this, where, names.failure());
        return false;
    }
    for (const QString& name : names.value()) {
        ui_->lswSetup->addItem(new CategoryItem(name));
    }
    return true;
}

void SetupWindow::itemPicked(QListWidgetItem* item) {
    if (!item) {
        return;
    }
    setCreateMode(false);
    ui_->txtSDel->setText(item->text());
}

void SetupWindow::createCategory() {
    if (!ui_->txtSCreate->isEnabled() || working_) {
        return;
    }
    const QString name = ui_->txtSCreate->text();
    if (name.isEmpty()) {
        ui_->txtSCreate->setFocus();
        return;
    }
    store::Store store(dataFolder());
    const auto result = store.createCategory(name);
    if (!result) {
        // A refused name keeps its text, so the user can correct it.
        handleStoreFailure(this, ErrorLocation::SetupCreate, result.failure());
        if (result.failure().isRefusal()) {
            ui_->txtSCreate->setFocus();
        }
        return;
    }
    ui_->txtSCreate->clear();
    ui_->txtSCreate->setFocus();
    if (result.value() == store::CreateResult::AlreadyExists) {
        showMessage(QStringLiteral("This category already exists! You MUST\r"
                                   "delete it first and then re-enter the category."),
                    msg::kOkOnly | msg::kInformation | msg::kSystemModal,
                    QStringLiteral("User error"));
        return;
    }
    ui_->lswSetup->addItem(new CategoryItem(name));
    // From now on the list stays in ascending order, refills included.
    ui_->lswSetup->setSortingEnabled(true);
    ui_->lswSetup->sortItems(Qt::AscendingOrder);
}

void SetupWindow::cancelCreate() {
    setCreateMode(false);
    ui_->txtSCreate->clear();
    ui_->txtSDel->setFocus();
}

void SetupWindow::deleteCategory() {
    // The delete lets pending events run once while the list is rewritten; a
    // second command arriving then must wait for this one to finish.
    if (!ui_->txtSDel->isEnabled() || working_) {
        return;
    }
    const QScopedValueRollback<bool> working(working_, true);
    const QString name = ui_->txtSDel->text();
    if (name.isEmpty()) {
        ui_->txtSDel->setFocus();
        return;
    }
    // No question first: the warning is the permanent text of lblSMsg2.
    store::DeleteHooks hooks;
    hooks.beforeRewrite = [] {
        setBusyPointer();
        QCoreApplication::processEvents();
    };
    hooks.listRewritten = [](int count) {
        showMessage(QString::number(count) + QStringLiteral(" category is deleted."), msg::kOkOnly,
                    QString());
        setDefaultPointer();
    };
    store::Store store(dataFolder());
    const auto result = store.deleteCategory(name, hooks);
    setDefaultPointer();
    if (!result) {
        const store::Failure& failure = result.failure();
        switch (failure.kind) {
            case store::Failure::Kind::NoTempPath:
                showMessage(QStringLiteral("Error getting temporary file path."), msg::kOkOnly);
                return;
            case store::Failure::Kind::NoTempFile:
                showMessage(QStringLiteral("Error getting temporary filename."), msg::kOkOnly);
                return;
            default:
                handleStoreFailure(this, ErrorLocation::SetupDelete, failure);
                if (failure.isRefusal()) {
                    ui_->txtSDel->setFocus();
                }
                return;
        }
    }
    ui_->lswSetup->clear();
    fillList(ErrorLocation::SetupDelete);
}

void SetupWindow::cancelDelete() {
    setCreateMode(true);
    ui_->txtSDel->clear();
    ui_->txtSCreate->setFocus();
}

void SetupWindow::backToMain() {
    hide();
    windows().show(WindowId::Main);
}

void SetupWindow::followDisk() {
    if (working_) {
        return;  // a delete lets events run while it rewrites the list; it refills it after
    }
    const store::Store store(dataFolder());
    const auto names = store.listCategoriesByLine();
    if (!names && !names.failure().isFileNotFound()) {
        return;  // perhaps being replaced right now: the next change tells
    }
    QStringList listed = names ? names.value() : QStringList();
    QStringList shown;
    for (int row = 0; row < ui_->lswSetup->count(); ++row) {
        shown.append(ui_->lswSetup->item(row)->text());
    }
    if (ui_->lswSetup->isSortingEnabled()) {
        // Sorted on screen: the same names in another order are the same list.
        const auto byLetters = [](const QString& a, const QString& b) {
            const int order = a.compare(b, Qt::CaseInsensitive);
            return order != 0 ? order < 0 : a < b;
        };
        std::sort(listed.begin(), listed.end(), byLetters);
        std::sort(shown.begin(), shown.end(), byLetters);
    }
    if (listed == shown) {
        return;
    }
    const QString current =
        ui_->lswSetup->currentItem() ? ui_->lswSetup->currentItem()->text() : QString();
    QStringList picked;
    for (const QListWidgetItem* item : ui_->lswSetup->selectedItems()) {
        picked.append(item->text());
    }
    ui_->lswSetup->clear();
    for (const QString& name : names ? names.value() : QStringList()) {
        ui_->lswSetup->addItem(new CategoryItem(name));
    }
    for (int row = 0; row < ui_->lswSetup->count(); ++row) {
        QListWidgetItem* item = ui_->lswSetup->item(row);
        if (item->text() == current) {
            ui_->lswSetup->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
        item->setSelected(picked.contains(item->text()));
    }
}

}  // namespace pv
