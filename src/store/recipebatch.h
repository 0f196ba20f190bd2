#pragma once

#include "nativefs.h"
#include "outcome.h"
#include "store.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace pv::store {

// Saves many new recipes into one category, each as saveRecipe saves one (one
// record of Windows-1252 bytes, the same refusals), without the cost of one
// save after another:
//  - the category's folder is listed once; each recipe takes the first name
//    that no entry of the folder and no earlier recipe of the batch has,
//    ignoring case as the store resolves names ("Stew", "Stew (2)", ...);
//    nothing is ever written over;
//  - the files are written into a hidden folder inside the category's folder,
//    made durable together (one flush of the file system rather than one per
//    file) and only then renamed into place, so a recipe is listed whole or
//    not at all, also after a power cut.
// commit() puts in place what was added since the last commit; what was never
// committed goes with the batch, as does the hidden folder.
class RecipeBatch {
public:
    RecipeBatch(const Store& store, QString category);
    ~RecipeBatch();
    Q_DISABLE_COPY(RecipeBatch)

    // Lists the folder and makes the hidden one; a category refused or without
    // its folder fails as listRecipeFiles does.
    Outcome<void> open();

    // Writes one recipe, to be listed at the next commit, and returns the name
    // it takes. A refusal (as saveRecipe's) or a failed write leaves nothing
    // of it, and the name stays free.
    Outcome<QString> add(const QString& name, const RecipeFields& fields);

    // One recipe added, after its commit.
    struct Placed {
        QString name;                    // the name it was given
        std::optional<Failure> failure;  // why it is not in the folder
    };
    // Makes the recipes added since the last commit durable and puts each in
    // the folder, in the order they were added. A name that another program
    // took meanwhile makes way for the next free one.
    QList<Placed> commit();

    // How many recipes wait for the next commit.
    qsizetype pending() const { return pending_.size(); }

    // The mark of the hidden folders: a name starting with it belongs to a batch.
    static QByteArray hiddenFolderPrefix();

private:
    struct Waiting {
        fs::Path staged;    // the file in the hidden folder
        QString requested;  // the name asked for
        QString name;       // the name it takes
    };
    bool taken(const QString& name) const;
    void take(const QString& name);
    void dropStaging();

    const Store& store_;
    QString category_;
    fs::Path folder_;
    fs::Path staging_;
    QSet<QString> taken_;  // case-folded
    QList<Waiting> pending_;
    quint64 counter_ = 0;
};

}  // namespace pv::store
