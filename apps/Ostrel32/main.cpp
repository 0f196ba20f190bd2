#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setObjectName(QStringLiteral("frmreg"));
    window.setWindowTitle(QStringLiteral("Auto Object Registery"));
    window.show();
    return app.exec();
}
