#include "ingredscreen.h"

#include "appfolder.h"
#include "digitfilter.h"
#include "dropshadow.h"
#include "errorstate.h"
#include "hoverhints.h"
#include "notice.h"
#include "screentext.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pv {

QList<MenuEntry> withLoadableIcons(QList<MenuEntry> table) {
    for (MenuEntry& entry : table) {
        if (!entry.iconName.isEmpty() && !LoadScreenIcon(entry.iconName)) {
            entry.iconName.clear();
        }
    }
    return table;
}

namespace {

const QString kLocationLoad = QStringLiteral("I - FL -");
const QString kLocationSave = QStringLiteral("I - CS -");

QFont regularFont(const QWidget* on) {
    QFont font = on->font();
    font.setBold(false);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                  bool bold) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    QFont font = regularFont(parent);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QRect& at, int limit,
                   const QString& accessibleName) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->setFont(regularFont(parent));
    if (limit > 0) {
        box->setMaxLength(limit);
    }
    box->setAccessibleName(accessibleName);
    return box;
}

QLabel* makeHint(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    QLabel* hint = makeLabel(parent, name, caption, at, false);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    HoverHints::setColour(hint, HoverHints::unlitColour());
    return hint;
}

}  // namespace

IngredScreen::IngredScreen(QWidget* parent) : PvWindow(parent) {
    setObjectName(QStringLiteral("frmIngred"));
    setWindowTitle(QStringLiteral("Ingredients"));
    preferTahomaLookAlikes();
    QFont face(QStringLiteral("Tahoma"));
    face.setPointSizeF(8.25);
    setFont(face);

    menu_ = new ScreenMenuBar(this);
    menu_->setObjectName(QStringLiteral("SMXPI"));
    // Control positions are relative to the client area below the menu bar.
    client_ = placeMenuBar(this, menu_, twips(0, 0, 12390, 8070).size());

    buildControls();
    buildHints();
    buildTabOrder();

    connect(menu_, &ScreenMenuBar::itemClicked, this, &IngredScreen::menuItemClicked);
    connect(newButton_, &QPushButton::clicked, this, &IngredScreen::newRecipe);
    connect(saveButton_, &QPushButton::clicked, this, &IngredScreen::saveRecipe);
    connect(mainButton_, &QPushButton::clicked, this, &IngredScreen::returnToMain);
}

void IngredScreen::buildControls() {
    QWidget* area = client_;

    // Decorative panel behind the hints, and the title shape around category and name.
    auto* panel = new QFrame(area);
    panel->setObjectName(QStringLiteral("shaIPanel"));
    panel->setFrameShape(QFrame::Box);
    panel->setGeometry(twips(120, 480, 1815, 4815));
    auto* title = new QFrame(area);
    title->setObjectName(QStringLiteral("shaITitle"));
    title->setFrameShape(QFrame::Box);
    title->setGeometry(twips(2040, 120, 6495, 855));

    hint1_ =
        makeHint(area, "lblIMsg1", QStringLiteral("Choose a category and enter a recipe name."),
                 twips(240, 600, 1455, 855));
    hint2_ = makeHint(area, "lblIMsg2",
                      QStringLiteral("Amt - amount (1,2) Type - how much (oz, lbs)   Ingredient - "
                                     "(beef, carrots)."),
                      twips(240, 1920, 1455, 1095));
    hint3_ = makeHint(area, "lblIMsg3",
                      QStringLiteral("Enter the cooking directions in any manner you wish."),
                      twips(240, 4560, 1455, 735));

    categoryLabel_ =
        makeLabel(area, "lblICat", QStringLiteral("Category:"), twips(2400, 240, 825, 195), true);
    category_ = new QComboBox(area);
    category_->setObjectName(QStringLiteral("cboIng"));
    category_->setGeometry(twips(2400, 480, 2535, 315));
    category_->setFont(regularFont(area));
    // Only listed categories can be chosen: a typed name without a folder could
    // not be saved anyway.
    category_->setEditable(false);
    category_->setAccessibleName(QStringLiteral("Category"));
    categoryLabel_->setBuddy(category_);

    nameLabel_ =
        makeLabel(area, "lblIRec", QStringLiteral("Recipe:"), twips(5280, 240, 615, 195), true);
    name_ = makeBox(area, QStringLiteral("txtIName"), twips(5280, 480, 3135, 285), 40,
                    QStringLiteral("Recipe"));
    nameLabel_->setBuddy(name_);

    ingredientFrame_ = new QGroupBox(QStringLiteral("Ingredients:"), area);
    ingredientFrame_->setObjectName(QStringLiteral("fraIn"));
    ingredientFrame_->setGeometry(twips(2040, 1200, 10215, 2775));
    QFont bold = font();
    bold.setBold(true);
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
    directions_ = new MultiLineBox(area);
    directions_->setObjectName(QStringLiteral("txtIDirec"));
    directions_->setGeometry(twips(2040, 4440, 10215, 1815));
    directions_->setFont(regularFont(area));
    directions_->setAccessibleName(QStringLiteral("Directions"));
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

    auto makeButton = [area](const char* name, const QString& caption, int left) {
        auto* button = new QPushButton(caption, area);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(twips(left, 7560, 975, 375));
        button->setAutoDefault(false);
        return button;
    };
    newButton_ = makeButton("cmdINew", QStringLiteral("New"), 9000);
    saveButton_ = makeButton("cmdISave", QStringLiteral("Save"), 10080);
    mainButton_ = makeButton("cmdIMain", QStringLiteral("Main"), 11280);
}

void IngredScreen::buildHints() {
    hints_ = new HoverHints(this);
    // A move over an explained control, or over a frame, is that control's own:
    // passed on to the background it would put the hints straight back.
    hints_->explain(categoryLabel_, hint1_);
    hints_->explain(nameLabel_, hint1_);
    hints_->explain(name_, hint1_);
    hints_->explain(ingredientFrame_, hint2_);
    hints_->explain(directionsLabel_, hint3_);
    hints_->explain(directions_, hint3_);
    hints_->resetOn(client_, {hint1_, hint2_, hint3_});
    for (QWidget* own : QList<QWidget*>{categoryLabel_, nameLabel_, name_, ingredientFrame_,
                                        directionsLabel_, directions_, cookingFrame_}) {
        own->setAttribute(Qt::WA_NoMousePropagation);
    }
}

void IngredScreen::buildTabOrder() {
    QList<QWidget*> order{category_, name_};
    for (int i = 0; i < 10; ++i) {
        order << amounts_.at(i) << types_.at(i) << ingredients_.at(i);
    }
    order << temperature_ << servingSize_ << hours_ << minutes_;
    // Then the directions and the buttons, so that the keyboard reaches them too.
    order << directions_ << newButton_ << saveButton_ << mainButton_;
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}

QList<MenuEntry> IngredScreen::menuTable() {
    const QString file = QStringLiteral("keyfile");
    return {
        {QString(), file, ScreenMenuBar::kItem, QStringLiteral("&File"), QString()},
        {file, QStringLiteral("keyNew"), ScreenMenuBar::kItem, QStringLiteral("New"),
         QStringLiteral("New")},
        {file, QString(), ScreenMenuBar::kSeparator, QString(), QString()},
        {file, QStringLiteral("keySave"), ScreenMenuBar::kItem, QStringLiteral("Save"),
         QStringLiteral("Save")},
        {file, QString(), ScreenMenuBar::kSeparator, QString(), QString()},
        {file, QStringLiteral("keyMain"), ScreenMenuBar::kItem, QStringLiteral("Main"),
         QStringLiteral("Main")},
    };
}

void IngredScreen::onLoad() {
    setDropShadowStyle(this);
    BuildMenuBar(menu_, withLoadableIcons(menuTable()));

    category_->clear();
    const store::Store store(applicationFolder());
    auto names = store.listCategoriesByField();
    if (!names) {
        if (names.failure().number == 53) {
            NoCategoryNotice();
            return;
        }
        reportFailure(this, kLocationLoad, names.failure());
        return;
    }
    category_->addItems(names.value());
    category_->setCurrentIndex(-1);
}

void IngredScreen::menuItemClicked(int id) {
    const QString key = menu_->keyOf(id);
    if (key == QLatin1String("keyNew")) {
        newRecipe();
    } else if (key == QLatin1String("keySave")) {
        saveRecipe();
    } else if (key == QLatin1String("keyMain")) {
        returnToMain();
    }
}

store::RecipeFields IngredScreen::fields() const {
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

void IngredScreen::saveRecipe() {
    store::Store store(applicationFolder());
    auto saved = store.saveRecipe(category_->currentText(), name_->text(), fields());
    if (!saved) {
        // A refused name or text is the user's to correct; the boxes keep it all.
        handleStoreFailure(this, kLocationSave, saved.failure());
    }
}

void IngredScreen::newRecipe() {
    ClearScreenFields(this);
}

void IngredScreen::returnToMain() {
    hide();
    windows().show(QStringLiteral("frmMain"));
}

}  // namespace pv
