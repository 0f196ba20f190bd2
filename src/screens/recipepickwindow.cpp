#include "recipepickwindow.h"
#include "ui_recipepickwindow.h"

#include "formsetup.h"

#include <QKeyEvent>

namespace pv {

RecipePickWindow::RecipePickWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::RecipePickWindow>()) {
    ui_->setupUi(this);
    finishForm(this, FormSetup::withoutShadowAtLoad());
    setClosesOnEscape(true);

    // Enter and a double click import the recipe, as the button does.
    connect(ui_->lswPRecipe, &QListWidget::itemActivated, this, &RecipePickWindow::importPicked);
    connect(ui_->cmdPImport, &QPushButton::clicked, this, &RecipePickWindow::importPicked);
    connect(ui_->cmdPCancel, &QPushButton::clicked, this, &RecipePickWindow::cancel);
}

RecipePickWindow::~RecipePickWindow() = default;

void RecipePickWindow::offer(QList<exchange::ImportedRecipe> recipes, Choice choice) {
    recipes_ = std::move(recipes);
    choice_ = std::move(choice);
    QListWidget* list = ui_->lswPRecipe;
    list->clear();
    for (const exchange::ImportedRecipe& recipe : std::as_const(recipes_)) {
        list->addItem(recipe.record.name);
    }
    if (list->count() > 0) {
        list->setCurrentRow(0);
    }
    ui_->cmdPImport->setEnabled(list->count() > 0);
    list->setFocus();
}

void RecipePickWindow::importPicked() {
    const int row = ui_->lswPRecipe->currentRow();
    if (row < 0 || row >= recipes_.size()) {
        return;
    }
    const exchange::ImportedRecipe recipe = recipes_.at(row);
    const Choice choice = std::move(choice_);
    recipes_.clear();
    ui_->lswPRecipe->clear();
    hide();
    if (choice) {
        choice(recipe);
    }
}

void RecipePickWindow::cancel() {
    recipes_.clear();
    choice_ = {};
    ui_->lswPRecipe->clear();
    hide();
}

}  // namespace pv
