// Fuzz target for the help viewer's readers of a compiled help file's contents
// (.hhc) and #SYSTEM record: any bytes must parse without a crash, within the
// entry and depth limits.
//
// Build and run for 60 seconds:
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPV_FUZZ=ON -DPV_SANITIZE=ON -DPV_HELP=OFF
//   cmake --build build-fuzz -j2 --target fuzz_help_contents
//   mkdir -p build-fuzz/corpus-contents && cp help/PVHelp.hhc build-fuzz/corpus-contents/
//   build-fuzz/fuzz/fuzz_help_contents -max_total_time=60 -max_len=65536 build-fuzz/corpus-contents
#include "helpcontents.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QList<pv::help::ContentsEntry> entries = pv::help::parseContents(bytes);
    if (entries.size() > pv::help::kMaxContentsEntries)
        std::abort();
    for (const auto& entry : entries) {
        if (entry.depth < 0 || entry.depth > pv::help::kMaxContentsDepth || entry.name.isEmpty())
            std::abort();
    }

    const pv::help::SystemInfo info = pv::help::parseSystem(bytes);
    if (info.title.size() > bytes.size() || info.defaultTopic.size() > bytes.size() ||
        info.contentsFile.size() > bytes.size())
        std::abort();
    return 0;
}
