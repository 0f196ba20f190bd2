#include "help.h"

#include "appfolder.h"
#include "messageservice.h"
#include "paths.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <QDir>
// windows.h first
#include <htmlhelp.h>
#ifdef _MSC_VER
#pragma comment(lib, "htmlhelp.lib")
#endif
#else
#include "helpviewerwindow.h"
#endif

namespace pv {

QString helpFilePath(qint16 number) {
    if (number == kHelpContents)
        return store::resolveBelow(applicationFolder(), QStringLiteral("Documentation/PVHelp.chm"));
    const QString path;
    showMessage(QStringLiteral("Invalid Help file.\r\nHelp File #") + QString::number(number) +
                    QStringLiteral("\r\nHelp File Path: ") + path,
                msg::kCritical, QStringLiteral("Tolm Help File"));
    return path;
}

void showHelpContents(qint16 number) {
    const QString path = helpFilePath(number);
    if (displayHelpContents(path) == 0) {
        showMessage(
            QStringLiteral("Error in opening Help file.\r\nHelp File #") + QString::number(number),
            msg::kCritical, QStringLiteral("Tolm Help File Contents"));
    }
}

quintptr displayHelpContents(const QString& path) {
    if (path.isEmpty())
        return 0;
#ifdef Q_OS_WIN
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    return reinterpret_cast<quintptr>(HtmlHelpW(nullptr, file.c_str(), HH_DISPLAY_TOC, 0));
#else
    return reinterpret_cast<quintptr>(help::HelpViewerWindow::open(path));
#endif
}

}  // namespace pv
