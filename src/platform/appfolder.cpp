#include "appfolder.h"

#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

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

// A program folder with a Category folder of its own keeps its data beside it.
bool isPortable() {
    return QFileInfo(store::resolveBelow(applicationFolder(), QStringLiteral("Category"))).isDir();
}

std::optional<FolderFailure> makeFolder(const QString& path) {
    std::error_code error;
    std::filesystem::create_directories(QFileInfo(path).filesystemFilePath(), error);
    if (error) {
        return FolderFailure{path, QString::fromLocal8Bit(error.message())};
    }
    return std::nullopt;
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
    // The XDG rules want a missing data home made private to its user.
    const QString home = QFileInfo(data).absolutePath();
    const bool homeIsNew = !QFileInfo::exists(home);
    if (auto failed = makeFolder(data)) {
        return failed;
    }
    if (homeIsNew) {
        QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
