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
#include "importcheck.h"

#include <cstddef>
#include <cstdint>

using namespace pv::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkImport(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)),
                QStringLiteral("fuzz.mmf"));
    return 0;
}
