#include "recipepickwindow.h"
#include "ui_recipepickwindow.h"

#include "formsetup.h"
#include "importall.h"
#include "textfold.h"

#include <QAbstractListModel>
#include <QKeyEvent>

#include <algorithm>
#include <numeric>

#include <string>
#include <vector>

namespace pv {

using namespace Qt::StringLiterals;

// The recipes' names, those that hold every word typed in the filter
// (ignoring case and accents) shown in file order.
class PickListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(const QList<exchange::ImportedRecipe>& recipes) {
        beginResetModel();
        names_.clear();
        folded_.clear();
        names_.reserve(recipes.size());
        folded_.reserve(std::size_t(recipes.size()));
        for (const exchange::ImportedRecipe& recipe : recipes) {
            names_.append(recipe.record.name);
            folded_.push_back(find::foldText(recipe.record.name));
        }
        words_.clear();
        showAll();
        endResetModel();
    }

    void setFilter(const QString& text) {
        std::vector<std::string> words = find::queryWords(text);
        if (words == words_) {
            return;
        }
        beginResetModel();
        words_ = std::move(words);
        if (words_.empty()) {
            showAll();
        } else {
            shown_.clear();
            for (int row = 0; row < int(folded_.size()); ++row) {
                const std::string& name = folded_[std::size_t(row)];
                if (std::all_of(words_.begin(), words_.end(), [&name](const std::string& word) {
                        return name.find(word) != std::string::npos;
                    })) {
                    shown_.append(row);
                }
            }
        }
        endResetModel();
    }

    // The recipe a shown row stands for, or -1.
    int recipeAt(int row) const { return row >= 0 && row < shown_.size() ? shown_[row] : -1; }
    // The row that shows the recipe, or -1.
    int rowOf(int recipe) const { return int(shown_.indexOf(recipe)); }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(shown_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_.size()) {
            return {};
        }
        return names_[shown_[index.row()]];
    }

private:
    void showAll() {
        shown_.resize(names_.size());
        std::iota(shown_.begin(), shown_.end(), 0);
    }

    QStringList names_;
    std::vector<std::string> folded_;
    std::vector<std::string> words_;
    QList<int> shown_;
};

RecipePickWindow::RecipePickWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::RecipePickWindow>()) {
    ui_->setupUi(this);
    FormSetup setup = FormSetup::withoutShadowAtLoad();
    setup.growToText = {ui_->lblPFind, ui_->chkPOwn};
    finishForm(this, setup);
    setClosesOnEscape(true);

    model_ = new PickListModel(this);
    ui_->lswPRecipe->setModel(model_);
    ui_->lswPRecipe->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrow keys in the filter box move through the list.
    ui_->txtPFind->installEventFilter(this);

    // Enter and a double click import the recipe, as the button does.
    connect(ui_->lswPRecipe, &QListView::activated, this, &RecipePickWindow::importPicked);
    connect(ui_->txtPFind, &QLineEdit::returnPressed, this, &RecipePickWindow::importPicked);
    connect(ui_->txtPFind, &QLineEdit::textChanged, this, &RecipePickWindow::filter);
    connect(ui_->cmdPImport, &QPushButton::clicked, this, &RecipePickWindow::importPicked);
    connect(ui_->cmdPAll, &QPushButton::clicked, this, &RecipePickWindow::importAll);
    connect(ui_->cmdPCancel, &QPushButton::clicked, this, &RecipePickWindow::cancel);
    connect(ui_->chkPOwn, &QCheckBox::toggled, this, &RecipePickWindow::updateAll);
}

RecipePickWindow::~RecipePickWindow() = default;

void RecipePickWindow::offer(QList<exchange::ImportedRecipe> recipes, Choice choice, AllChoice all,
                             const QString& category) {
    recipes_ = std::move(recipes);
    choice_ = std::move(choice);
    all_ = std::move(all);
    category_ = category;
    const bool named = exchange::ImportAll::namesCategories(recipes_);
    allNamed_ = named && std::all_of(recipes_.begin(), recipes_.end(), [](const auto& recipe) {
                    return !exchange::ImportAll::ownCategory(recipe).isEmpty();
                });
    {
        const QSignalBlocker quiet(ui_->txtPFind);
        ui_->txtPFind->clear();
    }
    model_->setNames(recipes_);
    // An "Export all" file names a category for each recipe.
    ui_->chkPOwn->setChecked(false);
    ui_->chkPOwn->setVisible(all_ && named);
    ui_->cmdPAll->setVisible(bool(all_));
    ui_->lblPAll->setVisible(bool(all_));
    filter();
    updateAll();
    ui_->txtPFind->setFocus();
}

void RecipePickWindow::filter() {
    const int current = model_->recipeAt(ui_->lswPRecipe->currentIndex().row());
    model_->setFilter(ui_->txtPFind->text());
    // The recipe picked stays picked while it is listed; otherwise the first is.
    const int row = current >= 0 && model_->rowOf(current) >= 0 ? model_->rowOf(current) : 0;
    if (model_->rowCount() > 0) {
        ui_->lswPRecipe->setCurrentIndex(model_->index(row));
    }
    ui_->cmdPImport->setEnabled(model_->rowCount() > 0);
}

void RecipePickWindow::updateAll() {
    const bool own = ui_->chkPOwn->isChecked();
    const QString count = QString::number(recipes_.size());
    QString text;
    bool possible = true;
    if (own && allNamed_) {
        text =
            u"Import all puts each of the %1 recipes into the category the file names for "
            "it, made when there is none of that name."_s.arg(count);
    } else if (category_.isEmpty()) {
        text = u"To import them all, choose a category on the recipe entry screen first."_s;
        possible = false;
    } else if (own) {
        text =
            u"Import all puts each of the %1 recipes into the category the file names for "
            "it, made when there is none of that name, and the others into \"%2\"."_s.arg(
                count, category_);
    } else {
        text = u"Import all puts the %1 recipes into \"%2\"."_s.arg(count, category_);
    }
    ui_->lblPAll->setText(text);
    ui_->cmdPAll->setEnabled(possible && !recipes_.isEmpty());
}

bool RecipePickWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtPFind && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(ui_->lswPRecipe, event);
                return true;
            default:
                break;
        }
    }
    return PvWindow::eventFilter(watched, event);
}

void RecipePickWindow::importPicked() {
    const int index = model_->recipeAt(ui_->lswPRecipe->currentIndex().row());
    if (index < 0 || index >= recipes_.size()) {
        return;
    }
    const exchange::ImportedRecipe recipe = recipes_.at(index);
    const Choice choice = std::move(choice_);
    forget();
    hide();
    if (choice) {
        choice(recipe);
    }
}

void RecipePickWindow::importAll() {
    if (!all_ || !ui_->cmdPAll->isEnabled()) {
        return;
    }
    QList<exchange::ImportedRecipe> recipes = std::move(recipes_);
    const AllChoice all = std::move(all_);
    const bool own = ui_->chkPOwn->isChecked();
    forget();
    hide();
    all(std::move(recipes), own);
}

void RecipePickWindow::cancel() {
    forget();
    hide();
}

void RecipePickWindow::forget() {
    recipes_.clear();
    choice_ = {};
    all_ = {};
    model_->setNames({});
}

}  // namespace pv
