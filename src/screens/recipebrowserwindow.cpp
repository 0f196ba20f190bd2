#include "recipebrowserwindow.h"
#include "twips.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "errorstate.h"
#include "exchangecommands.h"
#include "formsetup.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "recipefilemodel.h"
#include "screenparts.h"
#include "store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

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

// A box of the display; most are borderless, on the white display panel.
QLineEdit* makeBox(QWidget* parent, const QString& name, const QRect& at, bool bold,
                   const QString& accessibleName, bool borderless = true) {
    QLineEdit* box = makeLineBox(parent, name, at, bold, accessibleName);
    box->setFrame(!borderless);
    if (borderless) {
        // On the white display panel, where neighbouring boxes overlap a little.
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        box->setPalette(palette);
    }
    return box;
}

void setTextColour(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, colour);
    box->setPalette(palette);
}

// A box that shows a fixed heading or unit; the keyboard passes it by.
QLineEdit* makeFixedBox(QWidget* parent, const QString& name, const QRect& at, const QString& text,
                        const QString& accessibleName) {
    QLineEdit* box = makeBox(parent, name, at, true, accessibleName);
    box->setText(text);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

}  // namespace

// --- the screen ---

RecipeBrowserWindow::RecipeBrowserWindow(QWidget* parent) : PvWindow(parent) {
    const ScreenFrame frame = setUpScreen(this, WindowId::RecipeBrowser, QStringLiteral("Recipes"),
                                          QStringLiteral("SMXPR"), twips(0, 0, 11790, 7635).size());
    menu_ = frame.menu;
    client_ = frame.client;

    buildControls();
    buildTabOrder();
    finish();

    connect(category_, &QComboBox::activated, this, &RecipeBrowserWindow::categoryPicked);
    connect(delete_, &QCheckBox::clicked, this, &RecipeBrowserWindow::deleteBoxClicked);
    connect(newButton_, &QPushButton::clicked, this, &RecipeBrowserWindow::newDisplay);
    connect(printButton_, &QPushButton::clicked, this, &RecipeBrowserWindow::print);
    connect(mainButton_, &QPushButton::clicked, this, &RecipeBrowserWindow::returnToMain);
}

void RecipeBrowserWindow::buildControls() {
    QWidget* area = client_;

    makePanel(area, "shaShop", twips(120, 480, 1815, 5775));

    const QColor unlit = HoverHints::unlitColour();
    hintCategory_ = makeHint(area, "lblRMsg",
                             QStringLiteral("Click the down arrow and click on a category name."),
                             twips(240, 600, 1455, 735), unlit);
    hintFiles_ = makeHint(area, "lblRMsg1", QStringLiteral("Click a file name in the files box."),
                          twips(240, 1320, 1335, 495), unlit);
    hintDelete_ = makeHint(area, "lblRMsg2", QStringLiteral("To delete a file check this box."),
                           twips(240, 1920, 1335, 495), unlit);
    hintDirections_ =
        makeHint(area, "lblRmsg3", QStringLiteral("Enter the cooking directions here."),
                 twips(240, 5640, 1455, 375), QColor(0, 0, 255));

    which_ = new QGroupBox(QStringLiteral("Which one?"), area);
    which_->setObjectName(QStringLiteral("fraRWhich"));
    which_->setGeometry(twips(2040, 120, 7575, 2175));
    which_->setFont(styledFont(area, true));
    categoryLabel_ =
        makeLabel(which_, "lblRCat", QStringLiteral("Categories:"), twips(120, 240, 840, 195));
    category_ = makeCategoryBox(which_, "cboRCat", twips(120, 480, 1815, 315),
                                QStringLiteral("Categories"), categoryLabel_);

    QLabel* filesLabel =
        makeLabel(which_, "lblRFile", QStringLiteral("Files:"), twips(2520, 240, 375, 195));
    fileModel_ = new RecipeFileModel(this);
    files_ = new QListView(which_);
    files_->setObjectName(QStringLiteral("lswRFile"));
    files_->setGeometry(twips(2520, 480, 3015, 1335));
    files_->setFont(styledFont(which_, false));
    // List mode: names in columns, top to bottom, scrolled sideways.
    files_->setViewMode(QListView::ListMode);
    files_->setFlow(QListView::TopToBottom);
    files_->setWrapping(true);
    files_->setResizeMode(QListView::Adjust);
    files_->setUniformItemSizes(true);
    files_->setSelectionMode(QAbstractItemView::SingleSelection);
    files_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    files_->setModel(fileModel_);
    files_->setAccessibleName(QStringLiteral("Files"));
    filesLabel->setBuddy(files_);
    files_->viewport()->installEventFilter(this);
    files_->installEventFilter(this);

    delete_ = new QCheckBox(QStringLiteral("Delete this file?"), which_);
    delete_->setObjectName(QStringLiteral("chkRDel"));
    delete_->setGeometry(twips(6120, 480, 1335, 255));
    delete_->setFont(styledFont(which_, false));

    auto* show = new QPlainTextEdit(area);
    show->setObjectName(QStringLiteral("txtRShow"));
    show->setGeometry(twips(2040, 2520, 9615, 2895));
    show->setReadOnly(true);
    show->setFocusPolicy(Qt::NoFocus);
    show->setAccessibleName(QStringLiteral("Recipe display"));

    name_ = makeBox(area, QStringLiteral("txtRName"), twips(2280, 2760, 4335, 315), true,
                    QStringLiteral("Recipe name"), false);
    servingLabel_ = makeFixedBox(area, QStringLiteral("txtRSrv"), twips(7800, 2760, 495, 165),
                                 QStringLiteral("Size:"), QStringLiteral("Serving size label"));
    servingSize_ = makeBox(area, QStringLiteral("txtRSize"), twips(8280, 2760, 375, 285), false,
                           QStringLiteral("Serving size"));
    date_ = makeBox(area, QStringLiteral("txtRDate"), twips(10080, 2760, 1095, 255), true,
                    QStringLiteral("Date"));
    date_->setText(QStringLiteral(" current date"));
    slash_ = makeFixedBox(area, QStringLiteral("txtRSlash"), twips(2280, 3000, 9135, 285), dashes(),
                          QStringLiteral("Separator line"));
    slash_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const struct {
        const char* name;
        int left;
        int width;
        const char* text;
        const char* accessible;
    } headings[] = {
        {"Text1", 2280, 615, "Amt", "Amount heading 1-5"},
        {"Text2", 3000, 615, "Type", "Type heading 1-5"},
        {"Text3", 3720, 1215, "Ingredients", "Ingredients heading 1-5"},
        {"Text4", 6720, 615, "Amt", "Amount heading 6-10"},
        {"Text5", 7440, 615, "Type", "Type heading 6-10"},
        {"Text6", 8160, 1215, "Ingredients", "Ingredients heading 6-10"},
    };
    for (const auto& heading : headings) {
        QLineEdit* box = makeFixedBox(
            area, QLatin1String(heading.name), twips(heading.left, 3120, heading.width, 255),
            QLatin1String(heading.text), QLatin1String(heading.accessible));
        setTextColour(box, QColor(0, 0, 255));
        headings_.append(box);
    }

    static constexpr int kRowTops[5] = {3480, 3840, 4200, 4560, 4920};
    for (int line = 1; line <= 10; ++line) {
        const int shift = line <= 5 ? 0 : 4440;
        const int top = kRowTops[(line - 1) % 5];
        const QString n = QString::number(line);
        amounts_.append(makeBox(area, QStringLiteral("txtRA") + n,
                                twips(2400 + shift, top, 615, 285), false,
                                QStringLiteral("Amount ") + n));
        types_.append(makeBox(area, QStringLiteral("txtRT") + n, twips(3120 + shift, top, 615, 285),
                              false, QStringLiteral("Type ") + n));
        ingredients_.append(makeBox(area, QStringLiteral("txtRI") + n,
                                    twips(3840 + shift, top, 2415, 285), false,
                                    QStringLiteral("Ingredient ") + n));
    }

    directions_ = makeDirectionsBox(area, "txtRDirec", twips(2040, 5640, 9615, 1095));

    // The cooking line, on the window's button face.
    const QColor face = palette().color(QPalette::Button);
    auto cookingBox = [&](const QString& name, const QRect& at, const QString& fixedText,
                          const QString& accessible) {
        QLineEdit* box = fixedText.isNull() ? makeBox(area, name, at, true, accessible)
                                            : makeFixedBox(area, name, at, fixedText, accessible);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, face);
        if (!fixedText.isNull()) {
            palette.setColor(QPalette::Text, QColor(255, 0, 0));
        }
        box->setPalette(palette);
        return box;
    };
    temperature_ = cookingBox(QStringLiteral("txtRTemp"), twips(2040, 6960, 375, 165), QString(),
                              QStringLiteral("Oven temperature"));
    temperatureUnit_ = cookingBox(QStringLiteral("txtRTemp1"), twips(2400, 6960, 105, 195),
                                  QStringLiteral("F"), QStringLiteral("Temperature unit"));
    hoursLabel_ = cookingBox(QStringLiteral("txtRHr"), twips(2640, 6960, 255, 195),
                             QStringLiteral("H:"), QStringLiteral("Hours label"));
    hours_ = cookingBox(QStringLiteral("txtRHr1"), twips(2880, 6960, 255, 195), QString(),
                        QStringLiteral("Cooking hours"));
    minutesLabel_ = cookingBox(QStringLiteral("txtRMin"), twips(3240, 6960, 255, 195),
                               QStringLiteral("M:"), QStringLiteral("Minutes label"));
    minutes_ = cookingBox(QStringLiteral("txtRMin1"), twips(3600, 6960, 255, 165), QString(),
                          QStringLiteral("Cooking minutes"));

    newButton_ = makeButton(area, "cmdRNew", QStringLiteral("New"), twips(8400, 7200, 975, 375));
    printButton_ =
        makeButton(area, "cmdRPrint", QStringLiteral("Print"), twips(9480, 7200, 975, 375));
    mainButton_ =
        makeButton(area, "cmdRMain", QStringLiteral("Main"), twips(10560, 7200, 975, 375));
}

void RecipeBrowserWindow::finish() {
    FormSetup setup;
    setup.growToText = {delete_,          servingLabel_, slash_,
                        temperatureUnit_, hoursLabel_,   minutesLabel_};
    for (QLineEdit* heading : std::as_const(headings_)) {
        setup.growToText.append(heading);
    }
    setup.hints = {{categoryLabel_, hintCategory_},
                   {files_, hintFiles_},
                   {delete_, hintDelete_},
                   {directions_, hintDirections_},
                   {mainButton_, hintDirections_}};
    setup.resets = {{which_, {hintCategory_, hintFiles_, hintDelete_}},
                    {client_, {hintDirections_}}};
    finishForm(this, setup);
}

void RecipeBrowserWindow::buildTabOrder() {
    QList<QWidget*> order{category_, files_, delete_, name_, servingSize_, date_};
    for (int i = 0; i < 10; ++i) {
        order << amounts_.at(i) << types_.at(i) << ingredients_.at(i);
    }
    order << directions_ << temperature_ << hours_ << minutes_ << newButton_ << printButton_
          << mainButton_;
    setTabChain(order);
}

QList<MenuEntry> RecipeBrowserWindow::menuTable() {
    using Kind = ScreenMenuBar::Kind;
    const QString file = QStringLiteral("keyfile");
    return {
        {QString(), file, Kind::Item, QStringLiteral("&File"), QString(), {}},
        {file, QStringLiteral("keyNew"), Kind::Item, QStringLiteral("New"), QStringLiteral("New"),
         [this] { newDisplay(); }},
        {file, QString(), Kind::Separator, QString(), QString(), {}},
        {file, QStringLiteral("keyFind"), Kind::Item, QStringLiteral("Find..."), QString(),
         [] { windows().show(WindowId::Find); }, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {file, QString(), Kind::Separator, QString(), QString(), {}},
        {file, QStringLiteral("keyPrint"), Kind::Item, QStringLiteral("Print"),
         QStringLiteral("Print"), [this] { print(); }},
        {file, QStringLiteral("keyExport"), Kind::Item, QStringLiteral("Export..."), QString(),
         [this] { exportRecipe(this); }, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {file, QStringLiteral("keyExportAll"), Kind::Item, QStringLiteral("Export all..."),
         QString(), [this] { exportAllRecipes(this); }},
        {file, QStringLiteral("keyAddToList"), Kind::Item, QStringLiteral("Add to shopping list"),
         QString(), [this] { addToShoppingList(this); }, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {file, QString(), Kind::Separator, QString(), QString(), {}},
        {file, QStringLiteral("keyMain"), Kind::Item, QStringLiteral("Main"),
         QStringLiteral("Main"), [this] { returnToMain(); }},
    };
}

void RecipeBrowserWindow::onLoad() {
    buildMenuBar(menu_, withLoadableIcons(menuTable()));
    delete_->setEnabled(false);
    loadCategories(this, category_, ErrorLocation::RecipeBrowserLoad);
}

void RecipeBrowserWindow::onActivate() {
    delete_->setEnabled(false);
}

bool RecipeBrowserWindow::onShowAgain() {
    // Categories made or deleted on the setup screen meanwhile.
    const CategoryChoice choice = loadCategories(this, category_, ErrorLocation::RecipeBrowserLoad);
    if (choice == CategoryChoice::Dropped) {
        // The chosen category is gone: so are its files and the recipe shown.
        newDisplay();
    }
    return choice != CategoryChoice::Failed;
}

void RecipeBrowserWindow::categoryPicked() {
    delete_->setChecked(false);
    // The box deletes only a recipe clicked in the list now shown.
    delete_->setEnabled(false);
    const QString category = category_->currentText();
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
    // The first file is the list's selected item until the user picks another;
    // it is not marked selected.
    if (fileModel_->rowCount() > 0) {
        files_->selectionModel()->setCurrentIndex(fileModel_->index(0),
                                                  QItemSelectionModel::NoUpdate);
    }
}

void RecipeBrowserWindow::fitColumnsToNames() {
    // Columns as wide as the longest name (by its length; measuring each of
    // many thousand names would cost more than the listing), at most the list's width.
    const QFontMetrics metrics(files_->font());
    const int width = std::clamp(metrics.horizontalAdvance(fileModel_->longestName()) + 12, 48,
                                 std::max(48, files_->viewport()->width() - 4));
    files_->setGridSize(QSize(width, metrics.height() + 2));
}

void RecipeBrowserWindow::fileClicked() {
    const QModelIndex selected = files_->currentIndex();
    if (!selected.isValid()) {
        // An empty list shows nothing; a stray click on it must not end the program.
        return;
    }
    const bool marked = files_->selectionModel()->isSelected(selected);
    if (fileModel_->rowCount() == 0) {
        return;
    }
    const QString category = category_->currentText();
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
        delete_->setEnabled(true);
        delete_->setChecked(false);
    }
    shownCategory_ = category;
    shownFile_ = file;
    const store::RecipeFields& fields = recipe.value();
    name_->setText(file);
    servingSize_->setText(fields[store::kServingSizeField - 1]);
    date_->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    for (int line = 1; line <= 10; ++line) {
        amounts_.at(line - 1)->setText(fields[store::amountField(line) - 1]);
    }
    for (int line = 1; line <= 10; ++line) {
        types_.at(line - 1)->setText(fields[store::measureField(line) - 1]);
    }
    for (int line = 1; line <= 10; ++line) {
        ingredients_.at(line - 1)->setText(fields[store::ingredientField(line) - 1]);
    }
    directions_->setText(fields[store::kDirectionsField - 1]);
    temperature_->setText(fields[store::kTemperatureField - 1]);
    hours_->setText(fields[store::kHoursField - 1]);
    minutes_->setText(fields[store::kMinutesField - 1]);
}

void RecipeBrowserWindow::deleteBoxClicked(bool checked) {
    if (!checked) {
        return;
    }
    if (shownFile_.isEmpty()) {
        // Nothing on display, nothing to delete.
        delete_->setChecked(false);
        delete_->setEnabled(false);
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
            delete_->setChecked(false);
        }
        handleStoreFailure(this, ErrorLocation::RecipeBrowserDelete, deleted.failure());
        return;
    }
    delete_->setChecked(false);
    newDisplay();
}

void RecipeBrowserWindow::clearDisplay() {
    clearScreenFields(this);
    fileModel_->clear();
    shownCategory_.clear();
    shownFile_.clear();
}

void RecipeBrowserWindow::writeFixedTexts() {
    servingLabel_->setText(QStringLiteral("Srv:"));
    temperatureUnit_->setText(QStringLiteral("F"));
    slash_->setText(dashes());
    const QString texts[] = {QStringLiteral("Amt"), QStringLiteral("Type"),
                             QStringLiteral("Ingredients")};
    for (int i = 0; i < 6; ++i) {
        headings_.at(i)->setText(texts[i % 3]);
    }
    hoursLabel_->setText(QStringLiteral("H"));
    minutesLabel_->setText(QStringLiteral("M"));
}

void RecipeBrowserWindow::newDisplay() {
    clearDisplay();
    delete_->setEnabled(false);
    delete_->setChecked(false);
    writeFixedTexts();
}

void RecipeBrowserWindow::returnToMain() {
    hide();
    clearDisplay();
    delete_->setChecked(false);
    writeFixedTexts();
    windows().show(WindowId::Main);
}

RecipePrintout RecipeBrowserWindow::printout() const {
    RecipePrintout page;
    page.name = name_->text();
    page.servingSize = servingSize_->text();
    for (int i = 0; i < 10; ++i) {
        page.amounts[i] = amounts_.at(i)->text();
        page.types[i] = types_.at(i)->text();
        page.ingredients[i] = ingredients_.at(i)->text();
    }
    page.directions = directions_->text();
    page.temperature = temperature_->text();
    page.hours = hours_->text();
    page.minutes = minutes_->text();
    return page;
}

void RecipeBrowserWindow::print() {
    if (printRecipe(this, printout())) {
        delete_->setChecked(false);
    }
}

bool RecipeBrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == files_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The list's Click: anywhere on the list, on a name or not.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            fileClicked();
        }
    } else if (watched == files_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            // The keyboard's click: open the current file.
            const QModelIndex current = files_->currentIndex();
            if (current.isValid()) {
                files_->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
            }
            fileClicked();
            return true;
        }
    }
    return PvWindow::eventFilter(watched, event);
}

bool RecipeBrowserWindow::showRecipe(const QString& category, const QString& file) {
    const int index = category_->findText(category, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        showUserError(QStringLiteral("The category \"%1\" is no longer listed.").arg(category));
        return false;
    }
    category_->setCurrentIndex(index);
    categoryPicked();
    if (category_->currentIndex() != index || fileModel_->rowCount() == 0) {
        return false;  // its folder is gone, and the user was told
    }
    const QModelIndexList found = fileModel_->match(fileModel_->index(0), Qt::DisplayRole, file, 1,
                                                    Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty()) {
        showUserError(QStringLiteral("The recipe \"%1\" is no longer in the category \"%2\".")
                          .arg(file, category));
        return false;
    }
    files_->selectionModel()->setCurrentIndex(found.first(), QItemSelectionModel::ClearAndSelect);
    files_->scrollTo(found.first());
    fileClicked();
    return shownFile_ == file;
}

}  // namespace pv
