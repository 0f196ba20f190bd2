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
    // (NotOpened), nor more of a file than maxSize bytes (a larger file is
    // Failed).
    //
    // plainFile: a listing of the folder has just found the entry a regular
    // file of its own, not a link. It is then opened without following links
    // and read without a separate question about its kind, one system call
    // less per file; only a file that fills the room it is first read into
    // is asked its kind and size. What is put in its place meanwhile is not
    // waited for: a link is not opened, a folder is not read, a pipe reads as
    // nothing.
    ReadResult readFile(const Path& name, QByteArray& bytes, qint64 maxSize,
                        bool plainFile = false) const;

private:
#ifdef Q_OS_UNIX
    int fd_ = -1;
#else
    Path folder_;
#endif
};

}  // namespace pv::store::fs
