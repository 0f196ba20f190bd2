#pragma once

#include "store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace pv::store::test {

using namespace Qt::StringLiterals;

// A temporary application folder with the two data roots. Set-up entries, in
// order: "a/" a folder, "a=text" a file of the text's Latin-1 bytes, "a->b" a
// link to b, "-a" removes a, any other "a" a file holding "x".
class Folder {
public:
    explicit Folder(const QStringList& setup = {}) {
        for (const QString& entry : QStringList{"Category/", "Shopping List/"} + setup) {
            const QString name = entry.section(u'=', 0, 0).section(u"->"_s, 0, 0);
            const QString gone = file(entry.mid(1));
            const bool done =
                entry.startsWith(u'-') ? (QFileInfo(gone).isDir() ? QDir(gone).removeRecursively()
                                                                  : QFile::remove(gone))
                : entry.endsWith(u'/') ? mkdir(entry)
                : entry.contains(u"->"_s)
                    ? QFile::link(file(entry.section(u"->"_s, 1)), file(name))
                    : mkdir(QFileInfo(name).path()) &&
                          write(name, entry.contains(u'=') ? entry.section(u'=', 1).toLatin1()
                                                           : QByteArray("x"));
            if (!done) {
                qFatal("Folder set-up failed at %s", qPrintable(entry));
            }
        }
    }
    // QTemporaryDir cannot reach names that are not UTF-8: they go first.
    ~Folder() {
        nftw(
            QFile::encodeName(dir_.path()).constData(),
            [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }
    bool write(const QString& relative, const QByteArray& bytes) const {
        QFile f(file(relative));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    QByteArray read(const QString& relative) const {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(file(relative)); }
    bool mkdir(const QString& relative) const { return QDir(dir_.path()).mkpath(relative); }
    // Entries by the bytes of their names, as an older version of the program
    // may have written them (in Windows-1252); a name ending in '/' is a folder.
    bool put(const QByteArray& relative, const QByteArray& bytes = "x") const {
        const QByteArray path = QFile::encodeName(dir_.path()) + '/' + relative;
        if (relative.endsWith('/')) {
            return ::mkdir(path.constData(), 0777) == 0;
        }
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) ==
                                            ssize_t(bytes.size());
        return fd >= 0 && ::close(fd) == 0 && written;
    }
    QByteArray take(const QByteArray& relative) const {
        QFile f;
        const int fd =
            ::open((QFile::encodeName(dir_.path()) + '/' + relative).constData(), O_RDONLY);
        return fd >= 0 && f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
                   ? f.readAll()
                   : QByteArray("<missing>");
    }
    // Every entry below relative by its bytes, those beyond ASCII as \xnn,
    // folders ending in '/', in byte order.
    QStringList byteTree(const QByteArray& relative = {}) const {
        QStringList all;
        const QByteArray folder = QFile::encodeName(dir_.path()) + '/' + relative;
        DIR* dir = ::opendir(folder.constData());
        while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
                continue;
            }
            const QByteArray path = relative + entry->d_name;
            QString shown;
            for (const char c : path) {
                shown += static_cast<unsigned char>(c) < 0x80
                             ? QString(QLatin1Char(c))
                             : u"\\x"_s + QString::number(static_cast<unsigned char>(c), 16);
            }
            struct stat info {};
            if (::lstat((folder + entry->d_name).constData(), &info) == 0 &&
                S_ISDIR(info.st_mode)) {
                all << shown + u'/' << byteTree(path + '/');
            } else {
                all << shown;
            }
        }
        if (dir) {
            ::closedir(dir);
        }
        all.sort();
        return all;
    }
    // Every entry below the folder with its size, for "nothing changed" checks.
    QStringList tree() const {
        QStringList all;
        QDirIterator it(dir_.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            all.append(it.next().mid(dir_.path().size()) + u' ' +
                       QString::number(it.fileInfo().size()));
        }
        all.sort();
        return all;
    }

private:
    QTemporaryDir dir_;
};

// A recipe file: the given fields quoted, every other field "".
inline QByteArray record(const QList<QPair<int, QByteArray>>& set = {}) {
    QList<QByteArray> fields(kRecipeFieldCount);
    for (const auto& [field, bytes] : set) {
        fields[field - 1] = bytes;
    }
    return '"' + fields.join("\",\"") + "\"\r\n";
}

// "field=text" entries into recipe fields.
inline RecipeFields recipe(const QStringList& set) {
    RecipeFields fields;
    for (const QString& entry : set) {
        fields[entry.section(u'=', 0, 0).toInt() - 1] = entry.section(u'=', 1);
    }
    return fields;
}

// "ok", "refused: <user message>", "<number> <description>" or, for the
// temporary-file failures, the description: one string to compare.
template <typename T>
QString said(const Outcome<T>& outcome) {
    const Failure failure = outcome.ok() ? Failure{} : outcome.failure();
    return outcome.ok()          ? u"ok"_s
           : failure.isRefusal() ? u"refused: "_s + failure.userMessage
           : failure.number != 0 ? QString::number(failure.number) + u' ' + failure.description
                                 : failure.description;
}

}  // namespace pv::store::test
