// Feeds arbitrary names and texts to the store's write and delete operations
// and checks that nothing outside the application folder is touched, whatever
// the name holds.
//
// Build and run for one minute (from the repository root):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPV_FUZZ=ON -DPV_SANITIZE=ON -DBUILD_TESTING=OFF
//   cmake --build build-fuzz -j2 --target fuzz_store_names
//   mkdir -p build-fuzz/corpus-names
//   build-fuzz/fuzz/fuzz_store_names build-fuzz/corpus-names -max_total_time=60 -max_len=512
#include "store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pv::store;

namespace {

struct Sandbox {
    QTemporaryDir outer;
    QString app = outer.filePath(QStringLiteral("app"));
    QString sentinel = outer.filePath(QStringLiteral("sentinel"));

    Sandbox() {
        QDir().mkpath(app + QStringLiteral("/Category/Soups"));
        QDir().mkpath(app + QStringLiteral("/Shopping List"));
        QDir().mkpath(sentinel);
        QFile file(sentinel + QStringLiteral("/keep"));
        if (!file.open(QIODevice::WriteOnly) || file.write("keep") != 4) {
            std::abort();
        }
    }

    // Only the application folder and the sentinel lie beside each other, the
    // sentinel unchanged, the two data roots still there.
    void check() const {
        const QStringList outside =
            QDir(outer.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QFile keep(sentinel + QStringLiteral("/keep"));
        if (outside != QStringList{QStringLiteral("app"), QStringLiteral("sentinel")} ||
            !keep.open(QIODevice::ReadOnly) || keep.readAll() != "keep" ||
            !QDir(app + QStringLiteral("/Category")).exists() ||
            !QDir(app + QStringLiteral("/Shopping List")).exists()) {
            std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Sandbox sandbox;
    if (size < 1) {
        return 0;
    }
    // First byte picks the operation; the rest, split at the first NUL, gives
    // a name and a text.
    const QString rest =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype split = rest.indexOf(QChar(0));
    const QString name = split < 0 ? rest : rest.left(split);
    const QString text = split < 0 ? QString() : rest.mid(split + 1);
    Store store(sandbox.app);
    RecipeFields fields;
    fields[kDirectionsField - 1] = text;
    switch (data[0] % 8) {
        case 0:
            (void)store.createCategory(name);
            break;
        case 1:
            (void)store.deleteCategory(name);
            break;
        case 2:
            (void)store.saveRecipe(QStringLiteral("Soups"), name, fields);
            break;
        case 3:
            (void)store.saveRecipe(name, QStringLiteral("Stew"), fields);
            break;
        case 4:
            (void)store.saveShoppingList(name, text);
            break;
        case 5:
            (void)store.deleteShoppingList(name);
            (void)store.deleteRecipe(QStringLiteral("Soups"), name);
            break;
        case 6:
            (void)store.removePath(sandbox.app + QStringLiteral("/Category/") + name);
            break;
        default:
            (void)store.openShoppingList(name);
            (void)store.loadRecipe(QStringLiteral("Soups"), name);
            (void)store.listRecipeFiles(name);
            break;
    }
    sandbox.check();
    // Keep the category the operations write into.
    QDir().mkpath(sandbox.app + QStringLiteral("/Category/Soups"));
    return 0;
}
