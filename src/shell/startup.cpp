#include "startup.h"

#include "appfolder.h"
#include "messageservice.h"
#include "notice.h"
#include "paths.h"
#include "windowregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pv {
namespace {

// The marker is only created, never read or written to. When it cannot be
// created the user is told why; the notice then comes again at the next start.
void createMarker(const QString& path) {
    QFile marker(path);
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        marker.close();
        return;
    }
    showMessage(QStringLiteral("The file\r%1\rcould not be created: %2.\r"
                               "This notice will be shown again at the next start.")
                    .arg(QDir::toNativeSeparators(path), marker.errorString()),
                msg::kCritical);
}

// Without its data folder the program can keep nothing: the user is told
// where and why, and nothing is written, not even the marker.
bool dataFolderReady() {
    const auto failed = prepareDataFolder();
    if (!failed) {
        return true;
    }
    showMessage(QStringLiteral("The folder\r%1\rcould not be created: %2.\r"
                               "Recipes and shopping lists cannot be kept until it can.")
                    .arg(QDir::toNativeSeparators(failed->path), failed->reason),
                msg::kCritical);
    return false;
}

}  // namespace

QString firstRunMarkerPath() {
    return store::resolveBelow(dataFolder(), QStringLiteral("PV.ini"));
}

void finishStartup() {
    windows().hide(WindowId::Splash);
    if (!dataFolderReady()) {
        windows().show(WindowId::Main);
        return;
    }
    const QString marker = firstRunMarkerPath();
    // A folder of that name is not the marker.
    const bool laterStart = QFileInfo(marker).isFile();
    if (!laterStart) {
        noCategoryNotice();
        createMarker(marker);
    }
    windows().show(WindowId::Main);
}

}  // namespace pv
