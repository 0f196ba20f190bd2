// Feeds arbitrary bytes to the import of schema.org recipes, once as a .json
// file and once as a saved web page (libxml2's HTML parser), as any file a
// user picks would be. Whatever is imported must export and import back to
// the same boxes.
//
// Run for a bounded time with its dictionary, seeds and limits (inputs up to
// 256 kB, 5 s and 1 GB each, no single allocation over 256 MB): the limits
// catch text that multiplies or work that grows with the square of the
// input:
//   bash scripts/fuzz.sh 180 fuzz_import_jsonld
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
