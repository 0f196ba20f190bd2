#include "registrationengine.h"
#include "registrationwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    int exitCode = 0;
    {
        QApplication app(argc, argv);
        ostrel::RegistrationWindow window;
        window.show();
        exitCode = QApplication::exec();
    }
    // A worker that outlived its wait may still run inside its library.
    ostrel::endProcess(exitCode);
}
