#include "appfolder.h"

#include <QCoreApplication>

namespace pv {
namespace {
QString& overridden() {
    static QString folder;
    return folder;
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
}

}  // namespace pv
