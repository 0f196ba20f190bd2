#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace pv::test {

// A fresh temporary folder with the two data roots, "Category" and "Shopping
// List", removed with all it holds, names that are not UTF-8 too. Set-up
// entries, in order: "a/" a folder, "a=text" a file of the text's Latin-1
// bytes, "a->b" a link to b, "-a" removes a, any other "a" a file holding "x".
class TempFolder {
public:
    explicit TempFolder(const QStringList& setup = {});
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }
    // Makes the folders on the way.
    bool write(const QString& relative, const QByteArray& bytes) const;
    // "<missing>" for a file that cannot be read.
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    bool mkdir(const QString& relative) const;
    // By the bytes of the names, which an older version of the program may have
    // written in Windows-1252: a name ending in '/' makes a folder.
    bool writeNative(const QByteArray& relative, const QByteArray& bytes = "x") const;
    QByteArray readNative(const QByteArray& relative) const;
    // Every entry below relative by its bytes, those beyond ASCII as \xnn,
    // folders ending in '/', in byte order.
    QStringList byteTree(const QByteArray& relative = {}) const;
    // Every entry below the folder (or below relative in it), sorted: "name/" for
    // a folder, "name size" for a file.
    QStringList tree(const QString& below = {}) const;

private:
    QTemporaryDir dir_;
};

}  // namespace pv::test
