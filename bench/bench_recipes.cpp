// Speed of the recipe browser on big categories.
//
//   cmake -S . -B build -DPV_BENCH=ON && cmake --build build --target bench_recipes
//   QT_QPA_PLATFORM=offscreen build/bench/bench_recipes
//
// Goals: picking a category of 10,000 recipe files fills the file list in under
// 100 ms, of 100,000 in under 1 s; a click on a recipe shows it in under 5 ms.
#include "appfolder.h"
#include "recipebrowserwindow.h"
#include "screenbench.h"
#include "store.h"
#include "windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QByteArray kRecord =
    "\"2\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"cups\",\"\",\"\",\"\",\"\",\"\",\"\","
    "\"\","
    "\"\",\"\",\"flour\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"Mix.\r\nBake.\",\"350\","
    "\"4\",\"1\",\"30\"\r\n";

// An application folder with the categories "Small" (10,000 files) and
// "Large" (100,000 files), made once for all benchmarks.
class BenchFolder {
public:
    BenchFolder() {
        QDir root(dir_.path());
        root.mkpath(QStringLiteral("Category"));
        QFile list(root.filePath(QStringLiteral("Category/category.txt")));
        list.open(QIODevice::WriteOnly);
        list.write("Small\r\nLarge\r\n");
        list.close();
        fill(QStringLiteral("Small"), 10000);
        fill(QStringLiteral("Large"), 100000);
        pv::setApplicationFolder(dir_.path());
    }

private:
    void fill(const QString& category, int files) {
        QDir root(dir_.path());
        root.mkpath(QStringLiteral("Category/") + category);
        for (int i = 0; i < files; ++i) {
            QFile file(root.filePath(QStringLiteral("Category/%1/Recipe %2").arg(category).arg(i)));
            file.open(QIODevice::WriteOnly);
            file.write(kRecord);
        }
    }
    QTemporaryDir dir_;
};

pv::RecipeBrowserWindow* browser() {
    static BenchFolder folder;
    static bool registered = [] {
        pv::windows().registerWindow(pv::WindowId::RecipeBrowser,
                                     [] { return new pv::RecipeBrowserWindow; });
        return true;
    }();
    (void)registered;
    return qobject_cast<pv::RecipeBrowserWindow*>(pv::windows().show(pv::WindowId::RecipeBrowser));
}

void choose(pv::RecipeBrowserWindow* screen, const QString& category) {
    auto* box = screen->findChild<QComboBox*>(QStringLiteral("cboRCat"));
    box->setCurrentIndex(box->findText(category));
}

// The category pick alone: reading the folder and handing the names to the list.
void BM_PickCategory(benchmark::State& state) {
    pv::RecipeBrowserWindow* screen = browser();
    const QString category =
        state.range(0) == 10000 ? QStringLiteral("Small") : QStringLiteral("Large");
    choose(screen, category);
    auto* list = screen->findChild<QListView*>(QStringLiteral("lswRFile"));
    for (auto _ : state) {
        screen->categoryPicked();
        benchmark::DoNotOptimize(list->model()->rowCount());
    }
    state.counters["files"] = list->model()->rowCount();
}
BENCHMARK(BM_PickCategory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The store's part of the pick: the folder listing alone.
void BM_ListRecipeFiles(benchmark::State& state) {
    browser();
    const pv::store::Store store(pv::dataFolder());
    const QString category =
        state.range(0) == 10000 ? QStringLiteral("Small") : QStringLiteral("Large");
    for (auto _ : state) {
        auto names = store.listRecipeFiles(category);
        benchmark::DoNotOptimize(names.value().size());
    }
}
BENCHMARK(BM_ListRecipeFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The pick as the user sees it: the list laid out and painted too.
void BM_PickCategoryAndPaint(benchmark::State& state) {
    pv::RecipeBrowserWindow* screen = browser();
    const QString category =
        state.range(0) == 10000 ? QStringLiteral("Small") : QStringLiteral("Large");
    choose(screen, category);
    auto* list = screen->findChild<QListView*>(QStringLiteral("lswRFile"));
    for (auto _ : state) {
        screen->categoryPicked();
        QCoreApplication::processEvents();
        list->viewport()->repaint();
    }
    state.counters["files"] = list->model()->rowCount();
}
BENCHMARK(BM_PickCategoryAndPaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A click on one recipe of the large category: read it and fill the display.
void BM_ShowRecipe(benchmark::State& state) {
    pv::RecipeBrowserWindow* screen = browser();
    choose(screen, QStringLiteral("Large"));
    screen->categoryPicked();
    auto* list = screen->findChild<QListView*>(QStringLiteral("lswRFile"));
    list->setCurrentIndex(list->model()->index(54321, 0));
    for (auto _ : state) {
        screen->fileClicked();
    }
}
BENCHMARK(BM_ShowRecipe)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return pv::bench::runScreenBenchmarks(argc, argv);
}
