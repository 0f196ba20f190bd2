#pragma once

#include "pvwindow.h"
#include "recipeprint.h"
#include "screenmenubar.h"

#include <QList>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace pv {

class RecipeFileModel;
class MultiLineBox;

// The recipe browser "frmRecipe": picks a category, lists its recipe files,
// shows, prints or deletes one.
class RecipeBrowserWindow : public PvWindow {
    Q_OBJECT
public:
    explicit RecipeBrowserWindow(QWidget* parent = nullptr);

    void onLoad() override;
    void onActivate() override;
    bool onShowAgain() override;

    // The handlers of the user's actions.
    void categoryPicked();
    void fileClicked();
    void deleteBoxClicked(bool checked);
    void newDisplay();
    void returnToMain();
    void print();

    // What the printout prints: the boxes as they stand.
    RecipePrintout printout() const;

    // The menu, each item bound to its command.
    QList<MenuEntry> menuTable();

private:
    void buildControls();
    void buildTabOrder();
    void finish();
    void writeFixedTexts();
    void clearDisplay();
    void fitColumnsToNames();
    bool eventFilter(QObject* watched, QEvent* event) override;

    ScreenMenuBar* menu_ = nullptr;
    QWidget* client_ = nullptr;
    QGroupBox* which_ = nullptr;
    QComboBox* category_ = nullptr;
    QListView* files_ = nullptr;
    RecipeFileModel* fileModel_ = nullptr;
    QCheckBox* delete_ = nullptr;
    QLabel* categoryLabel_ = nullptr;
    QLabel* hintCategory_ = nullptr;
    QLabel* hintFiles_ = nullptr;
    QLabel* hintDelete_ = nullptr;
    QLabel* hintDirections_ = nullptr;

    QLineEdit* name_ = nullptr;
    QLineEdit* servingLabel_ = nullptr;
    QLineEdit* servingSize_ = nullptr;
    QLineEdit* date_ = nullptr;
    QLineEdit* slash_ = nullptr;
    QList<QLineEdit*> headings_;
    QList<QLineEdit*> amounts_;
    QList<QLineEdit*> types_;
    QList<QLineEdit*> ingredients_;
    MultiLineBox* directions_ = nullptr;
    QLineEdit* temperature_ = nullptr;
    QLineEdit* temperatureUnit_ = nullptr;
    QLineEdit* hoursLabel_ = nullptr;
    QLineEdit* hours_ = nullptr;
    QLineEdit* minutesLabel_ = nullptr;
    QLineEdit* minutes_ = nullptr;

    QPushButton* newButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* mainButton_ = nullptr;

    // The file whose recipe the display shows, the only one the delete box
    // deletes; empty while the display shows none.
    QString shownCategory_;
    QString shownFile_;

public:
    // Shows a recipe as a click on its file does once its category is chosen;
    // false, after a "User error", when the category or the file is not listed.
    bool showRecipe(const QString& category, const QString& file);
    // Where the recipe on display lies; empty while none is.
    const QString& shownCategory() const { return shownCategory_; }
    const QString& shownFile() const { return shownFile_; }
};

}  // namespace pv
