#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace pv::store::test {

// A temporary application folder with the two data roots the store expects.
class Folder {
public:
    Folder() {
        QDir(dir_.path()).mkdir(QStringLiteral("Category"));
        QDir(dir_.path()).mkdir(QStringLiteral("Shopping List"));
    }
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
    // Every entry below the folder with its size, for "nothing changed" checks.
    QStringList tree() const {
        QStringList all;
        QDirIterator it(dir_.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all.append(path.mid(dir_.path().size()) + QLatin1Char(' ') +
                       QString::number(it.fileInfo().size()));
        }
        all.sort();
        return all;
    }

private:
    QTemporaryDir dir_;
};

}  // namespace pv::store::test
