#include "catalog.h"

#include "aboutwindow.h"
#include "calendarwindow.h"
#include "creditswindow.h"
#include "errorreportwindow.h"
#include "help.h"
#include "mainmenuwindow.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "splashwindow.h"
#include "windowregistry.h"

namespace pv {

void registerPantrovaWindows() {
    WindowRegistry& registry = windows();
    registry.registerWindow(QStringLiteral("frmSplash"), [] { return new SplashWindow; });
    registry.registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
    registry.registerWindow(QStringLiteral("frmError"), [] { return new ErrorReportWindow; });
    registry.registerWindow(QStringLiteral("frmSetup"), [] { return new SetupWindow; });
    registry.registerWindow(QStringLiteral("frmIngred"), [] { return new RecipeEntryWindow; });
    registry.registerWindow(QStringLiteral("frmRecipe"), [] { return new RecipeBrowserWindow; });
    registry.registerWindow(QStringLiteral("frmShop"), [] { return new ShoppingListWindow; });
    registry.registerWindow(QStringLiteral("frmAbout"), [] { return new AboutWindow; });
    registry.registerWindow(QStringLiteral("frmCredit"), [] { return new CreditsWindow; });
    registry.registerWindow(QStringLiteral("frmCalendar"), [] { return new CalendarWindow; });
    MainMenuWindow::setHelpAction([] { showHelpContents(1); });
}

}  // namespace pv
