#include "paths.h"

#include "failures.h"
#include "store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace pv::store {

QString findIgnoringCase(const QString& folder, const QString& name) {
    QString best;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString candidate = it.fileName();
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 &&
            (best.isEmpty() || candidate < best)) {
            best = candidate;
        }
    }
    return best;
}

QString resolveBelow(const QString& base, const QString& relativePath) {
    QString current = base;
    bool searching = true;
    const QStringList parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        current += QLatin1Char('/');
        if (searching && part != QLatin1String(".") && part != QLatin1String("..")) {
            if (QFileInfo::exists(current + part)) {
                current += part;
                continue;
            }
            const QString match = findIgnoringCase(current, part);
            if (!match.isEmpty()) {
                current += match;
                continue;
            }
            // Nothing below a missing entry can exist.
            searching = false;
        }
        current += part;
    }
    return current;
}

namespace {

// One listed file: its name as UTF-8 bytes and the same name case-folded, the
// sort key. Short names stay inside std::string, so sorting touches no heap.
struct ListedName {
    std::string key;
    std::string name;
    bool operator<(const ListedName& other) const {
        const int byKey = key.compare(other.key);
        return byKey != 0 ? byKey < 0 : name < other.name;
    }
};

void addName(std::vector<ListedName>& names, const char* utf8) {
    ListedName entry{{}, utf8};
    bool ascii = true;
    entry.key = entry.name;
    for (char& c : entry.key) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    if (!ascii) {
        entry.key = QString::fromStdString(entry.name).toCaseFolded().toStdString();
    }
    names.push_back(std::move(entry));
}

// The regular files of a folder (links to regular files included), unsorted.
// False when the folder cannot be read.
bool readFileNames(const QString& folderPath, std::vector<ListedName>& names) {
#ifdef Q_OS_UNIX
    // readdir's entry type saves a status call per file, which is most of the
    // time on large folders.
    const QByteArray encoded = QFile::encodeName(folderPath);
    DIR* dir = opendir(encoded.constData());
    if (!dir) {
        return false;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFile = fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (isFile) {
            addName(names, entry->d_name);
        }
    }
    closedir(dir);
    return true;
#else
    QDirIterator it(folderPath, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        addName(names, it.fileName().toStdString().c_str());
    }
    return true;
#endif
}

}  // namespace

Outcome<QStringList> listFolderFiles(const QString& folderPath) {
    std::vector<ListedName> names;
    if (!QFileInfo(folderPath).isDir() || !readFileNames(folderPath, names)) {
        return fileSystemFailure(kPathNotFound);
    }
    // By name ignoring case, ties by exact name, so every machine shows one order.
    std::sort(names.begin(), names.end());
    QStringList sorted;
    sorted.reserve(qsizetype(names.size()) + 1);
    for (const ListedName& entry : names) {
        sorted.append(QString::fromStdString(entry.name));
    }
    sorted.append(QString());  // the spare entry callers stop before
    return sorted;
}

}  // namespace pv::store
