#include "exchangecommands.h"

#include "appfolder.h"
#include "busypointer.h"
#include "errorstate.h"
#include "failures.h"
#include "filedialogservice.h"
#include "importall.h"
#include "importsummarywindow.h"
#include "importtask.h"
#include "ingredientline.h"
#include "jsonldwriter.h"
#include "messageservice.h"
#include "notice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "recipeexporter.h"
#include "recipeimporter.h"
#include "recipepickwindow.h"
#include "screenparts.h"
#include "shoppinglistwindow.h"
#include "windowregistry.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <algorithm>
#include <memory>
#include <optional>

namespace pv {

using namespace Qt::StringLiterals;
using exchange::EntryBoxes;

namespace {

// A recipe name as a file name: what no file system takes becomes "-".
QString suggestedFileName(const QString& name) {
    QString file = name.trimmed();
    for (QChar& c : file) {
        if (c < u' ' || QStringView(u"/\\:*?\"<>|").contains(c)) {
            c = u'-';
        }
    }
    return (file.isEmpty() ? u"Recipe"_s : file) + u".json"_s;
}

// Writes an export; a failure is told, and no file is left half written.
bool writeExport(const QString& path, const QByteArray& bytes) {
    const auto saved = exchange::RecipeExporter::saveFile(path, bytes);
    if (saved) {
        return true;
    }
    const QString file = QDir::toNativeSeparators(path);
    const store::Failure& failure = saved.failure();
    switch (failure.number) {
        case store::kPathNotFound:
            showUserError(
                u"The folder of \"%1\" does not exist. Please choose another folder."_s.arg(file));
            return false;
        case store::kPathFileAccess:
            showUserError(u"\"%1\" is a folder. Please choose a file name."_s.arg(file));
            return false;
        case store::kPermissionDenied:
            showUserError(
                u"\"%1\" cannot be written there. Please choose another folder."_s.arg(file));
            return false;
        default:
            showMessage(u"The file \"%1\" could not be written (%2). Nothing was exported."_s.arg(
                            file, failure.description),
                        msg::kExclamation);
            return false;
    }
}

}  // namespace

void putText(QLineEdit* box, const QString& text, QList<ShortenedText>& shortened) {
    // The box cuts the text as an import without the screen does.
    EntryBoxes::cut({box->accessibleName(), box->maxLength()}, text, shortened);
    // An amount as written ("1 1/2", "½") gets past the digits-only guard,
    // which is there for typing.
    const QValidator* guard = box->validator();
    box->setValidator(nullptr);
    box->setText(text);
    box->setValidator(guard);
}

QString shortenedMessage(const QList<ShortenedText>& shortened) {
    return EntryBoxes::shortenedMessage(shortened);
}

QString nothingOnDisplayText() {
    return u"Please click a recipe in the 'Files' box first."_s;
}

void exportRecipe(RecipeBrowserWindow* browser) {
    if (browser->shownFile().isEmpty()) {
        showUserError(nothingOnDisplayText());
        return;
    }
    const RecipePrintout page = browser->printout();
    const exchange::RecipeRecord record{browser->shownCategory(),
                                        page.name.isEmpty() ? browser->shownFile() : page.name,
                                        fieldsOf(page)};
    const QString path =
        fileDialogs().saveFileName(browser, u"Export recipe"_s, suggestedFileName(record.name),
                                   exchange::RecipeExporter::fileFilter());
    if (path.isEmpty()) {
        return;
    }
    writeExport(path, exchange::JsonLdWriter::write(record));
}

void exportAllRecipes(QWidget* parent) {
    QList<exchange::RecipeRecord> recipes;
    QStringList leftOut;
    {
        BusyPointer busy;
        const store::Store store(dataFolder());
        auto all = exchange::RecipeExporter::allRecipes(store, &leftOut);
        if (!all) {
            const store::Failure& failure = all.failure();
            setDefaultPointer();
            if (failure.isFileNotFound()) {
                noCategoryNotice();
            } else if (failure.isRefusal()) {
                showUserError(failure.userMessage);
            } else {
                showMessage(u"The recipes could not be read (%1). Nothing was exported."_s.arg(
                                failure.description),
                            msg::kExclamation);
            }
            return;
        }
        recipes = std::move(all.value());
    }
    if (recipes.isEmpty()) {
        showUserError(leftOut.isEmpty()
                          ? u"There are no recipes to export."_s
                          : u"There are no recipes to export. These were left out:\r\n"_s +
                                leftOut.join(u"\r\n"_s));
        return;
    }
    const QString path = fileDialogs().saveFileName(
        parent, u"Export all recipes"_s, u"Recipes.json"_s, exchange::RecipeExporter::fileFilter());
    if (path.isEmpty()) {
        return;
    }
    BusyPointer busy;
    const QByteArray bytes = exchange::JsonLdWriter::write(recipes);
    setDefaultPointer();
    if (writeExport(path, bytes) && !leftOut.isEmpty()) {
        showMessage(u"\"%1\" holds %2 recipes. These were left out:\r\n"_s.arg(
                        QDir::toNativeSeparators(path), QString::number(recipes.size())) +
                        leftOut.join(u"\r\n"_s),
                    msg::kExclamation);
    }
}

void addToShoppingList(RecipeBrowserWindow* browser) {
    if (browser->shownFile().isEmpty()) {
        showUserError(nothingOnDisplayText());
        return;
    }
    const QStringList lines = exchange::IngredientLine::joinedLines(fieldsOf(browser->printout()));
    if (lines.isEmpty()) {
        showUserError(u"The recipe on display has no ingredients."_s);
        return;
    }
    appendToShoppingList(lines);
}

bool appendToShoppingList(const QStringList& lines) {
    auto* list = qobject_cast<ShoppingListWindow*>(windows().show(WindowId::ShoppingList));
    if (!list || !list->isVisible()) {
        return false;  // its Load told the user, or reported a failure
    }
    list->appendLines(lines);
    list->raise();
    list->activateWindow();
    return true;
}

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

void offerRecipes(RecipeEntryWindow* entry, QList<exchange::ImportedRecipe> recipes) {
    if (recipes.size() == 1) {
        fillImported(entry, recipes.constFirst());
        return;
    }
    auto* pick = qobject_cast<RecipePickWindow*>(windows().show(WindowId::RecipePick));
    if (!pick) {
        return;
    }
    // Over the screen it fills.
    pick->move(entry->frameGeometry().center() - pick->rect().center());
    pick->offer(
        std::move(recipes),
        [entry = QPointer<RecipeEntryWindow>(entry)](const exchange::ImportedRecipe& recipe) {
            if (entry) {
                fillImported(entry, recipe);
            }
        },
        [](QList<exchange::ImportedRecipe> all, bool ownCategories) {
            // The category as chosen when the user pressed Import all.
            auto* entry = windows().loadedAs<RecipeEntryWindow>(WindowId::RecipeEntry);
            importAllRecipes(std::move(all), entry ? entry->chosenCategory() : QString(),
                             ownCategories);
        },
        entry->chosenCategory());
}

}  // namespace

void importRecipe(RecipeEntryWindow* entry) {
    if (ImportTask::running()) {
        return;  // its progress window is on its way
    }
    const QString path = fileDialogs().openFileName(entry, u"Import recipe"_s,
                                                    exchange::RecipeImporter::fileFilter());
    if (path.isEmpty()) {
        return;
    }
    if (const auto special = exchange::ImportAll::refuseSpecialFile(path)) {
        showUserError(*special);
        return;
    }
    auto read = std::make_shared<std::optional<store::Outcome<QList<exchange::ImportedRecipe>>>>();
    ImportTask::start(
        u"Reading \"%1\"..."_s.arg(fileName(path)),
        [read, path](const exchange::RecipeImporter::Progress& progress) {
            read->emplace(exchange::RecipeImporter::readFile(path, progress));
        },
        [read, path, entry = QPointer<RecipeEntryWindow>(entry)](bool) {
            if (!entry || !read->has_value()) {
                return;
            }
            auto& outcome = read->value();
            if (!outcome) {
                const store::Failure& failure = outcome.failure();
                if (failure.isCancelled()) {
                    return;
                }
                showUserError(failure.userMessage.isEmpty()
                                  ? u"The file \"%1\" cannot be read (%2)."_s.arg(
                                        QDir::toNativeSeparators(path), failure.description)
                                  : failure.userMessage);
                return;
            }
            offerRecipes(entry, std::move(outcome.value()));
        },
        entry);
}

void importAllRecipes(QList<exchange::ImportedRecipe> recipes, const QString& category,
                      bool ownCategories) {
    const bool needsCategory =
        !ownCategories ||
        std::any_of(recipes.begin(), recipes.end(), [](const exchange::ImportedRecipe& recipe) {
            return exchange::ImportAll::ownCategory(recipe).isEmpty();
        });
    const store::Store store(dataFolder());
    if (needsCategory) {
        if (category.isEmpty()) {
            showUserError(store::refusalMessage(store::Refusal::EmptyCategory));
            return;
        }
        if (const auto folder = store.categoryFolder(category); !folder) {
            showUserError(folder.failure().userMessage);
            return;
        }
        if (store.categoryFolderMissing(category)) {
            showUserError(
                missingCategoryFolderText(category, u"The recipes cannot be saved in it."_s));
            return;
        }
    }
    const exchange::ImportAll::Options options{category, ownCategories};
    const qsizetype count = recipes.size();
    auto summary = std::make_shared<exchange::ImportAll::Summary>();
    ImportTask::start(
        ownCategories
            ? u"Importing %1 recipes into their categories..."_s.arg(count)
            : u"Importing %1 recipes into \"%2\"..."_s.arg(QString::number(count), category),
        [summary, options, folder = dataFolder(),
         recipes = std::move(recipes)](const exchange::RecipeImporter::Progress& progress) {
            store::Store store(folder);
            *summary = exchange::ImportAll::run(store, recipes, options, progress);
        },
        [summary](bool) {
            auto* window =
                qobject_cast<ImportSummaryWindow*>(windows().load(WindowId::ImportSummary));
            if (!window) {
                return;
            }
            window->showSummary(summary->text());
            // Over the screen the import started from.
            if (const QWidget* entry = windows().loaded(WindowId::RecipeEntry)) {
                window->move(entry->frameGeometry().center() - window->rect().center());
            }
            windows().show(WindowId::ImportSummary);
        },
        windows().loaded(WindowId::RecipeEntry));
}

void fillImported(RecipeEntryWindow* entry, const exchange::ImportedRecipe& recipe) {
    if (!recipe.canFill()) {
        showUserError(recipe.refusalMessage());
        return;
    }
    const QList<ShortenedText> shortened =
        entry->fillBoxes(recipe.record.name, recipe.record.fields);
    if (!shortened.isEmpty()) {
        showMessage(shortenedMessage(shortened), msg::kExclamation);
    }
}

}  // namespace pv
