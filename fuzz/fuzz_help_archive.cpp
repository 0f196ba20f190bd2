// Fuzz target for opening a damaged compiled help file: the directory check, then
// (when it passes) chmlib opening the file and reading the objects the viewer
// reads. Nothing may crash or hang.
//
// Build and run for 60 seconds (seeded with the compiled help file):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPV_FUZZ=ON -DPV_SANITIZE=ON -DPV_HELP=OFF
//   cmake --build build-fuzz -j2 --target fuzz_help_archive pv_help
//   mkdir -p build-fuzz/corpus-chm
//   cp build-fuzz/app/Documentation/PVHelp.chm build-fuzz/corpus-chm/
//   build-fuzz/fuzz/fuzz_help_archive -max_total_time=60 -max_len=131072 -timeout=10 \
//       build-fuzz/corpus-chm
#include "chmarchive.h"
#include "helpcontents.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!pv::help::chmDirectoryIsSound(bytes))
        return 0;

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.chm"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            return 0;
    }
    auto archive = pv::help::ChmArchive::open(path);
    if (!archive)
        return 0;
    pv::help::SystemInfo info;
    if (auto system = archive->read(QStringLiteral("/#SYSTEM")))
        info = pv::help::parseSystem(*system);
    if (!info.contentsFile.isEmpty()) {
        if (auto contents = archive->read(info.contentsFile))
            pv::help::parseContents(*contents);
    }
    const QStringList paths = archive->objectPaths();
    int reads = 0;
    for (const QString& object : paths) {
        if (++reads > 16)
            break;
        archive->read(object);
    }
    return 0;
}
