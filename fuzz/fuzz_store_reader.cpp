// Feeds arbitrary bytes to the quoted-field reader, the line reader and the
// Windows-1252 codec, as any file dropped into a category folder would be.
//
// Build and run for one minute (from the repository root):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPV_FUZZ=ON -DPV_SANITIZE=ON -DBUILD_TESTING=OFF
//   cmake --build build-fuzz -j2 --target fuzz_store_reader
//   mkdir -p build-fuzz/corpus-reader
//   build-fuzz/fuzz/fuzz_store_reader build-fuzz/corpus-reader -max_total_time=60 -max_len=65536
#include "cp1252.h"
#include "fieldreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pv::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The reader moves forward on every field and never reads past the end.
    QuotedFieldReader reader(bytes);
    qsizetype fields = 0;
    while (!reader.atEnd()) {
        const auto field = reader.next();
        if (!field) {
            break;
        }
        if (field->size() > bytes.size() || ++fields > bytes.size()) {
            std::abort();
        }
    }

    const QStringList names = parseFieldList(bytes);
    if (names.size() > bytes.size()) {
        std::abort();
    }
    if (splitLines(bytes).size() > bytes.size()) {
        std::abort();
    }

    // Every byte decodes, and the text encodes back to the same bytes.
    const QString text = decodeCp1252(bytes);
    if (firstUnencodable(text) != -1 || encodeCp1252(text) != bytes) {
        std::abort();
    }

    // A record that loads writes back to bytes that load to the same fields
    // (double quotes come back as the right double quotation mark).
    const auto recipe = parseRecipeRecord(bytes);
    if (recipe.ok()) {
        RecipeFields expected = recipe.value();
        for (QString& field : expected) {
            field.replace(QLatin1Char('"'), QChar(0x201D));
        }
        const auto again = parseRecipeRecord(formatRecipeRecord(recipe.value()));
        if (!again.ok() || again.value() != expected) {
            std::abort();
        }
    } else if (recipe.failure().number != 62) {
        std::abort();
    }
    return 0;
}
