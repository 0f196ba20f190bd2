#include "windowid.h"

#include <array>

namespace pv {

QString objectNameOf(WindowId id) {
    // clang-format off
    static const std::array<const char*, kWindowCount> kNames = {
        "frmSplash", "frmMain",  "frmError",  "frmSetup",    "frmIngred", "frmRecipe",
        "frmShop",   "frmAbout", "frmCredit", "frmCalendar", "frmFind",   "frmPick",
        "frmScale",  "frmPlan",
        "frmProgress", "frmSummary",
    };
    // clang-format on
    return QLatin1String(kNames.at(std::size_t(id)));
}

}  // namespace pv
