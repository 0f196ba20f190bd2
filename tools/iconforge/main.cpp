#include "icofile.h"
#include "ostrelicon.h"
#include "pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

// Writes assets/images/<name>.ico (16, 24, 32 and 48 pixels) for the screens'
// menu icons and assets/icons/hicolor/<n>x<n>/apps/pantrova.png and ostrel32.png
// for desktops.
int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: iconforge <assets folder>\n";
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    if (!assets.mkpath(QStringLiteral("images"))) {
        err << "cannot create " << assets.filePath(QStringLiteral("images")) << "\n";
        return 1;
    }
    for (const QString& name : pv::pictures::screenIconNames()) {
        QList<QImage> sizes;
        for (int size : {16, 24, 32, 48}) {
            sizes.append(pv::pictures::screenIconImage(name, size));
        }
        QFile file(assets.filePath(QStringLiteral("images/%1.ico").arg(name)));
        const QByteArray bytes = icoFile(sizes);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            err << "cannot write " << file.fileName() << ": " << file.errorString() << "\n";
            return 1;
        }
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        const std::pair<QString, QImage> icons[] = {
            {QStringLiteral("pantrova"), pv::pictures::appImage(size)},
            {QStringLiteral("ostrel32"), ostrelImage(size)}};
        for (const auto& [name, image] : icons) {
            const QString path =
                assets.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
            if (!assets.mkpath(folder) || !image.save(path, "PNG")) {
                err << "cannot write " << path << "\n";
                return 1;
            }
        }
    }
    return 0;
}
