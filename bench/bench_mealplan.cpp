// Speed of the meal plan and of the shopping list merged from it.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON
//   cmake --build build-bench --target bench_mealplan
//   QT_QPA_PLATFORM=offscreen build-bench/bench/bench_mealplan
//
// Goals: merging a week of 21 recipes (about 200 ingredient lines) in under
// 5 ms; opening the meal plan on a week of 21 recipes, with 10,000 recipes in
// the store, in under 100 ms.
#include "appfolder.h"
#include "fieldreader.h"
#include "mealplanwindow.h"
#include "recipescale.h"
#include "screenbench.h"
#include "shoppingmerge.h"
#include "store.h"
#include "today.h"
#include "windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace Qt::StringLiterals;

const QDate kMonday(2026, 12, 7);

// Ten ingredient lines from a kitchen's usual range: shared ingredients in
// several units and spellings, amounts as cooks write them.
pv::store::RecipeFields recipeNumber(int n) {
    static const QStringList amounts{u"1"_s,   u"2"_s,   u"1 1/2"_s, u"1/2"_s, u"3/4"_s,
                                     u"200"_s, u"2-3"_s, u"0.5"_s,   u"2½"_s,  u""_s};
    static const QStringList units{u"cups"_s, u"c"_s,      u"tbsp"_s, u"T"_s, u"tsp"_s,
                                   u"g"_s,    u"cloves"_s, u"lb"_s,   u""_s,  u"pinch"_s};
    static const QStringList ingredients{
        u"flour"_s,  u"sugar"_s,     u"butter"_s, u"eggs"_s,    u"milk"_s,  u"salt"_s,
        u"garlic"_s, u"olive oil"_s, u"onions"_s, u"carrots"_s, u"rice"_s,  u"tomatoes"_s,
        u"thyme"_s,  u"chicken"_s,   u"lemon"_s,  u"cream"_s,   u"honey"_s, u"Flour"_s};
    pv::store::RecipeFields fields;
    for (int line = 1; line <= 10; ++line) {
        const int k = n * 7 + line * 3;
        fields[pv::store::amountField(line) - 1] = amounts[k % amounts.size()];
        fields[pv::store::measureField(line) - 1] = units[(k / 2) % units.size()];
        fields[pv::store::ingredientField(line) - 1] = ingredients[(k + n) % ingredients.size()];
    }
    fields[pv::store::kServingSizeField - 1] = QString::number(2 + n % 5);
    return fields;
}

// 21 recipes (210 lines), each at its own servings.
void BM_MergeWeek(benchmark::State& state) {
    QList<pv::store::RecipeFields> week;
    for (int n = 0; n < 21; ++n) {
        week.append(recipeNumber(n));
    }
    int lines = 0;
    for (auto _ : state) {
        pv::exchange::ShoppingMerge merge;
        for (int n = 0; n < week.size(); ++n) {
            const int written = pv::exchange::RecipeScale::writtenServings(
                week[n][pv::store::kServingSizeField - 1]);
            merge.addRecipe(week[n], pv::exchange::RecipeScale::factor(written, 1 + n % 6));
        }
        const QStringList merged = merge.lines();
        lines = int(merged.size());
        benchmark::DoNotOptimize(merged.constData());
    }
    state.counters["merged lines"] = lines;
}
BENCHMARK(BM_MergeWeek)->Unit(benchmark::kMillisecond);

// A data folder with 10,000 recipes in ten categories and a week of 21
// planned recipes, two of them deleted since.
class BenchFolder {
public:
    BenchFolder() {
        QDir root(dir_.path());
        root.mkpath(u"Category"_s);
        root.mkpath(u"Shopping List"_s);
        QByteArray list;
        for (int c = 0; c < 10; ++c) {
            const QString category = u"Category %1"_s.arg(c);
            list += category.toLatin1() + "\r\n";
            root.mkpath(u"Category/"_s + category);
            for (int r = 0; r < 1000; ++r) {
                QFile file(root.filePath(u"Category/%1/Recipe %2"_s.arg(category).arg(r)));
                file.open(QIODevice::WriteOnly);
                file.write(pv::store::formatRecipeRecord(recipeNumber(r)));
            }
        }
        QFile categories(root.filePath(u"Category/category.txt"_s));
        categories.open(QIODevice::WriteOnly);
        categories.write(list);
        categories.close();
        pv::setApplicationFolder(dir_.path());
        pv::setToday(kMonday.addDays(2));
        pv::store::MealPlanWeek week;
        for (int n = 0; n < 21; ++n) {
            week.recipes.append({kMonday.addDays(n / 3), u"Category %1"_s.arg(n % 10),
                                 u"Recipe %1"_s.arg(n < 19 ? n * 47 : 5000 + n), 1 + n % 6});
        }
        pv::store::Store(pv::dataFolder()).saveMealPlan(kMonday, week);
    }

private:
    QTemporaryDir dir_;
};

void prepareFolder() {
    static BenchFolder folder;
}

// Opening the window: the form, the category list, the week's file and a look
// at each planned recipe's file.
void BM_OpenMealPlan(benchmark::State& state) {
    prepareFolder();
    int planned = 0;
    for (auto _ : state) {
        pv::MealPlanWindow window;
        window.load();
        planned = int(window.week().recipes.size());
        benchmark::DoNotOptimize(planned);
    }
    state.counters["planned"] = planned;
}
BENCHMARK(BM_OpenMealPlan)->Unit(benchmark::kMillisecond);

// Showing it again: the categories and the week read anew.
void BM_ShowMealPlanAgain(benchmark::State& state) {
    prepareFolder();
    pv::MealPlanWindow window;
    window.load();
    for (auto _ : state) {
        window.onShowAgain();
    }
    state.counters["planned"] = int(window.week().recipes.size());
}
BENCHMARK(BM_ShowMealPlanAgain)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return pv::bench::runScreenBenchmarks(argc, argv);
}
