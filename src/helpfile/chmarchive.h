#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct chmFile;

namespace pv::help {

// Objects larger than this are refused: no help page, picture or contents file
// comes near it, and a damaged directory can claim any length.
inline constexpr qint64 kMaxObjectSize = 64 * 1024 * 1024;

// Checks the directory of a compiled help file before chmlib walks it: headers,
// page size, every directory page reachable from the index, and that the index
// has no loops (chmlib follows index pages without a bound). False for anything
// chmlib could not walk safely.
bool chmDirectoryIsSound(const QString& path);
// The same check on bytes in memory (used by the fuzz target and the tests).
bool chmDirectoryIsSound(const QByteArray& bytes);

// A compiled help file opened through chmlib. Not copyable; closes on destruction.
class ChmArchive {
public:
    // Null when the file is missing, damaged or not a compiled help file.
    static std::unique_ptr<ChmArchive> open(const QString& path);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // The object at an archive path such as "/index.html" (leading '/' optional);
    // nothing when it is missing, too large or cannot be read whole.
    std::optional<QByteArray> read(const QString& objectPath) const;
    // Paths of the ordinary objects (files) in the archive, as stored.
    QStringList objectPaths() const;

private:
    explicit ChmArchive(chmFile* handle) : handle_(handle) {}
    // Checks the compressed section's reset table and control data, which chmlib
    // trusts when it decompresses; false leaves compressed objects unreadable.
    bool checkCompression();
    std::optional<QByteArray> readRaw(const char* path, int* space = nullptr) const;

    chmFile* handle_;
    bool compressionSound_ = false;
    quint64 uncompressedLength_ = 0;
};

}  // namespace pv::help
