#include "recipefilemodel.h"

#include "conflictcopy.h"
#include "twips.h"

#include <QApplication>
#include <QStyle>

namespace pv {

namespace {

// Every conflict copy's name holds "onflict" in some letter case; the patterns
// are matched only then. A plain loop, as a folder may hold many thousand names
// and a search ignoring case costs ten times as much.
bool mayBeConflictCopy(const QString& name) {
    static constexpr char16_t kWord[] = u"onflict";
    constexpr qsizetype kLength = 7;
    const QStringView text(name);
    for (qsizetype at = 0; at + kLength <= text.size(); ++at) {
        qsizetype matched = 0;
        while (matched < kLength && (text[at + matched].unicode() | 0x20) == kWord[matched]) {
            ++matched;
        }
        if (matched == kLength) {
            return true;
        }
    }
    return false;
}

}  // namespace

void RecipeFileModel::setListing(QStringList listing) {
    beginResetModel();
    listing_ = std::move(listing);
    hasConflictCopies_ = false;
    for (const QString& name : listing_) {
        if (mayBeConflictCopy(name) && !store::conflictCopyOf(name).isEmpty()) {
            hasConflictCopies_ = true;
            break;
        }
    }
    endResetModel();
}

QString RecipeFileModel::conflictNote(const QString& fileName) {
    const QString original =
        mayBeConflictCopy(fileName) ? store::conflictCopyOf(fileName) : QString();
    if (original.isEmpty()) {
        return {};
    }
    return QStringLiteral(
               "Conflict copy of \"%1\": the recipe was changed on two machines at once. "
               "Keep the right one (see Help, Keeping the data folder in step).")
        .arg(original);
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
    const QString& name = listing_.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return name;
    }
    if (!hasConflictCopies_ || (role != Qt::DecorationRole && role != Qt::ToolTipRole &&
                                role != Qt::AccessibleDescriptionRole)) {
        return {};
    }
    const QString note = conflictNote(name);
    if (note.isEmpty()) {
        return {};
    }
    if (role == Qt::DecorationRole) {
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    }
    return note;
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
