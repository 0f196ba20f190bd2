#include "showinbrowser.h"

#include "appfolder.h"
#include "recipebrowserwindow.h"
#include "store.h"
#include "windowregistry.h"

#include <QEvent>
#include <QTimer>

namespace pv {

namespace {

// The browser disables its delete box each time it becomes the active window.
// A recipe shown before that moment is shown again right after it, so that
// the box ends up as a click on the file leaves it.
class ShowAfterActivation : public QObject {
public:
    ShowAfterActivation(RecipeBrowserWindow* browser, QString category, QString file)
        : QObject(browser),
          browser_(browser),
          category_(std::move(category)),
          file_(std::move(file)) {
        browser->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == browser_ && event->type() == QEvent::WindowActivate) {
            // After the browser's own Activate handler.
            QTimer::singleShot(0, browser_,
                               [browser = browser_, category = category_, file = file_] {
                                   if (browser->isVisible() && browser->shownFile() == file) {
                                       browser->showRecipe(category, file);
                                   }
                               });
            browser_->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    RecipeBrowserWindow* browser_;
    QString category_;
    QString file_;
};

// The category as the browser lists it: the store finds a category's folder
// ignoring case, and so a name kept elsewhere (in a plan) still finds it once
// the list names it in other letters.
QString listedCategory(const store::Store& store, const QString& category) {
    const auto listed = store.listCategoriesByField();
    if (!listed || listed.value().contains(category)) {
        return category;
    }
    for (const QString& name : listed.value()) {
        if (name.compare(category, Qt::CaseInsensitive) == 0) {
            return name;
        }
    }
    return category;
}

}  // namespace

bool showInBrowser(const QString& categoryName, const QString& recipe) {
    const store::Store store(dataFolder());
    const QString category = listedCategory(store, categoryName);
    const QString stored = store.storedRecipeName(category, recipe);
    const QString file = stored.isEmpty() ? recipe : stored;
    auto* browser = qobject_cast<RecipeBrowserWindow*>(windows().show(WindowId::RecipeBrowser));
    if (!browser || !browser->isVisible()) {
        return false;  // its Load told the user, or reported a failure
    }
    browser->raise();
    browser->activateWindow();
    const bool shown = browser->showRecipe(category, file);
    if (shown && !browser->isActiveWindow()) {
        new ShowAfterActivation(browser, category, file);
    }
    return shown;
}

}  // namespace pv
