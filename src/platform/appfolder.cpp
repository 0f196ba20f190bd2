#include "appfolder.h"

#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#else
#include <filesystem>
#include <system_error>
#endif

namespace pv {
namespace {
QString& overridden() {
    static QString folder;
    return folder;
}

// Decided once per program folder, so that the data does not move elsewhere
// in the middle of a run when a folder goes missing.
std::optional<QString>& decided() {
    static std::optional<QString> folder;
    return folder;
}

// The base of per-user data: $XDG_DATA_HOME when it is an absolute path (the
// XDG rules say to ignore a relative one), otherwise ~/.local/share.
QString userDataHome() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) {
        return QDir::cleanPath(configured);
    }
    return QDir::homePath() + QStringLiteral("/.local/share");
#endif
}

// A program folder that holds PV.ini or a Category folder (in any letter
// case) keeps its data beside it. Either is enough: a portable folder whose
// Category folder went missing is still portable, and its screens say what
// is missing rather than show another, empty collection.
bool isPortable() {
    const QString program = applicationFolder();
    return QFileInfo(store::resolveBelow(program, QStringLiteral("Category"))).isDir() ||
           QFileInfo(store::resolveBelow(program, QStringLiteral("PV.ini"))).isFile();
}

// Makes path and the folders on the way that are missing, each private to its
// user from the start (the XDG rules ask this of a missing data home).
std::optional<FolderFailure> makeFolder(const QString& path) {
#ifdef Q_OS_UNIX
    QStringList missing;
    for (QString at = QDir::cleanPath(path); !QFileInfo(at).isDir();
         at = QFileInfo(at).absolutePath()) {
        if (QFileInfo(at).isRoot()) {
            break;
        }
        missing.prepend(at);
    }
    for (const QString& folder : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
            return FolderFailure{path, QString::fromLocal8Bit(std::strerror(errno))};
        }
        if (!QFileInfo(folder).isDir()) {
            return FolderFailure{path, QString::fromLocal8Bit(std::strerror(ENOTDIR))};
        }
    }
    return std::nullopt;
#else
    std::error_code error;
    std::filesystem::create_directories(QFileInfo(path).filesystemFilePath(), error);
    if (error) {
        return FolderFailure{path, QString::fromLocal8Bit(error.message())};
    }
    return std::nullopt;
#endif
}

}  // namespace

QString applicationFolder() {
    if (!overridden().isEmpty()) {
        return overridden();
    }
    return QCoreApplication::applicationDirPath();
}

void setApplicationFolder(const QString& folder) {
    overridden() = folder;
    decided().reset();
}

QString dataFolder() {
    if (!decided()) {
        decided() =
            isPortable() ? applicationFolder() : userDataHome() + QStringLiteral("/pantrova");
    }
    return *decided();
}

std::optional<FolderFailure> prepareDataFolder() {
    const QString data = dataFolder();
    if (data == applicationFolder()) {
        return std::nullopt;
    }
    if (auto failed = makeFolder(data)) {
        return failed;
    }
    // A copied portable folder may spell them in lower case; those count.
    for (const QString& folder : {QStringLiteral("Category"), QStringLiteral("Shopping List")}) {
        if (auto failed = makeFolder(store::resolveBelow(data, folder))) {
            return failed;
        }
    }
    return std::nullopt;
}

}  // namespace pv
