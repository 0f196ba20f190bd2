#include "recipebrowserwindow.h"
#include "ui_recipebrowserwindow.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "errorstate.h"
#include "exchangecommands.h"
#include "folderwatcher.h"
#include "formsetup.h"
#include "mealplanwindow.h"
#include "recipeentrywindow.h"
#include "recipefilemodel.h"
#include "recipescale.h"
#include "scalewindow.h"
#include "screenparts.h"
#include "store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <array>

namespace pv {

namespace {

// A listed category whose folder was removed outside the program.
void tellFolderMissing(const QString& category) {
    showUserError(
        missingCategoryFolderText(category, QStringLiteral("Its recipes cannot be listed.")));
}

QString dashes() {
    return QString(121, QLatin1Char('-'));
}

// The column headings over the ingredient lines, left half first.
std::array<QLineEdit*, 6> headings(const Ui::RecipeBrowserWindow& ui) {
    return {ui.Text1, ui.Text2, ui.Text3, ui.Text4, ui.Text5, ui.Text6};
}

}  // namespace

RecipeBrowserWindow::RecipeBrowserWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::RecipeBrowserWindow>()) {
    ui_->setupUi(this);
    lines_ = ingredientBoxes(this, QStringLiteral("txtRA"), QStringLiteral("txtRT"),
                             QStringLiteral("txtRI"));
    menu_ = addScreenMenuBar(this, QStringLiteral("SMXPR"));

    // The cooking line sits on the window's button face, whatever the desktop's colours.
    const QColor face = palette().color(QPalette::Button);
    for (QLineEdit* box :
         {ui_->txtRTemp, ui_->txtRTemp1, ui_->txtRHr, ui_->txtRHr1, ui_->txtRMin, ui_->txtRMin1}) {
        QPalette colours = box->palette();
        colours.setColor(QPalette::Base, face);
        box->setPalette(colours);
    }

    fileModel_ = new RecipeFileModel(this);
    ui_->lswRFile->setModel(fileModel_);
    // The list's Click and its keyboard's click.
    ui_->lswRFile->viewport()->installEventFilter(this);
    ui_->lswRFile->installEventFilter(this);

    FormSetup setup;
    setup.growToText = {ui_->chkRDel,   ui_->txtRSrv, ui_->txtRSlash,
                        ui_->txtRTemp1, ui_->txtRHr,  ui_->txtRMin};
    for (QLineEdit* heading : headings(*ui_)) {
        setup.growToText.append(heading);
    }
    setup.hints = {{ui_->lblRCat, ui_->lblRMsg},
                   {ui_->lswRFile, ui_->lblRMsg1},
                   {ui_->chkRDel, ui_->lblRMsg2},
                   {ui_->txtRDirec, ui_->lblRmsg3},
                   {ui_->cmdRMain, ui_->lblRmsg3}};
    setup.resets = {{ui_->fraRWhich, {ui_->lblRMsg, ui_->lblRMsg1, ui_->lblRMsg2}},
                    {ui_->clientArea, {ui_->lblRmsg3}}};
    finishForm(this, setup);
    bindButtons(menuTable());

    connect(ui_->cboRCat, &QComboBox::activated, this, &RecipeBrowserWindow::categoryPicked);
    connect(ui_->chkRDel, &QCheckBox::clicked, this, &RecipeBrowserWindow::deleteBoxClicked);

    watcher_ = new FolderWatcher(this, [this] { return followedPaths(); });
    connect(watcher_, &FolderWatcher::changed, this, &RecipeBrowserWindow::followDisk);
}

RecipeBrowserWindow::~RecipeBrowserWindow() = default;

QList<MenuEntry> RecipeBrowserWindow::menuTable() {
    return {
        topMenu(kFileMenu, QStringLiteral("&File")),
        buttonItem(kFileMenu, QStringLiteral("New"), ui_->cmdRNew, [this] { newDisplay(); }),
        menuItem(kFileMenu, QStringLiteral("keyEditRecipe"), QStringLiteral("Edit..."), QString(),
                 [this] { editRecipe(); }),
        separatorIn(kFileMenu),
        menuItem(kFileMenu, QStringLiteral("keyFind"), QStringLiteral("Find..."), QString(),
                 [] { windows().show(WindowId::Find); })
            .withShortcut(QKeySequence(Qt::CTRL | Qt::Key_F)),
        separatorIn(kFileMenu),
        buttonItem(kFileMenu, QStringLiteral("Print"), ui_->cmdRPrint, [this] { print(); }),
        menuItem(kFileMenu, QStringLiteral("keyExport"), QStringLiteral("Export..."), QString(),
                 [this] { exportRecipe(this); })
            .withShortcut(QKeySequence(Qt::CTRL | Qt::Key_E)),
        menuItem(kFileMenu, QStringLiteral("keyExportAll"), QStringLiteral("Export all..."),
                 QString(), [this] { exportAllRecipes(this); }),
        menuItem(kFileMenu, QStringLiteral("keyAddToList"), QStringLiteral("Add to shopping list"),
                 QString(), [this] { addToShoppingList(this); })
            .withShortcut(QKeySequence(Qt::CTRL | Qt::Key_L)),
        menuItem(kFileMenu, QStringLiteral("keyScale"), QStringLiteral("Scale..."), QString(),
                 [this] { scale(); }),
        menuItem(kFileMenu, QStringLiteral("keyAddToPlan"), QStringLiteral("Add to meal plan..."),
                 QString(), [this] { addToMealPlan(); }),
        separatorIn(kFileMenu),
        buttonItem(kFileMenu, QStringLiteral("Main"), ui_->cmdRMain, [this] { returnToMain(); }),
    };
}

void RecipeBrowserWindow::onLoad() {
    buildMenuBar(menu_, withLoadableIcons(menuTable()));
    ui_->chkRDel->setEnabled(false);
    loadCategories(this, ui_->cboRCat, ErrorLocation::RecipeBrowserLoad);
    tidyStaleSaves(QStringLiteral("Category"));
}

void RecipeBrowserWindow::onActivate() {
    ui_->chkRDel->setEnabled(false);
}

bool RecipeBrowserWindow::onShowAgain() {
    // Categories made or deleted on the setup screen meanwhile.
    const CategoryChoice choice =
        loadCategories(this, ui_->cboRCat, ErrorLocation::RecipeBrowserLoad);
    if (choice == CategoryChoice::Dropped) {
        // The chosen category is gone: so are its files and the recipe shown.
        newDisplay();
    }
    return choice != CategoryChoice::Failed;
}

void RecipeBrowserWindow::categoryPicked() {
    ui_->chkRDel->setChecked(false);
    // The box deletes only a recipe clicked in the list now shown.
    ui_->chkRDel->setEnabled(false);
    const QString category = ui_->cboRCat->currentText();
    const store::Store store(dataFolder());
    auto listing = store.listRecipeFiles(category);
    fileModel_->clear();
    if (!listing) {
        // A listed category whose folder has gone: the user is told, the list stays empty.
        const store::Failure& failure = listing.failure();
        if (failure.isRefusal()) {
            showUserError(failure.userMessage);
        } else {
            tellFolderMissing(category);
        }
        return;
    }
    fileModel_->setListing(std::move(listing.value()));
    fitColumnsToNames();
    watcher_->follow();
    tidyStaleSaves(QStringLiteral("Category/") + category);
    // The first file is the list's selected item until the user picks another;
    // it is not marked selected.
    if (fileModel_->rowCount() > 0) {
        ui_->lswRFile->selectionModel()->setCurrentIndex(fileModel_->index(0),
                                                         QItemSelectionModel::NoUpdate);
    }
}

void RecipeBrowserWindow::fitColumnsToNames() {
    // Columns as wide as the longest name (by its length; measuring each of
    // many thousand names would cost more than the listing), at most the list's width.
    const QFontMetrics metrics(ui_->lswRFile->font());
    // A conflict copy's picture stands before its name.
    int picture = 0;
    if (fileModel_->hasConflictCopies()) {
        // A small picture, so that the row keeps the height of a line.
        const int side = ui_->lswRFile->style()->pixelMetric(QStyle::PM_SmallIconSize);
        ui_->lswRFile->setIconSize(QSize(side, side));
        picture = side + 4;
    }
    const int width =
        std::clamp(metrics.horizontalAdvance(fileModel_->longestName()) + 12 + picture, 48,
                   std::max(48, ui_->lswRFile->viewport()->width() - 4));
    ui_->lswRFile->setGridSize(
        QSize(width, std::max(metrics.height(), picture > 0 ? picture - 2 : 0) + 2));
}

void RecipeBrowserWindow::fileClicked() {
    const QModelIndex selected = ui_->lswRFile->currentIndex();
    if (!selected.isValid()) {
        // An empty list shows nothing; a stray click on it must not end the program.
        return;
    }
    const bool marked = ui_->lswRFile->selectionModel()->isSelected(selected);
    if (fileModel_->rowCount() == 0) {
        return;
    }
    const QString category = ui_->cboRCat->currentText();
    const QString file = selected.data().toString();
    const store::Store store(dataFolder());
    auto recipe = store.loadRecipe(category, file);
    if (!recipe) {
        const store::Failure& failure = recipe.failure();
        if (categoryFolderGone(store, failure, category)) {
            // The category was deleted since its files were listed.
            fileModel_->clear();
            tellFolderMissing(category);
            return;
        }
        handleStoreFailure(this, ErrorLocation::RecipeBrowserOpen, failure);
        return;
    }
    if (marked) {
        ui_->chkRDel->setEnabled(true);
        ui_->chkRDel->setChecked(false);
    }
    shownCategory_ = category;
    shownFile_ = file;
    // Another recipe, or the same one again, is shown as written.
    shownFields_ = recipe.value();
    scaledServings_ = 0;
    ui_->lblRScale->clear();
    ui_->txtRName->setText(file);
    showFields(recipe.value());
    watcher_->follow();
}

void RecipeBrowserWindow::showFields(const store::RecipeFields& fields) {
    ui_->txtRSize->setText(fields[store::kServingSizeField - 1]);
    ui_->txtRDate->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    for (int line = 1; line <= 10; ++line) {
        lines_[line - 1].amount->setText(fields[store::amountField(line) - 1]);
    }
    for (int line = 1; line <= 10; ++line) {
        lines_[line - 1].type->setText(fields[store::measureField(line) - 1]);
    }
    for (int line = 1; line <= 10; ++line) {
        lines_[line - 1].ingredient->setText(fields[store::ingredientField(line) - 1]);
    }
    ui_->txtRDirec->setText(fields[store::kDirectionsField - 1]);
    ui_->txtRTemp->setText(fields[store::kTemperatureField - 1]);
    ui_->txtRHr1->setText(fields[store::kHoursField - 1]);
    ui_->txtRMin1->setText(fields[store::kMinutesField - 1]);
    displayed_ = fieldsOf(printout());
}

void RecipeBrowserWindow::deleteBoxClicked(bool checked) {
    if (!checked) {
        return;
    }
    if (shownFile_.isEmpty()) {
        // Nothing on display, nothing to delete.
        ui_->chkRDel->setChecked(false);
        ui_->chkRDel->setEnabled(false);
        return;
    }
    // The recipe on display, whichever list item is current by now.
    store::Store store(dataFolder());
    auto deleted = store.deleteRecipe(shownCategory_, shownFile_);
    if (!deleted && categoryFolderGone(store, deleted.failure(), shownCategory_)) {
        // Deleted with its category meanwhile: gone, as asked.
        const QString category = shownCategory_;
        newDisplay();
        showUserError(missingCategoryFolderText(
            category, QStringLiteral("The recipe shown is no longer there.")));
        return;
    }
    if (!deleted) {
        if (deleted.failure().isRefusal()) {
            ui_->chkRDel->setChecked(false);
        }
        handleStoreFailure(this, ErrorLocation::RecipeBrowserDelete, deleted.failure());
        return;
    }
    ui_->chkRDel->setChecked(false);
    newDisplay();
}

void RecipeBrowserWindow::clearDisplay() {
    clearScreenFields(this);
    fileModel_->clear();
    shownCategory_.clear();
    shownFile_.clear();
    shownFields_ = {};
    scaledServings_ = 0;
    ui_->lblRScale->clear();
    displayed_ = {};
}

void RecipeBrowserWindow::writeFixedTexts() {
    ui_->txtRSrv->setText(QStringLiteral("Srv:"));
    ui_->txtRTemp1->setText(QStringLiteral("F"));
    ui_->txtRSlash->setText(dashes());
    const QString texts[] = {QStringLiteral("Amt"), QStringLiteral("Type"),
                             QStringLiteral("Ingredients")};
    const auto columns = headings(*ui_);
    for (int i = 0; i < 6; ++i) {
        columns[i]->setText(texts[i % 3]);
    }
    ui_->txtRHr->setText(QStringLiteral("H"));
    ui_->txtRMin->setText(QStringLiteral("M"));
}

void RecipeBrowserWindow::newDisplay() {
    clearDisplay();
    ui_->chkRDel->setEnabled(false);
    ui_->chkRDel->setChecked(false);
    writeFixedTexts();
}

void RecipeBrowserWindow::returnToMain() {
    hide();
    clearDisplay();
    ui_->chkRDel->setChecked(false);
    writeFixedTexts();
    windows().show(WindowId::Main);
}

RecipePrintout RecipeBrowserWindow::printout() const {
    RecipePrintout page;
    page.name = ui_->txtRName->text();
    page.servingSize = ui_->txtRSize->text();
    for (int i = 0; i < 10; ++i) {
        page.amounts[i] = lines_[i].amount->text();
        page.types[i] = lines_[i].type->text();
        page.ingredients[i] = lines_[i].ingredient->text();
    }
    page.directions = ui_->txtRDirec->text();
    page.temperature = ui_->txtRTemp->text();
    page.hours = ui_->txtRHr1->text();
    page.minutes = ui_->txtRMin1->text();
    return page;
}

void RecipeBrowserWindow::print() {
    if (printRecipe(this, printout())) {
        ui_->chkRDel->setChecked(false);
    }
}

bool RecipeBrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->lswRFile->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The list's Click: anywhere on the list, on a name or not.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            fileClicked();
        }
    } else if (watched == ui_->lswRFile && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            // The keyboard's click: open the current file.
            const QModelIndex current = ui_->lswRFile->currentIndex();
            if (current.isValid()) {
                ui_->lswRFile->selectionModel()->select(current,
                                                        QItemSelectionModel::ClearAndSelect);
            }
            fileClicked();
            return true;
        }
    }
    return PvWindow::eventFilter(watched, event);
}

bool RecipeBrowserWindow::showRecipe(const QString& category, const QString& file) {
    const int index = ui_->cboRCat->findText(category, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        showUserError(QStringLiteral("The category \"%1\" is no longer listed.").arg(category));
        return false;
    }
    ui_->cboRCat->setCurrentIndex(index);
    categoryPicked();
    if (ui_->cboRCat->currentIndex() != index || fileModel_->rowCount() == 0) {
        return false;  // its folder is gone, and the user was told
    }
    const QModelIndexList found = fileModel_->match(fileModel_->index(0), Qt::DisplayRole, file, 1,
                                                    Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty()) {
        showUserError(QStringLiteral("The recipe \"%1\" is no longer in the category \"%2\".")
                          .arg(file, category));
        return false;
    }
    ui_->lswRFile->selectionModel()->setCurrentIndex(found.first(),
                                                     QItemSelectionModel::ClearAndSelect);
    ui_->lswRFile->scrollTo(found.first());
    fileClicked();
    return shownFile_ == file;
}

int RecipeBrowserWindow::servingsOnDisplay() const {
    if (scaledServings_ > 0) {
        return scaledServings_;
    }
    const int written =
        exchange::RecipeScale::writtenServings(shownFields_[store::kServingSizeField - 1]);
    return written > 0 ? written : 1;
}

void RecipeBrowserWindow::scale() {
    if (shownFile_.isEmpty()) {
        showUserError(nothingOnDisplayText());
        return;
    }
    auto* ask = qobject_cast<ScaleWindow*>(windows().show(WindowId::Scale));
    if (!ask) {
        return;
    }
    // Over the screen it scales.
    ask->move(frameGeometry().center() - ask->rect().center());
    const QString file = shownFile_;
    ask->ask(servingsOnDisplay(), [this, file](int servings) {
        if (shownFile_ == file) {
            showScaled(servings);
        }
    });
}

void RecipeBrowserWindow::showScaled(int servings) {
    if (shownFile_.isEmpty() || servings < 1) {
        return;
    }
    const QString size = shownFields_[store::kServingSizeField - 1];
    const int written = exchange::RecipeScale::writtenServings(size);
    const bool asWritten = servings == (written > 0 ? written : 1);
    scaledServings_ = asWritten ? 0 : servings;
    const exchange::Fraction factor = exchange::RecipeScale::factor(written, servings);
    for (int line = 1; line <= 10; ++line) {
        const QString& amount = shownFields_[store::amountField(line) - 1];
        lines_[line - 1].amount->setText(
            asWritten ? amount : exchange::RecipeScale::scaledAmount(amount, factor));
    }
    ui_->txtRSize->setText(asWritten ? size : QString::number(servings));
    ui_->lblRScale->setText(
        asWritten ? QString()
                  : QStringLiteral("for %1 %2, written for %3")
                        .arg(QString::number(servings),
                             servings == 1 ? QStringLiteral("serving") : QStringLiteral("servings"),
                             QString::number(written > 0 ? written : 1)));
    displayed_ = fieldsOf(printout());
}

void RecipeBrowserWindow::addToMealPlan() {
    if (shownFile_.isEmpty()) {
        showUserError(nothingOnDisplayText());
        return;
    }
    auto* plan = qobject_cast<MealPlanWindow*>(windows().show(WindowId::MealPlan));
    if (!plan || !plan->isVisible()) {
        return;
    }
    plan->raise();
    plan->activateWindow();
    plan->offerRecipe(shownCategory_, shownFile_, servingsOnDisplay());
}

QStringList RecipeBrowserWindow::followedPaths() const {
    QStringList paths{FolderWatcher::dataPath(),
                      FolderWatcher::dataPath(QStringLiteral("Category")),
                      FolderWatcher::dataPath(QStringLiteral("Category/category.txt"))};
    for (const QString& category : {ui_->cboRCat->currentText(), shownCategory_}) {
        if (!category.isEmpty() && !category.contains(QLatin1Char('/'))) {
            paths.append(FolderWatcher::dataPath(QStringLiteral("Category/") + category));
        }
    }
    // Written in place by another program, a file changes without its folder.
    if (!shownFile_.isEmpty() && !shownCategory_.contains(QLatin1Char('/'))) {
        paths.append(FolderWatcher::dataPath(QStringLiteral("Category/") + shownCategory_ +
                                             QLatin1Char('/') + shownFile_));
    }
    return paths;
}

void RecipeBrowserWindow::followDisk() {
    const store::Store store(dataFolder());
    if (followCategories(ui_->cboRCat) == CategoryChoice::Dropped) {
        // Its files went with it; the recipe on display stays.
        fileModel_->clear();
    } else if (ui_->cboRCat->currentIndex() >= 0) {
        auto listing = store.listRecipeFiles(ui_->cboRCat->currentText());
        QStringList names = listing ? std::move(listing.value()) : QStringList();
        if (names != fileModel_->listing()) {
            QListView* list = ui_->lswRFile;
            const QString current = list->currentIndex().data().toString();
            QStringList selected;
            for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
                selected.append(index.data().toString());
            }
            const int scrolled = list->horizontalScrollBar()->value();
            fileModel_->setListing(std::move(names));
            fitColumnsToNames();
            const QStringList& now = fileModel_->listing();
            const qsizetype row = current.isEmpty() ? -1 : now.indexOf(current);
            if (row >= 0 && row < fileModel_->rowCount()) {
                list->selectionModel()->setCurrentIndex(fileModel_->index(int(row)),
                                                        QItemSelectionModel::NoUpdate);
            } else if (fileModel_->rowCount() > 0) {
                // As a category's first listing leaves it.
                list->selectionModel()->setCurrentIndex(fileModel_->index(0),
                                                        QItemSelectionModel::NoUpdate);
            }
            for (const QString& name : selected) {
                const qsizetype at = now.indexOf(name);
                if (at >= 0 && at < fileModel_->rowCount()) {
                    list->selectionModel()->select(fileModel_->index(int(at)),
                                                   QItemSelectionModel::Select);
                }
            }
            list->horizontalScrollBar()->setValue(scrolled);
        }
    }
    if (!shownFile_.isEmpty() && store.storedRecipeName(shownCategory_, shownFile_) != shownFile_) {
        // Nothing left to delete.
        ui_->chkRDel->setChecked(false);
        ui_->chkRDel->setEnabled(false);
    } else if (!shownFile_.isEmpty()) {
        // Changed by another machine, or saved from the entry screen: shown anew,
        // unless the user typed into the display (to print it changed).
        auto now = store.loadRecipe(shownCategory_, shownFile_);
        if (now && now.value() != shownFields_ && ui_->txtRName->text() == shownFile_ &&
            fieldsOf(printout()) == displayed_) {
            shownFields_ = now.value();
            showFields(shownFields_);
            if (scaledServings_ > 0) {
                showScaled(scaledServings_);
            }
        }
    }
    watcher_->follow();
}

void RecipeBrowserWindow::editRecipe() {
    if (shownFile_.isEmpty()) {
        showUserError(nothingOnDisplayText());
        return;
    }
    // The file as it is now, which another machine may have changed since it was shown.
    const store::Store store(dataFolder());
    auto read = store.loadRecipe(shownCategory_, shownFile_);
    store::RecipeFields fields;
    bool stillThere = true;
    if (read) {
        fields = read.value();
    } else if (read.failure().isFileNotFound() ||
               categoryFolderGone(store, read.failure(), shownCategory_)) {
        // Gone since it was shown: what was shown can still be saved again.
        fields = shownFields_;
        stillThere = false;
    } else {
        showUserError(QStringLiteral("The recipe \"%1\" cannot be opened to be changed (%2).")
                          .arg(shownFile_, read.failure().description));
        return;
    }
    const QString category = shownCategory_;
    const QString file = shownFile_;
    auto* entry = qobject_cast<RecipeEntryWindow*>(windows().show(WindowId::RecipeEntry));
    if (!entry || !entry->isVisible()) {
        return;  // its Load told the user, or reported a failure
    }
    entry->raise();
    entry->activateWindow();
    entry->openForEditing(category, file, fields, stillThere);
}

}  // namespace pv
