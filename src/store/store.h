#pragma once

#include "mealplan.h"
#include "nativefs.h"
#include "outcome.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace pv::store {

// The 35 text fields of one recipe in file order: ten amounts, ten measure
// types, ten ingredients, directions, oven temperature, serving size, hours,
// minutes.
inline constexpr int kRecipeFieldCount = 35;
using RecipeFields = std::array<QString, kRecipeFieldCount>;

// Field numbers (1-based, as the screens and the file count them).
inline constexpr int amountField(int line) {
    return line;
}  // line 1..10
inline constexpr int measureField(int line) {
    return 10 + line;
}  // line 1..10
inline constexpr int ingredientField(int line) {
    return 20 + line;
}  // line 1..10
inline constexpr int kDirectionsField = 31;
inline constexpr int kTemperatureField = 32;
inline constexpr int kServingSizeField = 33;
inline constexpr int kHoursField = 34;
inline constexpr int kMinutesField = 35;

enum class CreateResult { Created, AlreadyExists };

// Steps of a category delete that belong to the calling screen.
struct DeleteHooks {
    // Before the list is rewritten: the caller shows the busy pointer and lets
    // pending window events run once.
    std::function<void()> beforeRewrite;
    // After the list is rewritten, before the folder goes: the caller shows
    // the count message and restores the pointer.
    std::function<void(int count)> listRewritten;
};

// All persistent data below one application folder: the "Category" tree with
// "category.txt", and the "Shopping List" folder. Paths below the application
// folder are resolved ignoring case, so "Category" and "category" are one folder.
class Store {
public:
    explicit Store(QString applicationFolder);

    const QString& applicationFolder() const { return appFolder_; }

    // --- categories ---
    Outcome<QStringList> listCategoriesByLine() const;   // error 53 when there is no list
    Outcome<QStringList> listCategoriesByField() const;  // quoted-field rule; error 53 likewise
    Outcome<CreateResult> createCategory(const QString& name);
    Outcome<int> deleteCategory(const QString& name, const DeleteHooks& hooks = {});
    // Deletes a folder with everything in it, not forced.
    Outcome<void> removePath(const QString& folderPath);

    // --- recipes ---
    Outcome<void> saveRecipe(const QString& category, const QString& name,
                             const RecipeFields& fields);
    // The fields of the last complete record of the file.
    Outcome<RecipeFields> loadRecipe(const QString& category, const QString& fileName) const;
    // The recipe files of one category (ListFolderFiles, spare entry included).
    Outcome<QStringList> listRecipeFiles(const QString& category) const;
    // The folder of a category as the file system takes it, resolved as every
    // recipe operation resolves it; refused like listRecipeFiles.
    Outcome<fs::Path> categoryFolder(const QString& category) const;
    Outcome<void> deleteRecipe(const QString& category, const QString& fileName);
    // Whether nothing at all stands where the category's folder belongs (it was
    // removed outside the program, or never made).
    bool categoryFolderMissing(const QString& category) const;

    // --- shopping lists ---
    Outcome<QStringList> listShoppingLists() const;  // file names, no spare entry
    Outcome<void> saveShoppingList(const QString& name, const QString& text);
    // The list text: the file less one CR LF at its very end.
    Outcome<QString> openShoppingList(const QString& fileName) const;
    // The whole file as text, as the printout reads it.
    Outcome<QString> readShoppingList(const QString& fileName) const;
    Outcome<void> deleteShoppingList(const QString& fileName);

    // Resolves a path relative to the application folder ("Category/Soups")
    // component by component, ignoring case; a component that does not exist
    // is kept as given.
    QString resolve(const QString& relativePath) const;

    // --- a data folder that others change too (another machine, a sync tool) ---
    // The name, as listed, of the recipe file that saving (category, name)
    // would write: found as every recipe operation finds it, ignoring case.
    // Empty when there is no such file (deleted since a plan named it, say),
    // or the names are refused.
    QString storedRecipeName(const QString& category, const QString& name) const;
    // Removes the temporary files that saves which never finished left in one
    // folder of the data folder ("Category", "Category/Soups", "Shopping
    // List") at least kStaleSaveSeconds ago. Safe on any thread.
    static constexpr qint64 kStaleSaveSeconds = 600;
    int removeStaleSaves(const QString& relativeFolder) const;
    // Why saveRecipe would refuse the recipe before writing anything (its
    // category or name, or a character with no Windows-1252 byte); none when
    // it takes it.
    std::optional<Failure> recipeRefusal(const QString& category, const QString& name,
                                         const RecipeFields& fields) const;

private:
    // The same as the file system takes it: listed names that are not UTF-8
    // keep their own bytes.
    fs::Path native(const QString& relativePath) const;
    fs::Path recipePath(const QString& category, const QString& fileName) const;
    fs::Path shoppingListFile(const QString& fileName) const;
    Outcome<QByteArray> shoppingListBytes(const QString& fileName) const;
    Outcome<void> removeFolderTree(const fs::Path& path);

    QString appFolder_;

public:
    // --- meal plan: one file per ISO week in the folder "Meal Plan" ---
    // The plan of the week that holds day; an empty plan when the week has no
    // file, or there is no folder yet. Only the first kLargestMealPlanFile
    // bytes are read (the plan then says it was cut).
    Outcome<MealPlanWeek> openMealPlan(const QDate& day) const;
    // Writes the plan of the week that holds day through a temporary file,
    // making the folder "Meal Plan" when it is missing; an empty plan removes
    // the week's file. Names that a plan line cannot hold (a double quote) or
    // that Windows-1252 cannot are refused, and nothing changes.
    Outcome<void> saveMealPlan(const QDate& day, const MealPlanWeek& week);
};

// The file names of a folder, ordered by name ignoring case, followed by one
// spare empty entry (callers read entries 0 to size-2). Sub-folders are not
// listed, nor are hidden files (a name starting with "."). A name that is not UTF-8 is listed as
// Windows-1252 text, and the store's operations find the file by that name. A missing folder is
// error 76.
Outcome<QStringList> listFolderFiles(const QString& folderPath);

}  // namespace pv::store
