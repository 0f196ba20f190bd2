#include "openfolder.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#else
#include <QFile>
#include <QFileInfo>
#endif

namespace pv::store::fs {

#ifdef Q_OS_UNIX

OpenFolder::OpenFolder(const Path& folder) {
    if (!folder.contains('\0')) {
        fd_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool OpenFolder::isOpen() const {
    return fd_ >= 0;
}

namespace {

// Room for a first read: most recipes are a few hundred bytes.
constexpr qsizetype kFirstRoom = 16 * 1024;

enum class Kind { Regular, Other, Unknown };

// The kind and size of an open file; size -1 when it cannot be told.
Kind kindOf(int fd, qint64& size) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        size = -1;
        return Kind::Unknown;
    }
    size = info.st_size;
    return S_ISREG(info.st_mode) ? Kind::Regular : Kind::Other;
}

// Reads fd to its end into bytes, reusing their room; size is the file's size
// when known, else -1.
ReadResult readOpenFile(int fd, QByteArray& bytes, qint64 maxSize, qint64 size) {
    // One more byte than the file holds, so that the read that fills it also
    // shows its end. What the file grows by meanwhile is not waited for.
    const auto roomFor = [maxSize](qint64 wanted) {
        return qsizetype(std::min(wanted, maxSize + 1));
    };
    bytes.resize(roomFor(size >= 0 ? size + 1 : std::max(bytes.capacity(), kFirstRoom)));
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            // Full: larger than the first guess, or than maxSize.
            if (size < 0) {
                if (kindOf(fd, size) != Kind::Regular) {
                    return ReadResult::NotOpened;
                }
            }
            if (done > maxSize || size > maxSize) {
                return ReadResult::Failed;
            }
            bytes.resize(roomFor(std::max(size + 1, qint64(done) * 2)));
        }
        const qsizetype wanted = bytes.size() - done;
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(wanted));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.resize(0);
            // A folder, or a pipe put where a file was listed.
            return errno == EISDIR || errno == EAGAIN ? ReadResult::NotOpened : ReadResult::Failed;
        }
        done += got;
        // A regular file reads short only at its end.
        if (got < wanted) {
            break;
        }
    }
    bytes.resize(done);
    return ReadResult::Ok;
}

}  // namespace

ReadResult OpenFolder::readFile(const Path& name, QByteArray& bytes, qint64 maxSize,
                                bool plainFile) const {
    // A name, never a path: it stays inside the folder.
    if (fd_ < 0 || name.isEmpty() || name.contains('/') || name.contains('\0')) {
        return ReadResult::NotOpened;
    }
    // Non-blocking, so that a pipe put in the file's place cannot hang the
    // reader before it is turned away.
    const int fd =
        ::openat(fd_, name.constData(),
                 O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (plainFile ? O_NOFOLLOW : 0));
    if (fd < 0) {
        return ReadResult::NotOpened;
    }
    ReadResult result = ReadResult::Ok;
    qint64 size = -1;
    if (!plainFile && kindOf(fd, size) != Kind::Regular) {
        result = ReadResult::NotOpened;
    } else if (size > maxSize) {
        result = ReadResult::Failed;
    } else {
        result = readOpenFile(fd, bytes, maxSize, size);
    }
    ::close(fd);
    return result;
}

#else

OpenFolder::OpenFolder(const Path& folder) : folder_(folder) {}

OpenFolder::~OpenFolder() = default;

bool OpenFolder::isOpen() const {
    return QFileInfo(folder_).isDir();
}

ReadResult OpenFolder::readFile(const Path& name, QByteArray& bytes, qint64 maxSize, bool) const {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        return ReadResult::NotOpened;
    }
    const QString path = join(folder_, name);
    const QFileInfo info(path);
    if (!info.isFile()) {
        return ReadResult::NotOpened;
    }
    if (info.size() > maxSize) {
        return ReadResult::Failed;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ReadResult::NotOpened;
    }
    bytes = file.read(maxSize);
    return file.error() == QFileDevice::NoError ? ReadResult::Ok : ReadResult::Failed;
}

#endif

}  // namespace pv::store::fs
