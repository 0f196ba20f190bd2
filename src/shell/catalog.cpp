#include "catalog.h"

#include "about.h"
#include "calendar.h"
#include "credits.h"
#include "errorreport.h"
#include "help.h"
#include "ingredscreen.h"
#include "mainmenu.h"
#include "recipescreen.h"
#include "setupscreen.h"
#include "shopscreen.h"
#include "splash.h"
#include "windowregistry.h"

namespace pv {

void registerPantrovaWindows() {
    WindowRegistry& registry = windows();
    registry.registerWindow(QStringLiteral("frmSplash"), [] { return new SplashWindow; });
    registry.registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
    registry.registerWindow(QStringLiteral("frmError"), [] { return new ErrorReportWindow; });
    registry.registerWindow(QStringLiteral("frmSetup"), [] { return new SetupScreen; });
    registry.registerWindow(QStringLiteral("frmIngred"), [] { return new IngredScreen; });
    registry.registerWindow(QStringLiteral("frmRecipe"), [] { return new RecipeScreen; });
    registry.registerWindow(QStringLiteral("frmShop"), [] { return new ShopScreen; });
    registry.registerWindow(QStringLiteral("frmAbout"), [] { return new AboutScreen; });
    registry.registerWindow(QStringLiteral("frmCredit"), [] { return new CreditsScreen; });
    registry.registerWindow(QStringLiteral("frmCalendar"), [] { return new CalendarScreen; });
    MainMenuWindow::setHelpAction([] { ShowHelpContents(1); });
}

}  // namespace pv
