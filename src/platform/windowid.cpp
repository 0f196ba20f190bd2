#include "windowid.h"

#include <array>

namespace pv {

QString objectNameOf(WindowId id) {
    static const std::array<const char*, kWindowCount> kNames = {
        "frmSplash", "frmMain", "frmError",    "frmSetup",   "frmIngred",
        "frmRecipe", "frmShop", "frmAbout",    "frmCredit",  "frmCalendar",
        "frmFind",   "frmPick", "frmProgress", "frmSummary",
    };
    return QLatin1String(kNames.at(std::size_t(id)));
}

}  // namespace pv
