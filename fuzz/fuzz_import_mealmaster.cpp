// Feeds arbitrary bytes to the import of MealMaster files, as any .mmf or .txt
// file a user picks would be. Whatever is imported must export as JSON-LD and
// import back to the same boxes.
//
// Build and run for two minutes (from the repository root):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPV_FUZZ=ON -DPV_SANITIZE=ON -DBUILD_TESTING=OFF
//   cmake --build build-fuzz -j2 --target fuzz_import_mealmaster
//   mkdir -p build-fuzz/corpus-mealmaster
//   build-fuzz/fuzz/fuzz_import_mealmaster build-fuzz/corpus-mealmaster tests/exchange/data \
//       -max_total_time=120 -max_len=65536
#include "jsonldwriter.h"
#include "recipeimporter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pv::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = QStringLiteral("fuzz.mmf");
    const auto read = RecipeImporter::readBytes(bytes, name);
    if (!read.ok()) {
        if (!read.failure().isRefusal() || !read.failure().userMessage.contains(name)) {
            std::abort();
        }
        return 0;
    }
    for (const ImportedRecipe& recipe : read.value()) {
        if (!recipe.canFill()) {
            continue;
        }
        const auto again = RecipeImporter::readBytes(JsonLdWriter::write(recipe.record),
                                                     QStringLiteral("again.json"));
        if (!again.ok() || again.value().size() != 1 ||
            again.value().front().record != recipe.record) {
            std::abort();
        }
    }
    return read.value().isEmpty() ? (std::abort(), 0) : 0;
}
