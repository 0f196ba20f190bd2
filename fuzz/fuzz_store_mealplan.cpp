// Feeds arbitrary bytes to the reader of a week's meal plan file, as a file
// edited by hand or by another program would be: every planned recipe lies in
// the week with servings from 1 to the most, and the week written back reads
// again to the same recipes and keeps every line it could not read.
//
// Run for a bounded time with its dictionary and limits (inputs up to the
// 256 kB of a week's file that are read, 5 s and 1 GB each, no single
// allocation over 256 MB):
//   bash scripts/fuzz.sh 60 fuzz_store_mealplan
#include "mealplan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pv::store;

namespace {

const QDate kMonday(2026, 12, 7);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const MealPlanWeek week = parseMealPlan(bytes, kMonday);
    QDate last = kMonday;
    for (const PlannedRecipe& planned : week.recipes) {
        if (planned.day < last || planned.day > kMonday.addDays(6) || planned.servings < 1 ||
            planned.servings > kMostPlannedServings || planned.category.isEmpty() ||
            planned.recipe.isEmpty()) {
            std::abort();
        }
        last = planned.day;
    }
    qsizetype kept = 0;
    for (const QByteArray& line : week.unreadable) {
        if (line.trimmed().isEmpty()) {
            std::abort();
        }
        kept += line.size();
    }
    if (kept > bytes.size()) {
        std::abort();
    }

    // The store never writes a name holding a double quote.
    for (const PlannedRecipe& planned : week.recipes) {
        if (planned.category.contains(u'"') || planned.recipe.contains(u'"')) {
            return 0;
        }
    }
    // Written back and read again, the same week: nothing gained, nothing lost.
    const MealPlanWeek again = parseMealPlan(formatMealPlan(week), kMonday);
    if (again.recipes != week.recipes || again.unreadable != week.unreadable) {
        std::abort();
    }
    return 0;
}
