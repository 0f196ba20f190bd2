#include "recipeentrywindow.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "digitfilter.h"
#include "errorstate.h"
#include "formsetup.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "screenparts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pv {

namespace {

QLineEdit* makeBox(QWidget* parent, const QString& name, const QRect& at, int limit,
                   const QString& accessibleName) {
    QLineEdit* box = makeLineBox(parent, name, at, false, accessibleName);
    if (limit > 0) {
        box->setMaxLength(limit);
    }
    return box;
}

}  // namespace

RecipeEntryWindow::RecipeEntryWindow(QWidget* parent) : PvWindow(parent) {
    const ScreenFrame frame =
        setUpScreen(this, WindowId::RecipeEntry, QStringLiteral("Ingredients"),
                    QStringLiteral("SMXPI"), twips(0, 0, 12390, 8070).size());
    menu_ = frame.menu;
    client_ = frame.client;

    buildControls();
    buildTabOrder();
    finish();

    connect(newButton_, &QPushButton::clicked, this, &RecipeEntryWindow::newRecipe);
    connect(saveButton_, &QPushButton::clicked, this, &RecipeEntryWindow::saveRecipe);
    connect(mainButton_, &QPushButton::clicked, this, &RecipeEntryWindow::returnToMain);
}

void RecipeEntryWindow::buildControls() {
    QWidget* area = client_;

    // Decorative panel behind the hints, and the title shape around category and name.
    makePanel(area, "shaIPanel", twips(120, 480, 1815, 4815));
    makePanel(area, "shaITitle", twips(2040, 120, 6495, 855));

    const QColor unlit = HoverHints::unlitColour();
    categoryHint_ =
        makeHint(area, "lblIMsg1", QStringLiteral("Choose a category and enter a recipe name."),
                 twips(240, 600, 1455, 855), unlit);
    ingredientsHint_ =
        makeHint(area, "lblIMsg2",
                 QStringLiteral("Amt - amount (1,2) Type - how much (oz, lbs)   Ingredient - "
                                "(beef, carrots)."),
                 twips(240, 1920, 1455, 1095), unlit);
    directionsHint_ = makeHint(
        area, "lblIMsg3", QStringLiteral("Enter the cooking directions in any manner you wish."),
        twips(240, 4560, 1455, 735), unlit);

    categoryLabel_ =
        makeLabel(area, "lblICat", QStringLiteral("Category:"), twips(2400, 240, 825, 195), true);
    category_ = makeCategoryBox(area, "cboIng", twips(2400, 480, 2535, 315),
                                QStringLiteral("Category"), categoryLabel_);

    nameLabel_ =
        makeLabel(area, "lblIRec", QStringLiteral("Recipe:"), twips(5280, 240, 615, 195), true);
    name_ = makeBox(area, QStringLiteral("txtIName"), twips(5280, 480, 3135, 285), 40,
                    QStringLiteral("Recipe"));
    nameLabel_->setBuddy(name_);

    ingredientFrame_ = new QGroupBox(QStringLiteral("Ingredients:"), area);
    ingredientFrame_->setObjectName(QStringLiteral("fraIn"));
    ingredientFrame_->setGeometry(twips(2040, 1200, 10215, 2775));
    const QFont bold = styledFont(this, true);
    ingredientFrame_->setFont(bold);

    makeLabel(ingredientFrame_, "lblINAmt1", QStringLiteral("Amt:"), twips(240, 360, 615, 195),
              true);
    makeLabel(ingredientFrame_, "lblINType1", QStringLiteral("Type:"), twips(960, 360, 615, 195),
              true);
    makeLabel(ingredientFrame_, "lblINIng1", QStringLiteral("Ingredient:"),
              twips(1680, 360, 1215, 195), true);
    makeLabel(ingredientFrame_, "lblINAmt2", QStringLiteral("Amt:"), twips(5280, 360, 615, 195),
              true);
    makeLabel(ingredientFrame_, "lblINType2", QStringLiteral("Type:"), twips(6000, 360, 615, 195),
              true);
    makeLabel(ingredientFrame_, "lblINIng2", QStringLiteral("Ingredient:"),
              twips(6720, 360, 1215, 195), true);

    static constexpr int kRowTops[5] = {600, 960, 1320, 1680, 2040};
    for (int line = 1; line <= 10; ++line) {
        const int left = line <= 5 ? 240 : 5280;
        const int top = kRowTops[(line - 1) % 5];
        const QString n = QString::number(line);
        QLineEdit* amount =
            makeBox(ingredientFrame_, QStringLiteral("txtIA") + n, twips(left, top, 495, 285),
                    line == 1 ? 5 : 0, QStringLiteral("Amount ") + n);
        DigitFilter::install(amount);
        QLineEdit* type = makeBox(ingredientFrame_, QStringLiteral("txtIT") + n,
                                  twips(left + 720, top, 495, 285), 0, QStringLiteral("Type ") + n);
        QLineEdit* ingredient = makeBox(
            ingredientFrame_, QStringLiteral("txtIN") + n, twips(left + 1440, top, 3255, 285),
            line == 1 || line == 6 ? 39 : 0, QStringLiteral("Ingredient ") + n);
        amounts_.append(amount);
        types_.append(type);
        ingredients_.append(ingredient);
    }

    directionsLabel_ = makeLabel(area, "lblIDir", QStringLiteral("Directions:"),
                                 twips(2040, 4200, 900, 195), true);
    directions_ = makeDirectionsBox(area, "txtIDirec", twips(2040, 4440, 10215, 1815));
    directionsLabel_->setBuddy(directions_);

    cookingFrame_ = new QGroupBox(QStringLiteral("Cooking Info:"), area);
    cookingFrame_->setObjectName(QStringLiteral("fraICook"));
    cookingFrame_->setGeometry(twips(2040, 6480, 10215, 855));
    cookingFrame_->setFont(bold);
    QLabel* tempLabel = makeLabel(cookingFrame_, "lblITemp", QStringLiteral("Oven Temperature:"),
                                  twips(120, 360, 1650, 195), true);
    temperature_ = makeBox(cookingFrame_, QStringLiteral("txtICTemp"), twips(1920, 360, 375, 285),
                           3, QStringLiteral("Oven Temperature"));
    tempLabel->setBuddy(temperature_);
    DigitFilter::install(temperature_);
    QLabel* sizeLabel = makeLabel(cookingFrame_, "lblISrv", QStringLiteral("Srv Size:"),
                                  twips(2520, 360, 720, 195), true);
    servingSize_ = makeBox(cookingFrame_, QStringLiteral("txtICSize"), twips(3360, 360, 375, 285),
                           3, QStringLiteral("Srv Size"));
    sizeLabel->setBuddy(servingSize_);
    DigitFilter::install(servingSize_);
    makeLabel(cookingFrame_, "lblICook", QStringLiteral("Cooking Time:"),
              twips(3960, 360, 1185, 195), true);
    hours_ = makeBox(cookingFrame_, QStringLiteral("txtICHr"), twips(5280, 360, 375, 285), 2,
                     QStringLiteral("Cooking Time hours"));
    makeLabel(cookingFrame_, "lblIHr", QStringLiteral("Hr"), twips(5760, 480, 165, 195), false);
    minutes_ = makeBox(cookingFrame_, QStringLiteral("txtICMin"), twips(6000, 360, 375, 285), 3,
                       QStringLiteral("Cooking Time minutes"));
    DigitFilter::install(minutes_);
    makeLabel(cookingFrame_, "lblIMin", QStringLiteral("Min"), twips(6480, 480, 240, 195), false);

    newButton_ = makeButton(area, "cmdINew", QStringLiteral("New"), twips(9000, 7560, 975, 375));
    saveButton_ =
        makeButton(area, "cmdISave", QStringLiteral("Save"), twips(10080, 7560, 975, 375));
    mainButton_ =
        makeButton(area, "cmdIMain", QStringLiteral("Main"), twips(11280, 7560, 975, 375));
}

void RecipeEntryWindow::finish() {
    FormSetup setup;
    setup.hints = {{categoryLabel_, categoryHint_},
                   {nameLabel_, categoryHint_},
                   {name_, categoryHint_},
                   {ingredientFrame_, ingredientsHint_},
                   {directionsLabel_, directionsHint_},
                   {directions_, directionsHint_}};
    setup.resets = {{client_, {categoryHint_, ingredientsHint_, directionsHint_}}};
    finishForm(this, setup);
}

void RecipeEntryWindow::buildTabOrder() {
    QList<QWidget*> order{category_, name_};
    for (int i = 0; i < 10; ++i) {
        order << amounts_.at(i) << types_.at(i) << ingredients_.at(i);
    }
    order << temperature_ << servingSize_ << hours_ << minutes_;
    // Then the directions and the buttons, so that the keyboard reaches them too.
    order << directions_ << newButton_ << saveButton_ << mainButton_;
    setTabChain(order);
}

QList<MenuEntry> RecipeEntryWindow::menuTable() {
    using Kind = ScreenMenuBar::Kind;
    const QString file = QStringLiteral("keyfile");
    return {
        {QString(), file, Kind::Item, QStringLiteral("&File"), QString(), {}},
        {file, QStringLiteral("keyNew"), Kind::Item, QStringLiteral("New"), QStringLiteral("New"),
         [this] { newRecipe(); }},
        {file, QStringLiteral("keyImport"), Kind::Item, QStringLiteral("Import..."), QString(),
         [this] { importRecipe(this); }, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {file, QString(), Kind::Separator, QString(), QString(), {}},
        {file, QStringLiteral("keySave"), Kind::Item, QStringLiteral("Save"),
         QStringLiteral("Save"), [this] { saveRecipe(); }},
        {file, QString(), Kind::Separator, QString(), QString(), {}},
        {file, QStringLiteral("keyMain"), Kind::Item, QStringLiteral("Main"),
         QStringLiteral("Main"), [this] { returnToMain(); }},
    };
}

void RecipeEntryWindow::onLoad() {
    buildMenuBar(menu_, withLoadableIcons(menuTable()));
    loadCategories(this, category_, ErrorLocation::RecipeEntryLoad);
}

bool RecipeEntryWindow::onShowAgain() {
    // Categories made or deleted on the setup screen meanwhile; the boxes keep their text.
    return loadCategories(this, category_, ErrorLocation::RecipeEntryLoad) !=
           CategoryChoice::Failed;
}

store::RecipeFields RecipeEntryWindow::fields() const {
    store::RecipeFields fields;
    for (int line = 1; line <= 10; ++line) {
        fields[store::amountField(line) - 1] = amounts_.at(line - 1)->text();
        fields[store::measureField(line) - 1] = types_.at(line - 1)->text();
        fields[store::ingredientField(line) - 1] = ingredients_.at(line - 1)->text();
    }
    fields[store::kDirectionsField - 1] = directions_->text();
    fields[store::kTemperatureField - 1] = temperature_->text();
    fields[store::kServingSizeField - 1] = servingSize_->text();
    fields[store::kHoursField - 1] = hours_->text();
    fields[store::kMinutesField - 1] = minutes_->text();
    return fields;
}

void RecipeEntryWindow::saveRecipe() {
    const QString category = category_->currentText();
    store::Store store(dataFolder());
    auto saved = store.saveRecipe(category, name_->text(), fields());
    if (saved) {
        return;
    }
    // A refused name or text, or a listed category whose folder was removed
    // outside the program, is the user's to correct; the boxes keep it all.
    const store::Failure& failure = saved.failure();
    if (categoryFolderGone(store, failure, category)) {
        showUserError(missingCategoryFolderText(
            category, QStringLiteral("The recipe cannot be saved in it.")));
        return;
    }
    handleStoreFailure(this, ErrorLocation::RecipeEntrySave, failure);
}

void RecipeEntryWindow::newRecipe() {
    clearScreenFields(this);
}

void RecipeEntryWindow::returnToMain() {
    hide();
    windows().show(WindowId::Main);
}

QList<ShortenedText> RecipeEntryWindow::fillBoxes(const QString& name,
                                                  const store::RecipeFields& fields) {
    QList<ShortenedText> shortened;
    putText(name_, name, shortened);
    for (int line = 1; line <= 10; ++line) {
        putText(amounts_.at(line - 1), fields[store::amountField(line) - 1], shortened);
        putText(types_.at(line - 1), fields[store::measureField(line) - 1], shortened);
        putText(ingredients_.at(line - 1), fields[store::ingredientField(line) - 1], shortened);
    }
    directions_->setText(fields[store::kDirectionsField - 1]);
    putText(temperature_, fields[store::kTemperatureField - 1], shortened);
    putText(servingSize_, fields[store::kServingSizeField - 1], shortened);
    putText(hours_, fields[store::kHoursField - 1], shortened);
    putText(minutes_, fields[store::kMinutesField - 1], shortened);
    return shortened;
}

}  // namespace pv
