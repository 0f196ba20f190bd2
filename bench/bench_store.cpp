// Speed of the store on large folders and typical recipes.
//
// Build and run (from the repository root):
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON -DBUILD_TESTING=OFF
//   cmake --build build-bench -j2 --target bench_store
//   build-bench/bench/bench_store
// Goals: listFolderFiles and Store::listRecipeFiles at most twice a bare
// directory read that also sorts the same names (BM_BareReaddirSorted);
// loadRecipe under 50 us; deleteCategory on 10,000 lines under 20 ms.
#include "store.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace pv::store;

namespace {

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::abort();
    }
}

// The application folder the large folders are categories of.
QString benchApp() {
    return scratch().filePath(QStringLiteral("app-large"));
}

// A category "big<count>" of `count` small recipe files, made once. Names as a
// household has them: most ASCII in both cases, one in eight in Windows-1252
// bytes as an older version wrote them ("Crème brûlée 12" as C r 0xE8 m e ...),
// one in eight in UTF-8 as this one writes them.
QString recipeFolder(int count) {
    static std::map<int, QString> made;
    auto it = made.find(count);
    if (it != made.end()) {
        return it->second;
    }
    const QString folder = benchApp() + QStringLiteral("/Category/big%1").arg(count);
    QDir().mkpath(folder);
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (int i = 0; i < count; ++i) {
        const QByteArray number = QByteArray::number((i * 7919) % count);
        QByteArray name;
        switch (i % 8) {
            case 5:
                name =
                    "Cr\xE8me br\xFBl\xE9"
                    "e " +
                    number;
                break;
            case 6:
                name =
                    "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                    "e " +
                    number;
                break;
            default:
                name = (i % 3 == 0 ? "Recipe " : "recipe ") + number;
        }
        const int fd = ::open((base + name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || ::write(fd, "\"\"\r\n", 4) != 4 || ::close(fd) != 0) {
            std::abort();
        }
    }
    // Written back now, not while a listing is timed.
    ::sync();
    made.emplace(count, folder);
    return folder;
}

// Empties a folder of recipeFolder by the bytes of its names: the temporary
// folder's own removal goes by text, which names in Windows-1252 do not reach.
void removeFiles(const QByteArray& folder) {
    for (bool removed = true; removed;) {
        removed = false;
        DIR* dir = opendir(folder.constData());
        if (!dir) {
            return;
        }
        while (const dirent* entry = readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                removed = ::unlinkat(dirfd(dir), entry->d_name, 0) == 0 || removed;
            }
        }
        closedir(dir);
    }
}

RecipeFields typicalRecipe() {
    RecipeFields fields;
    const char* lines[][3] = {{"2", "cups", "flour"},  {"1", "tsp", "salt"},
                              {"3", "", "eggs"},       {"250", "ml", "milk"},
                              {"1/2", "cup", "sugar"}, {"2", "tbsp", "butter, melted"}};
    for (int i = 0; i < 6; ++i) {
        fields[amountField(i + 1) - 1] = QString::fromLatin1(lines[i][0]);
        fields[measureField(i + 1) - 1] = QString::fromLatin1(lines[i][1]);
        fields[ingredientField(i + 1) - 1] = QString::fromLatin1(lines[i][2]);
    }
    fields[kDirectionsField - 1] = QStringLiteral(
        "Mix the flour, salt and sugar.\r\nBeat the eggs into the milk and butter, then fold into "
        "the dry ingredients.\r\nRest for half an hour.\r\nBake in a buttered tin until golden "
        "and a skewer comes out clean.\r\nCool on a rack before slicing.");
    fields[kTemperatureField - 1] = QStringLiteral("180");
    fields[kServingSizeField - 1] = QStringLiteral("8");
    fields[kHoursField - 1] = QStringLiteral("1");
    fields[kMinutesField - 1] = QStringLiteral("15");
    return fields;
}

// An application folder with one category holding the typical recipe.
std::unique_ptr<Store> recipeStore() {
    const QString app = scratch().filePath(QStringLiteral("app"));
    QDir().mkpath(app + QStringLiteral("/Category/Breads"));
    auto store = std::make_unique<Store>(app);
    if (!store->saveRecipe(QStringLiteral("Breads"), QStringLiteral("Soda bread"),
                           typicalRecipe())) {
        std::abort();
    }
    return store;
}

void BM_ListFolderFiles(benchmark::State& state) {
    const QString folder = recipeFolder(int(state.range(0)));
    for (auto _ : state) {
        auto names = listFolderFiles(folder);
        if (!names || names.value().size() != state.range(0) + 1) {
            state.SkipWithError("wrong listing");
            break;
        }
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_ListFolderFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The recipe browser's road: the category resolved, then its folder listed.
void BM_ListRecipeFiles(benchmark::State& state) {
    recipeFolder(int(state.range(0)));
    const Store store(benchApp());
    const QString category = QStringLiteral("big%1").arg(state.range(0));
    for (auto _ : state) {
        auto names = store.listRecipeFiles(category);
        if (!names || names.value().size() != state.range(0) + 1) {
            state.SkipWithError("wrong listing");
            break;
        }
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_ListRecipeFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Baseline: the plain Qt directory read, unsorted, regular files only.
void BM_BareQDirEntryList(benchmark::State& state) {
    const QString folder = recipeFolder(int(state.range(0)));
    for (auto _ : state) {
        QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_BareQDirEntryList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

std::vector<std::string> readNames(const QByteArray& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.constData());
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    closedir(dir);
    return names;
}

// Baseline: readdir alone, names as bytes, no type test and no sorting.
void BM_BareReaddir(benchmark::State& state) {
    const QByteArray folder = QFile::encodeName(recipeFolder(int(state.range(0))));
    for (auto _ : state) {
        std::vector<std::string> names = readNames(folder);
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_BareReaddir)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Baseline for the listings' goal: readdir and the same order (ignoring case,
// ties by exact name) on the bytes, with no text made.
void BM_BareReaddirSorted(benchmark::State& state) {
    const QByteArray folder = QFile::encodeName(recipeFolder(int(state.range(0))));
    for (auto _ : state) {
        std::vector<std::string> names = readNames(folder);
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            const int byCase = strcasecmp(a.c_str(), b.c_str());
            return byCase != 0 ? byCase < 0 : a < b;
        });
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_BareReaddirSorted)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadRecipe(benchmark::State& state) {
    auto store = recipeStore();
    for (auto _ : state) {
        auto fields = store->loadRecipe(QStringLiteral("Breads"), QStringLiteral("Soda bread"));
        if (!fields) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(BM_LoadRecipe)->Unit(benchmark::kMicrosecond);

void BM_SaveRecipe(benchmark::State& state) {
    auto store = recipeStore();
    const RecipeFields fields = typicalRecipe();
    for (auto _ : state) {
        if (!store->saveRecipe(QStringLiteral("Breads"), QStringLiteral("Soda bread"), fields)) {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveRecipe)->Unit(benchmark::kMicrosecond);

// A new name in a large category: the name is first looked for ignoring
// case among every entry of the folder.
void BM_SaveNewRecipeInLargeFolder(benchmark::State& state) {
    const QString folder = recipeFolder(int(state.range(0)));
    Store store(benchApp());
    const QString category = QStringLiteral("big%1").arg(state.range(0));
    const RecipeFields fields = typicalRecipe();
    for (auto _ : state) {
        if (!store.saveRecipe(category, QStringLiteral("A new recipe"), fields)) {
            state.SkipWithError("save failed");
            break;
        }
        state.PauseTiming();
        QFile::remove(folder + QStringLiteral("/A new recipe"));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveNewRecipeInLargeFolder)->Arg(10000)->Unit(benchmark::kMillisecond);

// The rewrite of a 10,000-line list. The category has no folder, so the
// folder removal is a single failed look-up and the time is the rewrite's.
void BM_DeleteCategory(benchmark::State& state) {
    const QString app = scratch().filePath(QStringLiteral("delete"));
    QDir().mkpath(app + QStringLiteral("/Category"));
    QByteArray list;
    for (int i = 0; i < 10000; ++i) {
        list += "Category number " + QByteArray::number(i) + "\r\n";
    }
    const QString listPath = app + QStringLiteral("/Category/category.txt");
    Store store(app);
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(listPath, list);
        state.ResumeTiming();
        DeleteHooks hooks{{}, [&](int removed) { count = removed; }};
        auto result = store.deleteCategory(QStringLiteral("Category number 5000"), hooks);
        benchmark::DoNotOptimize(result);
    }
    if (count != 1) {
        state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_DeleteCategory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // Both folders made, and listed once, before anything is timed: the
    // first listing of a run would also pay for growing the process's heap.
    for (const int count : {10000, 100000}) {
        if (!listFolderFiles(recipeFolder(count))) {
            return 1;
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const int count : {10000, 100000}) {
        removeFiles(QFile::encodeName(recipeFolder(count)));
    }
    return 0;
}
