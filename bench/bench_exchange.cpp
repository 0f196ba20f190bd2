// Speed and memory of recipe import and export.
//
// Build and run (from the repository root):
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON -DBUILD_TESTING=OFF
//   cmake --build build-bench -j2 --target bench_exchange
//   build-bench/bench/bench_exchange
// Goals: import of a 1 MB saved web page under 50 ms; of a 10,000-recipe
// MealMaster archive (about 10 MB) well under 5 s; each file made to take
// time or memory (BM_Hostile*, up to 64 MB) read in under 2 s of the CPU,
// with the memory at its peak a small multiple of the file. The counters
// say: file_MB, the file's size; peak_MB, what the read added to the
// process at its peak, measured once per benchmark (Linux: VmHWM after
// clearing it); peak_per_file, the two divided. Run one benchmark per
// process for the peak to be its own:
//   for b in $(build-bench/bench/bench_exchange --benchmark_list_tests); do
//       build-bench/bench/bench_exchange --benchmark_filter="^$b\$"; done
#include "jsonldreader.h"
#include "jsonldwriter.h"
#include "recipeimporter.h"

#include <QByteArray>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

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

// Memory of the process in kB from /proc/self/status ("VmRSS", "VmHWM"), 0 elsewhere.
long statusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

// Makes VmHWM start again from the present size.
void clearPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Reads bytes each iteration; the first one also measures the memory the
// read adds at its peak. check says whether the outcome is the expected one.
void measureImport(
    benchmark::State& state, const QByteArray& bytes, const QString& name,
    const std::function<bool(const pv::store::Outcome<QList<ImportedRecipe>>&)>& check,
    double cpuLimit = 0) {
    bool first = true;
    for (auto _ : state) {
        long before = 0;
        double started = 0;
        if (first) {
            before = statusKb("VmRSS:");
            clearPeak();
            started = cpuSeconds();
        }
        const auto read = RecipeImporter::readBytes(bytes, name);
        if (!check(read)) {
            state.SkipWithError("unexpected outcome");
            return;
        }
        if (first) {
            const double cpu = cpuSeconds() - started;
            const double peak = double(statusKb("VmHWM:") - before) / 1024.0;
            state.counters["file_MB"] = double(bytes.size()) / (1024.0 * 1024.0);
            state.counters["peak_MB"] = peak;
            state.counters["peak_per_file"] = peak * 1024.0 * 1024.0 / double(bytes.size());
            state.counters["first_cpu_s"] = cpu;
            first = false;
            if (cpuLimit > 0 && cpu > cpuLimit) {
                // Kept for the run: the error is printed after the benchmark.
                static thread_local std::string message;
                message = "took " + std::to_string(cpu) + " s of the CPU, peak " +
                          std::to_string(int(peak)) + " MB";
                state.SkipWithError(message.c_str());
                return;
            }
        }
    }
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

// --- a realistic archive ---

// MealMaster text of `count` recipes of about 1 kB each, as archives hold
// them: one- and two-column blocks, headings, continuation lines, wrapped
// paragraphs. The same count gives the same text.
QByteArray mealMasterArchive(int count) {
    static const char* const foods[] = {"Flour",
                                        "Sugar",
                                        "Butter",
                                        "Eggs",
                                        "Milk",
                                        "Onion; chopped",
                                        "Garlic cloves; minced",
                                        "Carrots; diced",
                                        "Celery; sliced",
                                        "Salt",
                                        "Black pepper",
                                        "Olive oil",
                                        "Tomatoes",
                                        "Beef stock",
                                        "Chicken breasts",
                                        "Rice",
                                        "Lentils",
                                        "Cumin",
                                        "Paprika",
                                        "Parsley",
                                        "Lemon juice",
                                        "Vinegar",
                                        "Honey",
                                        "Baking powder",
                                        "Cinnamon",
                                        "Potatoes; peeled"};
    static const char* const units[] = {"c ", "ts", "tb", "lb", "oz", "  ", "lg", "md", "pn", "cn"};
    static const char* const amounts[] = {"1", "2", "1/2", "1/4", "3", "1 1/2", "3/4", "4", "10"};
    static const char* const words[] = {
        "stir", "the",      "mixture", "until",   "smooth", "and",     "bake", "in",
        "a",    "moderate", "oven",    "for",     "about",  "minutes", "then", "cool",
        "on",   "rack",     "before",  "serving", "with",   "sauce",   "add",  "remaining"};
    quint32 seed = 20260101;
    auto next = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % quint32(below));
    };
    auto cell = [&](QByteArray& line) {
        const QByteArray amount = amounts[next(9)];
        line += QByteArray(7 - amount.size(), ' ') + amount + ' ' + units[next(10)] + ' ' +
                foods[next(26)];
    };
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n      Title: Dish " +
                QByteArray::number(i) + "\r\n Categories: Main dish, Test\r\n      Yield: " +
                QByteArray::number(2 + next(10)) + " servings\r\n \r\n";
        const bool twoColumns = next(2) == 0;
        for (int row = 4 + next(5); row > 0; --row) {
            QByteArray line;
            cell(line);
            if (twoColumns) {
                line = line.leftJustified(40, ' ');
                cell(line);
            }
            text += line + "\r\n";
            if (next(6) == 0) {
                text += "           -finely chopped\r\n";
            }
        }
        if (next(3) == 0) {
            text += "\r\nMMMMM----------------------------SAUCE-------------------------------\r\n";
            for (int row = 2 + next(3); row > 0; --row) {
                QByteArray line;
                cell(line);
                text += line + "\r\n";
            }
        }
        text += " \r\n";
        for (int paragraph = 2 + next(3); paragraph > 0; --paragraph) {
            for (int line = 2 + next(3); line > 0; --line) {
                QByteArray words70 = "  ";
                while (words70.size() < 66) {
                    words70 += QByteArray(words[next(24)]) + ' ';
                }
                text += words70.trimmed().prepend("  ") + "\r\n";
            }
            text += "  \r\n";
        }
        text += "MMMMM\r\n\r\n";
    }
    return text;
}

void BM_ImportMealMasterArchive(benchmark::State& state) {
    const int count = int(state.range(0));
    const QByteArray text = mealMasterArchive(count);
    measureImport(state, text, QStringLiteral("archive.mmf"),
                  [count](const auto& read) { return read.ok() && read.value().size() == count; });
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_ImportMealMasterArchive)->Arg(10000)->Unit(benchmark::kMillisecond);

// --- files made to take time or memory ---

constexpr qsizetype kMB = 1024 * 1024;
// Up to the largest file import reads, with room for a header and an end.
constexpr qsizetype kLargest = RecipeImporter::kMaxFileSize - 4096;

const QByteArray kStart =
    "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n      Title: Long\r\n"
    "      Yield: 4\r\n\r\n      1 c  Flour\r\n\r\n";

// head, then unit as often as it fits in size with tail.
QByteArray filled(const QByteArray& head, const QByteArray& unit, qsizetype size,
                  const QByteArray& tail = {}) {
    return head + unit.repeated((size - head.size() - tail.size()) / unit.size()) + tail;
}

bool oneRecipe(const pv::store::Outcome<QList<ImportedRecipe>>& read) {
    return read.ok() && read.value().size() == 1;
}

bool refused(const pv::store::Outcome<QList<ImportedRecipe>>& read) {
    return !read.ok() && read.failure().isRefusal();
}

// A quantity nested twenty deep in its unit, and in @type: 716 bytes that
// multiplied the text at each level.
void BM_HostileNestedQuantities(benchmark::State& state) {
    QByteArray nested = "\"x\"";
    for (int level = 0; level < 20; ++level) {
        nested = "{\"value\":[1,1,1,1],\"unitText\":" + nested + "}";
    }
    const QByteArray json = "{\"@type\":[\"Recipe\"," + nested +
                            "],\"name\":\"N\",\"recipeYield\":" + nested +
                            ",\"recipeIngredient\":[\"1 egg\"]}";
    measureImport(state, json, QStringLiteral("nested.json"), oneRecipe, 2.0);
}
BENCHMARK(BM_HostileNestedQuantities)->Unit(benchmark::kMillisecond);

// Directions of many short lines: each line copied the paragraph so far.
void BM_HostileShortDirectionLines(benchmark::State& state) {
    measureImport(state, filled(kStart, "  a\r\n", state.range(0)), QStringLiteral("lines.mmf"),
                  oneRecipe, 2.0);
}
BENCHMARK(BM_HostileShortDirectionLines)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// "----- a", 400 blanks, "b": the heading pattern backtracked on each.
void BM_HostilePaddedHeadings(benchmark::State& state) {
    measureImport(state, filled(kStart, "----- a" + QByteArray(400, ' ') + "b\r\n", state.range(0)),
                  QStringLiteral("headings.mmf"), oneRecipe, 2.0);
}
BENCHMARK(BM_HostilePaddedHeadings)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// Yield lines, a thousand different ones over and over: each was looked for
// in the list of those already told.
void BM_HostileRepeatedYields(benchmark::State& state) {
    QByteArray yields;
    for (int i = 0; i < 1000; ++i) {
        yields += "      Yield: " + QByteArray::number(i) + " pints\r\n";
    }
    measureImport(state,
                  filled("MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: Y\r\n",
                         yields, state.range(0), "      1 c  Water\r\n"),
                  QStringLiteral("yields.mmf"), oneRecipe, 2.0);
}
BENCHMARK(BM_HostileRepeatedYields)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// Directions of 20,000 different characters Windows-1252 lacks, over and
// over: each was looked for in the list of those already found.
void BM_HostileUnencodable(benchmark::State& state) {
    QString characters;
    for (char16_t c = 0x4E00; c < 0x4E00 + 20000; ++c) {
        characters += QChar(c);
    }
    measureImport(state, filled(kStart + "  ", characters.toUtf8(), state.range(0)),
                  QStringLiteral("characters.mmf"), oneRecipe, 2.0);
}
BENCHMARK(BM_HostileUnencodable)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// One recipe of millions of one-letter ingredient lines.
void BM_HostileIngredientLines(benchmark::State& state) {
    measureImport(state,
                  filled("MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: I\r\n\r\n",
                         "      1 c  x\r\n", state.range(0)),
                  QStringLiteral("ingredients.mmf"), oneRecipe, 2.0);
}
BENCHMARK(BM_HostileIngredientLines)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// Recipes of a title only, more than a file may hold: refused.
void BM_HostileTinyRecipes(benchmark::State& state) {
    measureImport(state, filled({}, "-----\nTitle: a\n-----\n", state.range(0)),
                  QStringLiteral("tiny.mmf"), refused, 2.0);
}
BENCHMARK(BM_HostileTinyRecipes)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// A page nested a million elements deep before its recipe.
void BM_HostileDeepMarkup(benchmark::State& state) {
    measureImport(
        state,
        filled("<html><body>", "<div>", state.range(0),
               "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"D\","
               "\"recipeIngredient\":[\"1 egg\"]}</script>"),
        QStringLiteral("deep.html"), oneRecipe, 2.0);
}
BENCHMARK(BM_HostileDeepMarkup)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// JSON of millions of tiny values, which Qt's JSON parser would take some
// 40 bytes and a fifth of a microsecond each to read: refused unparsed.
void BM_HostileTinyJsonValues(benchmark::State& state) {
    measureImport(state,
                  filled("{\"@type\":\"Recipe\",\"name\":\"S\",\"recipeInstructions\":[\"a\"",
                         ",\"a\"", state.range(0), "]}"),
                  QStringLiteral("values.json"), refused, 2.0);
}
BENCHMARK(BM_HostileTinyJsonValues)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// JSON of short steps, as many as a 64 MB file may hold (1.8 million).
void BM_LargeJsonSteps(benchmark::State& state) {
    measureImport(state,
                  filled("{\"@type\":\"Recipe\",\"name\":\"S\",\"recipeInstructions\":[\"a\"",
                         ",\"Stir the pot again, then taste it.\"", state.range(0), "]}"),
                  QStringLiteral("steps.json"), oneRecipe, 2.0);
}
BENCHMARK(BM_LargeJsonSteps)->Arg(kMB)->Arg(kLargest)->Unit(benchmark::kMillisecond);

void BM_ExportAll(benchmark::State& state) {
    const QList<RecipeRecord> recipes = manyRecipes(int(state.range(0)));
    for (auto _ : state) {
        const QByteArray bytes = JsonLdWriter::write(recipes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ExportAll)->Arg(10000)->Unit(benchmark::kMillisecond);

// An "Export all" file read back; 24,000 recipes (34 MB, 1.95 million JSON
// values) are about as many as import takes from one file.
void BM_ImportExported(benchmark::State& state) {
    const int count = int(state.range(0));
    const QByteArray bytes = JsonLdWriter::write(manyRecipes(count));
    measureImport(state, bytes, QStringLiteral("all.json"),
                  [count](const auto& read) { return read.ok() && read.value().size() == count; });
    state.counters["values"] = double(JsonLdReader::valueCount(bytes));
}
BENCHMARK(BM_ImportExported)->Arg(10000)->Arg(24000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
