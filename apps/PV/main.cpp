#include "catalog.h"
#include "commandline.h"
#include "twips.h"
#include "windowregistry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // An import from a script needs no display.
    if (pv::wantsCommandLine(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Pantrova"));
        return pv::runCommandLine(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pantrova"));
    pv::preferTahomaLookAlikes();
    // Windows are hidden, not closed, when the user leaves them; the program
    // ends only when every loaded window has been closed.
    QApplication::setQuitOnLastWindowClosed(false);
    pv::windows().setExitAction([] { QCoreApplication::quit(); });
    pv::registerPantrovaWindows();
    if (!pv::windows().show(pv::WindowId::Splash)) {
        return 1;
    }
    return app.exec();
}
