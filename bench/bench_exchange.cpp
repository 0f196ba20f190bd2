// Speed of recipe import and export.
//
// Build and run (from the repository root):
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON -DBUILD_TESTING=OFF
//   cmake --build build-bench -j2 --target bench_exchange
//   build-bench/bench/bench_exchange
// Goal: import of a 1 MB saved web page under 50 ms.
#include "jsonldwriter.h"
#include "recipeimporter.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace pv::exchange;
using namespace pv::store;

namespace {

RecipeRecord typicalRecipe(int number) {
    RecipeRecord recipe{QStringLiteral("Breads"), QStringLiteral("Loaf %1").arg(number), {}};
    const char* lines[][3] = {{"2", "cups", "flour"},  {"1", "tsp", "salt"},
                              {"3", "", "eggs"},       {"250", "ml", "milk"},
                              {"1/2", "cup", "sugar"}, {"2", "tbsp", "butter, melted"}};
    for (int i = 0; i < 6; ++i) {
        recipe.fields[amountField(i + 1) - 1] = QString::fromLatin1(lines[i][0]);
        recipe.fields[measureField(i + 1) - 1] = QString::fromLatin1(lines[i][1]);
        recipe.fields[ingredientField(i + 1) - 1] = QString::fromLatin1(lines[i][2]);
    }
    recipe.fields[kDirectionsField - 1] = QStringLiteral(
        "Mix the flour, salt and sugar.\r\nBeat the eggs into the milk and butter, then fold into "
        "the dry ingredients.\r\nRest for half an hour.\r\nBake in a buttered tin until golden "
        "and a skewer comes out clean.\r\nCool on a rack before slicing.");
    recipe.fields[kTemperatureField - 1] = QStringLiteral("350");
    recipe.fields[kServingSizeField - 1] = QStringLiteral("8");
    recipe.fields[kHoursField - 1] = QStringLiteral("1");
    recipe.fields[kMinutesField - 1] = QStringLiteral("15");
    return recipe;
}

// A saved web page of about 1 MB: scripts, styles, deep markup, and one
// ld+json recipe in the middle of it.
QByteArray savedPage() {
    QByteArray page =
        "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Loaf</title>\n";
    for (int i = 0; i < 40; ++i) {
        page += "<script>(function(){var a" + QByteArray::number(i) +
                "=[];for(var i=0;i<10;i++){a.push('<div class=\"x\">'+i+'</div>');}"
                "window.track&&window.track({event:'view',id:" +
                QByteArray::number(i) + "});})();" + QByteArray(2000, ' ') + "</script>\n";
        page += "<style>.c" + QByteArray::number(i) +
                "{margin:0;padding:0;color:#333}.c:hover{color:#000}</style>\n";
    }
    page += "</head><body>\n";
    int block = 0;
    while (page.size() < 1000 * 1000) {
        page += "<div class=\"row\"><div class=\"col\"><article><h2><a href=\"/r/" +
                QByteArray::number(block) +
                "\">Another loaf &amp; more</a></h2><p>Lorem ipsum dolor sit amet, "
                "<b>consectetur</b> adipiscing elit, <i>sed</i> do eiusmod tempor.</p>"
                "<ul><li>one</li><li>two</li><li>three</li></ul><img src=\"/i/" +
                QByteArray::number(block) + ".jpg\" alt=\"\"></article></div></div>\n";
        if (++block == 1500) {
            QByteArray json = JsonLdWriter::write(typicalRecipe(1));
            page += "<script type=\"application/ld+json\">" + json + "</script>\n";
        }
    }
    return page + "</body></html>\n";
}

// MealMaster text of `count` recipes.
QByteArray mealMasterFile(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n      Title: Loaf " +
                QByteArray::number(i) +
                "\r\n Categories: Breads\r\n      Yield: 8 servings\r\n \r\n"
                "      2 c  Flour                              1 ts Salt\r\n"
                "      3    Eggs                             250 ml Milk\r\n"
                "    1/2 c  Sugar                              2 tb Butter\r\n"
                "                                                   -melted\r\n"
                " \r\nMMMMM-----------------------GLAZE----------------------------\r\n"
                "      1 c  Powdered sugar\r\n \r\n"
                "  Mix the flour, salt and sugar. Beat the eggs into the milk and\r\n"
                "  butter, then fold into the dry ingredients.\r\n \r\n"
                "  Bake in a buttered tin until golden.\r\n \r\nMMMMM\r\n\r\n";
    }
    return text;
}

QList<RecipeRecord> manyRecipes(int count) {
    QList<RecipeRecord> recipes;
    for (int i = 0; i < count; ++i) {
        recipes.append(typicalRecipe(i));
    }
    return recipes;
}

void importOrAbort(const QByteArray& bytes, const QString& name, qsizetype count) {
    const auto read = RecipeImporter::readBytes(bytes, name);
    if (!read.ok() || read.value().size() != count) {
        std::abort();
    }
    benchmark::DoNotOptimize(read.value().front().record.fields[0].data());
}

void BM_ImportSavedPage(benchmark::State& state) {
    const QByteArray page = savedPage();
    for (auto _ : state) {
        importOrAbort(page, QStringLiteral("page.html"), 1);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
    state.counters["page_bytes"] = double(page.size());
}
BENCHMARK(BM_ImportSavedPage)->Unit(benchmark::kMillisecond);

void BM_ImportMealMaster(benchmark::State& state) {
    const int count = int(state.range(0));
    const QByteArray text = mealMasterFile(count);
    for (auto _ : state) {
        importOrAbort(text, QStringLiteral("loaves.mmf"), count);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_ImportMealMaster)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ExportAll(benchmark::State& state) {
    const QList<RecipeRecord> recipes = manyRecipes(int(state.range(0)));
    for (auto _ : state) {
        const QByteArray bytes = JsonLdWriter::write(recipes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ExportAll)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportExported(benchmark::State& state) {
    const int count = int(state.range(0));
    const QByteArray bytes = JsonLdWriter::write(manyRecipes(count));
    for (auto _ : state) {
        importOrAbort(bytes, QStringLiteral("all.json"), count);
    }
}
BENCHMARK(BM_ImportExported)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
