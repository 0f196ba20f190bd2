#include "recipeentrywindow.h"
#include "ui_recipeentrywindow.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "digitfilter.h"
#include "errorstate.h"
#include "formsetup.h"
#include "screenparts.h"

#include <QPushButton>

#include <array>

namespace pv {

RecipeEntryWindow::RecipeEntryWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::RecipeEntryWindow>()) {
    ui_->setupUi(this);
    lines_ = ingredientBoxes(this, QStringLiteral("txtIA"), QStringLiteral("txtIT"),
                             QStringLiteral("txtIN"));
    menu_ = addScreenMenuBar(this, QStringLiteral("SMXPI"));

    FormSetup setup;
    // The look-alike face is wider than Tahoma: "Min" would lose its last letter.
    setup.growToText = {ui_->lblIHr, ui_->lblIMin};
    setup.hints = {{ui_->lblICat, ui_->lblIMsg1},  {ui_->lblIRec, ui_->lblIMsg1},
                   {ui_->txtIName, ui_->lblIMsg1}, {ui_->fraIn, ui_->lblIMsg2},
                   {ui_->lblIDir, ui_->lblIMsg3},  {ui_->txtIDirec, ui_->lblIMsg3}};
    setup.resets = {{ui_->clientArea, {ui_->lblIMsg1, ui_->lblIMsg2, ui_->lblIMsg3}}};
    finishForm(this, setup);
    bindButtons(menuTable());

    // Amounts, temperature, size and minutes take digits only; the hours take any text.
    for (const IngredientBoxes& line : lines_) {
        DigitFilter::install(line.amount);
    }
    for (QLineEdit* box : {ui_->txtICTemp, ui_->txtICSize, ui_->txtICMin}) {
        DigitFilter::install(box);
    }
}

RecipeEntryWindow::~RecipeEntryWindow() = default;

QList<MenuEntry> RecipeEntryWindow::menuTable() {
    return {
        topMenu(kFileMenu, QStringLiteral("&File")),
        buttonItem(kFileMenu, QStringLiteral("New"), ui_->cmdINew, [this] { newRecipe(); }),
        menuItem(kFileMenu, QStringLiteral("keyImport"), QStringLiteral("Import..."), QString(),
                 [this] { importRecipe(this); })
            .withShortcut(QKeySequence(Qt::CTRL | Qt::Key_I)),
        separatorIn(kFileMenu),
        buttonItem(kFileMenu, QStringLiteral("Save"), ui_->cmdISave, [this] { saveRecipe(); }),
        separatorIn(kFileMenu),
        buttonItem(kFileMenu, QStringLiteral("Main"), ui_->cmdIMain, [this] { returnToMain(); }),
    };
}

void RecipeEntryWindow::onLoad() {
    buildMenuBar(menu_, withLoadableIcons(menuTable()));
    loadCategories(this, ui_->cboIng, ErrorLocation::RecipeEntryLoad);
}

bool RecipeEntryWindow::onShowAgain() {
    // Categories made or deleted on the setup screen meanwhile; the boxes keep their text.
    return loadCategories(this, ui_->cboIng, ErrorLocation::RecipeEntryLoad) !=
           CategoryChoice::Failed;
}

store::RecipeFields RecipeEntryWindow::fields() const {
    store::RecipeFields fields;
    for (int line = 1; line <= 10; ++line) {
        fields[store::amountField(line) - 1] = lines_[line - 1].amount->text();
        fields[store::measureField(line) - 1] = lines_[line - 1].type->text();
        fields[store::ingredientField(line) - 1] = lines_[line - 1].ingredient->text();
    }
    fields[store::kDirectionsField - 1] = ui_->txtIDirec->text();
    fields[store::kTemperatureField - 1] = ui_->txtICTemp->text();
    fields[store::kServingSizeField - 1] = ui_->txtICSize->text();
    fields[store::kHoursField - 1] = ui_->txtICHr->text();
    fields[store::kMinutesField - 1] = ui_->txtICMin->text();
    return fields;
}

void RecipeEntryWindow::saveRecipe() {
    const QString category = ui_->cboIng->currentText();
    store::Store store(dataFolder());
    auto saved = store.saveRecipe(category, ui_->txtIName->text(), fields());
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
    putText(ui_->txtIName, name, shortened);
    for (int line = 1; line <= 10; ++line) {
        putText(lines_[line - 1].amount, fields[store::amountField(line) - 1], shortened);
        putText(lines_[line - 1].type, fields[store::measureField(line) - 1], shortened);
        putText(lines_[line - 1].ingredient, fields[store::ingredientField(line) - 1], shortened);
    }
    ui_->txtIDirec->setText(fields[store::kDirectionsField - 1]);
    putText(ui_->txtICTemp, fields[store::kTemperatureField - 1], shortened);
    putText(ui_->txtICSize, fields[store::kServingSizeField - 1], shortened);
    putText(ui_->txtICHr, fields[store::kHoursField - 1], shortened);
    putText(ui_->txtICMin, fields[store::kMinutesField - 1], shortened);
    return shortened;
}

QString RecipeEntryWindow::chosenCategory() const {
    return ui_->cboIng->currentText();
}

}  // namespace pv
