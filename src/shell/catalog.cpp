#include "catalog.h"

#include "aboutwindow.h"
#include "calendarwindow.h"
#include "creditswindow.h"
#include "errorreportwindow.h"
#include "findwindow.h"
#include "help.h"
#include "importprogresswindow.h"
#include "importsummarywindow.h"
#include "mainmenuwindow.h"
#include "mealplanwindow.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "recipepickwindow.h"
#include "scalewindow.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "splashwindow.h"
#include "windowregistry.h"

namespace pv {

void registerPantrovaWindows() {
    WindowRegistry& registry = windows();
    registry.registerWindow(WindowId::Splash, [] { return new SplashWindow; });
    registry.registerWindow(WindowId::Main, [] { return new MainMenuWindow; });
    registry.registerWindow(WindowId::Error, [] { return new ErrorReportWindow; });
    registry.registerWindow(WindowId::Setup, [] { return new SetupWindow; });
    registry.registerWindow(WindowId::RecipeEntry, [] { return new RecipeEntryWindow; });
    registry.registerWindow(WindowId::RecipeBrowser, [] { return new RecipeBrowserWindow; });
    registry.registerWindow(WindowId::ShoppingList, [] { return new ShoppingListWindow; });
    registry.registerWindow(WindowId::About, [] { return new AboutWindow; });
    registry.registerWindow(WindowId::Credits, [] { return new CreditsWindow; });
    registry.registerWindow(WindowId::Calendar, [] { return new CalendarWindow; });
    registry.registerWindow(WindowId::Find, [] { return new FindWindow; });
    registry.registerWindow(WindowId::RecipePick, [] { return new RecipePickWindow; });
    registry.registerWindow(WindowId::Scale, [] { return new ScaleWindow; });
    registry.registerWindow(WindowId::MealPlan, [] { return new MealPlanWindow; });
    registry.registerWindow(WindowId::ImportProgress, [] { return new ImportProgressWindow; });
    registry.registerWindow(WindowId::ImportSummary, [] { return new ImportSummaryWindow; });
    MainMenuWindow::setHelpAction([] { showHelpContents(1); });
}

}  // namespace pv
