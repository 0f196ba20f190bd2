#pragma once

#include <QtGlobal>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

#ifndef Q_OS_UNIX
#include <QSaveFile>
#endif

namespace pv::store::fs {

// A path as the file system takes it. On POSIX systems these are the bytes of
// the names, which need not be UTF-8: a folder copied from an older version of
// the program can hold names in Windows-1252, which no QString path reaches.
// Elsewhere the file system takes text.
#ifdef Q_OS_UNIX
using Path = QByteArray;
using NameView = QByteArrayView;
#else
using Path = QString;
using NameView = QStringView;
#endif

// A whole path given as text, and back (lossy where a name is not UTF-8).
Path fromText(const QString& path);
QString toText(const Path& path);

// One name as the program writes it: UTF-8.
Path encodeName(const QString& name);
// One listed name as the program shows it: its UTF-8 text, or its Windows-1252
// text where the bytes are not UTF-8.
QString shownName(NameView name);
// A copy of a listed name that outlives the listing.
Path keepName(NameView name);
bool isAscii(NameView name);

Path join(const Path& folder, const Path& name);
Path parentOf(const Path& path);
Path fileNameOf(const Path& path);

struct Status {
    bool exists = false;  // the entry, or what its link leads to
    bool isLink = false;
    bool isFile = false;  // a regular file, through links
    bool isDir = false;   // a folder, through links
    bool readable = false;
    bool writable = false;
};
Status status(const Path& path);
// Whether there is an entry of that name at all (a dangling link counts).
bool entryExists(const Path& path);

struct EntryKind {
    bool isLink = false;
    bool isFile = false;  // through links
    bool isDir = false;   // through links
};
// Calls visit with the name and kind of every entry of folder but "." and "..".
// The name is valid only during the call. False when the folder cannot be read.
bool forEachEntry(const Path& folder,
                  const std::function<void(NameView name, const EntryKind& kind)>& visit);

enum class ReadResult { Ok, NotOpened, Failed };
ReadResult readAll(const Path& path, QByteArray& bytes);

bool removeFile(const Path& path);  // a link goes, never what it leads to
bool makeFolder(const Path& path);
bool removeFolder(const Path& path);  // an empty one
// The path with every link and relative part resolved; empty when it does not exist.
Path canonical(const Path& path);
// Free bytes on the file system of folder; -1 when unknown.
qint64 bytesAvailable(const Path& folder);

// A file written beside its final path and renamed over it on commit, so a
// failure leaves the previous file whole. A link is followed: its target is
// replaced. An existing file keeps its permissions. The file being written is
// hidden and named ".pv-save-<random>-<name>", so that a listing never shows
// it, even after the program died mid-save, and a later start can find it.
class ReplacingFile {
public:
    explicit ReplacingFile(const Path& path);
    ~ReplacingFile();
    Q_DISABLE_COPY(ReplacingFile)

    // Makes the temporary file; false when it cannot be made.
    bool open();
    // Writes every byte, or fails.
    bool write(const QByteArray& bytes);
    // Puts the file in place of the path; false when that failed (the path
    // then keeps what it held).
    bool commit();
    // Drops the temporary file.
    void cancel();

private:
#ifdef Q_OS_UNIX
    Path path_;
    Path temp_;
    int fd_ = -1;
#else
    QSaveFile file_;
#endif
};

// Whether a name is that of a ReplacingFile's temporary file.
bool isReplacingFileTemp(NameView name);
// Removes the temporary files of ReplacingFile in folder (not below it) last
// written at least minAgeSeconds ago: left by a save that never finished. A
// younger one may belong to a save still running in another copy of the
// program. Returns how many went.
int removeStaleTemps(const Path& folder, qint64 minAgeSeconds);

}  // namespace pv::store::fs
