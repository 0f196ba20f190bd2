#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace pv {

// The recipe file names of one category, for the browser's file list. A plain
// list model, so that a folder of many thousand files is listed at once. A
// sync tool's conflict copy is marked: a warning picture, and a tool tip and
// an accessible description that name the recipe it is a copy of.
class RecipeFileModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Shows entries 0 to size-2 of a folder listing (its last entry is the spare one).
    void setListing(QStringList listing);
    void clear();
    // The name with the most characters ("" when there is none).
    QString longestName() const;
    // The listing shown, spare entry included.
    const QStringList& listing() const { return listing_; }
    // Whether any name listed is a conflict copy's (its row has a picture).
    bool hasConflictCopies() const { return hasConflictCopies_; }
    // The text that tells what a conflict copy is; empty for another file.
    static QString conflictNote(const QString& fileName);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList listing_;
    bool hasConflictCopies_ = false;
};

}  // namespace pv
