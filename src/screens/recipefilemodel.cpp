#include "recipefilemodel.h"

#include "twips.h"

namespace pv {

void RecipeFileModel::setListing(QStringList listing) {
    beginResetModel();
    listing_ = std::move(listing);
    endResetModel();
}

void RecipeFileModel::clear() {
    setListing({});
}

QString RecipeFileModel::longestName() const {
    QString longest;
    for (const QString& name : listing_) {
        if (name.size() > longest.size()) {
            longest = name;
        }
    }
    return longest;
}

int RecipeFileModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || listing_.isEmpty()) {
        return 0;
    }
    return int(listing_.size() - 1);
}

QVariant RecipeFileModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return listing_.at(index.row());
    }
    return {};
}

QVariant RecipeFileModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section != 0 || orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QStringLiteral("(recipe name)");
    }
    if (role == Qt::SizeHintRole) {
        return twips(0, 0, 3160, 285).size();  // the one column, 3160 twips wide
    }
    return {};
}

}  // namespace pv
