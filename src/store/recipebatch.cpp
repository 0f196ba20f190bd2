#include "recipebatch.h"

#include "failures.h"
#include "fieldreader.h"
#include "freename.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#endif

namespace pv::store {
namespace {

// A name longer than a folder entry can hold.
constexpr qsizetype kLongestName = 255;

QString folded(const QString& name) {
    // The fold QString::compare uses ignoring case, which the store's lookups use.
    return name.toCaseFolded();
}

Failure writeFailure(const fs::Path& folder, qsizetype bytes) {
    const qint64 available = fs::bytesAvailable(folder);
    if (available >= 0 && available < bytes + 4096) {
        return fileSystemFailure(kDiskFull);
    }
    return fileSystemFailure(kDeviceIo);
}

#ifdef Q_OS_UNIX

bool writeWhole(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// Renames from to to, never over an entry at to (errno EEXIST then).
bool placeFile(const fs::Path& from, const fs::Path& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return false;
    }
#endif
    // A second name, then the first goes: link never replaces either.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    // A file system without links (FAT on a stick): look, then rename.
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

// Makes what was written below folder durable.
bool flushFiles(const fs::Path& folder) {
#ifdef Q_OS_LINUX
    // One flush of the file system costs about what a single fsync does.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
#else
    // Each file was made durable as it was written.
    Q_UNUSED(folder);
    return true;
#endif
}

void syncFolder(const fs::Path& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The hidden folders of batches whose program no longer runs (a crash or a
// power cut): what they hold was never listed, and goes. On a folder a sync
// tool shares, the folder may be another machine's batch at work, whose
// process number means nothing here: only one untouched for as long as a
// stale save goes (every recipe staged touches it).
void removeAbandoned(const fs::Path& folder) {
    const QByteArray prefix = RecipeBatch::hiddenFolderPrefix();
    const time_t now = ::time(nullptr);
    QList<fs::Path> abandoned;
    fs::forEachEntry(folder, [&](fs::NameView name, const fs::EntryKind& kind) {
        if (!kind.isDir || kind.isLink || !name.startsWith(prefix)) {
            return;
        }
        bool number = false;
        const long pid =
            name.sliced(prefix.size()).toByteArray().split('-').value(0).toLong(&number);
        if (!number || pid <= 0 || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH) {
            return;
        }
        const fs::Path path = fs::join(folder, fs::keepName(name));
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 &&
            now - info.st_mtime >= Store::kStaleSaveSeconds) {
            abandoned.append(path);
        }
    });
    for (const fs::Path& hidden : abandoned) {
        QList<fs::Path> files;
        fs::forEachEntry(hidden, [&](fs::NameView name, const fs::EntryKind&) {
            files.append(fs::join(hidden, fs::keepName(name)));
        });
        for (const fs::Path& file : files) {
            fs::removeFile(file);
        }
        fs::removeFolder(hidden);
    }
}

#endif

}  // namespace

RecipeBatch::RecipeBatch(const Store& store, QString category)
    : store_(store), category_(std::move(category)) {}

RecipeBatch::~RecipeBatch() {
    dropStaging();
}

QByteArray RecipeBatch::hiddenFolderPrefix() {
    return QByteArrayLiteral(".pv-import-");
}

bool RecipeBatch::taken(const QString& name) const {
    return taken_.contains(folded(name));
}

void RecipeBatch::take(const QString& name) {
    taken_.insert(folded(name));
}

Outcome<void> RecipeBatch::open() {
    auto folder = store_.categoryFolder(category_);
    if (!folder) {
        return folder.failure();
    }
    folder_ = folder.value();
    const fs::Status info = fs::status(folder_);
    if (!info.isDir) {
        return fileSystemFailure(info.exists ? kPathFileAccess : kPathNotFound);
    }
    taken_.clear();
    if (!fs::forEachEntry(folder_, [this](fs::NameView name, const fs::EntryKind&) {
            take(fs::shownName(name));
        })) {
        return fileSystemFailure(info.readable ? kPathFileAccess : kPermissionDenied);
    }
#ifdef Q_OS_UNIX
    removeAbandoned(folder_);
    QByteArray pattern = fs::join(folder_, hiddenFolderPrefix() + QByteArray::number(::getpid()) +
                                               QByteArrayLiteral("-XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        return fileSystemFailure(errno == EACCES || errno == EROFS ? kPermissionDenied
                                                                   : kPathFileAccess);
    }
    staging_ = pattern;
    take(fs::shownName(fs::fileNameOf(staging_)));
#endif
    return {};
}

Outcome<QString> RecipeBatch::add(const QString& name, const RecipeFields& fields) {
    if (auto refused = store_.recipeRefusal(category_, name, fields)) {
        return *refused;
    }
    const QString free = firstFreeName(name, [this](const QString& each) { return taken(each); });
    if (fs::encodeName(free).size() > kLongestName) {
        return fileSystemFailure(kPathFileAccess);
    }
    const QByteArray bytes = formatRecipeRecord(fields);
#ifdef Q_OS_UNIX
    if (staging_.isEmpty()) {
        return fileSystemFailure(kPathNotFound);
    }
    const fs::Path staged = fs::join(staging_, QByteArray::number(++counter_));
    const int fd = ::open(staged.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return fileSystemFailure(errno == EACCES ? kPermissionDenied : kPathFileAccess);
    }
    bool written = writeWhole(fd, bytes);
#ifndef Q_OS_LINUX
    written = written && ::fsync(fd) == 0;
#endif
    written = ::close(fd) == 0 && written;
    if (!written) {
        ::unlink(staged.constData());
        return writeFailure(folder_, bytes.size());
    }
    take(free);
    pending_.append({staged, name, free});
#else
    // Elsewhere each file is replaced whole on its own.
    fs::ReplacingFile file(fs::join(folder_, fs::encodeName(free)));
    if (!file.open()) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (!file.write(bytes) || !file.commit()) {
        file.cancel();
        return writeFailure(folder_, bytes.size());
    }
    take(free);
    pending_.append({{}, name, free});
#endif
    return free;
}

QList<RecipeBatch::Placed> RecipeBatch::commit() {
    QList<Placed> placed;
    placed.reserve(pending_.size());
#ifdef Q_OS_UNIX
    const bool durable = pending_.isEmpty() || flushFiles(staging_);
    // Another program may have saved recipes meanwhile: a name of theirs in
    // any letter case is theirs.
    QSet<QString> present;
    if (!pending_.isEmpty()) {
        fs::forEachEntry(folder_, [&present](fs::NameView name, const fs::EntryKind&) {
            present.insert(folded(fs::shownName(name)));
        });
        for (const QString& name : std::as_const(present)) {
            taken_.insert(name);
        }
    }
    for (Waiting& waiting : pending_) {
        if (present.contains(folded(waiting.name))) {
            waiting.name = firstFreeName(waiting.requested,
                                         [this](const QString& each) { return taken(each); });
            take(waiting.name);
        }
        if (!durable) {
            ::unlink(waiting.staged.constData());
            placed.append({waiting.name, fileSystemFailure(kDeviceIo)});
            continue;
        }
        // Or saves one of that very name now.
        bool done = false;
        for (int attempt = 0; attempt < 100 && !done; ++attempt) {
            done = placeFile(waiting.staged, fs::join(folder_, fs::encodeName(waiting.name)));
            if (!done && errno != EEXIST) {
                break;
            }
            if (!done) {
                take(waiting.name);
                waiting.name = firstFreeName(waiting.requested,
                                             [this](const QString& each) { return taken(each); });
                take(waiting.name);
            }
        }
        if (done) {
            placed.append({waiting.name, std::nullopt});
        } else {
            ::unlink(waiting.staged.constData());
            placed.append({waiting.name, fileSystemFailure(kPathFileAccess)});
        }
    }
    if (!pending_.isEmpty()) {
        syncFolder(folder_);
    }
#else
    for (const Waiting& waiting : std::as_const(pending_)) {
        placed.append({waiting.name, std::nullopt});
    }
#endif
    pending_.clear();
    return placed;
}

void RecipeBatch::dropStaging() {
#ifdef Q_OS_UNIX
    for (const Waiting& waiting : std::as_const(pending_)) {
        ::unlink(waiting.staged.constData());
    }
    pending_.clear();
    if (!staging_.isEmpty()) {
        fs::removeFolder(staging_);
        staging_.clear();
    }
#endif
}

}  // namespace pv::store
