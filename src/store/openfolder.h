#pragma once

#include "nativefs.h"

#include <QByteArray>

namespace pv::store::fs {

// A folder held open while many of its files are read, so that each file is
// reached by its name alone rather than by walking the whole path again.
class OpenFolder {
public:
    explicit OpenFolder(const Path& folder);
    ~OpenFolder();
    Q_DISABLE_COPY(OpenFolder)

    bool isOpen() const;

    // Reads the regular file of that name in the folder (through links) into
    // bytes, reusing their room. A folder, pipe or device is never read
    // (NotOpened), nor is a file larger than maxSize (Failed).
    ReadResult readFile(const Path& name, QByteArray& bytes, qint64 maxSize) const;

private:
#ifdef Q_OS_UNIX
    int fd_ = -1;
#else
    Path folder_;
#endif
};

}  // namespace pv::store::fs
