#pragma once

#include "match.h"
#include "pvwindow.h"

#include <memory>

class QTreeWidgetItem;

namespace pv {

namespace find {
class RecipeFinder;
}

namespace Ui {
class FindWindow;
}

class FolderWatcher;

// "Find a recipe": the recipes of every category that hold every word typed,
// found while the user types, off the window's thread. Enter or a double
// click shows the match in the recipe browser as a click on its file would.
class FindWindow : public PvWindow {
    Q_OBJECT
public:
    explicit FindWindow(QWidget* parent = nullptr);
    ~FindWindow() override;

    void onLoad() override;
    bool onShowAgain() override;

    // The commands.
    void search();
    void showMatch();
    void closeWindow();

    // The search behind the window (tests wait on it).
    find::RecipeFinder& finder() { return *finder_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void addMatches(quint64 query, const find::MatchList& matches);
    void searchDone(quint64 query, bool moreThanLimit);
    void startOver();
    QTreeWidgetItem* chosenItem() const;
    // Takes out the matches whose recipe was deleted since it was found.
    void dropDeletedMatches();
    QStringList matchFolders() const;

    std::unique_ptr<Ui::FindWindow> ui_;
    std::unique_ptr<find::RecipeFinder> finder_;
    FolderWatcher* watcher_ = nullptr;
};

}  // namespace pv
