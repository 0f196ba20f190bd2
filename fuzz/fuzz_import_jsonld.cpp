// Feeds arbitrary bytes to the import of schema.org recipes, once as a .json
// file and once as a saved web page (libxml2's HTML parser), as any file a
// user picks would be. Whatever is imported must export and import back to
// the same boxes.
//
// Build and run for two minutes (from the repository root):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPV_FUZZ=ON -DPV_SANITIZE=ON -DBUILD_TESTING=OFF
//   cmake --build build-fuzz -j2 --target fuzz_import_jsonld
//   mkdir -p build-fuzz/corpus-jsonld
//   build-fuzz/fuzz/fuzz_import_jsonld build-fuzz/corpus-jsonld tests/exchange/data \
//       -max_total_time=120 -max_len=65536
#include "importcheck.h"

#include <cstddef>
#include <cstdint>

using namespace pv::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkImport(bytes, QStringLiteral("fuzz.json"));
    checkImport(bytes, QStringLiteral("fuzz.html"));
    return 0;
}
