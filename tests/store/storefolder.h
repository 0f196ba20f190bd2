#pragma once

#include "store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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
            all.append(it.next().mid(dir_.path().size()) + u' ' +
                       QString::number(it.fileInfo().size()));
        }
        all.sort();
        return all;
    }

private:
    QTemporaryDir dir_;
};

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
