#include "nativefs.h"

#include "cp1252.h"

#include <QFile>
#include <QList>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>
#endif

namespace pv::store::fs {

Path join(const Path& folder, const Path& name) {
    Path path = folder;
    path += '/';
    path += name;
    return path;
}

Path parentOf(const Path& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return Path(1, '.');
    }
    return slash == 0 ? Path(1, '/') : path.left(slash);
}

Path fileNameOf(const Path& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

#ifdef Q_OS_UNIX

namespace {

// The path for a system call, or nullptr when it holds a NUL, which would
// silently cut it short.
const char* systemPath(const Path& path) {
    return path.contains('\0') ? nullptr : path.constData();
}

}  // namespace

Path fromText(const QString& path) {
    return QFile::encodeName(path);
}

QString toText(const Path& path) {
    return QFile::decodeName(path);
}

Path encodeName(const QString& name) {
    return name.toUtf8();
}

bool isAscii(NameView name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString shownName(NameView name) {
    if (isAscii(name)) {
        return QString::fromLatin1(name);
    }
    if (!name.isValidUtf8()) {
        return decodeCp1252(name);
    }
    // A byte order mark at the start is part of the name.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(name);
}

Path keepName(NameView name) {
    return name.toByteArray();
}

Status status(const Path& path) {
    Status result;
    const char* name = systemPath(path);
    struct stat info {};
    if (!name || lstat(name, &info) != 0) {
        return result;
    }
    result.isLink = S_ISLNK(info.st_mode);
    if (result.isLink && stat(name, &info) != 0) {
        return result;  // a link that leads nowhere
    }
    result.exists = true;
    result.isFile = S_ISREG(info.st_mode);
    result.isDir = S_ISDIR(info.st_mode);
    result.readable = access(name, R_OK) == 0;
    result.writable = access(name, W_OK) == 0;
    return result;
}

bool entryExists(const Path& path) {
    const char* name = systemPath(path);
    struct stat info {};
    return name && lstat(name, &info) == 0;
}

bool forEachEntry(const Path& folder,
                  const std::function<void(NameView name, const EntryKind& kind)>& visit) {
    const char* folderName = systemPath(folder);
    DIR* dir = folderName ? opendir(folderName) : nullptr;
    if (!dir) {
        return false;
    }
    // readdir's entry type saves a status call per entry, which is most of the
    // time on large folders.
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        EntryKind kind;
        kind.isFile = entry->d_type == DT_REG;
        kind.isDir = entry->d_type == DT_DIR;
        struct stat info {};
        if ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
            fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            kind.isLink = S_ISLNK(info.st_mode);
            if (!kind.isLink || fstatat(dirFd, name, &info, 0) == 0) {
                kind.isFile = S_ISREG(info.st_mode);
                kind.isDir = S_ISDIR(info.st_mode);
            }
        }
        visit(NameView(name, qsizetype(std::strlen(name))), kind);
    }
    closedir(dir);
    return true;
}

ReadResult readAll(const Path& path, QByteArray& bytes) {
    const char* name = systemPath(path);
    // Non-blocking, so that a pipe put in the file's place cannot hang the program.
    const int fd = name ? ::open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
    if (fd < 0) {
        return ReadResult::NotOpened;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return ReadResult::NotOpened;
    }
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? ReadResult::Ok : ReadResult::Failed;
}

bool removeFile(const Path& path) {
    const char* name = systemPath(path);
    return name && ::unlink(name) == 0;
}

bool makeFolder(const Path& path) {
    const char* name = systemPath(path);
    return name && ::mkdir(name, 0777) == 0;
}

bool removeFolder(const Path& path) {
    const char* name = systemPath(path);
    return name && ::rmdir(name) == 0;
}

Path canonical(const Path& path) {
    const char* name = systemPath(path);
    char* resolved = name ? ::realpath(name, nullptr) : nullptr;
    if (!resolved) {
        return {};
    }
    Path result(resolved);
    std::free(resolved);
    return result;
}

qint64 bytesAvailable(const Path& folder) {
    const char* name = systemPath(folder);
    struct statvfs info {};
    if (!name || statvfs(name, &info) != 0) {
        return -1;
    }
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

namespace {

const QByteArray kTempPrefix = QByteArrayLiteral(".pv-save-");

// ".pv-save-<random>-<name>", cut to what a folder entry can hold.
Path tempName(const Path& name) {
    constexpr qsizetype kLongestName = 255;
    Path temp = kTempPrefix + QByteArray::number(QRandomGenerator::global()->generate(), 36) + '-';
    temp += name.left(kLongestName - temp.size());
    return temp;
}

}  // namespace

bool isReplacingFileTemp(NameView name) {
    return name.startsWith(kTempPrefix);
}

int removeStaleTemps(const Path& folder, qint64 minAgeSeconds) {
    QList<Path> stale;
    const time_t now = ::time(nullptr);
    forEachEntry(folder, [&](NameView name, const EntryKind& kind) {
        if (!kind.isFile || kind.isLink || !isReplacingFileTemp(name)) {
            return;
        }
        const Path path = join(folder, keepName(name));
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && now - info.st_mtime >= minAgeSeconds) {
            stale.append(path);
        }
    });
    int removed = 0;
    for (const Path& path : stale) {
        removed += removeFile(path) ? 1 : 0;
    }
    return removed;
}

ReplacingFile::ReplacingFile(const Path& path) : path_(path) {}

ReplacingFile::~ReplacingFile() {
    cancel();
}

bool ReplacingFile::open() {
    cancel();
    // Through links to the file they name, or would name, as QSaveFile does.
    for (int depth = 0; depth < 128; ++depth) {
        const char* name = systemPath(path_);
        struct stat info {};
        if (!name) {
            return false;
        }
        if (lstat(name, &info) != 0 || !S_ISLNK(info.st_mode)) {
            break;
        }
        char target[PATH_MAX];
        const ssize_t size = ::readlink(name, target, sizeof target);
        if (size <= 0 || size_t(size) >= sizeof target) {
            return false;
        }
        const Path link(target, size);
        path_ = link.startsWith('/') ? link : join(parentOf(path_), link);
    }
    struct stat existing {};
    const bool exists = ::stat(path_.constData(), &existing) == 0;
    // Private until it takes the file's place, when it gets the file's permissions.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = join(parentOf(path_), tempName(fileNameOf(path_)));
        fd_ = ::open(temp_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                     exists ? 0600 : 0666);
        if (fd_ < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        temp_.clear();
        return false;
    }
    if (exists && ::fchmod(fd_, existing.st_mode & 07777) != 0) {
        cancel();
        return false;
    }
    return true;
}

bool ReplacingFile::write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t written = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += written;
    }
    return fd_ >= 0;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) {
        return false;
    }
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || ::rename(temp_.constData(), path_.constData()) != 0) {
        cancel();
        return false;
    }
    temp_.clear();
    return true;
}

void ReplacingFile::cancel() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.isEmpty()) {
        ::unlink(temp_.constData());
        temp_.clear();
    }
}

#else

Path fromText(const QString& path) {
    return path;
}

QString toText(const Path& path) {
    return path;
}

Path encodeName(const QString& name) {
    return name;
}

bool isAscii(NameView name) {
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
}

QString shownName(NameView name) {
    return name.toString();
}

Path keepName(NameView name) {
    return name.toString();
}

Status status(const Path& path) {
    const QFileInfo info(path);
    Status result;
    result.exists = info.exists();
    result.isLink = info.isSymLink();
    result.isFile = info.isFile();
    result.isDir = info.isDir();
    result.readable = info.isReadable();
    result.writable = info.isWritable();
    return result;
}

bool entryExists(const Path& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool forEachEntry(const Path& folder,
                  const std::function<void(NameView name, const EntryKind& kind)>& visit) {
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        visit(it.fileName(), {info.isSymLink(), info.isFile(), info.isDir()});
    }
    return true;
}

ReadResult readAll(const Path& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ReadResult::NotOpened;
    }
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? ReadResult::Ok : ReadResult::Failed;
}

bool removeFile(const Path& path) {
    return QFile::remove(path);
}

bool makeFolder(const Path& path) {
    return QDir().mkdir(path);
}

bool removeFolder(const Path& path) {
    return QDir().rmdir(path);
}

Path canonical(const Path& path) {
    return QFileInfo(path).canonicalFilePath();
}

qint64 bytesAvailable(const Path& folder) {
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

ReplacingFile::ReplacingFile(const Path& path) : file_(path) {}

ReplacingFile::~ReplacingFile() = default;

bool ReplacingFile::open() {
    // Unbuffered, so that a short write shows in write()'s count.
    return file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool ReplacingFile::write(const QByteArray& bytes) {
    return file_.write(bytes) == bytes.size();
}

bool ReplacingFile::commit() {
    return file_.commit();
}

void ReplacingFile::cancel() {
    if (file_.isOpen()) {
        file_.cancelWriting();
    }
}

bool isReplacingFileTemp(NameView) {
    return false;  // QSaveFile names its own
}

int removeStaleTemps(const Path&, qint64) {
    return 0;
}

#endif

}  // namespace pv::store::fs
