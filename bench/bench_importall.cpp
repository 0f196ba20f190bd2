// Speed of Import all and of the window that lists a file's recipes.
//
//   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON
//   cmake --build build --target bench_importall
//   QT_QPA_PLATFORM=offscreen build/bench/bench_importall
//
// Goals: Import all of a 10,000-recipe MealMaster archive (about 10 MB) into an
// empty category in under 5 s on a 2-core machine, the windows responsive and
// the progress moving; the pick window with 10,000 recipes open in under 200 ms.
#include "appfolder.h"
#include "exchangecommands.h"
#include "importall.h"
#include "importprogresswindow.h"
#include "importsummarywindow.h"
#include "importtask.h"
#include "recipeimporter.h"
#include "recipepickwindow.h"
#include "screenbench.h"
#include "store.h"
#include "windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

constexpr int kRecipes = 10000;

// One MealMaster recipe of about 1 KB: eight ingredient lines, a heading, and
// directions over several lines.
QByteArray mealMasterRecipe(int number) {
    QByteArray recipe = "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n      Title: ";
    recipe += "Country Stew No. " + QByteArray::number(number % 7919) + "\r\n";
    recipe += " Categories: Soups, Stews\r\n      Yield: 6 servings\r\n \r\n";
    static const char* const kLines[] = {"      2 lb Beef chuck, cut in 1-inch cubes",
                                         "      3 tb Flour",
                                         "      2 tb Oil",
                                         "      1 lg Onion, chopped",
                                         "      3    Carrots, sliced",
                                         "      2 c  Beef stock",
                                         "    1/2 ts Thyme",
                                         "      1 ts Salt"};
    for (const char* line : kLines) {
        recipe += line;
        recipe += "\r\n";
    }
    recipe += "MMMMM--------------------------TO SERVE---------------------------\r\n";
    recipe += "      2 tb Parsley, chopped\r\n \r\n";
    for (int paragraph = 0; paragraph < 3; ++paragraph) {
        recipe +=
            "  Toss the beef in the flour and brown it in the oil over a good heat,\r\n"
            "  a few pieces at a time. Add the onion and carrots, pour in the\r\n"
            "  stock and simmer, covered, until the meat is tender.\r\n \r\n";
    }
    recipe += "MMMMM\r\n\r\n";
    return recipe;
}

// The archive, written once.
const QString& archive() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(u"archive.mmf"_s);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        for (int i = 0; i < kRecipes; ++i) {
            out.write(mealMasterRecipe(i));
        }
        return file;
    }();
    return path;
}

const QList<pv::exchange::ImportedRecipe>& recipes() {
    static const QList<pv::exchange::ImportedRecipe> read =
        pv::exchange::RecipeImporter::readFile(archive()).value();
    return read;
}

// A program folder with one empty category.
struct DataFolder {
    DataFolder() {
        QDir(dir.path()).mkpath(u"Category/Soups"_s);
        QFile list(dir.filePath(u"Category/category.txt"_s));
        list.open(QIODevice::WriteOnly);
        list.write("Soups\r\n");
        QFile(dir.filePath(u"PV.ini"_s)).open(QIODevice::WriteOnly);
    }
    QTemporaryDir dir;
};

// Reading the archive (the readers' part, before the pick window opens).
void BM_ReadArchive(benchmark::State& state) {
    for (auto _ : state) {
        auto read = pv::exchange::RecipeImporter::readFile(archive());
        benchmark::DoNotOptimize(read.value().size());
    }
    state.counters["MB"] = double(QFileInfo(archive()).size()) / 1e6;
}
BENCHMARK(BM_ReadArchive)->Unit(benchmark::kMillisecond)->Iterations(3);

// Saving every recipe of the archive into an empty category.
void BM_ImportAll(benchmark::State& state) {
    const auto& all = recipes();
    // Removing the folders is not part of the import.
    std::vector<std::unique_ptr<DataFolder>> folders;
    for (auto _ : state) {
        state.PauseTiming();
        const DataFolder& folder = *folders.emplace_back(std::make_unique<DataFolder>());
        pv::store::Store store(folder.dir.path());
        state.ResumeTiming();
        const auto summary = pv::exchange::ImportAll::run(store, all, {u"Soups"_s, false});
        benchmark::DoNotOptimize(summary.importedCount());
        state.counters["imported"] = summary.importedCount();
    }
}
BENCHMARK(BM_ImportAll)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// For comparison: the same recipes saved one by one as Save does (each file
// flushed to the disk on its own), 500 of them.
void BM_SaveOneByOne(benchmark::State& state) {
    const auto& all = recipes();
    std::vector<std::unique_ptr<DataFolder>> folders;
    for (auto _ : state) {
        state.PauseTiming();
        const DataFolder& folder = *folders.emplace_back(std::make_unique<DataFolder>());
        pv::store::Store store(folder.dir.path());
        state.ResumeTiming();
        for (int i = 0; i < 500; ++i) {
            const auto& record = all[i].record;
            benchmark::DoNotOptimize(
                store.saveRecipe(u"Soups"_s, record.name + QString::number(i), record.fields).ok());
        }
    }
    state.counters["files"] = 500;
}
BENCHMARK(BM_SaveOneByOne)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void registerWindows() {
    static const bool done = [] {
        pv::windows().registerWindow(pv::WindowId::RecipePick,
                                     [] { return new pv::RecipePickWindow; });
        pv::windows().registerWindow(pv::WindowId::ImportProgress,
                                     [] { return new pv::ImportProgressWindow; });
        pv::windows().registerWindow(pv::WindowId::ImportSummary,
                                     [] { return new pv::ImportSummaryWindow; });
        return true;
    }();
    (void)done;
}

// Import all as the user starts it, on its worker, while the window's thread
// runs its events: the whole time, the longest the window's thread went
// without handling a 10 ms timer, and how many times the progress bar moved.
void BM_ImportAllFromTheWindow(benchmark::State& state) {
    registerWindows();
    const auto& all = recipes();
    std::vector<std::unique_ptr<DataFolder>> folders;
    for (auto _ : state) {
        state.PauseTiming();
        const DataFolder& folder = *folders.emplace_back(std::make_unique<DataFolder>());
        pv::setApplicationFolder(folder.dir.path());
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QSet<int> shownValues;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, sinceTick.restart());
            if (auto* progress = pv::windows().loadedAs<pv::ImportProgressWindow>(
                    pv::WindowId::ImportProgress)) {
                shownValues.insert(progress->findChild<QProgressBar*>(u"pbGTask"_s)->value());
            }
        });
        state.ResumeTiming();
        sinceTick.start();
        ticker.start();
        pv::importAllRecipes(all, u"Soups"_s, false);
        while (pv::ImportTask::running()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        state.PauseTiming();
        ticker.stop();
        state.counters["longest_gap_ms"] = double(longestGap);
        state.counters["progress_values"] = double(shownValues.size());
        state.counters["files"] =
            double(QDir(folder.dir.filePath(u"Category/Soups"_s)).entryList(QDir::Files).size());
        pv::windows().hide(pv::WindowId::ImportSummary);
        pv::setApplicationFolder({});
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportAllFromTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The pick window offered 10,000 recipes, shown and painted.
void BM_PickWindowOpens(benchmark::State& state) {
    registerWindows();
    const auto& all = recipes();
    for (auto _ : state) {
        auto* pick =
            qobject_cast<pv::RecipePickWindow*>(pv::windows().show(pv::WindowId::RecipePick));
        pick->offer(
            all, {}, [](QList<pv::exchange::ImportedRecipe>, bool) {}, u"Soups"_s);
        QCoreApplication::processEvents();
        pick->repaint();
        state.PauseTiming();
        pick->cancel();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["recipes"] = double(all.size());
}
BENCHMARK(BM_PickWindowOpens)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// One key typed into its filter box with 10,000 recipes listed.
void BM_PickWindowFilters(benchmark::State& state) {
    registerWindows();
    auto* pick = qobject_cast<pv::RecipePickWindow*>(pv::windows().show(pv::WindowId::RecipePick));
    pick->offer(
        recipes(), {}, [](QList<pv::exchange::ImportedRecipe>, bool) {}, u"Soups"_s);
    auto* filter = pick->findChild<QLineEdit*>(u"txtPFind"_s);
    int i = 0;
    for (auto _ : state) {
        filter->setText(i++ % 2 ? u"stew 79"_s : u"stew 7"_s);
        pick->repaint();
    }
    pick->cancel();
}
BENCHMARK(BM_PickWindowFilters)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return pv::bench::runScreenBenchmarks(argc, argv);
}
