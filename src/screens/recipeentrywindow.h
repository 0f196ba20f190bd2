#pragma once

#include "exchangecommands.h"
#include "pvwindow.h"
#include "screenmenubar.h"
#include "screenparts.h"
#include "store.h"

#include <QHash>
#include <QList>

#include <memory>
#include <optional>

namespace pv {

namespace Ui {
class RecipeEntryWindow;
}

class FolderWatcher;

// The recipe entry screen "frmIngred": a category, a name, ten ingredient
// lines, the cooking information and the directions, saved as one recipe file.
class RecipeEntryWindow : public PvWindow {
    Q_OBJECT
public:
    explicit RecipeEntryWindow(QWidget* parent = nullptr);
    ~RecipeEntryWindow() override;

    void onLoad() override;
    bool onShowAgain() override;

    // The commands of the buttons and the menu.
    void newRecipe();
    void saveRecipe();
    void returnToMain();

    // The 35 field texts as the boxes hold them, in file order.
    store::RecipeFields fields() const;

    // The menu, each item bound to its command.
    QList<MenuEntry> menuTable();

private:
    // The recipe the boxes were filled from or last saved as: saving it again
    // under its name replaces it without a question, unless its file changed
    // on disk since.
    struct Opened {
        QString category;
        QString file;   // its name as listed
        QString typed;  // the name box's text then
        store::RecipeFields fields;
        bool stored = true;  // whether its file was there then
    };
    // Asks before a save that would replace a recipe; false when the user
    // cancelled. Keep both turns name into the next free one.
    bool confirmSave(const store::Store& store, const QString& category, QString& name) const;
    bool holdsUnsavedText() const;
    // Puts a stored text into a box whole: past the box's length limit and
    // its digits-only guard, which are there for typing.
    void putWhole(QLineEdit* box, const QString& text);
    void restoreLimits();
    QStringList followedPaths() const;

    std::unique_ptr<Ui::RecipeEntryWindow> ui_;
    std::array<IngredientBoxes, 10> lines_;
    ScreenMenuBar* menu_ = nullptr;
    FolderWatcher* watcher_ = nullptr;
    QHash<QLineEdit*, int> limits_;  // as designed
    std::optional<Opened> opened_;

public:
    // Puts a recipe's name and 35 fields into the boxes, the category left as
    // chosen. Returns the texts longer than their boxes take.
    QList<ShortenedText> fillBoxes(const QString& name, const store::RecipeFields& fields);

    // Opens a stored recipe to be changed: its category chosen, the name and
    // every box holding exactly the text stored. stored: whether its file is
    // still there. When the boxes hold text not saved, asks first. False when
    // nothing was put in.
    bool openForEditing(const QString& category, const QString& file,
                        const store::RecipeFields& fields, bool stored);
    // The recipe being changed (category and file), if any.
    std::optional<std::pair<QString, QString>> editing() const;
    // The category as the drop-down shows it, where Save saves.
    QString chosenCategory() const;
};

}  // namespace pv
