#include "mealplanwindow.h"
#include "ui_mealplanwindow.h"

#include "appfolder.h"
#include "errorstate.h"
#include "exchangecommands.h"
#include "folderwatcher.h"
#include "formsetup.h"
#include "messageservice.h"
#include "planprint.h"
#include "printerservice.h"
#include "recipescale.h"
#include "shoppingmerge.h"
#include "showinbrowser.h"
#include "store.h"
#include "today.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>

#include <utility>

namespace pv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kDayRole = Qt::UserRole;
constexpr int kPlannedRole = Qt::UserRole + 1;  // the index in the week, on a recipe's row

}  // namespace

MealPlanWindow::MealPlanWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::MealPlanWindow>()) {
    ui_->setupUi(this);
    FormSetup setup;
    setup.growToText = {ui_->lblMDays,   ui_->lblMDay,  ui_->lblMCat,
                        ui_->lblMRecipe, ui_->lblMServ, ui_->lblMChange};
    finishForm(this, setup);
    setClosesOnEscape(true);

    recipes_ = new QStringListModel(this);
    ui_->cboMRecipe->setModel(recipes_);

    QHeaderView* header = ui_->lswMDays->header();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(0, 186);
    header->resizeSection(1, 56);
    header->setStretchLastSection(true);

    connect(ui_->cmdMPrev, &QPushButton::clicked, this, &MealPlanWindow::previousWeek);
    connect(ui_->cmdMNext, &QPushButton::clicked, this, &MealPlanWindow::nextWeek);
    connect(ui_->cmdMToday, &QPushButton::clicked, this, &MealPlanWindow::thisWeek);
    connect(ui_->cboMCat, &QComboBox::activated, this, &MealPlanWindow::categoryPicked);
    connect(ui_->cboMRecipe, &QComboBox::activated, this, &MealPlanWindow::recipePicked);
    connect(ui_->cmdMAdd, &QPushButton::clicked, this, &MealPlanWindow::addPlanned);
    connect(ui_->cmdMRemove, &QPushButton::clicked, this, &MealPlanWindow::removePlanned);
    connect(ui_->cmdMChange, &QPushButton::clicked, this, &MealPlanWindow::changeServings);
    connect(ui_->cmdMShow, &QPushButton::clicked, this, &MealPlanWindow::showPlanned);
    connect(ui_->cmdMList, &QPushButton::clicked, this, &MealPlanWindow::makeShoppingList);
    connect(ui_->cmdMPrint, &QPushButton::clicked, this, &MealPlanWindow::printPlan);
    connect(ui_->cmdMClose, &QPushButton::clicked, this, &MealPlanWindow::closeWindow);
    // Enter and a double click on a planned recipe show it.
    connect(ui_->lswMDays, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item && item->data(0, kPlannedRole).isValid()) {
            showPlanned();
        }
    });
    connect(ui_->lswMDays, &QTreeWidget::currentItemChanged, this,
            &MealPlanWindow::selectionChanged);
    connect(ui_->lswMDays, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        const QDate day = item->data(0, kDayRole).toDate();
        if (day.isValid() && !item->data(0, kPlannedRole).isValid()) {
            if (item->checkState(0) == Qt::Checked) {
                unticked_.remove(day);
            } else {
                unticked_.insert(day);
            }
        }
    });
    // Delete on a planned recipe removes it, as the button does.
    ui_->lswMDays->installEventFilter(this);

    watcher_ = new FolderWatcher(this, [this] { return followedPaths(); });
    connect(watcher_, &FolderWatcher::changed, this, &MealPlanWindow::followDisk);
}

MealPlanWindow::~MealPlanWindow() = default;

void MealPlanWindow::onLoad() {
    loadCategoryList();
    showWeek(store::weekStart(today()));
    ui_->lswMDays->setFocus();
}

bool MealPlanWindow::onShowAgain() {
    // Recipes and categories may have come or gone meanwhile, and the plan
    // file may have been copied in.
    loadCategoryList();
    showWeek(monday_);
    return true;
}

void MealPlanWindow::loadCategoryList(bool quiet) {
    QComboBox* box = ui_->cboMCat;
    const QString chosen = box->currentIndex() >= 0 ? box->currentText() : QString();
    const store::Store store(dataFolder());
    const auto names = store.listCategoriesByField();
    if (!names && quiet) {
        return;  // told when the list is used
    }
    if (!names && !names.failure().isFileNotFound()) {
        showMessage(
            u"The list of categories cannot be read (%1)."_s.arg(names.failure().description),
            msg::kExclamation);
    }
    const QStringList listed = names ? names.value() : QStringList();
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) {
        shown.append(box->itemText(i));
    }
    if (listed != shown) {
        box->clear();
        box->addItems(listed);
        box->setCurrentIndex(chosen.isEmpty() ? -1 : box->findText(chosen));
    }
    if (box->currentIndex() < 0) {
        recipes_->setStringList({});
        return;
    }
    // The chosen category's recipes as they are now; the recipe chosen stays when it is there.
    auto listing = store.listRecipeFiles(chosen);
    if (!listing && quiet) {
        return;
    }
    QStringList recipes = listing ? std::move(listing.value()) : QStringList{QString()};
    recipes.removeLast();  // the spare entry
    if (recipes != recipes_->stringList()) {
        const QString recipe = ui_->cboMRecipe->currentText();
        const int servings = ui_->spnMServ->value();
        recipes_->setStringList(recipes);
        ui_->cboMRecipe->setCurrentIndex(int(recipes.indexOf(recipe)));
        ui_->spnMServ->setValue(servings);
    }
}

void MealPlanWindow::categoryPicked() {
    const QString category = ui_->cboMCat->currentText();
    const store::Store store(dataFolder());
    auto listing = store.listRecipeFiles(category);
    if (!listing) {
        recipes_->setStringList({});
        showUserError(
            listing.failure().isRefusal()
                ? listing.failure().userMessage
                : u"The category \"%1\" has no folder: its recipes cannot be listed."_s.arg(
                      category));
        return;
    }
    QStringList names = std::move(listing.value());
    names.removeLast();  // the spare entry
    recipes_->setStringList(names);
    ui_->cboMRecipe->setCurrentIndex(names.isEmpty() ? -1 : 0);
    recipePicked();
    watcher_->follow();
}

void MealPlanWindow::recipePicked() {
    // The servings start at the recipe's own, as Scale does.
    if (ui_->cboMRecipe->currentIndex() < 0) {
        return;
    }
    const store::Store store(dataFolder());
    const auto fields =
        store.loadRecipe(ui_->cboMCat->currentText(), ui_->cboMRecipe->currentText());
    const int written =
        fields
            ? exchange::RecipeScale::writtenServings(fields.value()[store::kServingSizeField - 1])
            : 0;
    ui_->spnMServ->setValue(written > 0 ? written : 1);
}

QString MealPlanWindow::fileShown() const {
    return u"Meal Plan/"_s + store::mealPlanFileName(monday_);
}

void MealPlanWindow::showWeek(const QDate& monday) {
    if (monday != monday_) {
        unticked_.clear();
    }
    monday_ = monday;
    ui_->lblMWeek->setText(planWeekText(monday_));
    ui_->cboMDay->clear();
    for (int offset = 0; offset < 7; ++offset) {
        ui_->cboMDay->addItem(planDayText(monday_.addDays(offset)), monday_.addDays(offset));
    }
    const store::Store store(dataFolder());
    auto read = store.openMealPlan(monday_);
    showRead(read ? std::move(read.value()) : store::MealPlanWeek{});
    watcher_->follow();
    if (!read) {
        showMessage(
            u"The meal plan file \"%1\" cannot be read (%2). The week is shown empty and "
            u"cannot be changed until the file can be read."_s.arg(fileShown(),
                                                                   read.failure().description),
            msg::kExclamation);
        return;
    }

    // Told once a run for each week's file, not at each showing.
    const bool told = std::exchange(told_[fileShown()], !week_.unreadable.isEmpty() || week_.cut);
    if (told) {
        return;
    }
    if (week_.cut) {
        showMessage(
            u"The meal plan file \"%1\" is larger than a week's plan can be. Only its start "
            u"is shown, and the week cannot be changed here."_s.arg(fileShown()),
            msg::kExclamation);
    } else if (!week_.unreadable.isEmpty()) {
        showMessage(
            u"%1 of the meal plan file \"%2\" cannot be read as planned recipes. They are "
            u"kept in the file as they are."_s.arg(week_.unreadable.size() == 1
                                                       ? u"1 line"_s
                                                       : u"%1 lines"_s.arg(week_.unreadable.size()),
                                                   fileShown()),
            msg::kExclamation);
    }
}

void MealPlanWindow::showRead(store::MealPlanWeek week, qsizetype select) {
    if (select < 0 && currentPlanned() >= 0) {
        select = store::findPlanned(week, week_, currentPlanned());
    }
    week_ = std::move(week);
    const store::Store store(dataFolder());
    missing_.clear();
    for (int i = 0; i < week_.recipes.size(); ++i) {
        if (store.storedRecipeName(week_.recipes[i].category, week_.recipes[i].recipe).isEmpty()) {
            missing_.insert(i);
        }
    }
    fillDays(select);
}

void MealPlanWindow::followDisk() {
    loadCategoryList(true);
    // Quietly: a week that cannot be read now stays as shown, and a change
    // to it tells why.
    const store::Store store(dataFolder());
    auto read = store.openMealPlan(monday_);
    const int before = currentPlanned();
    const std::optional<store::PlannedRecipe> picked =
        before >= 0 ? std::optional(week_.recipes[before]) : std::nullopt;
    const int typed = ui_->spnMChange->value();
    showRead(read ? std::move(read.value()) : week_);
    // Servings typed for the same planned recipe stay typed.
    const int after = currentPlanned();
    if (picked && after >= 0 && week_.recipes[after] == *picked) {
        ui_->spnMChange->setValue(typed);
    }
    watcher_->follow();
}

QStringList MealPlanWindow::followedPaths() const {
    QStringList paths{FolderWatcher::dataPath(), FolderWatcher::dataPath(u"Meal Plan"_s),
                      FolderWatcher::dataPath(fileShown()), FolderWatcher::dataPath(u"Category"_s),
                      FolderWatcher::dataPath(u"Category/category.txt"_s)};
    // Where the planned recipes are, and the chosen one to add.
    QSet<QString> categories;
    if (ui_->cboMCat->currentIndex() >= 0) {
        categories.insert(ui_->cboMCat->currentText());
    }
    for (const store::PlannedRecipe& planned : week_.recipes) {
        categories.insert(planned.category);
    }
    for (const QString& category : std::as_const(categories)) {
        if (!category.isEmpty() && !category.contains(u'/') && category != u"."_s &&
            category != u".."_s) {
            paths.append(FolderWatcher::dataPath(u"Category/"_s + category));
        }
    }
    return paths;
}

void MealPlanWindow::fillDays(qsizetype select) {
    QTreeWidget* tree = ui_->lswMDays;
    const QDate selectedDay =
        tree->currentItem() ? tree->currentItem()->data(0, kDayRole).toDate() : QDate();
    const int scrolled = tree->verticalScrollBar()->value();
    const QSignalBlocker blocker(tree);
    tree->clear();
    const QDate now = today();
    const QDate sunday = monday_.addDays(6);
    // The row picked before, else today's, else the same day of the week.
    const QDate wanted = selectedDay >= monday_ && selectedDay <= sunday ? selectedDay
                         : now >= monday_ && now <= sunday               ? now
                         : selectedDay.isValid() ? monday_.addDays(selectedDay.dayOfWeek() - 1)
                                                 : monday_;
    QTreeWidgetItem* current = nullptr;
    for (int offset = 0; offset < 7; ++offset) {
        const QDate day = monday_.addDays(offset);
        auto* dayItem = new QTreeWidgetItem(
            tree, {day == now ? planDayText(day) + u" (today)"_s : planDayText(day)});
        dayItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        dayItem->setCheckState(0, unticked_.contains(day) ? Qt::Unchecked : Qt::Checked);
        dayItem->setData(0, kDayRole, day);
        if (day == now) {
            QFont bold = dayItem->font(0);
            bold.setBold(true);
            dayItem->setFont(0, bold);
        }
        if (select < 0 && day == wanted) {
            current = dayItem;
        }
        for (int i = 0; i < week_.recipes.size(); ++i) {
            const store::PlannedRecipe& planned = week_.recipes[i];
            if (planned.day != day) {
                continue;
            }
            const bool gone = missing_.contains(i);
            auto* item = new QTreeWidgetItem(
                dayItem, {gone ? planned.recipe + u" (missing)"_s : planned.recipe,
                          QString::number(planned.servings), planned.category});
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setData(0, kDayRole, day);
            item->setData(0, kPlannedRole, i);
            if (gone) {
                item->setForeground(0, tree->palette().brush(QPalette::Disabled, QPalette::Text));
            }
            if (i == select) {
                current = item;
            }
        }
    }
    tree->expandAll();
    tree->setCurrentItem(current ? current : tree->topLevelItem(0));
    tree->verticalScrollBar()->setValue(scrolled);
    selectionChanged();
}

int MealPlanWindow::currentPlanned() const {
    const QTreeWidgetItem* item = ui_->lswMDays->currentItem();
    const QVariant index = item ? item->data(0, kPlannedRole) : QVariant();
    return index.isValid() ? index.toInt() : -1;
}

void MealPlanWindow::selectionChanged() {
    const int index = currentPlanned();
    const bool planned = index >= 0 && index < week_.recipes.size();
    for (QWidget* control :
         {static_cast<QWidget*>(ui_->spnMChange), static_cast<QWidget*>(ui_->cmdMChange),
          static_cast<QWidget*>(ui_->cmdMShow), static_cast<QWidget*>(ui_->cmdMRemove)}) {
        control->setEnabled(planned);
    }
    if (planned) {
        ui_->spnMChange->setValue(week_.recipes[index].servings);
    }
    // A day picked in the list is the day a recipe is added to.
    const QTreeWidgetItem* item = ui_->lswMDays->currentItem();
    const QDate day = item ? item->data(0, kDayRole).toDate() : QDate();
    if (day.isValid()) {
        ui_->cboMDay->setCurrentIndex(int(monday_.daysTo(day)));
    }
}

QList<QDate> MealPlanWindow::tickedDays() const {
    QList<QDate> days;
    for (int offset = 0; offset < 7; ++offset) {
        if (!unticked_.contains(monday_.addDays(offset))) {
            days.append(monday_.addDays(offset));
        }
    }
    return days;
}

void MealPlanWindow::previousWeek() {
    showWeek(monday_.addDays(-7));
}

void MealPlanWindow::nextWeek() {
    showWeek(monday_.addDays(7));
}

void MealPlanWindow::thisWeek() {
    showWeek(store::weekStart(today()));
}

bool MealPlanWindow::changeWeek(
    const std::function<std::optional<qsizetype>(store::MealPlanWeek&)>& change) {
    store::Store store(dataFolder());
    auto read = store.openMealPlan(monday_);
    if (!read || read.value().cut) {
        // Shown as it is, and why it cannot be changed told once.
        const bool told = told_.value(fileShown());
        showWeek(monday_);
        if (read && told) {
            showUserError(
                u"The meal plan file \"%1\" could not be read whole, so this week cannot be "
                u"changed here."_s.arg(fileShown()));
        }
        return false;
    }
    store::MealPlanWeek week = std::move(read.value());
    const std::optional<qsizetype> select = change(week);
    if (!select) {
        showRead(std::move(week));
        return false;
    }
    const auto saved = store.saveMealPlan(monday_, week);
    if (!saved) {
        const store::Failure& failure = saved.failure();
        if (failure.isRefusal()) {
            showUserError(failure.userMessage);
        } else {
            showMessage(
                u"The meal plan file \"%1\" could not be written (%2). The plan is as it "
                u"was."_s.arg(fileShown(), failure.description),
                msg::kExclamation);
        }
        return false;
    }
    showRead(std::move(week), *select);
    watcher_->follow();
    return true;
}

void MealPlanWindow::addPlanned() {
    const QString category =
        ui_->cboMCat->currentIndex() >= 0 ? ui_->cboMCat->currentText() : QString();
    const QString recipe =
        ui_->cboMRecipe->currentIndex() >= 0 ? ui_->cboMRecipe->currentText() : QString();
    if (category.isEmpty() || recipe.isEmpty()) {
        showUserError(u"Please pick a category and a recipe to add."_s);
        return;
    }
    ui_->spnMServ->interpretText();
    const store::PlannedRecipe planned{ui_->cboMDay->currentData().toDate(), category, recipe,
                                       ui_->spnMServ->value()};
    changeWeek([&planned](store::MealPlanWeek& week) -> std::optional<qsizetype> {
        // After the recipes planned for that day so far.
        qsizetype at = 0;
        while (at < week.recipes.size() && week.recipes[at].day <= planned.day) {
            ++at;
        }
        week.recipes.insert(at, planned);
        return at;
    });
}

void MealPlanWindow::removePlanned() {
    const int index = currentPlanned();
    if (index < 0 || index >= week_.recipes.size()) {
        showUserError(u"Please click the planned recipe to remove first."_s);
        return;
    }
    changeWeek([this, index](store::MealPlanWeek& week) -> std::optional<qsizetype> {
        const qsizetype at = store::findPlanned(week, week_, index);
        if (at < 0) {
            return std::nullopt;  // removed elsewhere already
        }
        week.recipes.removeAt(at);
        return -1;
    });
}

void MealPlanWindow::changeServings() {
    const int index = currentPlanned();
    if (index < 0 || index >= week_.recipes.size()) {
        showUserError(u"Please click the planned recipe to change first."_s);
        return;
    }
    ui_->spnMChange->interpretText();
    const int servings = ui_->spnMChange->value();
    const store::PlannedRecipe shown = week_.recipes[index];
    bool gone = false;
    changeWeek([&](store::MealPlanWeek& week) -> std::optional<qsizetype> {
        const qsizetype at = store::findPlanned(week, week_, index);
        if (at < 0) {
            gone = true;
            return std::nullopt;
        }
        week.recipes[at].servings = servings;
        return at;
    });
    if (gone) {
        showUserError(
            u"The recipe \"%1\" is no longer planned for %2: the plan was changed "
            u"elsewhere meanwhile."_s.arg(shown.recipe, planDayText(shown.day)));
    }
}

void MealPlanWindow::showPlanned() {
    const int index = currentPlanned();
    if (index < 0 || index >= week_.recipes.size()) {
        showUserError(u"Please click the planned recipe to show first."_s);
        return;
    }
    const store::PlannedRecipe planned = week_.recipes[index];
    showInBrowser(planned.category, planned.recipe);
}

void MealPlanWindow::makeShoppingList() {
    const QList<QDate> days = tickedDays();
    if (days.isEmpty()) {
        showUserError(u"Please tick the days to shop for."_s);
        return;
    }
    const store::Store store(dataFolder());
    exchange::ShoppingMerge merge;
    QStringList unread;
    bool planned = false;
    for (const store::PlannedRecipe& recipe : std::as_const(week_.recipes)) {
        if (!days.contains(recipe.day)) {
            continue;
        }
        planned = true;
        const auto fields = store.loadRecipe(recipe.category, recipe.recipe);
        if (!fields) {
            unread.append(u"%1 (%2)"_s.arg(recipe.recipe, recipe.category));
            continue;
        }
        const int written =
            exchange::RecipeScale::writtenServings(fields.value()[store::kServingSizeField - 1]);
        merge.addRecipe(fields.value(), exchange::RecipeScale::factor(written, recipe.servings));
    }
    if (!planned) {
        showUserError(u"Nothing is planned on the days ticked."_s);
        return;
    }
    const QStringList lines = merge.lines();
    const QString unreadText =
        u"These planned recipes cannot be read and are not on the shopping list:"_s + u"\r\n"_s +
        unread.join(u"\r\n"_s);
    if (lines.isEmpty()) {
        showUserError(unread.isEmpty() ? u"The recipes planned on the days ticked have no "
                                         u"ingredients."_s
                                       : unreadText);
        return;
    }
    if (!appendToShoppingList(lines)) {
        return;
    }
    if (!unread.isEmpty()) {
        showMessage(unreadText, msg::kExclamation);
    }
}

QStringList MealPlanWindow::printedLines() const {
    QStringList texts;
    for (const PrintedLine& line : mealPlanPrintout(monday_, week_.recipes, missing_)) {
        texts.append(line.text);
    }
    return texts;
}

void MealPlanWindow::printPlan() {
    // Every failure here ends quietly, a cancelled dialog included.
    PrinterService& service = printerService();
    if (!service.setupDialog(this)) {
        return;
    }
    printLines(service.printer(), mealPlanPrintout(monday_, week_.recipes, missing_));
}

void MealPlanWindow::closeWindow() {
    hide();
}

void MealPlanWindow::offerRecipe(const QString& category, const QString& file, int servings) {
    int index = ui_->cboMCat->findText(category, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        loadCategoryList();
        index = ui_->cboMCat->findText(category, Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    if (index < 0) {
        showUserError(u"The category \"%1\" is no longer listed."_s.arg(category));
        return;
    }
    ui_->cboMCat->setCurrentIndex(index);
    categoryPicked();
    const int row = ui_->cboMRecipe->findText(file, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row < 0) {
        showUserError(
            u"The recipe \"%1\" is no longer in the category \"%2\"."_s.arg(file, category));
        return;
    }
    ui_->cboMRecipe->setCurrentIndex(row);
    ui_->spnMServ->setValue(servings);
    ui_->cboMDay->setFocus();
}

bool MealPlanWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->lswMDays && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && currentPlanned() >= 0) {
        removePlanned();
        return true;
    }
    return PvWindow::eventFilter(watched, event);
}

}  // namespace pv
