#pragma once

#include "pvwindow.h"

#include <QString>

#include <functional>
#include <memory>

namespace pv {

class ImageList;
class SideBar;

namespace Ui {
class MainMenuWindow;
}

// frmMain: the hub of the program, a narrow window filled by its side bar.
class MainMenuWindow : public PvWindow {
    Q_OBJECT
public:
    MainMenuWindow();
    ~MainMenuWindow() override;

    void onLoad() override;

    SideBar* sideBar() const;
    ImageList* icons() const { return icons_; }

    // What the side bar's click does with an item's key; unknown keys do nothing.
    void dispatch(const QString& key);

    // What "Help" runs (the help viewer, wired where every window is registered).
    static void setHelpAction(std::function<void()> action);

protected:
    // Closing the main menu by its frame asks the exit question, as "Exit" does.
    void onCloseRequested() override;

private:
    std::unique_ptr<Ui::MainMenuWindow> ui_;
    ImageList* icons_;
};

// Hides the main menu and asks whether to end the program: Yes closes every
// loaded window; anything else brings the main menu back.
void confirmExit();

// The exit question's text (one CR after "exit").
QString exitQuestionText();

}  // namespace pv
