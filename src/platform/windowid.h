#pragma once

#include <QMetaType>
#include <QString>

namespace pv {

// Every top-level window of Pantrova. The window registry is keyed by it, so
// no window is named by a string outside this table.
enum class WindowId {
    Splash,
    Main,
    Error,
    Setup,
    RecipeEntry,
    RecipeBrowser,
    ShoppingList,
    About,
    Credits,
    Calendar,
    Find,
    RecipePick,
    Scale,
    MealPlan,
    ImportProgress,
    ImportSummary,
};
inline constexpr int kWindowCount = int(WindowId::ImportSummary) + 1;

// The window's object name, the system's own ("frmMain" for WindowId::Main).
QString objectNameOf(WindowId id);

}  // namespace pv

Q_DECLARE_METATYPE(pv::WindowId)
