// Feeds arbitrary bytes to the import of MealMaster files, as any .mmf or .txt
// file a user picks would be. Whatever is imported must export as JSON-LD and
// import back to the same boxes.
//
// Run for a bounded time with its dictionary, seeds and limits (inputs up to
// 256 kB, 5 s and 1 GB each, no single allocation over 256 MB): the limits
// catch text that multiplies or work that grows with the square of the
// input:
//   bash scripts/fuzz.sh 180 fuzz_import_mealmaster
#include "importcheck.h"

#include <cstddef>
#include <cstdint>

using namespace pv::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkImport(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)),
                QStringLiteral("fuzz.mmf"));
    return 0;
}
