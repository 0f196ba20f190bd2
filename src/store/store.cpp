// Placeholder so that the other layers link; the store's implementation replaces it.
#include "store.h"

namespace pv::store {
namespace {
Failure notYet() { return Failure::fileSystem(76, QStringLiteral("Path not found")); }
}  // namespace

Store::Store(QString applicationFolder) : appFolder_(std::move(applicationFolder)) {}
Outcome<QStringList> Store::listCategoriesByLine() const { return notYet(); }
Outcome<QStringList> Store::listCategoriesByField() const { return notYet(); }
Outcome<CreateResult> Store::createCategory(const QString&) { return notYet(); }
Outcome<int> Store::deleteCategory(const QString&, const DeleteHooks&) { return notYet(); }
Outcome<void> Store::removePath(const QString&) { return notYet(); }
Outcome<void> Store::saveRecipe(const QString&, const QString&, const RecipeFields&) {
    return notYet();
}
Outcome<RecipeFields> Store::loadRecipe(const QString&, const QString&) const { return notYet(); }
Outcome<QStringList> Store::listRecipeFiles(const QString&) const { return notYet(); }
Outcome<void> Store::deleteRecipe(const QString&, const QString&) { return notYet(); }
Outcome<QStringList> Store::listShoppingLists() const { return notYet(); }
Outcome<void> Store::saveShoppingList(const QString&, const QString&) { return notYet(); }
Outcome<QString> Store::openShoppingList(const QString&) const { return notYet(); }
Outcome<void> Store::deleteShoppingList(const QString&) { return notYet(); }
QString Store::shoppingListPath(const QString& fileName) const {
    return appFolder_ + QStringLiteral("/Shopping List/") + fileName;
}
QString Store::resolve(const QString& relativePath) const {
    return appFolder_ + QLatin1Char('/') + relativePath;
}
Outcome<QStringList> listFolderFiles(const QString&) { return notYet(); }

}  // namespace pv::store
