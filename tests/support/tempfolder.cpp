#include "tempfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace pv::test {

using namespace Qt::StringLiterals;

TempFolder::TempFolder(const QStringList& setup) {
    for (const QString& entry : QStringList{u"Category/"_s, u"Shopping List/"_s} + setup) {
        const QString name = entry.section(u'=', 0, 0).section(u"->"_s, 0, 0);
        const QString gone = file(entry.mid(1));
        const bool done =
            entry.startsWith(u'-')
                ? (QFileInfo(gone).isDir() ? QDir(gone).removeRecursively() : QFile::remove(gone))
            : entry.endsWith(u'/') ? mkdir(entry)
            : entry.contains(u"->"_s)
                ? QFile::link(file(entry.section(u"->"_s, 1)), file(name))
                : write(name, entry.contains(u'=') ? entry.section(u'=', 1).toLatin1() : "x");
        if (!done) {
            qFatal("Folder set-up failed at %s", qPrintable(entry));
        }
    }
}

TempFolder::~TempFolder() {
    // QTemporaryDir cannot reach names that are not UTF-8: they go first.
    nftw(
        QFile::encodeName(dir_.path()).constData(),
        [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

bool TempFolder::write(const QString& relative, const QByteArray& bytes) const {
    QFile f(file(relative));
    return mkdir(QFileInfo(relative).path()) && f.open(QIODevice::WriteOnly) &&
           f.write(bytes) == bytes.size();
}

QByteArray TempFolder::read(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool TempFolder::exists(const QString& relative) const {
    return QFileInfo::exists(file(relative));
}

bool TempFolder::mkdir(const QString& relative) const {
    return QDir(dir_.path()).mkpath(relative);
}

bool TempFolder::writeNative(const QByteArray& relative, const QByteArray& bytes) const {
    const QByteArray path = QFile::encodeName(dir_.path()) + '/' + relative;
    if (relative.endsWith('/')) {
        return ::mkdir(path.constData(), 0777) == 0;
    }
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    QFile f;
    return fd >= 0 && f.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           f.write(bytes) == bytes.size();
}

QByteArray TempFolder::readNative(const QByteArray& relative) const {
    const int fd = ::open((QFile::encodeName(dir_.path()) + '/' + relative).constData(), O_RDONLY);
    QFile f;
    return fd >= 0 && f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
               ? f.readAll()
               : QByteArray("<missing>");
}

QStringList TempFolder::byteTree(const QByteArray& relative) const {
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
        if (::lstat((folder + entry->d_name).constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
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

QStringList TempFolder::tree(const QString& below) const {
    const QDir top(file(below));
    QStringList all;
    QDirIterator it(top.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        all << top.relativeFilePath(entry.filePath()) +
                   (entry.isDir() ? u"/"_s : u' ' + QString::number(entry.size()));
    }
    all.sort();
    return all;
}

}  // namespace pv::test
