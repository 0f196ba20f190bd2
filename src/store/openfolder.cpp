#include "openfolder.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

ReadResult OpenFolder::readFile(const Path& name, QByteArray& bytes, qint64 maxSize) const {
    // A name, never a path: it stays inside the folder.
    if (fd_ < 0 || name.isEmpty() || name.contains('/') || name.contains('\0')) {
        return ReadResult::NotOpened;
    }
    // Non-blocking, so that a pipe put in the file's place cannot hang the
    // reader before fstat turns it away.
    const int fd = ::openat(fd_, name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return ReadResult::NotOpened;
    }
    struct stat info {};
    ReadResult result = ReadResult::Ok;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result = ReadResult::NotOpened;
    } else if (info.st_size > maxSize) {
        result = ReadResult::Failed;
    } else {
        // What the file held when it was opened; growth meanwhile is not waited for.
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                result = ReadResult::Failed;
                break;
            }
            if (got == 0) {
                break;  // cut short meanwhile
            }
            done += got;
        }
        bytes.resize(done);
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

ReadResult OpenFolder::readFile(const Path& name, QByteArray& bytes, qint64 maxSize) const {
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
