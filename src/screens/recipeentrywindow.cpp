#include "recipeentrywindow.h"
#include "ui_recipeentrywindow.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "digitfilter.h"
#include "errorstate.h"
#include "folderwatcher.h"
#include "formsetup.h"
#include "freename.h"
#include "messageservice.h"
#include "screenparts.h"

#include <QPushButton>
#include <QValidator>

#include <algorithm>
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
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        limits_.insert(box, box->maxLength());
    }

    watcher_ = new FolderWatcher(this, [this] { return followedPaths(); });
    connect(watcher_, &FolderWatcher::changed, this, [this] {
        // Typed text is never touched; the choice stays while it is listed.
        followCategories(ui_->cboIng);
        watcher_->follow();
    });
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
    tidyStaleSaves(QStringLiteral("Category"));
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
    QString name = ui_->txtIName->text();
    if (!confirmSave(store, category, name)) {
        return;
    }
    const store::RecipeFields saving = fields();
    auto saved = store.saveRecipe(category, name, saving);
    if (saved) {
        if (name != ui_->txtIName->text()) {
            putWhole(ui_->txtIName, name);  // kept beside the other one
        }
        const QString file = store.storedRecipeName(category, name);
        opened_ = Opened{category, file.isEmpty() ? name : file, name, saving, true};
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
    restoreLimits();
    opened_.reset();
}

void RecipeEntryWindow::returnToMain() {
    hide();
    windows().show(WindowId::Main);
}

QList<ShortenedText> RecipeEntryWindow::fillBoxes(const QString& name,
                                                  const store::RecipeFields& fields) {
    // A recipe from outside: new, whatever its name.
    restoreLimits();
    opened_.reset();
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

namespace {

QString categoryPath(const QString& category) {
    return QStringLiteral("Category/") + category;
}

}  // namespace

bool RecipeEntryWindow::confirmSave(const store::Store& store, const QString& category,
                                    QString& name) const {
    if (name.startsWith(QLatin1Char('.'))) {
        return true;  // a name the store refuses, and says why
    }
    const QString stored = store.storedRecipeName(category, name);
    // The recipe being edited: the same category and the file the name reaches.
    const bool editing =
        opened_ &&
        store.resolve(categoryPath(opened_->category)) == store.resolve(categoryPath(category)) &&
        (stored.isEmpty() ? name.compare(opened_->file, Qt::CaseInsensitive) == 0
                          : stored == opened_->file);
    enum class Change { None, Changed, Deleted } change = Change::None;
    if (editing) {
        if (stored.isEmpty()) {
            change = opened_->stored ? Change::Deleted : Change::None;
        } else {
            const auto now = store.loadRecipe(category, stored);
            change = !opened_->stored || !now || now.value() != opened_->fields ? Change::Changed
                                                                                : Change::None;
        }
        if (change == Change::None) {
            return true;
        }
    } else if (stored.isEmpty()) {
        return true;
    }
    if (change == Change::Deleted) {
        return askQuestion(QStringLiteral("The recipe \"%1\" was deleted from \"%2\" since you "
                                          "opened it, on this machine or another. Save it again?")
                               .arg(opened_->file, category),
                           {QStringLiteral("Save"), QStringLiteral("Cancel")}, 0,
                           msg::kExclamation) == 0;
    }
    QString question =
        QStringLiteral("A recipe named \"%1\" is already in \"%2\".").arg(stored, category);
    if (change == Change::Changed) {
        question += QStringLiteral(" It changed since you opened it, on this machine or another.");
    }
    question += QStringLiteral(" Replace it?");
    const int answer = askQuestion(
        question,
        {QStringLiteral("Replace"), QStringLiteral("Keep both"), QStringLiteral("Cancel")},
        change == Change::Changed ? 1 : 0,
        change == Change::Changed ? msg::kExclamation : msg::kQuestion);
    if (answer == 1) {
        name = store::firstFreeName(name, [&](const QString& candidate) {
            return !store.storedRecipeName(category, candidate).isEmpty();
        });
    }
    return answer == 0 || answer == 1;
}

bool RecipeEntryWindow::holdsUnsavedText() const {
    const store::RecipeFields now = fields();
    if (opened_) {
        return ui_->txtIName->text() != opened_->typed || now != opened_->fields;
    }
    return !ui_->txtIName->text().isEmpty() ||
           std::any_of(now.begin(), now.end(), [](const QString& text) { return !text.isEmpty(); });
}

void RecipeEntryWindow::putWhole(QLineEdit* box, const QString& text) {
    box->setMaxLength(std::max(limits_.value(box, box->maxLength()), int(text.size())));
    const QValidator* guard = box->validator();
    box->setValidator(nullptr);
    box->setText(text);
    box->setValidator(guard);
}

void RecipeEntryWindow::restoreLimits() {
    for (auto it = limits_.cbegin(); it != limits_.cend(); ++it) {
        it.key()->setMaxLength(it.value());
    }
}

QStringList RecipeEntryWindow::followedPaths() const {
    return {FolderWatcher::dataPath(), FolderWatcher::dataPath(QStringLiteral("Category")),
            FolderWatcher::dataPath(QStringLiteral("Category/category.txt"))};
}

bool RecipeEntryWindow::openForEditing(const QString& category, const QString& file,
                                       const store::RecipeFields& fields, bool stored) {
    if (holdsUnsavedText() &&
        showMessage(QStringLiteral("The recipe on the Ingredients screen is not saved. "
                                   "Put \"%1\" in its place?")
                        .arg(file),
                    msg::kYesNo | msg::kQuestion) != msg::kResultYes) {
        return false;
    }
    const int index = ui_->cboIng->findText(category);
    if (index < 0) {
        showUserError(QStringLiteral("The category \"%1\" is no longer listed.").arg(category));
        return false;
    }
    ui_->cboIng->setCurrentIndex(index);
    restoreLimits();
    putWhole(ui_->txtIName, file);
    for (int line = 1; line <= 10; ++line) {
        putWhole(lines_[line - 1].amount, fields[store::amountField(line) - 1]);
        putWhole(lines_[line - 1].type, fields[store::measureField(line) - 1]);
        putWhole(lines_[line - 1].ingredient, fields[store::ingredientField(line) - 1]);
    }
    ui_->txtIDirec->setText(fields[store::kDirectionsField - 1]);
    putWhole(ui_->txtICTemp, fields[store::kTemperatureField - 1]);
    putWhole(ui_->txtICSize, fields[store::kServingSizeField - 1]);
    putWhole(ui_->txtICHr, fields[store::kHoursField - 1]);
    putWhole(ui_->txtICMin, fields[store::kMinutesField - 1]);
    opened_ = Opened{category, file, file, fields, stored};
    ui_->txtIName->setFocus();
    return true;
}

std::optional<std::pair<QString, QString>> RecipeEntryWindow::editing() const {
    if (!opened_) {
        return std::nullopt;
    }
    return std::pair(opened_->category, opened_->file);
}

QString RecipeEntryWindow::chosenCategory() const {
    return ui_->cboIng->currentText();
}

}  // namespace pv
